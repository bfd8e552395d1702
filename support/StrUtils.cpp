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
    const auto onePass = [&] { return QString(text).replace(find, replacement); };
    // A replacement holding `find` would be found again at once.
    if (replacement.contains(find)) return onePass();

    // Searching again from the start after each replacement finds the same
    // occurrence as reading on, one character at a time, in a text that has
    // none yet: `done` holds what has been read (free of `find`), `pending`
    // the characters a replacement put back to be read again, last first.
    const qsizetype m = find.size();
    const QChar last = find.back();
    QString done;
    done.reserve(text.size());
    QString pending;
    qsizetype next = 0;
    // A replacement no shorter than `find` may form new occurrences with its
    // neighbours without end ("ab" by "bbaa" in "aab"); past this much
    // rereading, the text is taken to be such a case.
    qsizetype rereadBudget = (qsizetype(1) << 22) + 8 * text.size();
    for (;;) {
        QChar c;
        if (!pending.isEmpty()) {
            c = pending.back();
            pending.chop(1);
        } else if (next < text.size()) {
            c = text[next++];
        } else {
            return done;
        }
        done.append(c);
        if (c != last || done.size() < m || QStringView(done).last(m) != find) continue;
        done.chop(m);
        if (replacement.size() >= m && (rereadBudget -= replacement.size()) < 0) return onePass();
        for (qsizetype i = replacement.size(); i-- > 0;) pending.append(replacement[i]);
    }
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
    if (text.isEmpty()) return {};
    // The fields GetField would give one by one, found in a single pass over
    // the text itself, so that a delimiter never runs into the end marker and
    // a long list costs no more than its length. A leading delimiter opens no
    // empty field, and a field that equals the marker ends the list.
    const QString marker = ReplaceAll(kEndMarker, delimiter, QString());
    QStringList out;
    qsizetype from = text.startsWith(delimiter) ? delimiter.size() : 0;
    for (;;) {
        const qsizetype at = text.indexOf(delimiter, from);
        const QStringView field = QStringView(text).sliced(from, (at < 0 ? text.size() : at) - from);
        if (field == marker) break;
        out.append(field.toString());
        if (at < 0) break;
        from = at + delimiter.size();
    }
    return out;
}

}  // namespace support
