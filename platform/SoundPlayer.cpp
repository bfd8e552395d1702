#include "platform/SoundPlayer.h"

namespace platform {

SoundPlayer::SoundPlayer() = default;
SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::Play(const QByteArray&) {}

}  // namespace platform
