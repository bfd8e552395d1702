#include "chooser/ThumbLayout.h"

#include "game/Numeric.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace chooser {

PanelLayout LayoutPanels(float width, float height, float scrollWidth, int16_t pieceBox) {
    PanelLayout out;
    if (width - scrollWidth - 20 < 0) {
        out.Step = 2;
        return out;
    }
    out.FundoWidth = width - scrollWidth - 20;
    out.FundoHeight = std::max(0.0f, height - 20);
    if (out.FundoWidth - 20 < 0) {
        out.Step = 4;
        return out;
    }
    // The level's piece size, a pixel count, serves as a margin in twips.
    // A viewport smaller than that margin leaves an empty panel rather than
    // a negative size.
    out.InteriorWidth = std::max(0.0f, out.FundoWidth - pieceBox);
    out.InteriorHeight = std::max(0.0f, out.FundoHeight - pieceBox);
    out.ScrollLeft = out.FundoWidth;
    out.ScrollHeight = out.FundoHeight;
    out.Step = 7;
    return out;
}

int16_t AutoColumns(float panelWidth) {
    const double cols = std::trunc(static_cast<double>(panelWidth) / kCellPitchX);
    return static_cast<int16_t>(std::clamp(cols, 0.0, 32767.0));
}

FramePos FramePosition(int32_t rowStart, int16_t cols, int16_t c) {
    // Computed in 32 bits: a 16-bit product would pile every frame beyond
    // column 18 onto the first column.
    FramePos pos;
    pos.Left = static_cast<float>((static_cast<int32_t>(c) - 1) * kCellPitchX);
    pos.Top = static_cast<float>(static_cast<double>(rowStart / cols) * kCellPitchY + kFirstRowTop);
    return pos;
}

FramePos CentredThumb(FramePos frame, float frameWidth, float frameHeight, float boxWidth, float boxHeight) {
    return {frame.Left + (frameWidth - boxWidth) / 2, frame.Top + (frameHeight - boxHeight) / 2};
}

int32_t RowCount(int32_t n, int16_t cols) { return n / cols + (n % cols != 0 ? 1 : 0); }

float PanelHeight(float templateFrameHeight, int32_t rows) {
    return static_cast<float>((static_cast<double>(templateFrameHeight) + kRowExtra) * rows + kFirstRowTop);
}

FittedSize FitPicture(std::optional<QSize> picture, int16_t maxHeight, int16_t maxWidth, FittedSize current) {
    if (!picture || picture->width() <= 0 || picture->height() <= 0) return current;
    const double pw = picture->width();
    const double ph = picture->height();
    FittedSize s{static_cast<float>(pw), static_cast<float>(ph)};
    if (ph > pw) {
        s.Height = static_cast<float>(maxHeight);
        s.Width = static_cast<float>(s.Width / (ph / s.Height));
        if (s.Width > maxWidth) {
            s.Width = static_cast<float>(maxWidth);
            s.Height = static_cast<float>(ph / (pw / s.Width));
        }
    } else if (pw > ph) {
        s.Width = static_cast<float>(maxWidth);
        s.Height = static_cast<float>(s.Height / (pw / s.Width));
        if (s.Height > maxHeight) {
            s.Height = static_cast<float>(maxHeight);
            s.Width = static_cast<float>(pw / (ph / s.Height));
        }
    } else {
        s.Height = static_cast<float>(maxHeight);
        s.Width = static_cast<float>(s.Width / (ph / s.Height));
    }
    return s;
}

int32_t HimetricFromPixels(int pixels) {
    // 2540 hundredths of a millimetre per inch at 96 pixels per inch,
    // rounded to the nearest whole hundredth.
    return static_cast<int32_t>((static_cast<int64_t>(pixels) * 2540 + 48) / 96);
}

QString SizeText(int32_t widthHimetric, int32_t heightHimetric) {
    const auto px = [](int32_t himetric) {
        return static_cast<qint64>(std::trunc(himetric / kHimetricPerPixelDivisor));
    };
    return QString::number(px(widthHimetric)) + QStringLiteral(" x ") + QString::number(px(heightHimetric));
}

QString ToolTipText(const QString& path, qint64 fileLength, const QString& sizeText) {
    return GetFileName(path) + QStringLiteral(" (") + QString::number(std::max<qint64>(0, fileLength) / 1024) +
           QStringLiteral("k) - ") + sizeText;
}

QString GetFileName(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? path : path.mid(cut + 1);
}

bool IsPictureName(const QString& name) {
    const QString ending = name.right(4).toUpper();
    return ending == QLatin1String(".BMP") || ending == QLatin1String(".GIF") || ending == QLatin1String(".JPG");
}

int32_t ScrollMaximum(float panelHeight, float barHeight) {
    const double overhang = std::nearbyint(static_cast<double>(panelHeight) - barHeight);
    return static_cast<int32_t>(std::clamp(overhang, 0.0, static_cast<double>(std::numeric_limits<int32_t>::max())));
}

ScrollSetting ScrollBarSetting(int32_t& maximum, int16_t smallChange, int32_t largeChange) {
    ScrollSetting s;
    if (maximum < 0) maximum = 0;
    if (maximum < 32000) s.Maximum = static_cast<int16_t>(maximum);
    s.SmallChange = smallChange;
    s.LargeChange = game::Int16(largeChange);
    return s;
}

}  // namespace chooser
