#include "game/Fitting.h"

#include "game/Numeric.h"

#include <stdexcept>

namespace game {

int16_t CellBudget(int16_t screenW, int16_t screenH, int16_t step) {
    if (step <= 0) throw std::invalid_argument("grid step must be positive");
    const double cells = (static_cast<double>(screenW) / step) * (static_cast<double>(screenH) / step);
    return Int16(static_cast<double>(Int16(cells)) / 4.5);
}

PictureSize16 ShrinkToBudget(int16_t w, int16_t h, int16_t budget, int16_t step) {
    if (step <= 0) throw std::invalid_argument("grid step must be positive");
    PictureSize16 s{w, h};
    while ((static_cast<double>(s.H) / step) * (static_cast<double>(s.W) / step) > budget) {
        const PictureSize16 before = s;
        s.W = Int16(s.W * 0.95);
        s.H = Int16(s.H * 0.95);
        ++s.Passes;
        // A budget below one cell can never be met once both sides stop moving.
        if (s.W == before.W && s.H == before.H) break;
    }
    return s;
}

int16_t GridSide(int16_t side, int16_t step) {
    if (step <= 0) throw std::invalid_argument("grid step must be positive");
    return Add16(step - side % step, side);
}

int32_t MaxGridCells(int16_t step) {
    if (step <= 0) throw std::invalid_argument("grid step must be positive");
    const int32_t largestBudget = Int16(INT16_MAX / 4.5);
    const int32_t longestSide = (INT16_MAX + step - 1) / step;
    return largestBudget + 2 * longestSide + 1;
}

PictureSize16 GrowInGrid(int16_t w, int16_t h, int16_t gridW, int16_t gridH) {
    PictureSize16 s{w, h};
    while (Single(s.W * 1.01) < gridW && Single(s.H * 1.01) < gridH) {
        const int16_t nw = Int16(s.W * 1.01);
        const int16_t nh = Int16(s.H * 1.01);
        if (nw == s.W && nh == s.H) break;
        s.W = nw;
        s.H = nh;
        ++s.Passes;
    }
    return s;
}

PictureSize16 EvenOutMargins(int16_t w, int16_t h, int16_t gridW, int16_t gridH) {
    PictureSize16 s{w, h};
    const float dx = Single(gridW - w);
    const float dy = Single(gridH - h);
    if (dy < dx) {
        const int16_t w0 = s.W;
        while (!(w0 * 1.03 < s.W + 1) && !((gridH - s.H) >= (gridW - (s.W + 1)))) s.W = Add16(s.W, 1);
    } else if (dy > dx) {
        const int16_t h0 = s.H;
        while (!(h0 * 1.05 < s.H + 1) && !((gridW - s.W) >= (gridH - (s.H + 1)))) s.H = Add16(s.H, 1);
    }
    return s;
}

namespace {

// The fit of a picture already shrunk to the budget.
Fit FitShrunk(PictureSize16 s, int16_t step) {
    Fit fit{};
    fit.GridW = GridSide(s.W, step);
    fit.GridH = GridSide(s.H, step);
    fit.Cols = Int16(Single(static_cast<double>(fit.GridW) / step));
    fit.Rows = Int16(Single(static_cast<double>(fit.GridH) / step));
    s = GrowInGrid(s.W, s.H, fit.GridW, fit.GridH);
    s = EvenOutMargins(s.W, s.H, fit.GridW, fit.GridH);
    if ((fit.GridW - s.W) % 2 != 0) s.W = Add16(s.W, -1);
    if ((fit.GridH - s.H) % 2 != 0) s.H = Add16(s.H, -1);
    // The margins are even now, so the halves are whole.
    fit.FrameX = static_cast<int16_t>((fit.GridW - s.W) / 2);
    fit.FrameY = static_cast<int16_t>((fit.GridH - s.H) / 2);
    fit.PicW = Add16(s.W, -2);
    fit.PicH = Add16(s.H, -2);
    fit.PicX = static_cast<int16_t>((fit.GridW - fit.PicW) / 2);
    fit.PicY = static_cast<int16_t>((fit.GridH - fit.PicH) / 2);
    fit.TooSmall = fit.GridW < 2 * step || fit.GridH < 2 * step;
    return fit;
}

}  // namespace

Fit FitPicture(int16_t w, int16_t h, int16_t screenW, int16_t screenH, int16_t step) {
    const int16_t budget = CellBudget(screenW, screenH, step);
    Fit fit = FitShrunk(ShrinkToBudget(w, h, budget, step), step);
    fit.Budget = budget;
    return fit;
}

bool PaintedAt(int16_t w, int16_t h, int16_t step, int16_t picW, int16_t picH) {
    if (step <= 0) throw std::invalid_argument("grid step must be positive");
    for (PictureSize16 s{w, h};;) {
        try {
            const Fit fit = FitShrunk(s, step);
            if (fit.PicW == picW && fit.PicH == picH) return true;
        } catch (const std::exception&) {
            // A side too long for its grid: no screen fits it without shrinking.
        }
        const PictureSize16 next{Int16(s.W * 0.95), Int16(s.H * 0.95)};
        if (next.W == s.W && next.H == s.H) return false;
        s = next;
    }
}

MiniatureRect SetSize(float w, float h, float frameW, float frameH) {
    if (!(w > 0 && h > 0 && frameW > 0 && frameH > 0)) throw std::invalid_argument("empty picture or frame");
    const int16_t h16 = Int16(h);
    const int16_t w16 = Int16(w);
    const int16_t rH = Int16(Single(h / frameH));
    const int16_t rW = Int16(Single(w / frameW));
    MiniatureRect m{};
    if (rH <= rW) {
        m.Width = frameW;
        m.Height = Single(h16 / static_cast<double>(Single(w16 / static_cast<double>(m.Width))));
    } else {
        m.Height = frameH;
        m.Width = Single(w16 / static_cast<double>(Single(h16 / static_cast<double>(m.Height))));
    }
    if (m.Height >= frameH) m.Height = frameH - 2;
    m.Top = frameH / 2 - m.Height / 2;
    m.Left = frameW / 2 - m.Width / 2;
    return m;
}

}  // namespace game
