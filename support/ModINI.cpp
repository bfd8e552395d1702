#include "support/ModINI.h"

#include "platform/PrivateProfile.h"

namespace support {

namespace {

constexpr int kBufferSize = 255;

bool ParseBool(const QString& text, bool fallback) {
    if (text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) return true;
    if (text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) return false;
    return fallback;
}

QString ReadFrom(const platform::ProfileFile& file, const QString& section, const QString& key,
                 const QString& fallback) {
    QString buffer;
    const int copied = platform::GetPrivateProfileString(section, key, QString(), buffer, kBufferSize, file);
    const QString value = copied != 0 ? buffer : QString();
    return value.isEmpty() ? fallback : value;
}

}  // namespace

QString ReadINI(const QString& appPath, const QString& section, const QString& key, const QString& fallback) {
    return ReadFrom(platform::ProfileFile(appPath + kSettingsFile), section, key, fallback);
}

bool WriteINI(const QString& appPath, const QString& section, const QString& key, const QString& value) {
    return platform::WritePrivateProfileString(section, key, value, appPath + kSettingsFile);
}

Settings ReadSettings(const QString& appPath) {
    const platform::ProfileFile file(appPath + kSettingsFile);
    Settings s;
    s.Sounds = ParseBool(ReadFrom(file, kSetupSection, QStringLiteral("Som"), QStringLiteral("True")), true);
    s.Miniature = ParseBool(ReadFrom(file, kSetupSection, QStringLiteral("Navegador"), QStringLiteral("True")), true);
    bool ok = false;
    const qlonglong color = ReadFrom(file, kSetupSection, QStringLiteral("Color"), kDefaultColor).trimmed().toLongLong(&ok);
    if (ok && color >= INT32_MIN && color <= INT32_MAX) s.Color = static_cast<int32_t>(color);
    return s;
}

}  // namespace support
