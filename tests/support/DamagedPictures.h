// Picture files whose headers claim far more than their few hundred bytes
// hold, as a damaged (or hostile) file does. A decoder that believed them
// would reserve gigabytes or work for seconds; the picture reader must
// refuse them before any decoder sees them. Also the bitmaps that Qt's
// writer does not make.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace damaged {

inline QByteArray Big32(uint32_t v) {
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    return QByteArray(b, 4);
}

inline QByteArray Little(uint32_t v, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) out += char(v >> (8 * i));
    return out;
}

inline uint32_t Crc32(const QByteArray& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

inline QByteArray PngChunk(const QByteArray& type, const QByteArray& data) {
    return Big32(static_cast<uint32_t>(data.size())) + type + data + Big32(Crc32(type + data));
}

inline QByteArray PngStart(uint32_t w, uint32_t h) {
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", Big32(w) + Big32(h) + QByteArray("\x08\x02\0\0\0", 5));
}

// 165 bytes: a 1 x 1 PNG whose text chunk claims 2^31 - 1 bytes, before its
// pixel data or after it.
inline QByteArray PngWithHugeTextChunk(bool afterPixels) {
    QByteArray png = PngStart(1, 1);
    const QByteArray pixels = PngChunk("IDAT", qCompress(QByteArray(4, '\0')).mid(4));
    if (afterPixels) png += pixels;
    png += Big32(0x7FFFFFFF) + "tEXt" + QByteArray("Comment\0", 8);
    return png + QByteArray(165 - png.size(), 'x');
}

// A w x h PNG with the ten bytes of compressed rows of a single pixel.
inline QByteArray PngClaiming(uint32_t w, uint32_t h) {
    return PngStart(w, h) + PngChunk("IDAT", qCompress(QByteArray(4, '\0')).mid(4)) + PngChunk("IEND", QByteArray());
}

// `image` as Qt writes it in `format`.
inline QByteArray Written(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A small uniform picture in `format`.
inline QByteArray Encoded(int w, int h, const char* format) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(0xFF3366AAu);
    return Written(image, format);
}

// A 16 x 16 JPEG (some 600 bytes) whose frame header says w x h.
inline QByteArray JpegClaiming(uint16_t w, uint16_t h) {
    QByteArray jpeg = Encoded(16, 16, "JPEG");
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    jpeg[sof + 5] = char(h >> 8);
    jpeg[sof + 6] = char(h);
    jpeg[sof + 7] = char(w >> 8);
    jpeg[sof + 8] = char(w);
    return jpeg;
}

// A GIF whose logical screen is w x h, over a single pixel of image data.
inline QByteArray GifClaiming(uint16_t w, uint16_t h) {
    return "GIF89a" + Little(w, 2) + Little(h, 2) + QByteArray("\x80\0\0\xff\0\0\0\0\xff", 9) + "\x2c" +
           Little(0, 4) + Little(1, 2) + Little(1, 2) + QByteArray("\0\x02\x02\x44\x01\0\x3b", 7);
}

// A 4 x 4 bitmap (some hundred bytes) whose header says w x h, 24 bits a pixel.
inline QByteArray BmpClaiming(uint32_t w, uint32_t h) {
    return Encoded(4, 4, "BMP").replace(18, 8, Little(w, 4) + Little(h, 4));
}

// A bitmap of `bits` a pixel and `compression` (1 RLE8, 2 RLE4): its file
// and 40-byte info headers and its colours, before `data`.
inline QByteArray Bitmap(uint32_t w, uint32_t h, int bits, int compression, const QList<QRgb>& colours,
                         const QByteArray& data) {
    const auto start = static_cast<uint32_t>(14 + 40 + 4 * colours.size());
    const auto size = static_cast<uint32_t>(data.size());
    QByteArray bmp = "BM" + Little(start + size, 4) + Little(0, 4) + Little(start, 4);
    bmp += Little(40, 4) + Little(w, 4) + Little(h, 4) + Little(1, 2) + Little(bits, 2) + Little(compression, 4);
    bmp += Little(size, 4) + Little(2835, 4) + Little(2835, 4) + Little(static_cast<uint32_t>(colours.size()), 4) + Little(0, 4);
    for (const QRgb c : colours) bmp += Little(c & 0xFFFFFFu, 4);
    return bmp + data;
}

// An indexed picture run-length coded as encoders write it, bottom row
// first: runs of at most 255 pixels of one colour (2 bytes each), an
// end-of-line escape after each row and an end-of-picture one at the end.
// RLE4 (bits 4) takes the first 16 colours.
inline QByteArray RleBitmap(const QImage& indexed, int bits) {
    QByteArray data;
    for (int y = indexed.height() - 1; y >= 0; --y) {
        const uchar* row = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width();) {
            int n = 1;
            while (x + n < indexed.width() && n < 255 && row[x + n] == row[x]) ++n;
            data += char(n);
            data += char(bits == 4 ? (row[x] & 15) * 17 : row[x]);
            x += n;
        }
        data += QByteArray("\0\0", 2);
    }
    data += QByteArray("\0\1", 2);
    const QList<QRgb> colours = indexed.colorTable().mid(0, 1 << bits);
    return Bitmap(indexed.width(), indexed.height(), bits, bits == 4 ? 2 : 1, colours, data);
}

