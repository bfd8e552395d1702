// The mask strip: the 19 black-and-white piece outlines at their design size
// of 80 x 80, side by side. White is inside a piece, black outside.
#pragma once

#include "platform/Surface.h"

#include <array>
#include <cstdint>

namespace tools {

constexpr int kMaskCell = 80;
constexpr int kMaskCount = 19;

// What one side of a piece's body does.
enum class Side : uint8_t { Flat, Tab, Blank };

// Sides of every mask in the order top, right, bottom, left.
using MaskSides = std::array<Side, 4>;
extern const std::array<MaskSides, kMaskCount> kMaskSides;

// Draws the whole strip, 1520 x 80.
platform::Surface MaskStrip();

// Writes the strip as a 24-bit BMP file; false when it cannot be written.
bool WriteMaskStrip(const QString& path);

}  // namespace tools
