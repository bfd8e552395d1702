// Writes the sample pictures into the given folder (assets/Imagens).
#include "tools/SamplePictures.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Painting text and shapes needs a GUI application, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_samples <pictures folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    for (const tools::SamplePicture& sample : tools::SamplePictures()) {
        if (!tools::WriteSample(sample, folder)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(sample.FileName));
            return 1;
        }
    }
    return 0;
}
