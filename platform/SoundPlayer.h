// Plays complete WAVE files from memory, one at a time: a new sound cuts off
// the one playing. With no audio device, or one that refuses a sound's
// format, nothing is played and nothing fails.
#pragma once

#include <QAudioFormat>
#include <QByteArray>

#include <memory>
#include <optional>
#include <vector>

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
// samples. A data chunk that claims more bytes than the file holds is cut to
// the whole frames that are there. nullopt for anything else: empty,
// truncated header, another format, no samples, or a chunk before the
// samples that runs past the end of the file.
std::optional<WaveInfo> ParseWave(const QByteArray& wave);

// Destroying an audio sink lets pending events run, and a player that made
// one per sound could be entered again from inside itself. So each sound
// keeps its samples, and each sample format one sink, for the player's
// life; a sound only stops and starts them, which runs no events. A sound
// asked for while another is being started still waits for that start and
// then cuts it off.
class SoundPlayer {
public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Makes ready what a sound needs (its samples and the sink of its
    // format) without playing it, so that its first cue sets nothing up.
    void Prepare(const QByteArray& wave);

    // Starts playing and returns at once. A buffer that is no playable WAVE
    // file stops the sound playing and plays nothing.
    void Play(const QByteArray& wave);

    // True from a sound's start until it has played out or been cut off.
    bool Active() const;

    // Stops the sound playing and lets the audio device go; later sounds
    // play nothing. Safe to call more than once.
    void Close();

private:
    struct Cue;
    struct Output;

    Cue* Find(const QByteArray& wave);
    Output* OutputFor(const QAudioFormat& format);
    void StopPlaying();
    void Start(const QByteArray& wave);

    std::vector<std::unique_ptr<Cue>> m_Cues;
    std::vector<std::unique_ptr<Output>> m_Outputs;
    QAudioSink* m_Playing = nullptr;  // the sink started last, owned by m_Outputs
    const Cue* m_PlayingCue = nullptr;
    bool m_Starting = false;
    bool m_Closed = false;
    std::optional<QByteArray> m_Next;  // asked for while a start was under way
};

}  // namespace platform
