// Plays complete WAVE files from memory, one at a time: a new sound cuts off
// the one playing. With no audio device, or none yet, nothing is played and
// nothing fails.
#pragma once

#include <QByteArray>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

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

// What the player hands the audio device for a WAVE file: 16-bit samples,
// two channels interleaved, at 44,100 Hz (empty for what ParseWave refuses).
std::vector<int16_t> DeviceSamples(const QByteArray& wave);

// An output stream is open on the audio device while sounds are wanted,
// pulled by the device a few milliseconds at a time: it hands out the
// sound playing, or silence. Starting a sound only tells the stream which
// samples come next, so it returns at once and runs no events. The device
// is opened, and opened again when it has gone, on a thread of the
// player's own, so neither a missing audio server nor a slow one holds up
// the caller. With nothing asked of it for an idle spell, the stream is let
// go (an open one keeps the audio server and the sound card busy); the next
// sound opens it again and starts a little late.
class SoundPlayer {
public:
    static constexpr std::chrono::milliseconds kIdleSpell{60000};

    explicit SoundPlayer(std::chrono::milliseconds idleSpell = kIdleSpell);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Turns a sound into the device's format without playing it, so that
    // its first cue converts nothing.
    void Prepare(const QByteArray& wave);

    // Opens the audio device, on the player's thread, so that the next cue
    // finds it open; it is let go again after an idle spell.
    void OpenDevice();
    // Stops the sound playing and lets the audio device go; the next sound
    // or OpenDevice opens it again.
    void ReleaseDevice();

    // Starts playing and returns at once. A buffer that is no playable WAVE
    // file stops the sound playing and plays nothing. With no device open,
    // one is opened, and the sound starts when it is. Where none could be
    // found, one is looked for again at most twice a second, and a sound
    // asked for meanwhile starts when it opens only if that is soon.
    void Play(const QByteArray& wave);

    // True from a sound's start until the device has taken its last sample
    // or it has been cut off.
    bool Active() const;

    // Stops the sound playing and lets the audio device go; later sounds
    // play nothing. Safe to call more than once.
    void Close();

private:
    struct Cue;
    class Output;

    const Cue* Find(const QByteArray& wave);

    std::vector<std::unique_ptr<Cue>> m_Cues;
    std::shared_ptr<Output> m_Output;  // shared with its thread, which may outlive a close
    const std::chrono::milliseconds m_IdleSpell;
    bool m_Closed = false;
};

}  // namespace platform
