#include "platform/PictureReader.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>
#include <utility>

namespace platform {

namespace {

// Bounds on how many pixels a file of a given size can honestly hold. Each
// sits above the most a format's coding can compress, so that every picture
// a program writes passes (photographs, uniform colours, 1-bit and tiny
// pictures); a header that claims more is damaged and is refused before a
// decoder reserves memory or time for it.

// Deflate codes its longest match, 258 bytes, in no less than 2 bits (1-bit
// length and distance codes): at most 1032 bytes of raw rows (filter bytes
// and pixel bytes) per compressed byte. A uniform 1-bit PNG comes close.
constexpr int64_t kDeflateMaxRatio = 1100;

// A Huffman-coded JPEG spends at least a bit on every 8 x 8 block of its most
// finely sampled component: a baseline block needs a DC code and an end code,
// and a progressive file codes every block's DC in its first DC scan (only
// its AC scans can skip runs of empty blocks). That is 512 pixels a byte at
// most; a uniform progressive grey picture reaches about 256.
constexpr int64_t kJpegPixelsPerByte = 1024;
// Arithmetic coding needs almost nothing for a uniform picture (some 200
// bytes for 8000 x 6000), so its size cannot tell such a file from a damaged
// header. This bound passes any arithmetic-coded picture with real content,
// drawings on a plain ground included, and keeps what a file of a few hundred
// bytes can claim to a few megapixels; only large, nearly uniform pictures in
// a coding that hardly any program writes are refused.
constexpr int64_t kArithmeticJpegPixelsPerByte = 16384;

// LZW codes are at most 12 bits and a code stands for at most 4096 pixels:
// about 2731 pixels per byte of image data at best.
constexpr int64_t kGifPixelsPerByte = 4096;

// An RLE bitmap draws at most 255 pixels with the 2 bytes of a run; a file
// as encoders write it, every pixel drawn, stays under 127.5 pixels a byte.
// Its escapes draw nothing: an end of line, a jump or an end of picture skips
// as many pixels as the header likes for 2 or 4 bytes, and the decoder does
// not touch them. So a header is held to the pixels its runs can draw; else
// a file of 17 KB could claim a quarter of a gigapixel.
constexpr int64_t kRlePixelsPerTwoBytes = 255;

// What a decode may cost where it cannot be reduced: a BMP, GIF or PNG is
// decoded whole, and a JPEG of several scans keeps every coefficient of the
// whole picture until its last scan. A header that tells the truth can still
// claim a picture no photograph comes near (a 1-bit PNG of 32767 x 32767 is
// 130 KB), and decoding it would take seconds and gigabytes. So such a
// decode is held to about what a 48-megapixel photograph costs: at most
// 100 megapixels (Pillow refuses 179 and warns over 89), and at most 320 MB
// held by the decoder (the photograph's 32-bit pixels are 183 MB, its
// coefficients as a progressive JPEG of full colour resolution 275 MB).
// Anything larger is refused as too large to play.
constexpr int64_t kMaxWholePixels = 100'000'000;
constexpr int64_t kMaxDecodeBytes = int64_t(320) << 20;

// A JPEG of several scans goes over the coefficients of its blocks once a
// scan (an empty scan too): encoders visit each block up to 6 times (DC,
// AC bands, refinements), so 16 visits a block leave room for any of them
// while thousands of empty scans are refused.
constexpr int64_t kMaxJpegBlockVisits = 16;

// Reads a device front to back in blocks, with cheap forward skips, so that
// a walk over a file's chunks or blocks reads no more than it must.
class ByteSource {
public:
    explicit ByteSource(QIODevice& device) : m_Device(device), m_Size(device.size()) {}

    qint64 Size() const { return m_Size; }
    qint64 Left() const { return m_Size - m_Pos; }

