// Writes the start-up window's picture, splash.bmp, into the given assets folder.
#include "tools/Splash.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // The title is drawn with a font, which needs a GUI application; no
    // screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_splash <assets folder>\n");
        return 2;
    }
    if (!tools::WriteSplash(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write splash.bmp into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
