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

}  // namespace

QString ReadINI(const QString& appPath, const QString& section, const QString& key, const QString& fallback) {
    QString buffer;
    const int copied = platform::GetPrivateProfileString(section, key, QString(), buffer, kBufferSize,
                                                         appPath + kSettingsFile);
    const QString value = copied != 0 ? buffer : QString();
    return value.isEmpty() ? fallback : value;
}

bool WriteINI(const QString& appPath, const QString& section, const QString& key, const QString& value) {
    return platform::WritePrivateProfileString(section, key, value, appPath + kSettingsFile);
}

Settings ReadSettings(const QString& appPath) {
    Settings s;
    s.Sounds = ParseBool(ReadINI(appPath, kSetupSection, QStringLiteral("Som"), QStringLiteral("True")), true);
    s.Miniature = ParseBool(ReadINI(appPath, kSetupSection, QStringLiteral("Navegador"), QStringLiteral("True")), true);
    bool ok = false;
    const qlonglong color = ReadINI(appPath, kSetupSection, QStringLiteral("Color"), kDefaultColor).trimmed().toLongLong(&ok);
    if (ok && color >= INT32_MIN && color <= INT32_MAX) s.Color = static_cast<int32_t>(color);
    return s;
}

}  // namespace support
