// The chooser's colours are the game's blue-green-red values (0x00BBGGRR).
// A negative value names a system colour by its index in the low byte, as
// the widgets' saved properties may hold them.
#pragma once

#include <QColor>

#include <cstdint>

namespace chooser {

constexpr int32_t kSystemWindow = static_cast<int32_t>(0x80000005u);
constexpr int32_t kSystemButtonFace = static_cast<int32_t>(0x8000000Fu);

// The machine's button-face colour as a blue-green-red value.
int32_t ButtonFaceColor();

// A game colour (or a system colour) as a QColor.
QColor ToQColor(int32_t color);

}  // namespace chooser