    bool Read(uint8_t* out, qint64 n) {
        if (n < 0 || n > Left()) return false;
        if (m_Pos < m_Start || m_Pos + n > m_Start + m_Block.size()) {
            if (!m_Device.seek(m_Pos)) return false;
            m_Block = m_Device.read(std::max<qint64>(n, kBlock));
            m_Start = m_Pos;
            if (m_Block.size() < n) return false;
        }
        std::copy_n(m_Block.constData() + (m_Pos - m_Start), n, reinterpret_cast<char*>(out));
        m_Pos += n;
        return true;
    }
    // The next byte, or -1 at the end.
    int Byte() {
        if (m_Pos >= m_Start && m_Pos < m_Start + m_Block.size())
            return static_cast<uint8_t>(m_Block[static_cast<qsizetype>(m_Pos++ - m_Start)]);
        uint8_t b = 0;
        return Read(&b, 1) ? b : -1;
    }
    // Moves on to the next 0xFF byte, or to the end; the bytes passed over.
    qint64 SkipToFF() {
        const qint64 from = m_Pos;
        while (m_Pos < m_Size) {
            if (m_Pos < m_Start || m_Pos >= m_Start + m_Block.size()) {
                if (!m_Device.seek(m_Pos)) break;
                m_Block = m_Device.read(kBlock);
                m_Start = m_Pos;
                if (m_Block.isEmpty()) break;
            }
            const char* at = m_Block.constData() + (m_Pos - m_Start);
            const qint64 n = m_Start + m_Block.size() - m_Pos;
            if (const void* hit = std::memchr(at, 0xFF, static_cast<size_t>(n))) {
                m_Pos += static_cast<const char*>(hit) - at;
                break;
            }
            m_Pos += n;
        }
        return m_Pos - from;
    }
    bool Skip(qint64 n) {
        if (n < 0 || n > Left()) return false;
        m_Pos += n;
        return true;
    }
    void Rewind() { m_Pos = 0; }

private:
    static constexpr qint64 kBlock = 64 * 1024;
    QIODevice& m_Device;
    const qint64 m_Size;
    qint64 m_Pos = 0;
    qint64 m_Start = 0;
    QByteArray m_Block;
};

uint32_t Big32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint16_t Big16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }
uint16_t Little16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Little32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// What a checked header declares.
struct Header {
    LoadError Error = LoadError::NotAPicture;
    PictureFormat Format = PictureFormat::Bmp;
    int64_t W = 0, H = 0;
    int BytesPerPixel = 4;
    QImage::Format Decoded = QImage::Format_Invalid;  // a bitmap's, as its decoder makes it
};

// A picture its decoder must hold whole (decodeBytes: what that takes) is
// refused over the caps above, as too large to play.
Header Capped(Header header, int64_t pixels, int64_t decodeBytes) {
    if (header.Error == LoadError::None && (pixels > kMaxWholePixels || decodeBytes > kMaxDecodeBytes)) {
        header.Error = LoadError::TooLarge;
        header.W = header.H = 0;
    }
    return header;
}

// Sides first (a side over the limit is a picture too large to play, not a
// damaged file), then the pixels against what the file can hold.
Header Sized(PictureFormat format, int64_t w, int64_t h, bool plausible, int bytesPerPixel = 4) {
    Header out;
    out.Format = format;
    if (w < 1 || h < 1) return out;
    if (w > kMaxPictureSide || h > kMaxPictureSide) {
        out.Error = LoadError::TooLarge;
        return out;
    }
    if (!plausible) return out;
    out.Error = LoadError::None;
    out.W = w;
    out.H = h;
    out.BytesPerPixel = bytesPerPixel;
    return out;
}

Header CheckPng(ByteSource& in) {
    // The signature is checked; every chunk must fit in what is left of the
    // file, IHDR first.
    in.Skip(8);
    bool haveHeader = false;
    uint8_t ihdr[13] = {};
    int64_t idat = 0;
    bool transparent = false;
    while (in.Left() > 0) {
        uint8_t head[8];
        if (!in.Read(head, 8)) return {};
        const uint32_t length = Big32(head);
        const QByteArray type(reinterpret_cast<const char*>(head + 4), 4);
        // The end chunk holds nothing, and the decoder does not read its
        // checksum: a copy cut inside it still decodes.
        if (haveHeader && type == "IEND") break;
        if (length > 0x7FFFFFFFu || length + qint64(4) > in.Left()) return {};
        if (!haveHeader) {
            if (type != "IHDR" || length != 13 || !in.Read(ihdr, 13) || !in.Skip(4)) return {};
            haveHeader = true;
            continue;
        }
        if (type == "IDAT") idat += length;
        if (type == "tRNS") transparent = true;
        in.Skip(length + qint64(4));
    }
    if (!haveHeader) return {};
    const int64_t w = Big32(ihdr), h = Big32(ihdr + 4);
    const int depth = ihdr[8], colour = ihdr[9];
    int channels = 0;
    switch (colour) {
        case 0: channels = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16 ? 1 : 0; break;
        case 2: channels = depth == 8 || depth == 16 ? 3 : 0; break;
        case 3: channels = depth == 1 || depth == 2 || depth == 4 || depth == 8 ? 1 : 0; break;
        case 4: channels = depth == 8 || depth == 16 ? 2 : 0; break;
        case 6: channels = depth == 8 || depth == 16 ? 4 : 0; break;
        default: break;
    }
    if (channels == 0 || ihdr[10] != 0 || ihdr[11] != 0 || ihdr[12] > 1) return {};
    const bool sides = w <= kMaxPictureSide && h <= kMaxPictureSide;  // no overflow below
    const bool plausible = sides && h * (1 + (w * channels * depth + 7) / 8) <= idat * kDeflateMaxRatio;
    // Sixteen bits a channel decode to 64-bit pixels; a 1-bit picture to
    // bits, one of palette or opaque grey colours to bytes, any other to
    // 32-bit pixels.
    const int bytesPerPixel = depth == 16 ? 8 : 4;
    const bool indexed = colour == 3 || (colour == 0 && !transparent);
    const int64_t rowBytes = depth == 16 ? 8 * w : !indexed ? 4 * w : depth == 1 ? (w + 31) / 32 * 4 : w;
    return Capped(Sized(PictureFormat::Png, w, h, plausible, bytesPerPixel), w * h, rowBytes * h);
}

// The data of a JPEG scan run from its header to the next marker but a
// restart marker, as the decoder reads them: a 0xFF byte followed by 0x00
// is a stuffed data byte, fill bytes (0xFF) stand before a marker. Adds up
// the bytes the scan holds; gives the marker that ends it, or -1 at the end
// of the file (a copy cut short decodes as far as it goes).
int JpegScanData(ByteSource& in, int64_t* bytes) {
    for (;;) {
        *bytes += in.SkipToFF();
        int b = in.Byte();
        while (b == 0xFF) b = in.Byte();
        if (b < 0) return -1;
        if (b != 0x00 && (b < 0xD0 || b > 0xD7)) return b;
        *bytes += 2;
    }
}

Header CheckJpeg(ByteSource& in) {
    // Marker segments after SOI, each within the file. Between segments the
    // decoder skips whatever is not a marker (it warns of "extraneous
    // bytes"): some cameras and editors pad their segments with zeros, and
    // so does a stray byte. Fill bytes (0xFF) and a stuffed 0xFF 0x00 are
    // skipped too. Only the scans' data pay for the picture: segments of
    // comments, EXIF or other application data cost the decoder nothing
    // for the pixels they do not code.
    in.Skip(2);
    struct Component {
        int Id, H, V;
    };
    std::vector<Component> components;
    int64_t w = 0, h = 0, maxH = 1, maxV = 1;
    bool arithmetic = false, progressive = false;
    int64_t scanData = 0, scans = 0, visits = 0;
    bool wholeScan = true;  // every scan codes every component
    int pending = -1;        // a marker the walk over a scan's data ended at
    for (;;) {
        int b = pending;
        pending = -1;
        if (b < 0) {
            b = in.Byte();
            for (;;) {
                while (b >= 0 && b != 0xFF) b = in.Byte();
                while (b == 0xFF) b = in.Byte();
                if (b != 0x00) break;
                b = in.Byte();
            }
        }
        if (b < 0 || b == 0xD9) break;  // the end of the file or of the picture
        const int marker = b;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0xD8 || (marker == 0xDA && components.empty())) return {};  // no frame before the data
        uint8_t len[2];
        if (!in.Read(len, 2)) break;
        const int length = Big16(len);
        if (length < 2 || length - 2 > in.Left()) {
            if (components.empty()) return {};
            break;  // the decoder stops at a segment cut short
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && components.empty()) {
            uint8_t sof[6];
            if (length < 8 || !in.Read(sof, 6)) return {};
            const int count = sof[5];
            if (count < 1 || length < 8 + 3 * count) return {};
            h = Big16(sof + 1);
            w = Big16(sof + 3);
            for (int c = 0; c < count; ++c) {
                uint8_t comp[3];
                if (!in.Read(comp, 3)) return {};
                const int ch = std::max(1, comp[1] >> 4), cv = std::max(1, comp[1] & 15);
                components.push_back({comp[0], ch, cv});
                maxH = std::max<int64_t>(maxH, ch);
                maxV = std::max<int64_t>(maxV, cv);
            }
            in.Skip(length - 8 - 3 * count);
            arithmetic = marker >= 0xC9;
            progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
            continue;
        }
        if (marker != 0xDA) {
            in.Skip(length - 2);
            continue;
        }
        // A scan: the blocks of its components, each visited once.
        uint8_t count = 0;
        if (length < 3 || !in.Read(&count, 1)) break;
        const int64_t mcusX = (w + 8 * maxH - 1) / (8 * maxH), mcusY = (h + 8 * maxV - 1) / (8 * maxV);
        for (int c = 0; c < count && 1 + 2 * c + 2 <= length - 2; ++c) {
            uint8_t comp[2];
            if (!in.Read(comp, 2)) return {};
            for (const Component& k : components)
                if (k.Id == comp[0]) visits += mcusX * k.H * mcusY * k.V;
        }
        in.Skip(length - 3 - 2 * qint64(count));
        ++scans;
        if (count < static_cast<int>(components.size())) wholeScan = false;
        pending = JpegScanData(in, &scanData);
    }
    if (components.empty()) return {};
    const int64_t perByte = arithmetic ? kArithmeticJpegPixelsPerByte : kJpegPixelsPerByte;
    const bool sides = w <= kMaxPictureSide && h <= kMaxPictureSide;  // no overflow below
    const Header header = Sized(PictureFormat::Jpeg, w, h, sides && w * h <= scanData * perByte);
    // A single scan is decoded straight at the reduced size, a few rows at a
    // time. Several scans are gathered first, every block's coefficients
    // (64 of 2 bytes) for the whole picture, and each scan goes over the
    // blocks it codes, however little it holds.
    if (!progressive && scans <= 1 && wholeScan) return header;
    int64_t blocks = 0;
    for (const Component& k : components)
        blocks += (w + 8 * maxH - 1) / (8 * maxH) * k.H * ((h + 8 * maxV - 1) / (8 * maxV)) * k.V;
    if (visits > kMaxJpegBlockVisits * blocks) return {};
    return Capped(header, 0, blocks * 128);
}

