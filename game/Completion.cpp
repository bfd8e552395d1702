#include "game/Completion.h"

#include "game/Numeric.h"

#include <algorithm>
#include <cmath>

namespace game {

std::optional<Reference> FindReference(const GameState& state) {
    for (const PieceRec& p : state.Pieces)
        if (p.Col == 0 && p.Row == 0 && p.Rotation == 0) return Reference{p.Left, p.Top};
    return std::nullopt;
}

bool InPlace(const GameState& state, const PieceRec& piece, int16_t x0, int16_t y0) {
    // 32-bit sums: a place that no 16-bit position can have is simply not it.
    return piece.Rotation == 0 && piece.Left == x0 + piece.Col * state.PieceStep &&
           piece.Top == y0 + piece.Row * state.PieceStep;
}

bool IsComplete(const GameState& state, int16_t x0, int16_t y0) {
    for (const PieceRec& p : state.Pieces)
        if (!InPlace(state, p, x0, y0)) return false;
    return true;
}

int16_t SnapStep(const GameState& state) {
    if (state.SnapDiv <= 0) return 1;
    const int s = state.PieceStep / state.SnapDiv;
    return static_cast<int16_t>(s >= 1 ? s : 1);
}

int16_t GridPoint(double quotient, int16_t step, int lo, int hi) {
    const double s = step >= 1 ? step : 1;
    // The nearest multiple of a position near the edge may lie past it; the
    // last one on the inside is taken instead.
    const double first = std::ceil(std::max(lo, INT16_MIN) / s) * s;
    const double last = std::floor(std::min(hi, INT16_MAX) / s) * s;
    return Int16(std::max(first, std::min(last, std::nearbyint(quotient) * s)));
}

GridRange SnapRange(int16_t step) {
    const int s = step >= 1 ? step : 1;
    // Integer division truncates towards zero: inward at both ends.
    return {INT16_MIN / s * s, INT16_MAX / s * s};
}

int16_t SnapToGrid(double v, int16_t step) { return GridPoint(v / step, step); }

}  // namespace game
