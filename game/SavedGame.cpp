#include "game/SavedGame.h"

#include "game/Fitting.h"
#include "game/Levels.h"
#include "game/Numeric.h"

#include <QList>

#include <algorithm>
#include <cstdlib>

namespace game {

namespace {

const QByteArray kNewline = "\r\n";

// The values of one line: separated by blanks or commas.
QList<QByteArray> Values(const QByteArray& line) {
    QList<QByteArray> out;
    QByteArray current;
    for (char ch : line) {
        if (ch == ' ' || ch == ',' || ch == '\t') {
            if (!current.isEmpty()) out.append(current);
            current.clear();
        } else {
            current.append(ch);
        }
    }
    if (!current.isEmpty()) out.append(current);
    return out;
}

std::optional<int32_t> Number(const QByteArray& token, int32_t lo, int32_t hi) {
    bool ok = false;
    const qlonglong v = token.toLongLong(&ok);
    if (!ok || v < lo || v > hi) return std::nullopt;
    return static_cast<int32_t>(v);
}

// The single number a header line holds.
std::optional<int32_t> LineNumber(const QByteArray& line, int32_t lo, int32_t hi) {
    const QList<QByteArray> values = Values(line);
    if (values.size() != 1) return std::nullopt;
    return Number(values[0], lo, hi);
}

// The path a line holds: the blanks before it are skipped, and it runs to
// the end of the line, since a folder or file name may hold commas and may
// end in blanks.
QString PathOfLine(const QByteArray& line) {
    qsizetype first = 0;
    while (first < line.size() && line[first] == ' ') ++first;
    return QString::fromUtf8(line.mid(first));
}

// The fit inside a grid of gridW x gridH.
LoadFit FitInGrid(int16_t picW, int16_t picH, int16_t step, int16_t gridW, int16_t gridH) {
    LoadFit f{};
    f.GridW = gridW;
    f.GridH = gridH;
    f.Cols = Int16(static_cast<double>(f.GridW) / step);
    f.Rows = Int16(static_cast<double>(f.GridH) / step);
    int16_t w = picW;
    int16_t h = picH;
    // Sides too small for 2 % to move them would keep the loop going for
    // ever; it ends when a pass changes neither side.
    while (Single(w * 1.02) < f.GridW && Single(h * 1.02) < f.GridH) {
        const int16_t nw = Int16(w * 1.02);
        const int16_t nh = Int16(h * 1.02);
        if (nw == w && nh == h) break;
        w = nw;
        h = nh;
    }
    const int dx = f.GridW - w;
    const int dy = f.GridH - h;
    if (dy < dx) {
        const int16_t w0 = w;
        while (w0 * 1.03 >= w + 1 && f.GridH - h < f.GridW - (w + 1)) w = Add16(w, 1);
    } else if (dy > dx) {
        const int16_t h0 = h;
        while (h0 * 1.03 >= h + 1 && f.GridW - w < f.GridH - (h + 1)) h = Add16(h, 1);
    }
    if ((f.GridW - w) % 2 != 0) w = Add16(w, -1);
    if ((f.GridH - h) % 2 != 0) h = Add16(h, -1);
    f.PicW = w;
    f.PicH = h;
    f.PicX = static_cast<int16_t>((f.GridW - w) / 2);
    f.PicY = static_cast<int16_t>((f.GridH - h) / 2);
    f.TooSmall = f.GridW < 2 * step || f.GridH < 2 * step;
    return f;
}

}  // namespace

void SortHomeOrder(std::vector<PieceRec>& pieces) {
    std::stable_sort(pieces.begin(), pieces.end(), [](const PieceRec& a, const PieceRec& b) {
        return a.Row != b.Row ? a.Row < b.Row : a.Col < b.Col;
    });
}

std::optional<LoadFit> FitSavedGame(const SavedGame& saved) {
    const int step = saved.PieceStep;
    const int gridW = saved.Cols * step, gridH = saved.Rows * step;
    auto belongs = [&](int pic, int grid) {
        const int byPicture = step - pic % step + pic;  // GridSide, without its 16-bit limit
        return pic <= grid && grid <= INT16_MAX && std::abs(byPicture - grid) <= step;
    };
    if (!belongs(saved.PicW, gridW) || !belongs(saved.PicH, gridH)) return std::nullopt;
    return FitInGrid(saved.PicW, saved.PicH, saved.PieceStep, Int16(gridW), Int16(gridH));
}

bool PathReadsBack(const QString& path) {
    if (path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r'))) return false;
    return PathOfLine(path.toUtf8()) == path;
}

QByteArray FormatNumber(int32_t value) {
    const QByteArray digits = QByteArray::number(value < 0 ? -static_cast<int64_t>(value) : value);
    return (value < 0 ? QByteArray("-") : QByteArray(" ")) + digits + ' ';
}

QByteArray FormatSavedGame(const GameState& state) {
    QByteArray out;
    out += FormatNumber(state.ElapsedSecs) + kNewline;
    out += state.PicFile.toUtf8() + kNewline;
    for (int16_t v : {state.GameLevel, state.PicW, state.PicH, state.PieceBox, state.PieceStep, state.SnapDiv,
                      state.GapUnits})
        out += FormatNumber(v) + kNewline;
    out += FormatNumber(static_cast<int32_t>(state.Pieces.size()) - 1) + kNewline;
    for (const PieceRec& p : state.Pieces) {
        for (int16_t v : {p.Left, p.Top, p.Col, p.Row, p.Rotation, p.PicIndex, p.Shape}) out += FormatNumber(v);
        out += kNewline;
    }
    return out;
}

std::optional<SavedGame> ParseSavedGame(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r')) line.chop(1);
    if (lines.size() < 10) return std::nullopt;

    SavedGame g;
    const auto elapsed = LineNumber(lines[0], 0, INT32_MAX);
    g.PicFile = PathOfLine(lines[1]);
    const auto level = LineNumber(lines[2], 0, 5);
    const auto picW = LineNumber(lines[3], 1, INT16_MAX);
    const auto picH = LineNumber(lines[4], 1, INT16_MAX);
    const auto box = LineNumber(lines[5], 1, INT16_MAX);
    const auto step = LineNumber(lines[6], 1, INT16_MAX);
    const auto snap = LineNumber(lines[7], 1, INT16_MAX);
    const auto gap = LineNumber(lines[8], 0, INT16_MAX);
    const auto last = LineNumber(lines[9], 0, INT16_MAX);
    if (!elapsed || g.PicFile.isEmpty() || !level || *level == 2 || !picW || !picH || !box || !step || !snap ||
        !gap || !last)
        return std::nullopt;
    // The pieces are cut and drawn in the level table's proportions, and the
    // table's smallest and largest sizes bound the grid and the bitmaps.
    if (*box != 20 * *snap || *step != 11 * *snap || *snap < 3 || *snap > 8) return std::nullopt;
    g.ElapsedSecs = *elapsed;
    g.GameLevel = static_cast<int16_t>(*level);
    g.PicW = static_cast<int16_t>(*picW);
    g.PicH = static_cast<int16_t>(*picH);
    g.PieceBox = static_cast<int16_t>(*box);
    g.PieceStep = static_cast<int16_t>(*step);
    g.SnapDiv = static_cast<int16_t>(*snap);
    g.GapUnits = static_cast<int16_t>(*gap);

    const int count = *last + 1;
    if (count > MaxGridCells(g.PieceStep) || lines.size() < 10 + count) return std::nullopt;
    g.Pieces.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        const QList<QByteArray> values = Values(lines[10 + k]);
        if (values.size() != 7) return std::nullopt;
        int32_t n[7];
        for (int i = 0; i < 7; ++i) {
            const auto v = Number(values[i], INT16_MIN, INT16_MAX);
            if (!v) return std::nullopt;
            n[i] = *v;
        }
        SavedPiece p{static_cast<int16_t>(n[0]), static_cast<int16_t>(n[1]), static_cast<int16_t>(n[2]),
                     static_cast<int16_t>(n[3]), static_cast<int16_t>(n[4]), static_cast<int16_t>(n[5]),
                     static_cast<int16_t>(n[6])};
        if (p.PicIndex != k || p.Rotation < 0 || p.Rotation > 3 || p.Col < 0 || p.Row < 0) return std::nullopt;
        g.Pieces.push_back(p);
    }
    // The pieces fill their grid row by row: the last one names its size,
    // and every piece sits in the cell of its index in that grid, which
    // leaves no cell empty.
    g.Cols = static_cast<int16_t>(g.Pieces.back().Col + 1);
    g.Rows = static_cast<int16_t>(g.Pieces.back().Row + 1);
    for (const SavedPiece& p : g.Pieces)
        if (p.Col != p.PicIndex % g.Cols || p.Row != p.PicIndex / g.Cols) return std::nullopt;
    return g;
}

}  // namespace game
