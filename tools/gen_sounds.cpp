// Writes the four sound cues into the assets folder given on the command line.
#include "tools/Sounds.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_sounds <assets folder>\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    for (const tools::NamedWave& wave : tools::AllSounds()) {
        QFile file(dir.filePath(wave.FileName));
        if (!file.open(QIODevice::WriteOnly) || file.write(wave.Bytes) != wave.Bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
