// The four sound cues of the game, synthesised: a wooden click (pick-up and
// drop), a soft whoosh (a piece turned), a bright two-note chime (a piece in
// its right place) and a short cheerful arpeggio (the finished puzzle). Each
// is a complete PCM mono RIFF WAVE file of a fixed format and length.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace tools {

struct WaveFormat {
    int SampleRate;
    int BitsPerSample;  // 8 (unsigned) or 16 (signed little-endian)
    int DataBytes;      // length of the sample data
};

// A canonical 44-byte RIFF header followed by the samples, each clamped to
// [-1, 1] and quantised to the format. `samples` must hold exactly
// DataBytes / (BitsPerSample / 8) values.
QByteArray MakeWave(const WaveFormat& format, const std::vector<double>& samples);

constexpr WaveFormat kClickFormat{22050, 8, 1258};
constexpr WaveFormat kGiroFormat{44100, 16, 11968};
constexpr WaveFormat kRotateFormat{22050, 8, 899};
constexpr WaveFormat kCompleteFormat{11025, 8, 11966};

QByteArray ClickWave();
QByteArray GiroWave();
QByteArray RotateWave();
QByteArray CompleteWave();

struct NamedWave {
    QString FileName;  // as embedded: ":/<FileName>"
    WaveFormat Format;
    QByteArray Bytes;
};

// Every cue with the file name it is stored under in assets/.
std::vector<NamedWave> AllSounds();

}  // namespace tools
