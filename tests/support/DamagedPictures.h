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
#include <QList>
#include <QString>

#include <cstdint>

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

inline QString Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return path;
}

}  // namespace damaged
