// The arithmetic of the thumbnail grid, kept apart from the widgets so that
// it can be checked number by number: the panel layout, cell positions,
// fitted thumbnail sizes, the size and tool-tip texts, which folder entries
// are pictures, and the scroll ranges. Lengths are twips.
#pragma once

#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

namespace chooser {

// Cell geometry of the grid.
constexpr int kCellPitchX = 1835;     // frame width 1725 plus 110
constexpr int kCellPitchY = 1790;
constexpr int kFirstRowTop = 200;
constexpr int kRowExtra = 130;        // added per row to the panel height
constexpr int kFrameWidth = 1725;
constexpr int kFrameHeight = 1680;
constexpr int kFrameTemplateTop = -90;
constexpr int kThumbMaxWidth = 1635;
constexpr int kThumbMaxHeight = 1500;
constexpr double kHimetricPerPixelDivisor = 26.4586148648649;
constexpr int kMaxItems = 32767;

constexpr int32_t kFrameColor = 0x00C0C0C0;
constexpr int32_t kSelectedFrameColor = 0;
constexpr int32_t kGridDefaultBackColor = 0x00808080;

// Where the viewport (picFundo), the panel (picInterior) and the scroll bar
// go for a widget of the given outer size. `Step` is the last layout step
// that ran: 2 or 4 when the widget is too narrow to lay out (nothing is
// moved), 7 when the layout was done.
struct PanelLayout {
    int Step = 7;
    float FundoWidth = 0, FundoHeight = 0;
    float InteriorWidth = 0, InteriorHeight = 0;
    float ScrollLeft = 0, ScrollHeight = 0;
};
PanelLayout LayoutPanels(float width, float height, float scrollWidth, int16_t pieceBox);

// Columns of a panel when they follow its width.
int16_t AutoColumns(float panelWidth);

// A frame's edges for column c (1-based) of the row that starts at item s.
struct FramePos {
    float Left = 0;
    float Top = 0;
};
FramePos FramePosition(int32_t rowStart, int16_t cols, int16_t c);

// A thumbnail box centred on its frame (the halves are not rounded).
FramePos CentredThumb(FramePos frame, float frameWidth, float frameHeight, float boxWidth, float boxHeight);

// Rows for n items in `cols` columns, and the panel height they need.
int32_t RowCount(int32_t n, int16_t cols);
float PanelHeight(float templateFrameHeight, int32_t rows);

// A thumbnail's size for a picture of pw x ph (any unit, only the ratio
// counts), each side stored in single precision. `current` is the scratch
// size that stays when there is no picture.
struct FittedSize {
    float Width = 0;
    float Height = 0;
};
FittedSize FitPicture(std::optional<QSize> picture, int16_t maxHeight, int16_t maxWidth, FittedSize current);

// A picture's size in hundredths of a millimetre, as a 96-dpi screen
// reports it for a size in pixels.
int32_t HimetricFromPixels(int pixels);
// "639 x 479" from a size in hundredths of a millimetre.
QString SizeText(int32_t widthHimetric, int32_t heightHimetric);
// "praia.jpg (12k) - 800 x 599".
QString ToolTipText(const QString& path, qint64 fileLength, const QString& sizeText);
// The part of a path after its last separator ('\\' or '/').
QString GetFileName(const QString& path);

// Whether a folder entry's name ends in ".BMP", ".GIF" or ".JPG" (any case).
bool IsPictureName(const QString& name);

// The scroll range a layout pass gives the bar: the panel's overhang,
// rounded half to even, never below 0 (a panel lower than its viewport has
// nothing to scroll, and a negative range would let the thumb push it down
// out of view) and not limited to 16 bits, so every row of a large folder
// can be scrolled into view.
int32_t ScrollMaximum(float panelHeight, float barHeight);

// What SetScrollBar hands to the bar: the maximum is clamped to 0 below
// and left alone (nullopt) from 32000 up; the large change must fit 16 bits.
struct ScrollSetting {
    std::optional<int16_t> Maximum;
    int16_t SmallChange = 0;
    int16_t LargeChange = 0;
};
ScrollSetting ScrollBarSetting(int32_t& maximum, int16_t smallChange, int32_t largeChange);

}  // namespace chooser
