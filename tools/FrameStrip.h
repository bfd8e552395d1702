// The busy animation's frame strip: nine 16 x 16 cells side by side, eight
// frames of a ring of dots whose dark head runs clockwise, and a ninth cell
// with a plain grey ring for the idle state. Everything outside the dots is
// magenta, the key colour the widget replaces by its back colour.
#pragma once

#include "platform/Surface.h"

#include <QString>

#include <array>
#include <cstdint>

namespace tools {

constexpr int kFrameCell = 16;
constexpr int kFrameCells = 9;
constexpr uint32_t kFrameKey = 0xFFFF00FFu;  // magenta

// Top-left corner of each dot's 4 x 4 square, clockwise from the top.
extern const std::array<std::array<int, 2>, 8> kDotCorners;
// Dot colours (0xRRGGBB) per cell, in the same clockwise order.
extern const std::array<std::array<uint32_t, 8>, kFrameCells> kDotColours;

// Draws the whole strip, 144 x 16.
platform::Surface FrameStrip();

// Writes the strip as a 24-bit BMP file; false when it cannot be written.
bool WriteFrameStrip(const QString& path);

}  // namespace tools