// Walks a run of GIF sub-blocks to its terminator, adding up their bytes;
// false where the file ends first, having added the bytes that are there.
bool GifSubBlocks(ByteSource& in, int64_t* bytes) {
    for (;;) {
        const int n = in.Byte();
        if (n < 0) return false;
        if (n == 0) return true;
        const int64_t there = std::min<int64_t>(n, in.Left());
        in.Skip(there);
        *bytes += there;
        if (there < n) return false;
    }
}

Header CheckGif(ByteSource& in) {
    uint8_t screen[13];
    if (!in.Read(screen, 13)) return {};
    if (screen[10] & 0x80) in.Skip(qint64(3) << ((screen[10] & 7) + 1));
    int64_t w = Little16(screen + 6), h = Little16(screen + 8);
    // The decoder shows the first image and reads no further. Up to that
    // image every block must be whole; its data may be cut short (the decoder
    // shows what there is). Only that image's data pay for the picture: the
    // data of later images and of extension blocks are never decoded into it.
    bool haveImage = false;
    int64_t data = 0;
    for (;;) {
        const int block = in.Byte();
        if (block == 0x3B) break;
        int64_t ignored = 0;
        uint8_t desc[9];
        if (block == 0x21) {
            if (in.Byte() < 0 || !GifSubBlocks(in, &ignored)) break;
        } else if (block == 0x2C && in.Read(desc, 9) &&
                   (!(desc[8] & 0x80) || in.Skip(qint64(3) << ((desc[8] & 7) + 1))) && in.Byte() >= 0) {
            // A logical screen side of 0 takes the first image's extent.
            if (w == 0) w = Little16(desc) + Little16(desc + 4);
            if (h == 0) h = Little16(desc + 2) + Little16(desc + 6);
            haveImage = true;
            GifSubBlocks(in, &data);
            break;
        } else {
            return {};
        }
    }
    if (!haveImage) return {};
    // Decoded whole, into 32-bit pixels of the logical screen's size.
    return Capped(Sized(PictureFormat::Gif, w, h, w * h <= data * kGifPixelsPerByte), w * h, 4 * w * h);
}

