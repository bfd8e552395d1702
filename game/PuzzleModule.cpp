#include "game/PuzzleModule.h"

#include "game/MaskRuns.h"
#include "game/Numeric.h"

#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace game::PuzzleModule {

namespace {

constexpr int16_t kShapeCount = 19;
constexpr int16_t kPlainSquare = 18;

// The mask of a quarter turn clockwise, following the cycles of the strip.
constexpr std::array<int16_t, kShapeCount> kTurnedShape = {1, 0, 3, 4, 5, 2, 7, 8, 9, 6,
                                                           11, 12, 13, 10, 15, 16, 17, 14, 18};

// A cut piece's mask by its place in the grid, for parity 0 and parity 1.
enum Place { TopLeft, TopRight, BottomLeft, BottomRight, TopEdge, BottomEdge, LeftEdge, RightEdge, Interior };
constexpr std::array<std::array<int16_t, 2>, 9> kPlaceShape = {{
    {2, 9}, {6, 3}, {8, 5}, {4, 7}, {10, 14}, {12, 16}, {17, 13}, {15, 11}, {0, 1},
}};

// The first matching test wins, so a one-row or one-column grid still gets
// a shape for every cell.
Place PlaceOf(int r, int c, int lastRow, int lastCol) {
    if (r == 0 && c == 0) return TopLeft;
    if (r == 0 && c == lastCol) return TopRight;
    if (r == lastRow && c == 0) return BottomLeft;
    if (r == lastRow && c == lastCol) return BottomRight;
    if (r == 0) return TopEdge;
    if (r == lastRow) return BottomEdge;
    if (c == 0) return LeftEdge;
    if (c == lastCol) return RightEdge;
    return Interior;
}

bool ValidShape(int16_t shape) { return shape >= 0 && shape < kShapeCount; }

// The mark a piece bitmap carries while it is known to be white wherever
// the mask of `shape` at `box` is black, as the cut leaves it. Composing the
// board then skips those pixels: ANDing white changes nothing, and reading
// them is most of the cost of a composition.
uint32_t WhiteOutsideMark(int shape, int box) {
    return 0x80000000u | (static_cast<uint32_t>(box) << 8) | static_cast<uint32_t>(shape);
}

// Whether `bitmap` is white wherever mask `shape` of `masks` is not white.
bool WhiteOutside(const platform::Surface& bitmap, const platform::Surface& masks, int shape, int box) {
    if (box > bitmap.Width() || box > bitmap.Height() || (shape + 1) * box > masks.Width() || box > masks.Height())
        return false;
    for (int v = 0; v < box; ++v) {
        const uint32_t* b = bitmap.Row(v);
        const uint32_t* m = masks.Row(v) + shape * box;
        for (int u = 0; u < box; ++u)
            if (m[u] != platform::kWhite && b[u] != platform::kWhite) return false;
    }
    return true;
}

const PieceRec& PieceAt(const GameState& state, int16_t index) {
    if (index < 0 || static_cast<size_t>(index) >= state.Pieces.size())
        throw std::out_of_range("piece index outside the piece array");
    return state.Pieces[static_cast<size_t>(index)];
}

// Board rows [First, End) being composed. Every raster operation works pixel
// by pixel, so composing the board band by band, each band with every
// operation in the same order, gives the same picture as whole-board passes;
// a band stays in the cache while all pieces crossing it are drawn.
struct Band {
    int First = 0;
    int End = 0;
};
constexpr int kBandRows = 32;

// A piece's square on the board, clipped to the board and to the surfaces
// it is read from: rows v0..v1-1 and columns u0..u1-1 of the square.
struct SquareClip {
    int u0 = 0, u1 = 0, v0 = 0, v1 = 0;
    bool Empty() const { return u0 >= u1 || v0 >= v1; }
};

SquareClip ClipSquare(const platform::Surface& screen, const Band& band, int left, int top, int box, int srcX,
                      int srcW, int srcH) {
    SquareClip c;
    c.u0 = std::max({0, -left, -srcX});
    c.v0 = std::max(band.First - top, 0);
    c.u1 = std::min({box, screen.Width() - left, srcW - srcX});
    c.v1 = std::min({box, band.End - top, srcH});
    return c;
}

// The runs of the scaled strip, kept from one composition to the next: a
// drag recomposes the board on every mouse move with the same strip.
// PrepareMasks marks each strip it makes with a number of its own; a strip
// without that mark (changed since, or made elsewhere) is read again.
const MaskRuns& RunsOf(const platform::Surface& masks, int box) {
    struct Cache {
        uint32_t Mark = 0;
        int Box = -1;
        std::optional<MaskRuns> Runs;
    };
    static thread_local Cache cache;
    if (!cache.Runs || cache.Box != box || masks.Mark() == 0 || cache.Mark != masks.Mark()) {
        cache.Runs.emplace(masks, box, kShapeCount);
        cache.Mark = masks.Mark();
        cache.Box = box;
    }
    return *cache.Runs;
}

// The inverted rim: the outline shifted one pixel right and down, XORed
// onto the board (SRCINVERT with the mask). With a pure mask only its white
// runs change anything, and there XOR with white is NOT.
void DrawRim(platform::Surface& screen, const Band& band, const platform::Surface& masks, const MaskRuns& runs,
             const PieceRec& rec, int box) {
    const int left = rec.Left + 1, top = rec.Top + 1, mx = rec.Shape * box;
    const SquareClip c = ClipSquare(screen, band, left, top, box, mx, masks.Width(), masks.Height());
    if (c.Empty()) return;
    const bool pure = runs.Pure(rec.Shape);
    for (int v = c.v0; v < c.v1; ++v) {
        uint32_t* d = screen.Row(top + v) + left;
        if (!pure) {
            const uint32_t* m = masks.Row(v) + mx;
            for (int u = c.u0; u < c.u1; ++u) d[u] = (d[u] ^ m[u]) | platform::kOpaque;
            continue;
        }
        // The piece itself covers the rest of its shifted outline.
        for (const MaskRuns::Run* r = runs.RimBegin(rec.Shape, v); r != runs.RimEnd(rec.Shape, v); ++r) {
            const int u0 = std::max<int>(r->First, c.u0), u1 = std::min<int>(r->End, c.u1);
            for (int u = u0; u < u1; ++u) d[u] = ~d[u] | platform::kOpaque;
        }
    }
}

// ANDs bitmap pixels [u0, u1) onto the board row, skipping the write when
// they are all white (outside a cut piece's outline they always are).
inline void AndSpan(uint32_t* d, const uint32_t* b, int u0, int u1) {
    uint32_t all = platform::kWhite;
    for (int u = u0; u < u1; ++u) all &= b[u];
    if (all == platform::kWhite) return;
    for (int u = u0; u < u1; ++u) d[u] &= b[u];
}

// Copies bitmap pixels [u0, u1) onto the board row. The runs are short (a
// piece's width at most), so an inline loop beats a library call per run;
// the attribute keeps the compiler from turning the loop back into one.
__attribute__((optimize("no-tree-loop-distribute-patterns"))) inline void CopySpan(uint32_t* __restrict d, const uint32_t* __restrict b, int u0, int u1) {
#pragma GCC unroll 8
    for (int u = u0; u < u1; ++u) d[u] = b[u];
}

// The piece itself: the mask ORed on (SRCPAINT) and the bitmap ANDed on
// (SRCAND), in one pass. Under a white mask pixel the result is the bitmap
// pixel; under a black one it is board AND bitmap.
void DrawPiece(platform::Surface& screen, const Band& band, const platform::Surface& masks, const MaskRuns& runs,
               const platform::Surface& bitmap, const PieceRec& rec, int box) {
    const int left = rec.Left, top = rec.Top, mx = rec.Shape * box;
    SquareClip c = ClipSquare(screen, band, left, top, box, mx, masks.Width(), masks.Height());
    c.u1 = std::min(c.u1, bitmap.Width());
    c.v1 = std::min(c.v1, bitmap.Height());
    if (c.Empty()) return;
    const bool pure = runs.Pure(rec.Shape);
    const bool whiteOutside = bitmap.Mark() == WhiteOutsideMark(rec.Shape, box);
    for (int v = c.v0; v < c.v1; ++v) {
        const uint32_t* b = bitmap.Row(v);
        uint32_t* d = screen.Row(top + v) + left;
        if (!pure) {
            const uint32_t* m = masks.Row(v) + mx;
            for (int u = c.u0; u < c.u1; ++u) d[u] = (d[u] | m[u]) & b[u];
            continue;
        }
        int u = c.u0;
        for (const MaskRuns::Run* r = runs.Begin(rec.Shape, v); r != runs.End(rec.Shape, v); ++r) {
            const int u0 = std::max<int>(r->First, c.u0), u1 = std::min<int>(r->End, c.u1);
            if (u0 >= u1) continue;
            if (!whiteOutside) AndSpan(d, b, u, u0);
            CopySpan(d, b, u0, u1);
            u = u1;
        }
        if (!whiteOutside) AndSpan(d, b, u, c.u1);
    }
}

// Asks the memory system for the rows of a piece's bitmap that the band
// will read, one request per cache line.
void PrefetchBitmap(const PieceRec& rec, const Band& band, const BoardSurfaces& surfaces, int box) {
    const platform::Surface& bitmap = surfaces.picPat[static_cast<size_t>(rec.PicIndex)];
    const int v0 = std::max(band.First - rec.Top, 0);
    const int v1 = std::min({box, band.End - rec.Top, bitmap.Height()});
    const int u0 = std::max(0, -rec.Left);
    const int u1 = std::min({box, bitmap.Width(), surfaces.picScreen.Width() - rec.Left});
    for (int v = v0; v < v1; ++v) {
        const uint32_t* row = bitmap.Row(v);
        for (int u = u0; u < u1; u += 16) __builtin_prefetch(row + u);
    }
}

}  // namespace

