// Small text routines of the file and colour dialogs. Positions are
// 1-based, 0 meaning none; every comparison is exact and case-sensitive.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace support {

// Position of the last occurrence of `find` in `text` (overlaps count), 0 if
// none. An empty `find` matches at every position: the length of `text`.
int16_t FindLast(const QString& text, const QString& find);

// Every occurrence of `find` replaced by `replacement`, searching again from
// the start after each replacement, so that occurrences a replacement forms
// with its surroundings go too ("ab" removed from "aabb" leaves "").
// An empty `find` changes nothing. The result is that of one left-to-right
// pass instead (each occurrence of the given text replaced, none formed
// anew) when `replacement` contains `find`, and when `replacement` is no
// shorter than `find` and rescanning would make more than
// (4,194,304 + 8 x the length of `text`) / the length of `replacement`
// replacements. That takes in every text whose rescanning would never end
// ("ab" by "bbaa" in "aab"), but also long ones whose rescanning ends: "ab"
// by "ba" over 3,000 a's and then 3,000 b's needs 9,000,000 replacements, so
// it gives the one pass's 2,999 a's, "ba" and 2,999 b's, not 3,000 b's and
// then 3,000 a's.
QString ReplaceAll(const QString& text, const QString& find, const QString& replacement);

// Field `n` (from 1) of `text` between occurrences of `delimiter`. Frames
// `text` in place with the delimiter at its start and end when it lacks them.
// Field numbers below 1, or beyond the last field, give the empty text.
QString GetField(QString& text, const QString& delimiter, int16_t n);

// The fields of `text` between occurrences of `delimiter` (each search
// starting where the last occurrence ends), up to a field equal to the end
// marker; ",a" gives one field "a", "a,,b" three, "" none. Any delimiter
// works, however long or wherever it overlaps.
QStringList SplitString(const QString& text, const QString& delimiter);

}  // namespace support
