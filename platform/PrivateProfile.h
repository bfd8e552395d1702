// Reading and writing keys of sections-and-keys text files ("config.ini"),
// with the behaviour programs expect of such files: sections and keys are
// found in any letter case, a write creates the file and the section when
// they are missing and replaces only the line of its key, keeping every
// other byte of the file as it was (whatever its code page, its line ends,
// or lines that are no section or key at all).
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform {

// The bytes of a settings file, read once for any number of look-ups.
// A missing or unreadable file reads as an empty one.
class ProfileFile {
public:
    explicit ProfileFile(const QString& path);

    // The value of `key` in `section`, blanks around it removed; nullopt when
    // the section or the key is missing. Values in UTF-8 read as such, any
    // other bytes as Latin-1.
    std::optional<QString> Value(const QString& section, const QString& key) const;

private:
    QByteArray m_Bytes;
};

// Copies the value of `key` in `section` of `file` into `buffer`, at most
// `size` - 1 characters, and returns how many were copied. A missing
// section or key copies `fallback` instead.
int GetPrivateProfileString(const QString& section, const QString& key, const QString& fallback,
                            QString& buffer, int size, const ProfileFile& file);

// The same, reading the file at `path`; a file that cannot be read counts as
// missing.
int GetPrivateProfileString(const QString& section, const QString& key, const QString& fallback,
                            QString& buffer, int size, const QString& path);

// Stores `value` under `key` in `section` of `path`. Returns false when the
// file cannot be written, or is there but cannot be read (its other lines
// would be lost); the file is then left as it was.
bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& path);

}  // namespace platform
