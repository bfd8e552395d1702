// Plays complete WAVE files from memory, one at a time: a new sound cuts off
// the one playing. With no audio device nothing is played and nothing fails.
#pragma once

#include <QByteArray>

#include <memory>
#include <optional>

class QAudioSink;
class QBuffer;

namespace platform {

// What the RIFF header of a PCM WAVE file says, and where its samples lie.
struct WaveInfo {
    int SampleRate = 0;
    int Channels = 0;
    int BitsPerSample = 0;
    qsizetype DataOffset = 0;  // first sample byte
    qsizetype DataBytes = 0;   // sample bytes present (a short file is cut to what it holds)
};

// Reads the header of an uncompressed PCM WAVE file with 8- or 16-bit
// samples. nullopt for anything else: empty, truncated header, another
// format, a chunk that claims more bytes than there are.
std::optional<WaveInfo> ParseWave(const QByteArray& wave);

class SoundPlayer {
public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Starts playing and returns at once. A buffer that is no playable WAVE
    // file stops the sound playing and plays nothing.
    void Play(const QByteArray& wave);

    // True while a sound has been handed to an audio device.
    bool Active() const;

private:
    void Stop();

    // The sink reads from the buffer, which reads from the bytes: the sink
    // is destroyed first (Stop, and declaration order).
    QByteArray m_Samples;
    std::unique_ptr<QBuffer> m_Buffer;
    std::unique_ptr<QAudioSink> m_Sink;
};

}  // namespace platform
