// Writing a file the player owns (a saved game, the settings file) whole or
// not at all.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Makes the file at `path` hold exactly `bytes`. The bytes reach the disk
// whole before they replace an earlier file; where the folder takes no new
// file, a writable earlier file is overwritten where it lies. Returns false
// when the file could not be written; an earlier file is then left byte for
// byte as it was.
bool ReplaceFile(const QString& path, const QByteArray& bytes);

}  // namespace platform
