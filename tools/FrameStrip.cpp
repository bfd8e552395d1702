#include "tools/FrameStrip.h"

#include <QImage>

namespace tools {

const std::array<std::array<int, 2>, 8> kDotCorners = {{
    {6, 0}, {10, 2}, {12, 6}, {10, 10}, {6, 12}, {2, 10}, {0, 6}, {2, 2},
}};

namespace {
constexpr uint32_t c0 = 0x414C58, c1 = 0x4E5965, c2 = 0x5B6672, c3 = 0x67727E, c4 = 0x747F8B,
                   c5 = 0x818C98, c6 = 0x8E99A5, c7 = 0x9AA5B1, idle = 0xB2B2B2;
}  // namespace

// The head lightens counter-clockwise behind it; in cells 4 to 6 the head
// shares the second shade with the dot behind it, as the ring was drawn.
const std::array<std::array<uint32_t, 8>, kFrameCells> kDotColours = {{
    {c0, c7, c6, c5, c4, c3, c2, c1},
    {c1, c0, c7, c6, c5, c4, c3, c2},
    {c2, c1, c0, c7, c6, c5, c4, c3},
    {c3, c2, c1, c0, c7, c6, c5, c4},
    {c4, c3, c2, c1, c1, c7, c6, c5},
    {c5, c4, c3, c2, c1, c1, c7, c6},
    {c6, c5, c4, c3, c2, c1, c1, c7},
    {c7, c6, c5, c4, c3, c2, c1, c0},
    {idle, idle, idle, idle, idle, idle, idle, idle},
}};

platform::Surface FrameStrip() {
    platform::Surface strip(kFrameCell * kFrameCells, kFrameCell, kFrameKey);
    for (int cell = 0; cell < kFrameCells; ++cell) {
        for (int dot = 0; dot < 8; ++dot) {
            const int left = cell * kFrameCell + kDotCorners[dot][0];
            const int top = kDotCorners[dot][1];
            const uint32_t pixel = platform::kOpaque | kDotColours[cell][dot];
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x) {
                    const bool corner = (x == 0 || x == 3) && (y == 0 || y == 3);
                    if (!corner) strip.SetPixel(left + x, top + y, pixel);
                }
        }
    }
    return strip;
}

bool WriteFrameStrip(const QString& path) {
    const platform::Surface strip = FrameStrip();
    // RGB888 makes Qt's BMP writer store 24 bits per pixel.
    return strip.Image().convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}

}  // namespace tools
