// Scattering the pieces, and the restart command that scatters them again.
#include "game/Scatter.h"

#include "game/Levels.h"
#include "game/Numeric.h"
#include "game/Puzzle.h"
#include "game/PuzzleModule.h"

#include <stdexcept>
#include <vector>

namespace game {

namespace {

// nearest((v - box \ unit) / (step \ unit)) x (step \ unit): a grid point
// near v - 20, so a piece lies up and to the left of its slot.
int16_t Snap(int16_t v, int16_t boxUnits, int16_t grid) {
    const double q = static_cast<double>(v - boxUnits) / static_cast<double>(grid);
    return Int16(std::nearbyint(q) * grid);
}

}  // namespace

int ShufflePieces(GameState& state, BoardSurfaces& surfaces, const BoardView& view, platform::Random& random,
                  const std::function<double()>& timeOfDay) {
    if (state.Pieces.empty()) return 0;
    if (state.SnapDiv <= 0 || state.PieceStep / state.SnapDiv <= 0)
        throw std::invalid_argument("level values not set");
    const int U = static_cast<int>(state.Pieces.size()) - 1;
    const int16_t step = state.PieceStep;
    const int16_t unit = state.SnapDiv;
    const int16_t gap = Int16(static_cast<double>(state.GapUnits) * unit);
    const int16_t grid = static_cast<int16_t>(state.PieceStep / unit);
    const int16_t boxUnits = static_cast<int16_t>(state.PieceBox / unit);
    const double masterW = surfaces.picMaster.Width();
    const double masterH = surfaces.picMaster.Height();

    struct Place {
        int Piece;
        int16_t Left;
        int16_t Top;
    };
    std::vector<Place> places;
    places.reserve(static_cast<size_t>(U) + 1);
    std::vector<bool> used(static_cast<size_t>(U) + 1, false);
    int16_t X = 0;
    int16_t Y = 0;
    for (int i = 0; i <= U; ++i) {
        // Piece 0 comes first; the others in a random order, each once.
        int p = 0;
        do {
            random.Randomize(timeOfDay());
            const double r = random.Next();
            p = i == 0 ? 0 : IntFloor(r * U + 1);
        } while (used[static_cast<size_t>(p)]);
        used[static_cast<size_t>(p)] = true;

        // The next slot outside the picture area.
        do {
            if (X == 0) X = static_cast<int16_t>(2 * unit);
            if (Y == 0) Y = static_cast<int16_t>(2 * unit);
            X = Add16(X, step + gap + IntFloor(random.Next() * 2) + 1);
            if (X + step > view.ScaleWidth) {
                Y = Add16(Y, step + gap + IntFloor(random.Next() * 2) + 1);
                X = unit;
            }
        } while (!(static_cast<double>(X - step) >= masterW || static_cast<double>(Y - step) >= masterH));

        const int16_t left = Add16(X, -view.Left);
        const int16_t top = Add16(Y, -view.Top);
        places.push_back({p, Snap(left, boxUnits, grid), Snap(top, boxUnits, grid)});
    }
    for (const Place& place : places) {
        state.Pieces[static_cast<size_t>(place.Piece)].Left = place.Left;
        state.Pieces[static_cast<size_t>(place.Piece)].Top = place.Top;
    }

    // Turns: the draws are made at every level; only levels above "Kids B"
    // turn. Int(r x U) never reaches the last piece.
    const double f = state.GameLevel == KidsA ? 0.2 : state.GameLevel == KidsB ? 0.5 : 0.7;
    const int n = IntFloor(random.Next() * U * f);
    int turns = 0;
    for (int j = 0; j <= n; ++j) {
        const int q = IntFloor(random.Next() * U);
        if (state.ChosenLevel > 1) {
            PuzzleModule::RotatePiece(state, surfaces, static_cast<int16_t>(q));
            ++turns;
        }
    }
    return turns;
}

void Puzzle::mnuShuffle_Click() {
    // Nothing to restart before the first cut (also reached through F3).
    if (m_State.Pieces.empty() || m_Surfaces.picPat.size() <= 1) return;
    platform::MessageBox box;
    box.Text = QStringLiteral("Tem certeza de que deseja reiniciar este jogo do começo?");
    box.Buttons = platform::MsgButtons::YesNo;
    box.Icon = platform::MsgIcon::Question;
    if (m_Host.ShowMessage(box) != platform::MsgAnswer::Yes) return;

    m_Host.SetBusyPointer(true);
    try {
        ShufflePieces(m_State, m_Surfaces, m_View, m_Random, [this] { return m_Host.TimeOfDay(); });
        PuzzleModule::DrawBoard(m_State, m_Surfaces);
        m_Window.RefreshBoard();
    } catch (const std::exception&) {
        // A layout that cannot be placed leaves the game as it was.
        m_Host.SetBusyPointer(false);
        return;
    }
    m_State.ElapsedSecs = 0;
    m_State.GameRunning = true;
    m_Host.SetBusyPointer(false);
    m_Window.SetTimer(true);
}

}  // namespace game
