#include "platform/PrivateProfile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <optional>

namespace platform {

namespace {

struct ProfileText {
    QStringList Lines;
    QString Newline = QStringLiteral("\n");
};

std::optional<ProfileText> ReadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QString text = QString::fromUtf8(file.readAll());
    ProfileText out;
    if (text.contains(QStringLiteral("\r\n"))) out.Newline = QStringLiteral("\r\n");
    out.Lines = text.split(QLatin1Char('\n'));
    for (QString& line : out.Lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (!out.Lines.isEmpty() && out.Lines.last().isEmpty()) out.Lines.removeLast();
    return out;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<QString> SectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']'))) return std::nullopt;
    return t.mid(1, t.size() - 2).trimmed();
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The key of a "key=value" line, or nullopt.
std::optional<QString> KeyOf(const QString& line) {
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0) return std::nullopt;
    return line.left(eq).trimmed();
}

struct SectionSpan {
    int Header = -1;  // index of the "[section]" line, -1 when missing
    int End = 0;      // one past the last line that belongs to it
};

SectionSpan FindSection(const QStringList& lines, const QString& section) {
    SectionSpan span;
    for (int i = 0; i < lines.size(); ++i) {
        const auto name = SectionOf(lines[i]);
        if (!name) continue;
        if (span.Header >= 0) {
            span.End = i;
            return span;
        }
        if (SameName(*name, section)) span.Header = i;
    }
    span.End = static_cast<int>(lines.size());
    return span;
}

}  // namespace

int GetPrivateProfileString(const QString& section, const QString& key, const QString& fallback,
                            QString& buffer, int size, const QString& path) {
    QString value = fallback;
    if (const auto text = ReadLines(path)) {
        const SectionSpan span = FindSection(text->Lines, section);
        if (span.Header >= 0) {
            for (int i = span.Header + 1; i < span.End; ++i) {
                const auto k = KeyOf(text->Lines[i]);
                if (k && SameName(*k, key)) {
                    const QString& line = text->Lines[i];
                    value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
                    break;
                }
            }
        }
    }
    if (size <= 0) {
        buffer.clear();
        return 0;
    }
    buffer = value.left(size - 1);
    return static_cast<int>(buffer.size());
}

bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& path) {
    ProfileText text = ReadLines(path).value_or(ProfileText{});
    const QString entry = key + QLatin1Char('=') + value;
    SectionSpan span = FindSection(text.Lines, section);
    if (span.Header < 0) {
        text.Lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        text.Lines.append(entry);
    } else {
        int found = -1;
        int lastContent = span.Header;
        for (int i = span.Header + 1; i < span.End; ++i) {
            const auto k = KeyOf(text.Lines[i]);
            if (k && SameName(*k, key)) {
                found = i;
                break;
            }
            if (!text.Lines[i].trimmed().isEmpty()) lastContent = i;
        }
        if (found >= 0)
            text.Lines[found] = entry;
        else
            text.Lines.insert(lastContent + 1, entry);
    }
    // Written whole to a temporary file and then renamed, so that a failed
    // write never leaves a half-written settings file behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QString joined = text.Lines.join(text.Newline) + text.Newline;
    if (file.write(joined.toUtf8()) < 0) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace platform
