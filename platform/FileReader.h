// Reading a small file the game owns or the player chose (a saved game, the
// settings, the skin) whole, with its size bounded before it is read.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

enum class ReadResult {
    Read,
    Missing,     // not there, or not a regular file (a folder, a FIFO that would block the read for ever)
    TooLarge,    // larger than the caller's bound: no file of the game's comes near it
    Unreadable,  // there, but it cannot be read (no permission, a failing disk)
};

struct FileBytes {
    ReadResult Result = ReadResult::Missing;
    QByteArray Bytes;
};

// The whole of the regular file at `path`, when it holds at most `maxBytes`.
FileBytes ReadFileWhole(const QString& path, qint64 maxBytes);

}  // namespace platform
