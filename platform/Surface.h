// A picture surface with 32-bit pixels and the block-transfer raster
// operations the piece drawing is built on. Pixels are 0xFFRRGGBB, the layout
// of QImage::Format_RGB32, so a surface can be shown or saved without copying.
#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace platform {

// The five raster operations of the piece drawing. Each combines source S
// with destination D on the colour bits; the top byte stays 0xFF.
enum class Rop {
    SrcCopy,    // D = S
    SrcAnd,     // D = D AND S
    SrcPaint,   // D = D OR S
    SrcInvert,  // D = D XOR S
    MergePaint  // D = (NOT S) OR D
};

// How a scaled drawing picks its pixels.
enum class ScaleMode {
    Nearest,  // one source pixel per destination pixel: black/white stays pure
    Smooth    // filtered, for photographs
};

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

// The game keeps colours as blue-green-red values (0x00BBGGRR); surfaces keep
// 0xFFRRGGBB. These two are the only place where one becomes the other.
constexpr uint32_t PixelFromColor(int32_t bgr) {
    const auto v = static_cast<uint32_t>(bgr);
    return kOpaque | ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
}
constexpr int32_t ColorFromPixel(uint32_t px) {
    return static_cast<int32_t>(((px >> 16) & 0xFFu) | (px & 0xFF00u) | ((px & 0xFFu) << 16));
}

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, uint32_t fill = kBlack);

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    bool IsEmpty() const { return m_Width <= 0 || m_Height <= 0; }

    // New size; the contents become `fill`.
    void Resize(int width, int height, uint32_t fill = kBlack);
    void Fill(uint32_t pixel);
    // A filled rectangle, clipped to the surface.
    void FillRect(int x, int y, int w, int h, uint32_t pixel);

    // Outside the surface Pixel() gives 0 (no colour at all, not even black)
    // and SetPixel does nothing.
    bool InBounds(int x, int y) const { return x >= 0 && y >= 0 && x < m_Width && y < m_Height; }
    uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, uint32_t pixel);

    // Block transfer of the w x h rectangle of `src` at (sx, sy) onto this
    // surface at (dx, dy). Both rectangles are clipped to their surfaces, so
    // negative or far-out coordinates are safe; pixels outside either surface
    // are left alone.
    void BitBlt(int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop op);

    // The whole of `src` drawn scaled into the rectangle (dx, dy, dw, dh).
    void DrawScaled(const Surface& src, int dx, int dy, int dw, int dh, ScaleMode mode);

    uint32_t* Row(int y) {
        m_Mark = 0;
        return m_Pixels.data() + static_cast<size_t>(y) * m_Width;
    }
    const uint32_t* Row(int y) const { return m_Pixels.data() + static_cast<size_t>(y) * m_Width; }

    // A QImage sharing this surface's pixels (valid until the next Resize).
    QImage Image();
    QImage Image() const;
    // A deep copy of an image, converted to our pixel layout.
    static Surface FromImage(const QImage& image);

    // Two surfaces are equal when their pixels are; marks do not count.
    bool operator==(const Surface& other) const {
        return m_Width == other.m_Width && m_Height == other.m_Height && m_Pixels == other.m_Pixels;
    }

    // A note a caller keeps about the contents (that they have some property
    // worth knowing without reading them again). Every change of the pixels,
    // and every writable access to them, clears it back to 0.
    uint32_t Mark() const { return m_Mark; }
    void SetMark(uint32_t mark) { m_Mark = mark; }

private:
    int m_Width = 0;
    int m_Height = 0;
    uint32_t m_Mark = 0;
    std::vector<uint32_t> m_Pixels;
};

// Why a picture could not be loaded.
enum class LoadError { None, NotFound, NotAPicture, TooLarge };

struct LoadedPicture {
    Surface Pixels;
    LoadError Error = LoadError::None;
    explicit operator bool() const { return Error == LoadError::None; }
};

// The largest side a picture may have: positions and sizes of the game are
// 16-bit, so anything wider or higher cannot be fitted.
constexpr int kMaxPictureSide = 32767;

// Loads a BMP, GIF, JPEG or PNG file whole, through PictureFile
// (platform/PictureReader.h). A file that is missing, not a picture, damaged
// or larger than kMaxPictureSide on a side gives an error, never a crash.
LoadedPicture LoadPicture(const QString& path);

}  // namespace platform
