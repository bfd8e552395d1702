#include "support/StrUtils.h"

#include "game/Numeric.h"

namespace support {

namespace {
const QString kEndMarker = QStringLiteral("/#(!a53x");
}

int16_t FindLast(const QString& text, const QString& find) {
    int result = 0;
    for (int i = 1; i <= text.size(); ++i)
        if (QStringView(text).mid(i - 1, find.size()) == find) result = i;
    if (result > 32767) throw game::Overflow16();
    return static_cast<int16_t>(result);
}

QString ReplaceAll(const QString& text, const QString& find, const QString& replacement) {
    if (find.isEmpty()) return text;
    if (replacement.contains(find)) {
        QString once = text;
        return once.replace(find, replacement);
    }
    QString work = text;
    for (qsizetype p = work.indexOf(find); p >= 0; p = work.indexOf(find))
        work = work.left(p) + replacement + work.mid(p + find.size());
    return work;
}

QString GetField(QString& text, const QString& delimiter, int16_t n) {
    if (delimiter.isEmpty()) return {};
    if (!text.startsWith(delimiter)) text.prepend(delimiter);
    if (!text.endsWith(delimiter)) text.append(delimiter);
    if (n < 1) return {};
    qsizetype from = 0;
    qsizetype at = -1;
    for (int i = 0; i < n; ++i) {
        at = text.indexOf(delimiter, from);
        if (at < 0) return {};
        from = at + delimiter.size();
    }
    const qsizetype next = text.indexOf(delimiter, from);
    if (next < 0) return {};
    return text.mid(from, next - from);
}

QStringList SplitString(const QString& text, const QString& delimiter) {
    if (delimiter.isEmpty()) return text.isEmpty() ? QStringList() : QStringList{text};
    const QString marker = ReplaceAll(kEndMarker, delimiter, QString());
    QString work = text + delimiter + marker + delimiter;
    QStringList out;
    for (int n = 1; n <= 32767; ++n) {
        const QString field = GetField(work, delimiter, static_cast<int16_t>(n));
        if (field == marker) break;
        out.append(field);
    }
    return out;
}

}  // namespace support