void PrepareMasks(BoardSurfaces& surfaces, int16_t size) {
    if (size < 1) throw std::out_of_range("mask size must be positive");
    const platform::Surface& strip = surfaces.picMasks[0];
    if (strip.IsEmpty()) throw std::runtime_error("the mask strip is missing");
    const int16_t width = Int16(static_cast<double>(kShapeCount) * size);
    platform::Surface& scaled = surfaces.picMasks[1];
    scaled.Resize(width, size, platform::kBlack);

    // One strip pixel per scaled pixel keeps the masks pure black and white.
    // Each scaled pixel takes the strip pixel under its far edge, so that a
    // design edge at b lands on floor(b * size / 80): the body then starts at
    // the cut's offset (PieceBox - PieceStep) \ 2 and is PieceStep wide, and
    // a tab fills its neighbour's socket exactly, at every piece size.
    auto source = [](int i, int from, int to) {
        return static_cast<int>((static_cast<int64_t>(i + 1) * from + to - 1) / to) - 1;
    };
    std::vector<int> column(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) column[static_cast<size_t>(x)] = source(x, strip.Width(), width);
    for (int y = 0; y < size; ++y) {
        const uint32_t* from = strip.Row(source(y, strip.Height(), size));
        uint32_t* to = scaled.Row(y);
        for (int x = 0; x < width; ++x) to[x] = from[column[static_cast<size_t>(x)]];
    }
    static uint32_t stripsMade = 0;
    scaled.SetMark(++stripsMade == 0 ? ++stripsMade : stripsMade);
}

