#include "platform/PrivateProfile.h"

#include "platform/FileReader.h"
#include "platform/FileWriter.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <vector>

namespace platform {

namespace {

// No settings file comes near this size; a larger one reads as empty and is
// never rewritten.
constexpr qint64 kMaxProfileBytes = 1 << 20;

// One line of the file as byte offsets: its text runs from Start to
// ContentEnd, its line end ("\n" or "\r\n", none on an unterminated last
// line) from ContentEnd to End.
struct Line {
    qsizetype Start = 0;
    qsizetype ContentEnd = 0;
    qsizetype End = 0;
};

std::vector<Line> SplitLines(const QByteArray& bytes) {
    std::vector<Line> lines;
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;  // a UTF-8 mark before the first line
    while (start < bytes.size()) {
        const qsizetype nl = bytes.indexOf('\n', start);
        Line line;
        line.Start = start;
        line.End = nl < 0 ? bytes.size() : nl + 1;
        line.ContentEnd = nl < 0 ? bytes.size() : nl;
        if (nl >= 0 && line.ContentEnd > start && bytes[line.ContentEnd - 1] == '\r') --line.ContentEnd;
        lines.push_back(line);
        start = line.End;
    }
    return lines;
}

// Names and values are kept in whatever code page the file was written in;
// text that is not UTF-8 is taken as Latin-1 rather than lost.
QString Decode(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

bool SameName(QByteArrayView bytes, const QString& name) {
    return Decode(bytes.trimmed()).compare(name.trimmed(), Qt::CaseInsensitive) == 0;
}

QByteArrayView Content(const QByteArray& bytes, const Line& line) {
    return QByteArrayView(bytes).sliced(line.Start, line.ContentEnd - line.Start);
}

// The name between the brackets of a "[name]" line, or nullopt for any other line.
std::optional<QByteArrayView> SectionOf(QByteArrayView text) {
    const QByteArrayView t = text.trimmed();
    if (t.size() < 2 || !t.startsWith('[') || !t.endsWith(']')) return std::nullopt;
    return t.sliced(1, t.size() - 2);
}

// The offset of the '=' of a "key=value" line with a key before it, or -1.
qsizetype EqualsOf(QByteArrayView text) {
    const qsizetype eq = text.indexOf('=');
    return eq > 0 ? eq : -1;
}

struct Found {
    int Header = -1;    // line of the "[section]", -1 when missing
    int Key = -1;       // line of the key in it, -1 when missing
    int LastFilled = -1;  // the section's last line that is not blank
};

Found Find(const QByteArray& bytes, const std::vector<Line>& lines, const QString& section, const QString& key) {
    Found found;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const QByteArrayView text = Content(bytes, lines[i]);
        const auto name = SectionOf(text);
        if (found.Header >= 0) {
            if (name) break;
            const qsizetype eq = EqualsOf(text);
            if (eq > 0 && SameName(text.first(eq), key)) {
                found.Key = i;
                return found;
            }
            if (!text.trimmed().isEmpty()) found.LastFilled = i;
        } else if (name && SameName(*name, section)) {
            found.Header = found.LastFilled = i;
        }
    }
    return found;
}

}  // namespace

ProfileFile::ProfileFile(const QString& path) : m_Bytes(ReadFileWhole(path, kMaxProfileBytes).Bytes) {}

std::optional<QString> ProfileFile::Value(const QString& section, const QString& key) const {
    const std::vector<Line> lines = SplitLines(m_Bytes);
    const Found found = Find(m_Bytes, lines, section, key);
    if (found.Key < 0) return std::nullopt;
    const QByteArrayView text = Content(m_Bytes, lines[found.Key]);
    return Decode(text.sliced(EqualsOf(text) + 1).trimmed());
}

int GetPrivateProfileString(const QString& section, const QString& key, const QString& fallback,
                            QString& buffer, int size, const ProfileFile& file) {
    if (size <= 0) {
        buffer.clear();
        return 0;
    }
    buffer = file.Value(section, key).value_or(fallback).left(size - 1);
    return static_cast<int>(buffer.size());
}

int GetPrivateProfileString(const QString& section, const QString& key, const QString& fallback,
                            QString& buffer, int size, const QString& path) {
    return GetPrivateProfileString(section, key, fallback, buffer, size, ProfileFile(path));
}

bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& path) {
    const FileBytes file = ReadFileWhole(path, kMaxProfileBytes);
    // Only a missing file starts empty: one that is there but cannot be read
    // (or is no file at all) would have its contents thrown away.
    if (file.Result != ReadResult::Read && (file.Result != ReadResult::Missing || QFileInfo::exists(path)))
        return false;
    const QByteArray& bytes = file.Bytes;
    const std::vector<Line> lines = SplitLines(bytes);
    const Found found = Find(bytes, lines, section, key);
    // New lines end as the file's own lines do.
    const QByteArray newline = bytes.contains("\r\n") ? "\r\n" : "\n";
    const QByteArray entry = key.toUtf8() + '=' + value.toUtf8();

    QByteArray out;
    if (found.Key >= 0) {
        const Line& line = lines[found.Key];
        out = bytes.left(line.Start) + entry + bytes.sliced(line.ContentEnd);
    } else if (found.Header >= 0) {
        const Line& after = lines[found.LastFilled];
        if (after.End == after.ContentEnd)  // the file's last line, without a line end
            out = bytes + newline + entry;
        else
            out = bytes.left(after.End) + entry + newline + bytes.sliced(after.End);
    } else {
        out = bytes;
        if (!out.isEmpty() && !out.endsWith('\n')) out += newline;
        out += '[' + section.toUtf8() + ']' + newline + entry + newline;
    }
    if (out == bytes && file.Result == ReadResult::Read) return true;
    return ReplaceFile(path, out);
}

}  // namespace platform