// An RLE8 bitmap whose header claims w x h over `rows` rows of one
// 255-pixel run each, ended by an end-of-line escape: 1078 bytes of headers
// and colours, then 4 bytes a row. With 4096 rows it is 17,462 bytes, and
// all but a million pixels of 16384 x 16384 are never drawn.
inline QByteArray Rle8Claiming(uint32_t w, uint32_t h, int rows) {
    QByteArray data;
    for (int y = 0; y < rows; ++y) data += QByteArray("\xFF\x01\0\0", 4);
    QList<QRgb> grey;
    for (int i = 0; i < 256; ++i) grey.append(qRgb(i, i, i));
    return Bitmap(w, h, 8, 1, grey, data);
}

// Deflate's bits, least significant first; a Huffman code goes in from its
// first bit.
class DeflateBits {
public:
    void Bits(uint32_t value, int n) {
        for (int i = 0; i < n; ++i) Bit((value >> i) & 1);
    }
    void Code(uint32_t code, int n) {
        for (int i = n - 1; i >= 0; --i) Bit((code >> i) & 1);
    }
    void Zeros(int64_t n) {
        for (; n > 0 && m_Used != 0; --n) Bit(0);
        m_Bytes.append(QByteArray(static_cast<qsizetype>(n / 8), '\0'));
        for (n %= 8; n > 0; --n) Bit(0);
    }
    QByteArray Bytes() const { return m_Used ? m_Bytes + char(m_Byte) : m_Bytes; }

private:
    void Bit(uint32_t b) {
        m_Byte |= static_cast<uint8_t>(b << m_Used);
        if (++m_Used == 8) {
            m_Bytes += char(m_Byte);
            m_Byte = 0;
            m_Used = 0;
        }
    }
    QByteArray m_Bytes;
    uint8_t m_Byte = 0;
    int m_Used = 0;
};

// A zlib stream of n zero bytes (n >= 1) at deflate's best ratio, made
// without compressing them: one block whose codes are a literal 0 (2 bits),
// the end (2 bits) and a match of 258 bytes at distance 1 (1 bit, and 1 bit
// of distance). Some 1032 bytes a compressed byte.
inline QByteArray ZlibZeros(int64_t n) {
    DeflateBits out;
    out.Bits(1, 1);   // the last block
    out.Bits(2, 2);   // with codes of its own
    out.Bits(29, 5);  // 286 literal and length codes
    out.Bits(0, 5);   // one distance code
    out.Bits(14, 4);  // 18 code length codes, in their order:
    for (int length : {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2}) out.Bits(length, 3);
    // Code lengths: 18 (a run of zeros) is "0", 1 is "10", 2 is "11".
    auto zeros = [&](int run) { out.Code(0, 1), out.Bits(run - 11, 7); };
    out.Code(3, 2);  // literal 0: 2 bits
    zeros(138), zeros(117);
    out.Code(3, 2);  // 256, the end: 2 bits
    zeros(28);
    out.Code(2, 2);  // 285, a match of 258: 1 bit
    out.Code(2, 2);  // distance 1: 1 bit
    // Literal 0 is "10", the end "11", the match "0" and its distance "0".
    const int64_t literals = 1 + (n - 1) % 258;
    for (int64_t i = 0; i < literals; ++i) out.Code(2, 2);
    out.Zeros((n - literals) / 258 * 2);
    out.Code(3, 2);
    const uint32_t adler = static_cast<uint32_t>(n % 65521) << 16 | 1;
    return QByteArray("\x78\xDA", 2) + out.Bytes() + Big32(adler);
}

// A w x h PNG of grey (or palette) pixels of `depth` bits, every row blank:
// a few hundred kilobytes at most that tell the truth about their size.
inline QByteArray BlankPng(uint32_t w, uint32_t h, int depth, bool palette) {
    const QByteArray header = Big32(w) + Big32(h) + char(depth) + char(palette ? 3 : 0) + QByteArray(3, '\0');
    QByteArray png = QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header);
    if (palette) png += PngChunk("PLTE", QByteArray("\x20\x40\x60\xF0\xE0\xD0", 6));
    const int64_t rows = int64_t(h) * (1 + (int64_t(w) * depth + 7) / 8);
    return png + PngChunk("IDAT", ZlibZeros(rows)) + PngChunk("IEND", QByteArray());
}