void CutPieces(GameState& state, BoardSurfaces& surfaces, const platform::Surface& source) {
    const int box = state.PieceBox;
    const int step = state.PieceStep;
    // Element 0 is the template every piece bitmap is copied from: a black
    // PieceBox square, the only part of a piece that is ever drawn or turned.
    surfaces.picPat.resize(1);
    surfaces.picPat[0].Resize(box, box, platform::kBlack);
    const platform::Surface& masks = surfaces.picMasks[1];

    // A non-positive step cannot divide the source; like any failing step of
    // the cut, it leaves the grid at its start, a single cell.
    int lastCol = 0;
    int lastRow = 0;
    if (step > 0) {
        lastCol = source.Width() / step - 1;
        lastRow = source.Height() / step - 1;
    }
    const int margin = (box - step) / 2;

    state.Pieces.clear();
    state.Pieces.reserve(static_cast<size_t>(std::max(1, (lastRow + 1) * (lastCol + 1))));
    surfaces.picPat.reserve(state.Pieces.capacity());
    int r = 0;
    int c = 0;
    int p = 0;
    int k = 0;
    do {
        PieceRec rec;
        rec.Row = static_cast<int16_t>(r);
        rec.Col = static_cast<int16_t>(c);
        rec.PicIndex = static_cast<int16_t>(k);
        rec.Shape = state.GameLevel == 0 ? kPlainSquare : kPlaceShape[PlaceOf(r, c, lastRow, lastCol)][p];
        state.Pieces.push_back(rec);

        if (k > 0) surfaces.picPat.push_back(surfaces.picPat[0]);
        platform::Surface& bitmap = surfaces.picPat[static_cast<size_t>(k)];
        const int sx = c * step - margin;
        const int sy = r * step - margin;
        bitmap.BitBlt(0, 0, box, box, source, sx, sy, platform::Rop::SrcCopy);
        bitmap.BitBlt(0, 0, box, box, masks, rec.Shape * box, 0, platform::Rop::MergePaint);
        if (WhiteOutside(bitmap, masks, rec.Shape, box)) bitmap.SetMark(WhiteOutsideMark(rec.Shape, box));

        p = (p + 1) % 2;
        ++c;
        ++k;
        if (c > lastCol) {
            c = 0;
            ++r;
            p = r % 2;
        }
    } while (r <= lastRow && k < 32767);
    ++state.Generation;
}

