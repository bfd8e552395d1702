// The clock label: the level's name and the time played.
#pragma once

#include <QString>

#include <cstdint>

namespace game {

// "<LevelName> - hh:nn:ss". The time is shown as a time of day, so hours run
// 00 to 23 and a count of a day or more wraps (a negative count from a saved
// file counts back from midnight), and every count gives a valid text.
QString ClockText(int16_t level, int32_t elapsedSecs);

}  // namespace game