Header CheckBmp(ByteSource& in) {
    uint8_t head[18];
    if (!in.Read(head, 18)) return {};
    const int64_t offBits = Little32(head + 10);
    const int64_t dibSize = Little32(head + 14);
    int64_t w = 0, h = 0;
    int bits = 0;
    uint32_t compression = 0;
    uint32_t alphaMask = 0;
    if (dibSize == 12) {
        uint8_t core[8];
        if (!in.Read(core, 8) || Little16(core + 4) != 1) return {};
        w = static_cast<int16_t>(Little16(core));
        h = static_cast<int16_t>(Little16(core + 2));
        bits = Little16(core + 6);
    } else if (dibSize == 40 || dibSize == 52 || dibSize == 56 || dibSize == 64 || dibSize == 108 || dibSize == 124) {
        uint8_t info[16];
        if (!in.Read(info, 16) || Little16(info + 8) != 1) return {};
        w = static_cast<int32_t>(Little32(info));
        h = static_cast<int32_t>(Little32(info + 4));
        bits = Little16(info + 10);
        compression = Little32(info + 12);
        uint8_t masks[16];
        if (dibSize >= 108 && in.Skip(20) && in.Read(masks, 16)) alphaMask = Little32(masks + 12);
    } else {
        return {};
    }
    h = h < 0 ? -h : h;  // top-down rows
    const bool depthKnown = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool rle = (compression == 1 && bits == 8) || (compression == 2 && bits == 4);
    const bool packed = compression == 0 || (compression == 3 && (bits == 16 || bits == 32));
    if (!depthKnown || !(rle || packed)) return {};
    // The pixel data start where the header says, or right after the header
    // where that offset is bogus (as the decoder takes it).
    const int64_t start = std::max<int64_t>(offBits, 14 + dibSize);
    if (start > in.Size()) return {};
    const int64_t data = in.Size() - start;
    const bool sides = w <= kMaxPictureSide && h <= kMaxPictureSide;  // no overflow below
    // Rows are padded to 4 bytes. A file cut short (an interrupted copy)
    // decodes as far as its whole rows go; one that holds less than half the
    // rows its header claims is damaged.
    const int64_t row = (w * bits + 31) / 32 * 4;
    const bool plausible = sides && (rle ? 2 * w * h <= data * kRlePixelsPerTwoBytes : h * row <= 2 * data);
    Header out = Sized(PictureFormat::Bmp, w, h, plausible);
    // The decoder's own pixel format: 32-bit pixels keep their alpha where
    // the header gives an alpha mask for bit fields, or the usual one for
    // plain 32-bit pixels.
    const bool alpha = alphaMask != 0 && (compression == 3 || (bits == 32 && alphaMask == 0xFF000000u));
    out.Decoded = bits == 1   ? QImage::Format_Mono
                  : bits <= 8 ? QImage::Format_Indexed8
                  : alpha     ? QImage::Format_ARGB32
                              : QImage::Format_RGB32;
    if (!sides) return out;
    const int64_t decodedRow = bits == 1 ? (w + 31) / 32 * 4 : bits <= 8 ? (w + 3) / 4 * 4 : 4 * w;
    return Capped(out, w * h, decodedRow * h);
}