void DrawBoard(const GameState& state, BoardSurfaces& surfaces) {
    platform::Surface& screen = surfaces.picScreen;
    const platform::Surface& masks = surfaces.picMasks[1];
    const int box = state.PieceBox;
    const int count = static_cast<int>(state.Pieces.size());
    if (count == 0 || box < 1) {
        screen.BitBlt(0, 0, screen.Width(), screen.Height(), surfaces.picBG, 0, 0, platform::Rop::SrcCopy);
        return;
    }
    const MaskRuns& runs = RunsOf(masks, box);

    // Pieces without a mask cell or a bitmap cannot be drawn; they are left
    // out rather than drawn from beyond their surfaces.
    std::vector<int> drawable;
    drawable.reserve(static_cast<size_t>(count));
    for (int i = count - 1; i >= 0; --i) {
        const PieceRec& rec = state.Pieces[static_cast<size_t>(i)];
        if (ValidShape(rec.Shape) && rec.PicIndex >= 0 && static_cast<size_t>(rec.PicIndex) < surfaces.picPat.size())
            drawable.push_back(i);
    }

    std::vector<int> crossing;
    crossing.reserve(drawable.size());
    for (int first = 0; first < screen.Height(); first += kBandRows) {
        const Band band{first, std::min(first + kBandRows, screen.Height())};
        screen.BitBlt(0, band.First, screen.Width(), band.End - band.First, surfaces.picBG, 0, band.First,
                      platform::Rop::SrcCopy);
        // A piece's rim reaches one row below its square.
        crossing.clear();
        for (int i : drawable) {
            const PieceRec& rec = state.Pieces[static_cast<size_t>(i)];
            if (rec.Top < band.End && rec.Top + box + 1 > band.First) crossing.push_back(i);
        }
        for (int i : crossing)
            if (i != state.SelectedPiece) DrawRim(screen, band, masks, runs, state.Pieces[static_cast<size_t>(i)], box);
        for (size_t n = 0; n < crossing.size(); ++n) {
            // The bitmaps are scattered over memory; ask for the next one's
            // rows while this piece is drawn.
            if (n + 1 < crossing.size()) PrefetchBitmap(state.Pieces[static_cast<size_t>(crossing[n + 1])], band, surfaces, box);
            const int i = crossing[n];
            const PieceRec& rec = state.Pieces[static_cast<size_t>(i)];
            if (i == state.SelectedPiece) DrawRim(screen, band, masks, runs, rec, box);
            DrawPiece(screen, band, masks, runs, surfaces.picPat[static_cast<size_t>(rec.PicIndex)], rec, box);
        }
    }
}

