// Window geometry given in twips, at 15 twips per pixel.
#pragma once

namespace support {

constexpr int kTwipsPerPixel = 15;

constexpr int Px(int twips) { return twips / kTwipsPerPixel; }
constexpr double PxF(double twips) { return twips / kTwipsPerPixel; }
constexpr int Twips(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace support