Header CheckHeader(QIODevice& device) {
    ByteSource in(device);
    uint8_t magic[8] = {};
    if (!in.Read(magic, std::min<qint64>(8, in.Size()))) return {};
    in.Rewind();
    static const uint8_t png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (in.Size() >= 8 && std::equal(png, png + 8, magic)) return CheckPng(in);
    if (in.Size() >= 2 && magic[0] == 0xFF && magic[1] == 0xD8) return CheckJpeg(in);
    if (in.Size() >= 6 && (std::equal(magic, magic + 6, "GIF87a") || std::equal(magic, magic + 6, "GIF89a")))
        return CheckGif(in);
    if (in.Size() >= 2 && magic[0] == 'B' && magic[1] == 'M') return CheckBmp(in);
    return {};
}

const char* FormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Bmp: return "bmp";
        case PictureFormat::Gif: return "gif";
        case PictureFormat::Jpeg: return "jpeg";
        case PictureFormat::Png: return "png";
    }
    return "";
}

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

// Qt's decoders refuse an image over a process-wide allocation limit (128 MB
// by default, which turns away a 48-megapixel photograph). Each read sets it
// from the picture's own checked size and puts back what it found.
class AllocationLimit {
public:
    explicit AllocationLimit(int megabytes) : m_Saved(QImageReader::allocationLimit()) {
        QImageReader::setAllocationLimit(megabytes);
    }
    ~AllocationLimit() { QImageReader::setAllocationLimit(m_Saved); }
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

private:
    int m_Saved;
};

