#include "tools/MaskStrip.h"

#include <QImage>

namespace tools {

namespace {

constexpr Side F = Side::Flat;
constexpr Side T = Side::Tab;
constexpr Side B = Side::Blank;

// The body of a cell and the knob that stands out of (or is cut into) it.
constexpr int kBodyFirst = 18;
constexpr int kBodyLast = 61;
constexpr int kKnobLength = 18;
constexpr int kCellMiddle = 40;

// Knob width by distance from the body edge; every step is 2 pixels, so the
// outline keeps to the 4-pixel design unit at half resolution.
int KnobWidth(int d) {
    if (d < 2) return 12;
    if (d < 4) return 16;
    if (d < 12) return 20;
    if (d < 14) return 16;
    if (d < 16) return 12;
    return 8;
}

// Paints the knob of the top side of a cell; the other three sides are the
// same drawing turned, through `put`, which maps (along, across) to (x, y).
template <typename Put>
void PaintKnob(Side side, Put put) {
    if (side == Side::Flat) return;
    const uint32_t colour = side == Side::Tab ? platform::kWhite : platform::kBlack;
    for (int d = 0; d < kKnobLength; ++d) {
        const int across = side == Side::Tab ? kBodyFirst - 1 - d : kBodyFirst + d;
        const int half = KnobWidth(d) / 2;
        for (int along = kCellMiddle - half; along <= kCellMiddle - 1 + half; ++along) put(along, across, colour);
    }
}

}  // namespace

const std::array<MaskSides, kMaskCount> kMaskSides = {{
    {B, T, B, T}, {T, B, T, B},                              // interior
    {F, T, B, F}, {F, F, T, B}, {B, F, F, T}, {T, B, F, F},  // corners, first cycle
    {F, F, B, T}, {T, F, F, B}, {B, T, F, F}, {F, B, T, F},  // corners, second cycle
    {F, T, B, T}, {T, F, T, B}, {B, T, F, T}, {T, B, T, F},  // edges with three tabs
    {F, B, T, B}, {B, F, B, T}, {T, B, F, B}, {B, T, B, F},  // edges with one tab
    {F, F, F, F},                                            // the plain square
}};

platform::Surface MaskStrip() {
    platform::Surface strip(kMaskCell * kMaskCount, kMaskCell, platform::kBlack);
    constexpr int last = kMaskCell - 1;
    for (int k = 0; k < kMaskCount; ++k) {
        const int x0 = k * kMaskCell;
        const int body = kBodyLast - kBodyFirst + 1;
        strip.FillRect(x0 + kBodyFirst, kBodyFirst, body, body, platform::kWhite);
        const MaskSides& sides = kMaskSides[k];
        // Top as drawn; right, bottom and left are the top turned a quarter,
        // half and three quarters clockwise about the cell's centre.
        PaintKnob(sides[0], [&](int a, int c, uint32_t v) { strip.SetPixel(x0 + a, c, v); });
        PaintKnob(sides[1], [&](int a, int c, uint32_t v) { strip.SetPixel(x0 + last - c, a, v); });
        PaintKnob(sides[2], [&](int a, int c, uint32_t v) { strip.SetPixel(x0 + last - a, last - c, v); });
        PaintKnob(sides[3], [&](int a, int c, uint32_t v) { strip.SetPixel(x0 + c, last - a, v); });
    }
    return strip;
}

bool WriteMaskStrip(const QString& path) {
    // RGB888 so that the file is a plain 24-bit BMP, not a 1-bit or palette one.
    const QImage image = MaskStrip().Image().convertToFormat(QImage::Format_RGB888);
    return image.save(path, "BMP");
}

}  // namespace tools
