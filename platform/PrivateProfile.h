// Reading and writing keys of sections-and-keys text files ("config.ini"),
// with the behaviour programs expect of such files: sections and keys are
// found in any letter case, a write creates the file and the section when
// they are missing and replaces only the line of its key, keeping every
// other line as it was.
#pragma once

#include <QString>

namespace platform {

// Copies the value of `key` in `section` of `path` into `buffer`, at most
// `size` - 1 characters, and returns how many were copied. A missing file,
// section or key copies `fallback` instead. A file that cannot be read counts
// as missing.
int GetPrivateProfileString(const QString& section, const QString& key, const QString& fallback,
                            QString& buffer, int size, const QString& path);

// Stores `value` under `key` in `section` of `path`. Returns false when the
// file cannot be written; the file is then left as it was.
bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& path);

}  // namespace platform