// A picture of up to this many pixels is scaled as Qt's decoders scale it,
// through a whole 32-bit copy: 16 MB at most.
constexpr int64_t kConvertedWhole = 4 << 20;

// A picture averaged over squares of k x k pixels, in 32-bit pixels. Only a
// band of rows at a time is converted to 32 bits, so a picture of 1 or
// 8-bit pixels, 64-bit ones or unpremultiplied alpha is never copied whole
// into a picture of its own size (as Qt's smooth scaling and the surface's
// conversion would): for a large picture that copy is the bulk of the cost.
QImage Averaged(const QImage& image, int k) {
    constexpr int64_t kBandBytes = 4 << 20;
    const int w = image.width(), h = image.height();
    const QImage::Format format =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const int outW = (w + k - 1) / k;
    QImage reduced(outW, (h + k - 1) / k, format);
    if (reduced.isNull()) return QImage();
    std::vector<uint64_t> sums(size_t(outW) * 4);
    const int bandRows = static_cast<int>(std::max<int64_t>(1, kBandBytes / (int64_t(w) * 4)));
    for (int y0 = 0; y0 < h; y0 += bandRows) {
        const QImage band = image.copy(0, y0, w, std::min(bandRows, h - y0)).convertToFormat(format);
        if (band.isNull()) return QImage();
        for (int r = 0; r < band.height(); ++r) {
            const int y = y0 + r;
            const auto* line = reinterpret_cast<const QRgb*>(band.constScanLine(r));
            for (int ox = 0, x = 0; ox < outW; ++ox) {
                uint64_t* sum = &sums[size_t(ox) * 4];
                for (const int end = std::min(w, x + k); x < end; ++x) {
                    sum[0] += qAlpha(line[x]);
                    sum[1] += qRed(line[x]);
                    sum[2] += qGreen(line[x]);
                    sum[3] += qBlue(line[x]);
                }
            }
            if ((y + 1) % k != 0 && y + 1 != h) continue;
            // A row of squares is complete: each gives its mean.
            const uint64_t rows = uint64_t(y % k) + 1;
            auto* out = reinterpret_cast<QRgb*>(reduced.scanLine(y / k));
            for (int ox = 0; ox < outW; ++ox) {
                uint64_t* sum = &sums[size_t(ox) * 4];
                const uint64_t n = rows * uint64_t(std::min(k, w - ox * k));
                auto mean = [&](int c) { return static_cast<int>((sum[c] + n / 2) / n); };
                out[ox] = qRgba(mean(1), mean(2), mean(3), mean(0));
                std::fill_n(sum, 4, 0);
            }
        }
    }
    return reduced;
}

