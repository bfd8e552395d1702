// A small board for the play handlers: pieces with plain square bodies
// (white inside the body, black in the knob margin), one bitmap each, the
// handler class wired to a fake window and host.
#pragma once

#include "game/Puzzle.h"
#include "support/FakeHost.h"
#include "support/FakeWindow.h"

#include <algorithm>
#include <vector>

namespace playtest {

inline const QByteArray kClick("click");
inline const QByteArray kGiro("giro");
inline const QByteArray kRotate("rotate");
inline const QByteArray kComplete("complete");

struct PlayBoard {
    game::GameState state;
    game::BoardSurfaces surfaces;
    game::BoardView view;
    FakeWindow window{view};
    FakeHost host;
    platform::Random random;
    game::Puzzle puzzle{state, surfaces, view, window, host, random};

    // A Cols x Rows game at the given snap unit (PieceBox 20, PieceStep 11
    // units), on a board of `w` x `h` pixels, pieces in row-major order and
    // spread apart so that none is joined.
    PlayBoard(int16_t cols, int16_t rows, int16_t snapDiv = 4, int w = 800, int h = 600) {
        state.SnapDiv = snapDiv;
        state.PieceBox = static_cast<int16_t>(20 * snapDiv);
        state.PieceStep = static_cast<int16_t>(11 * snapDiv);
        state.GapUnits = 3;
        state.ChosenLevel = 3;
        state.GameLevel = 3;
        state.Cols = cols;
        state.Rows = rows;
        state.GameRunning = true;
        state.SelectedPiece = -1;
        state.SndClick = kClick;
        state.SndGiro = kGiro;
        state.SndRotate = kRotate;
        state.SndComplete = kComplete;
        view.Width = static_cast<int16_t>(w);
        view.Height = static_cast<int16_t>(h);
        view.ScaleWidth = static_cast<int16_t>(w / 2);
        view.ScaleHeight = static_cast<int16_t>(h / 2);
        surfaces.picScreen.Resize(w, h);
        surfaces.picBG.Resize(w, h, 0xFF808080u);

        const int box = state.PieceBox, m = Margin();
        platform::Surface& masks = surfaces.picMasks[1];
        masks.Resize(19 * box, box, platform::kBlack);
        for (int k = 0; k < 19; ++k) masks.FillRect(k * box + m, m, state.PieceStep, state.PieceStep, platform::kWhite);

        surfaces.picPat.clear();
        const int spread = state.PieceStep * 2 + 11;
        for (int16_t r = 0; r < rows; ++r)
            for (int16_t c = 0; c < cols; ++c) {
                game::PieceRec p;
                p.Row = r;
                p.Col = c;
                p.PicIndex = static_cast<int16_t>(r * cols + c);
                p.Shape = 18;
                p.Left = static_cast<int16_t>(11 * ((c * spread) / 11));
                p.Top = static_cast<int16_t>(11 * ((r * spread) / 11));
                state.Pieces.push_back(p);
                platform::Surface bmp(box, box, platform::kWhite);
                bmp.FillRect(m, m, state.PieceStep, state.PieceStep, 0xFF000000u | uint32_t(p.PicIndex * 7919));
                surfaces.picPat.push_back(bmp);
            }
    }

    int Margin() const { return (state.PieceBox - state.PieceStep) / 2; }

    int IndexOf(int picIndex) const {
        for (size_t i = 0; i < state.Pieces.size(); ++i)
            if (state.Pieces[i].PicIndex == picIndex) return static_cast<int>(i);
        return -1;
    }
    game::PieceRec& Piece(int picIndex) { return state.Pieces[static_cast<size_t>(IndexOf(picIndex))]; }

    // Puts every piece at its home place from (x0, y0), upright.
    void Solve(int16_t x0, int16_t y0) {
        for (auto& p : state.Pieces) {
            p.Left = static_cast<int16_t>(x0 + p.Col * state.PieceStep);
            p.Top = static_cast<int16_t>(y0 + p.Row * state.PieceStep);
        }
    }

    // The centre of a piece's body, a point that is always on its outline.
    float CentreX(int picIndex) { return Piece(picIndex).Left + state.PieceBox / 2.0f; }
    float CentreY(int picIndex) { return Piece(picIndex).Top + state.PieceBox / 2.0f; }

    std::vector<bool> Grouped() const {
        std::vector<bool> g(state.Pieces.size());
        for (const auto& p : state.Pieces) g[static_cast<size_t>(p.PicIndex)] = p.InGroup;
        return g;
    }
    int GroupCount() const {
        return static_cast<int>(std::count_if(state.Pieces.begin(), state.Pieces.end(),
                                              [](const game::PieceRec& p) { return p.InGroup; }));
    }
};

}  // namespace playtest
