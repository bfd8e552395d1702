// The one way the game reads a picture file: the size probe, the decode for a
// game (whole, or reduced to what the fit needs) and the chooser's
// thumbnails all go through PictureFile. It checks what the file's header
// claims against the bytes the file holds before any decoder sees it, so a
// damaged file that claims gigapixels or gigabyte chunks is refused at once
// instead of making a decoder reserve memory and work for seconds. The
// format comes from the content, never from the name.
//
// A JPEG is decoded straight at 1/2, 1/4 or 1/8 of its size where the
// picture will be painted that much smaller (the decoder's own DCT
// scaling), which costs a fraction of a full decode. Other formats are
// decoded whole; so that this costs no more than a large photograph, a
// picture that must be decoded whole is refused as too large beyond about
// twice a 48-megapixel photograph's pixels or memory.
//
// A picture is read as it is meant to be shown: a photograph whose EXIF
// orientation says it was taken turned or mirrored comes out upright, in its
// size as in its pixels, as Qt's reader turns it.
#pragma once

#include "platform/Surface.h"

#include <QFile>
#include <QImage>
#include <QSize>
#include <QString>

namespace platform {

enum class PictureFormat { Bmp, Gif, Jpeg, Png };

struct CoveringPicture {
    Surface Pixels;   // the decoded picture, possibly reduced
    QSize FileSize;   // the picture's own size, as the file declares it
    LoadError Error = LoadError::None;
    explicit operator bool() const { return Error == LoadError::None; }
};

// A picture file, open and with its header checked. Anything that is not a
// regular file (a folder, a FIFO, a device) is refused before it is opened;
// so is a file in any format but BMP, GIF, JPEG and PNG, a header that
// claims more than the file can hold, a side over kMaxPictureSide (too
// large), and a picture that a decoder must hold whole beyond 100
// megapixels or 320 MB (too large).
class PictureFile {
public:
    explicit PictureFile(const QString& path);
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    LoadError Error() const { return m_Error; }
    explicit operator bool() const { return m_Error == LoadError::None; }
    PictureFormat Format() const { return m_Format; }
    // The picture's own size, as its checked header declares it, turned
    // as the picture is shown.
    QSize Size() const { return m_Size; }
    // Its size as the file stores its pixels, before any turn.
    QSize StoredSize() const { return m_Stored; }
    // From here on the picture is read as the file stores its pixels, its
    // orientation tag left aside (as games were cut before it was read).
    void KeepStoredOrientation();

    // Decodes the picture at the smallest reduction that still covers `need`
    // pixels on both sides (a JPEG whose sides the reduction does not
    // divide may come a pixel short); an invalid `need` (QSize()) decodes
    // it whole.
    CoveringPicture Covering(QSize need);
    // The picture scaled to `size` (a thumbnail); a null image when the
    // file cannot be decoded.
    QImage Scaled(QSize size);

private:
    bool Decode(QSize scaledSize, QImage* image);

    QFile m_File;
    LoadError m_Error = LoadError::None;
    PictureFormat m_Format = PictureFormat::Bmp;
    QSize m_Size;
    QSize m_Stored;
    bool m_Turned = false;  // an orientation that swaps width and height
    bool m_Upright = true;
    int m_BytesPerPixel = 4;  // of the decoded image, at most
    QImage::Format m_Decoded = QImage::Format_Invalid;  // a bitmap's decoded pixels
};

// The largest of 8, 4, 2 (else 1) by which a side pair can be divided,
// rounding up, and still cover need.
int ReductionFor(QSize fileSize, QSize need);

// PictureFile(path).Covering(need).
CoveringPicture LoadPictureCovering(const QString& path, QSize need);

}  // namespace platform