// A picture scaled to `size` with Qt's smooth scaling; a large one that the
// scaling would first copy whole is averaged down to no less than twice the
// size first.
QImage ScaledSmooth(const QImage& image, QSize size) {
    const int k = std::min(image.width() / (2 * size.width()), image.height() / (2 * size.height()));
    const bool copied = image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32_Premultiplied;
    if (k < 2 || !copied || int64_t(image.width()) * image.height() <= kConvertedWhole)
        return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage reduced = Averaged(image, k);
    return reduced.isNull() ? QImage() : reduced.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

PictureFile::PictureFile(const QString& path) : m_File(path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        m_Error = LoadError::NotFound;
        return;
    }
    // Only a regular file is opened: a FIFO would block the open for ever,
    // and a device could be read without end.
    if (!info.isFile() || !m_File.open(QIODevice::ReadOnly)) {
        m_Error = LoadError::NotAPicture;
        return;
    }
    const Header header = CheckHeader(m_File);
    m_Error = header.Error;
    m_Format = header.Format;
    m_BytesPerPixel = header.BytesPerPixel;
    m_Decoded = header.Decoded;
    if (header.Error != LoadError::None || !m_File.seek(0)) return;
    m_Stored = QSize(static_cast<int>(header.W), static_cast<int>(header.H));
    // The orientation as the decoder reads it from the header (a JPEG's
    // EXIF data).
    QImageReader reader(&m_File, FormatName(m_Format));
    reader.setAutoDetectImageFormat(false);
    m_Turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    m_Size = m_Turned ? m_Stored.transposed() : m_Stored;
}

void PictureFile::KeepStoredOrientation() {
    m_Upright = false;
    m_Size = m_Stored;
}

bool PictureFile::Decode(QSize scaledSize, QImage* image) {
    if (m_Error != LoadError::None || !m_File.seek(0)) return false;
    QImageReader reader(&m_File, FormatName(m_Format));
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(m_Upright);
    // A reduced decode needs less; the whole picture is the most a decoder
    // of this file may allocate. Sides are at most kMaxPictureSide, so this
    // is at most 8 GB, well within an int of megabytes.
    const int64_t bytes = int64_t(m_Stored.width()) * m_Stored.height() * m_BytesPerPixel;
    const AllocationLimit limit(static_cast<int>((bytes >> 20) + 1));
    // A JPEG decoder reduces as it decodes. Others decode whole and then
    // scale, which is left to them for a small picture; a large one is
    // scaled here without a whole 32-bit copy.
    const bool small = int64_t(m_Stored.width()) * m_Stored.height() <= kConvertedWhole;
    if (m_Format == PictureFormat::Jpeg || (m_Format != PictureFormat::Bmp && small)) {
        // The picture is reduced as it is stored, before it is turned.
        if (scaledSize.isValid()) reader.setScaledSize(m_Turned && m_Upright ? scaledSize.transposed() : scaledSize);
        return reader.read(image) && !image->isNull();
    }
    QImage whole;
    if (m_Format == PictureFormat::Bmp) {
        // The bitmap decoder writes only the pixels that the file draws:
        // those that a file cut short lacks, or that an RLE escape skips,
        // keep what the image held. So it decodes into a cleared image of
        // its own format (which it keeps), and they show as colour 0, black
        // or the first of the file's colours, never as stale memory.
        whole = QImage(m_Stored, m_Decoded);
        if (whole.isNull()) return false;
        whole.fill(0);
    }
    if (!reader.read(&whole) || whole.isNull()) return false;
    *image = scaledSize.isValid() ? ScaledSmooth(whole, scaledSize) : std::move(whole);
    return !image->isNull();
}