// A w x h RLE bitmap (8 or 4 bits) drawn as encoders write a plain picture:
// runs of 255 pixels, 2 bytes each, an end of line after each row.
inline QByteArray RleRuns(uint32_t w, uint32_t h, int bits) {
    QByteArray row;
    for (uint32_t x = 0; x < w; x += 255) row += char(std::min<uint32_t>(255, w - x)) + QByteArray(1, '\x11');
    row += QByteArray("\0\0", 2);
    QByteArray data;
    data.reserve(row.size() * h + 2);
    for (uint32_t y = 0; y < h; ++y) data += row;
    return Bitmap(w, h, bits, bits == 4 ? 2 : 1, {qRgb(10, 20, 30), qRgb(200, 100, 50)}, data + QByteArray("\0\1", 2));
}

// A w x h 1-bit bitmap holding `rows` of its rows.
inline QByteArray MonoBitmapRows(uint32_t w, uint32_t h, uint32_t rows) {
    const qsizetype row = (w + 31) / 32 * 4;
    return Bitmap(w, h, 1, 0, {qRgb(0, 0, 0), qRgb(255, 255, 255)}, QByteArray(row * rows, '\0'));
}

// GIF sub-blocks holding n bytes of LZW data.
inline QByteArray GifData(int64_t n) {
    QByteArray out;
    for (; n > 0; n -= 255) out += char(std::min<int64_t>(n, 255)) + QByteArray(static_cast<qsizetype>(std::min<int64_t>(n, 255)), '\0');
    return out + '\0';
}

// A GIF whose logical screen is w x h: a first image of iw x ih with
// `first` bytes of data, then a second image with `later` bytes.
inline QByteArray GifFrames(uint16_t w, uint16_t h, uint16_t iw, uint16_t ih, int64_t first, int64_t later) {
    auto image = [](uint16_t iw, uint16_t ih, int64_t bytes) {
        return "\x2c" + Little(0, 4) + Little(iw, 2) + Little(ih, 2) + QByteArray("\0\x02", 2) + GifData(bytes);
    };
    QByteArray gif = "GIF89a" + Little(w, 2) + Little(h, 2) + QByteArray("\x80\0\0\xff\0\0\0\0\xff", 9);
    gif += image(iw, ih, first);
    if (later > 0) gif += image(iw, ih, later);
    return gif + ";";
}

// A 16 x 16 JPEG, progressive or baseline, in colour or grey, whose frame
// header says w x h;
// `data` zero bytes start its first scan's data (as much data as a real
// picture that size holds, for the bounds), `scans` empty AC scans follow
// its own, and `comments` bytes of comment segments stand before its frame.
inline QByteArray JpegWith(uint16_t w, uint16_t h, bool progressive, qsizetype data = 0, int scans = 0,
                           qsizetype comments = 0, bool grey = false) {
    QImage image(16, 16, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    image.fill(QColor(0x33, 0x66, 0xAA));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    const qsizetype sof = jpeg.indexOf(QByteArray(progressive ? "\xFF\xC2" : "\xFF\xC0", 2));
    jpeg[sof + 5] = char(h >> 8);
    jpeg[sof + 6] = char(h);
    jpeg[sof + 7] = char(w >> 8);
    jpeg[sof + 8] = char(w);
    const qsizetype sos = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    jpeg.insert(sos + 2 + (uchar(jpeg[sos + 2]) << 8 | uchar(jpeg[sos + 3])), QByteArray(data, '\0'));
    QByteArray empty;
    for (int i = 0; i < scans; ++i) empty += QByteArray("\xFF\xDA\0\x08\x01\x01\0\x01\x3F\0", 10);
    jpeg.insert(jpeg.size() - 2, empty);
    QByteArray padding;
    for (; comments > 0; comments -= 65533)
        padding += QByteArray("\xFF\xFE", 2) + Big32(static_cast<uint32_t>(std::min<qsizetype>(comments, 65533) + 2)).mid(2) +
                   QByteArray(std::min<qsizetype>(comments, 65533), 'c');
    return jpeg.insert(2, padding);
}

// A w x h picture of four coloured quarters (left to right, top to
// bottom), so that a turn or a mirror shows.
inline QImage Quarters(int w, int h, const QRgb (&colours)[4]) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, colours[(y < h / 2 ? 0 : 2) + (x < w / 2 ? 0 : 1)]);
    return image;
}

// A JPEG with an EXIF segment whose orientation tag says `orientation`.
inline QByteArray WithOrientation(QByteArray jpeg, int orientation) {
    const QByteArray tiff = QByteArray("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 18) + Little(orientation, 2) +
                            QByteArray(6, '\0');
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    return jpeg.insert(2, QByteArray("\xFF\xE1", 2) + Big32(static_cast<uint32_t>(exif.size() + 2)).mid(2) + exif);
}

inline QString Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return path;
}

}  // namespace damaged
