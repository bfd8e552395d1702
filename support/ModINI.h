// The settings file "config.ini" beside the program, section "SETUP":
// "Som" (sound effects), "Navegador" (miniature box) and "Color" (board
// colour). Read once at start-up; each key written at once when it changes.
#pragma once

#include <QString>

#include <cstdint>

namespace support {

inline const QString kSettingsFile = QStringLiteral("config.ini");
inline const QString kSetupSection = QStringLiteral("SETUP");
inline const QString kDefaultColor = QStringLiteral("15203838");  // 0xE7FDFE, a light cream

// The value of `key` in `section` of AppPath + "config.ini", at most 254
// characters; `fallback` when the file, the section or the key is missing or
// the value is empty.
QString ReadINI(const QString& appPath, const QString& section, const QString& key, const QString& fallback);

// Stores one key; returns false when the file could not be written (the
// caller keeps the running setting all the same).
bool WriteINI(const QString& appPath, const QString& section, const QString& key, const QString& value);

// The three settings as the program uses them.
struct Settings {
    bool Sounds = true;
    bool Miniature = true;
    int32_t Color = 15203838;
};

// Reads "Som", "Navegador" and "Color", in that order, from one reading of
// the file. A value other than "True" or "False" (in any case) and a "Color"
// that is not a decimal number of 32 bits give the default.
Settings ReadSettings(const QString& appPath);

inline QString BoolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

}  // namespace support
