// Plays complete WAVE files from memory, one at a time: a new sound cuts off
// the one playing. With no audio device nothing is played and nothing fails.
#pragma once

#include <QByteArray>

namespace platform {

class SoundPlayer {
public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    void Play(const QByteArray& wave);
};

}  // namespace platform