bool PieceHit(const GameState& state, const BoardSurfaces& surfaces, int16_t index, int16_t x, int16_t y) {
    const PieceRec& rec = PieceAt(state, index);
    // Plain ints: a difference beyond the 16-bit range is simply far outside
    // the square.
    const int dx = x - rec.Left;
    const int dy = y - rec.Top;
    if (dx < 0 || dy < 0 || dx >= state.PieceBox || dy >= state.PieceBox) return false;
    if (!ValidShape(rec.Shape)) return false;
    const platform::Surface& masks = surfaces.picMasks[1];
    const int mx = rec.Shape * state.PieceBox + dx;
    if (!masks.InBounds(mx, dy)) return false;
    return (masks.Pixel(mx, dy) & 0x00FFFFFFu) != 0;
}

void RotatePiece(GameState& state, BoardSurfaces& surfaces, int16_t index) {
    PieceAt(state, index);
    PieceRec& rec = state.Pieces[static_cast<size_t>(index)];
    if (rec.PicIndex < 0 || static_cast<size_t>(rec.PicIndex) >= surfaces.picPat.size())
        throw std::out_of_range("piece has no bitmap");
    if (!ValidShape(rec.Shape)) throw std::out_of_range("piece shape outside the mask strip");
    platform::Surface& bitmap = surfaces.picPat[static_cast<size_t>(rec.PicIndex)];
    platform::Surface& scratch = surfaces.picTmp;
    const int box = state.PieceBox;
    if (box < 1 || box > bitmap.Width() || box > bitmap.Height())
        throw std::out_of_range("piece square larger than its bitmap");
    // The scratch square follows the piece size; what it held means nothing.
    if (scratch.Width() != box || scratch.Height() != box) scratch.Resize(box, box);

    scratch.BitBlt(0, 0, box, box, bitmap, 0, 0, platform::Rop::SrcCopy);
    // Scratch row y becomes bitmap column box-1-y: a clockwise turn with y
    // growing downwards.
    for (int y = 0; y < box; ++y) {
        const uint32_t* from = scratch.Row(y);
        const int column = box - 1 - y;
        for (int x = 0; x < box; ++x) bitmap.Row(x)[column] = from[x];
    }
    rec.Rotation = static_cast<int16_t>((rec.Rotation + 1) % 4);
    rec.Shape = kTurnedShape[static_cast<size_t>(rec.Shape)];
    // Where the turned outline matches the next mask pixel for pixel the
    // bitmap stays white outside it; at sizes where it cannot, it is drawn
    // the long way.
    if (WhiteOutside(bitmap, std::as_const(surfaces.picMasks[1]), rec.Shape, box))
        bitmap.SetMark(WhiteOutsideMark(rec.Shape, box));
}

}  // namespace game::PuzzleModule
