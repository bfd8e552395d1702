#include "platform/Surface.h"

#include <QPainter>

#include <algorithm>

namespace platform {

namespace {

constexpr uint32_t kColourBits = 0x00FFFFFFu;

template <typename Op>
void BlendRows(uint32_t* d, const uint32_t* s, int n, Op op) {
    for (int i = 0; i < n; ++i) d[i] = op(d[i], s[i]);
}

}  // namespace

Surface::Surface(int width, int height, uint32_t fill) { Resize(width, height, fill); }

void Surface::Resize(int width, int height, uint32_t fill) {
    m_Mark = 0;
    m_Width = std::max(0, width);
    m_Height = std::max(0, height);
    m_Pixels.assign(static_cast<size_t>(m_Width) * m_Height, fill);
}

void Surface::Fill(uint32_t pixel) {
    m_Mark = 0;
    std::fill(m_Pixels.begin(), m_Pixels.end(), pixel);
}

void Surface::FillRect(int x, int y, int w, int h, uint32_t pixel) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(m_Width, x + std::max(0, w)), y1 = std::min(m_Height, y + std::max(0, h));
    if (x0 >= x1 || y0 >= y1) return;
    for (int yy = y0; yy < y1; ++yy) std::fill(Row(yy) + x0, Row(yy) + x1, pixel);
}

uint32_t Surface::Pixel(int x, int y) const { return InBounds(x, y) ? Row(y)[x] : 0u; }

void Surface::SetPixel(int x, int y, uint32_t pixel) {
    m_Mark = 0;
    if (InBounds(x, y)) Row(y)[x] = pixel;
}

void Surface::BitBlt(int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop op) {
    // Clip against the source, then against the destination, moving both
    // rectangles together so that pixel (sx+i, sy+j) always lands on (dx+i, dy+j).
    if (w <= 0 || h <= 0) return;
    auto clip = [](int& a, int& b, int& len, int limitA, int limitB) {
        const int lead = std::max({0, -a, -b});
        a += lead;
        b += lead;
        len -= lead;
        len = std::min({len, limitA - a, limitB - b});
    };
    clip(dx, sx, w, m_Width, src.m_Width);
    clip(dy, sy, h, m_Height, src.m_Height);
    if (w <= 0 || h <= 0) return;

    // A blit within one surface reads from a snapshot of the source
    // rectangle, so overlapping rectangles behave like a real block transfer.
    const Surface* from = &src;
    Surface snapshot;
    if (&src == this) {
        snapshot.Resize(w, h);
        for (int j = 0; j < h; ++j) std::copy_n(Row(sy + j) + sx, w, snapshot.Row(j));
        from = &snapshot;
        sx = 0;
        sy = 0;
    }
    for (int j = 0; j < h; ++j) {
        const uint32_t* s = from->Row(sy + j) + sx;
        uint32_t* d = Row(dy + j) + dx;
        switch (op) {
            case Rop::SrcCopy:
                std::copy(s, s + w, d);
                break;
            case Rop::SrcAnd:
                BlendRows(d, s, w, [](uint32_t a, uint32_t b) { return a & b; });
                break;
            case Rop::SrcPaint:
                BlendRows(d, s, w, [](uint32_t a, uint32_t b) { return a | b; });
                break;
            case Rop::SrcInvert:
                BlendRows(d, s, w, [](uint32_t a, uint32_t b) { return (a ^ b) | kOpaque; });
                break;
            case Rop::MergePaint:
                BlendRows(d, s, w, [](uint32_t a, uint32_t b) { return (~b & kColourBits) | a | kOpaque; });
                break;
        }
    }
}

void Surface::DrawScaled(const Surface& src, int dx, int dy, int dw, int dh, ScaleMode mode) {
    if (src.IsEmpty() || dw <= 0 || dh <= 0 || IsEmpty()) return;
    if (mode == ScaleMode::Nearest) {
        const int x0 = std::max(0, dx), y0 = std::max(0, dy);
        const int x1 = std::min(m_Width, dx + dw), y1 = std::min(m_Height, dy + dh);
        if (x0 >= x1 || y0 >= y1) return;
        std::vector<int> srcX(static_cast<size_t>(x1 - x0));
        for (int x = x0; x < x1; ++x)
            srcX[x - x0] = static_cast<int>((static_cast<int64_t>(x - dx) * src.m_Width) / dw);
        for (int y = y0; y < y1; ++y) {
            const int sy = static_cast<int>((static_cast<int64_t>(y - dy) * src.m_Height) / dh);
            const uint32_t* s = src.Row(sy);
            uint32_t* d = Row(y);
            for (int x = x0; x < x1; ++x) d[x] = s[srcX[x - x0]];
        }
        return;
    }
    QImage target = Image();
    QPainter painter(&target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRect(dx, dy, dw, dh), src.Image());
}

QImage Surface::Image() {
    m_Mark = 0;
    if (IsEmpty()) return {};
    return QImage(reinterpret_cast<uchar*>(m_Pixels.data()), m_Width, m_Height, m_Width * 4,
                  QImage::Format_RGB32);
}

QImage Surface::Image() const {
    if (IsEmpty()) return {};
    return QImage(reinterpret_cast<const uchar*>(m_Pixels.data()), m_Width, m_Height, m_Width * 4,
                  QImage::Format_RGB32);
}

Surface Surface::FromImage(const QImage& image) {
    Surface out;
    if (image.isNull()) return out;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    out.Resize(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
        uint32_t* d = out.Row(y);
        for (int x = 0; x < rgb.width(); ++x) d[x] = line[x] | kOpaque;
    }
    return out;
}

}  // namespace platform
