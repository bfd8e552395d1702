// Writes the window icons and the hand pointer into the given assets folder.
#include "tools/Icons.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_icons <assets folder>\n");
        return 2;
    }
    if (!tools::WriteIcons(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write the icons into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
