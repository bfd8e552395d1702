#include "platform/FileReader.h"

#include <QFile>
#include <QFileInfo>

namespace platform {

FileBytes ReadFileWhole(const QString& path, qint64 maxBytes) {
    FileBytes out;
    const QFileInfo info(path);
    if (!info.isFile()) return out;
    if (info.size() > maxBytes) {
        out.Result = ReadResult::TooLarge;
        return out;
    }
    QFile file(path);
    out.Result = ReadResult::Unreadable;
    if (!file.open(QIODevice::ReadOnly)) return out;
    // A file that grew since it was measured is read no further than the bound.
    out.Bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        out.Bytes.clear();
        return out;
    }
    out.Result = out.Bytes.size() > maxBytes ? ReadResult::TooLarge : ReadResult::Read;
    if (out.Result != ReadResult::Read) out.Bytes.clear();
    return out;
}

}  // namespace platform
