// The sample pictures installed beside the program in "Imagens": scenes
// painted from shapes and gradients, with distinct regions, colour and detail
// so that they are a pleasure to assemble. Also a small GIF writer, since
// Qt reads GIF files but does not write them.
#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace tools {

struct SamplePicture {
    QString FileName;  // with its extension: ".jpg", ".gif" or ".bmp"
    QImage Picture;
};

// Every sample, drawn afresh.
std::vector<SamplePicture> SamplePictures();

// Writes an image as a GIF (256 colours at most, reduced with dithering when
// it has more); false when the file cannot be written.
bool WriteGif(const QImage& image, const QString& path);

// Writes one sample in the format its name asks for.
bool WriteSample(const SamplePicture& sample, const QString& folder);

}  // namespace tools