CoveringPicture PictureFile::Covering(QSize need) {
    CoveringPicture result;
    result.Error = m_Error;
    if (m_Error != LoadError::None) return result;
    // Only JPEG reduces inside its decoder; asking another format for a
    // smaller size would decode it whole and then scale it.
    const int k = need.isValid() && m_Format == PictureFormat::Jpeg ? ReductionFor(m_Size, need) : 1;
    // Qt's decoder picks its reduction from the sides over the size asked
    // for: asked for the rounded-up share of a side that k does not divide,
    // it would decode at twice that size and scale it down, holding four
    // times the pixels. It is asked for the rounded-down share instead (a
    // pixel short of covering `need` at most), and scales to it from there.
    const QSize target = k > 1 ? QSize(std::max(1, m_Size.width() / k), std::max(1, m_Size.height() / k)) : m_Size;
    // A colour JPEG shown as stored, reduced by a factor that divides its
    // sides, decodes into pixels laid out as a surface's: it is read straight
    // into the surface, so a large photograph is not held twice. Any other
    // picture comes in the decoder's own image and is converted.
    const bool exact = target * k == m_Size;
    if (m_Format == PictureFormat::Jpeg && exact && !(m_Turned && m_Upright))
        result.Pixels.Resize(target.width(), target.height());
    QImage image = result.Pixels.Image();
    const uchar* const own = image.constBits();
    bool decoded = Decode(k > 1 ? target : QSize(), &image);
    // Another format came whole: a large picture is averaged down to what
    // covers `need` before it becomes a surface, which would otherwise be
    // a second copy of it, 32 bits a pixel.
    bool averaged = false;
    if (decoded && need.isValid() && m_Format != PictureFormat::Jpeg &&
        int64_t(image.width()) * image.height() > kConvertedWhole) {
        const int n = std::min(image.width() / need.width(), image.height() / need.height());
        if (n > 1) {
            image = Averaged(image, n);
            averaged = decoded = !image.isNull();
        }
    }
    if (!decoded) {
        result.Pixels = Surface();
        result.Error = LoadError::NotAPicture;
        return result;
    }
    result.FileSize = k > 1 || averaged ? m_Size : image.size();
    if (result.FileSize.width() > kMaxPictureSide || result.FileSize.height() > kMaxPictureSide) {
        result.Pixels = Surface();
        result.Error = LoadError::TooLarge;
        return result;
    }
    if (own == nullptr || image.constBits() != own) result.Pixels = Surface::FromImage(image);
    return result;
}

QImage PictureFile::Scaled(QSize size) {
    QImage image;
    if (!Decode(size, &image)) return QImage();
    return image;
}

int ReductionFor(QSize fileSize, QSize need) {
    for (int k : {8, 4, 2})
        if (CeilDiv(fileSize.width(), k) >= need.width() && CeilDiv(fileSize.height(), k) >= need.height()) return k;
    return 1;
}

CoveringPicture LoadPictureCovering(const QString& path, QSize need) { return PictureFile(path).Covering(need); }

LoadedPicture LoadPicture(const QString& path) {
    CoveringPicture full = LoadPictureCovering(path, QSize());
    LoadedPicture result;
    result.Pixels = std::move(full.Pixels);
    result.Error = full.Error;
    return result;
}

}  // namespace platform
