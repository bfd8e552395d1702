// Playing on the board: picking a piece (and the group joined to it),
// dragging, turning, panning the board, dropping onto the snap grid with the
// right-place and completion tests, the self-solving give-up and the hint.
#include "game/Puzzle.h"

#include "game/Completion.h"
#include "game/Grouping.h"
#include "game/Numeric.h"
#include "game/PuzzleModule.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace game {

namespace {

// A usable pointer position, or nullopt for one that is no number at all.
// The board is at most 16 bits wide, and so is every position taken from the
// pointer; a pointer held beyond that while dragging counts as at its edge.
std::optional<float> Pointer(float v) {
    if (std::isnan(v)) return std::nullopt;
    return std::clamp(v, static_cast<float>(INT16_MIN), static_cast<float>(INT16_MAX));
}

// The places the held piece (index 0) may take, across and down. Its group
// goes along, and no piece of it may leave the snap grid's range: nothing
// then overflows, and the drop snaps every piece of the group by the same
// amount. One pass over the pieces for both axes.
struct Reach {
    GridRange X;
    GridRange Y;
};
Reach HeldReach(const GameState& s, int16_t step) {
    const GridRange grid = SnapRange(step);
    Reach reach{grid, grid};
    for (size_t k = 1; k < s.Pieces.size(); ++k) {
        const PieceRec& p = s.Pieces[k];
        if (!p.InGroup) continue;
        reach.X.Lo = std::max(reach.X.Lo, grid.Lo - p.GroupDX);
        reach.X.Hi = std::min(reach.X.Hi, grid.Hi - p.GroupDX);
        reach.Y.Lo = std::max(reach.Y.Lo, grid.Lo - p.GroupDY);
        reach.Y.Hi = std::min(reach.Y.Hi, grid.Hi - p.GroupDY);
    }
    return reach;
}

// v rounded (ties to even) and stopped at the ends of `reach`.
int16_t Stopped(float v, GridRange reach) {
    return Int16(std::max<double>(reach.Lo, std::min<double>(reach.Hi, std::nearbyint(v))));
}

// The hint boxes' colour: pure yellow.
constexpr int32_t kHintColor = 65535;

// A filled box clipped to the surface here, so that a box wholly beyond
// its right edge never reaches the fill at all.
void FillBox(platform::Surface& surface, int x, int y, int side, uint32_t pixel) {
    const int x0 = std::max(0, x), x1 = std::min(surface.Width(), x + side);
    const int y0 = std::max(0, y), y1 = std::min(surface.Height(), y + side);
    if (x0 < x1 && y0 < y1) surface.FillRect(x0, y0, x1 - x0, y1 - y0, pixel);
}

}  // namespace

void Puzzle::Recompose() {
    PuzzleModule::DrawBoard(m_State, m_Surfaces);
    m_Window.RefreshBoard();
}

void Puzzle::picScreen_MouseDown(int16_t button, int16_t, float fx, float fy) {
    // The board is disabled during the give-up; a press that still arrives
    // is dropped, so nothing can start on pieces that are being placed.
    if (m_GivingUp) return;
    const auto px = Pointer(fx), py = Pointer(fy);
    if (!px || !py) return;
    const float x = *px, y = *py;
    GameState& s = m_State;

    auto startPan = [&] {
        PanX = Int16(x);
        PanY = Int16(y);
        Panning = true;
    };
    if (!s.GameRunning) {
        startPan();
        return;
    }

    if (button == LeftButton) {
        bool inSquare = false;
        const int n = static_cast<int>(s.Pieces.size());
        for (int i = 0; i < n; ++i) {
            const PieceRec& p = s.Pieces[static_cast<size_t>(i)];
            const float l = p.Left, t = p.Top;
            const float r = static_cast<float>(p.Left + s.PieceBox), b = static_cast<float>(p.Top + s.PieceBox);
            if (!(l <= x && x <= r && t <= y && y <= b)) continue;
            if (!PuzzleModule::PieceHit(s, m_Surfaces, static_cast<int16_t>(i), Int16(x), Int16(y))) {
                // A lower piece may still show through this one's corner.
                inSquare = true;
                continue;
            }
            GrabDX = Int16(x - l);
            GrabDY = Int16(y - t);
            std::rotate(s.Pieces.begin(), s.Pieces.begin() + i, s.Pieces.begin() + i + 1);
            s.SelectedPiece = 0;
            LastX = Int16(x);
            LastY = Int16(y);
            // A second left press without a release in between starts a
            // fresh group rather than dragging the old one along.
            for (PieceRec& q : s.Pieces) q.InGroup = false;
            if (s.Pieces[0].Rotation == 0) CollectGroup(s, 0);
            Recompose();
            PlayCue(s.SndClick);
            return;
        }
        if (!inSquare) startPan();
        return;
    }

    // Any other button turns the held piece, where the level allows it and
    // no group hangs on it.
    if (s.SelectedPiece < 0 || s.SelectedPiece >= static_cast<int>(s.Pieces.size())) return;
    if (s.ChosenLevel <= 1) return;
    if (std::any_of(s.Pieces.begin(), s.Pieces.end(), [](const PieceRec& p) { return p.InGroup; })) return;
    PuzzleModule::RotatePiece(s, m_Surfaces, s.SelectedPiece);
    Recompose();
    PlayCue(s.SndGiro);
}

void Puzzle::picScreen_MouseMove(int16_t, int16_t, float fx, float fy) {
    if (m_GivingUp) return;
    const auto px = Pointer(fx), py = Pointer(fy);
    if (!px || !py) return;
    const float x = *px, y = *py;
    GameState& s = m_State;

    if (Panning) {
        // Sums of three 16-bit values; whatever lies beyond 16 bits is beyond
        // the limits below as well.
        const float nt = std::nearbyint(y - static_cast<float>(PanY) + static_cast<float>(m_View.Top));
        const float nl = std::nearbyint(x - static_cast<float>(PanX) + static_cast<float>(m_View.Left));
        // A move past a limit is dropped on that axis: the board's near
        // edges may reach the window's edge, its far edges stay beyond it.
        const float minTop = static_cast<float>(m_View.ScaleHeight) - static_cast<float>(m_View.Height);
        const float minLeft = static_cast<float>(m_View.ScaleWidth) - static_cast<float>(m_View.Width);
        const int16_t top = (minTop < nt && nt < 1) ? Int16(nt) : m_View.Top;
        const int16_t left = (minLeft < nl && nl < 1) ? Int16(nl) : m_View.Left;
        m_Window.MoveBoard(left, top);
        return;
    }

    if (!s.GameRunning || s.SelectedPiece < 0 || s.SelectedPiece >= static_cast<int>(s.Pieces.size())) return;
    if (x == static_cast<float>(LastX) && y == static_cast<float>(LastY)) return;
    const int16_t step = SnapStep(s);
    PieceRec& held = s.Pieces[static_cast<size_t>(s.SelectedPiece)];
    const Reach reach = HeldReach(s, step);
    held.Left = Stopped(x - static_cast<float>(GrabDX), reach.X);
    held.Top = Stopped(y - static_cast<float>(GrabDY), reach.Y);
    const int16_t left = held.Left, top = held.Top;
    for (size_t k = 1; k < s.Pieces.size(); ++k) {
        PieceRec& p = s.Pieces[k];
        if (!p.InGroup) continue;
        p.Left = Add16(p.GroupDX, left);
        p.Top = Add16(p.GroupDY, top);
    }
    LastX = Int16(x);
    LastY = Int16(y);
    Recompose();
}

void Puzzle::picScreen_MouseUp(int16_t button, int16_t, float fx, float fy) {
    if (m_GivingUp) return;
    // Every release ends a pan. The background has no place of its own
    // here: it is drawn under the board wherever the board lies.
    Panning = false;

    GameState& s = m_State;
    if (!s.GameRunning || button != LeftButton) return;
    if (s.SelectedPiece < 0 || s.SelectedPiece >= static_cast<int>(s.Pieces.size())) return;
    const auto px = Pointer(fx), py = Pointer(fy);
    if (!px || !py) return;

    // The release point decides where the held piece lands, in single
    // precision as the pointer reports it, and it stops where its group
    // stopped while it was dragged.
    const int16_t step = SnapStep(s);
    const float fs = static_cast<float>(step);
    const float qx = (*px - static_cast<float>(GrabDX)) / fs;
    const float qy = (*py - static_cast<float>(GrabDY)) / fs;
    const Reach reach = HeldReach(s, step);
    const int16_t dropLeft = GridPoint(qx, step, reach.X.Lo, reach.X.Hi);
    const int16_t dropTop = GridPoint(qy, step, reach.Y.Lo, reach.Y.Hi);

    for (PieceRec& p : s.Pieces) {
        p.Left = SnapToGrid(static_cast<double>(p.Left), step);
        p.Top = SnapToGrid(static_cast<double>(p.Top), step);
        p.InGroup = false;
    }
    const size_t dropped = static_cast<size_t>(s.SelectedPiece);
    s.Pieces[dropped].Left = dropLeft;
    s.Pieces[dropped].Top = dropTop;
    s.SelectedPiece = -1;
    Recompose();
    PlayCue(s.SndClick);

    const std::optional<Reference> ref = FindReference(s);
    if (!ref) return;
    if (InPlace(s, s.Pieces[dropped], ref->X0, ref->Y0)) PlayCue(s.SndRotate);
    if (IsComplete(s, ref->X0, ref->Y0)) {
        s.GameRunning = false;
        m_Window.SetTimer(false);
        PlayCue(s.SndComplete);
        platform::MessageBox box;
        box.Text = QStringLiteral("Jogo Completo");
        box.Title = QStringLiteral("Parabéns!!");
        box.Buttons = platform::MsgButtons::Ok;
        box.Icon = platform::MsgIcon::Exclamation;
        m_Host.ShowMessage(box);
    }
}

void Puzzle::MnDesistir_Click() {
    GameState& s = m_State;
    if (m_GivingUp || s.Pieces.empty()) return;

    // Whatever gesture was under way ends here: the board takes no input
    // until the picture is solved, and a held piece is let go where it is
    // (the loop below puts it in its place anyway).
    m_GivingUp = true;
    Panning = false;
    s.SelectedPiece = -1;
    for (PieceRec& p : s.Pieces) p.InGroup = false;
    m_Window.SetBoardEnabled(false);
    s.GameRunning = false;
    m_Window.SetTimer(false);

    // The board is handed back however the animation ends.
    struct Finish {
        Puzzle& self;
        ~Finish() {
            self.m_GivingUp = false;
            self.m_Window.SetBoardEnabled(true);
        }
    } finish{*this};

    // The top-left piece anchors the solved picture at the visible corner of
    // the window, turned upright first if it lies turned. Where the last
    // column or row would then lie beyond 16 bits, the anchor moves inward.
    int16_t x0 = 0, y0 = 0;
    const auto topLeft = std::find_if(s.Pieces.begin(), s.Pieces.end(),
                                      [](const PieceRec& p) { return p.Col == 0 && p.Row == 0; });
    if (topLeft != s.Pieces.end()) {
        const auto index = static_cast<int16_t>(topLeft - s.Pieces.begin());
        for (int turns = 0; turns < 4 && s.Pieces[static_cast<size_t>(index)].Rotation != 0; ++turns)
            PuzzleModule::RotatePiece(s, m_Surfaces, index);
        const int grid = s.SnapDiv > 0 ? s.PieceStep / s.SnapDiv : 0;
        const int margin = s.SnapDiv > 0 ? s.PieceBox / s.SnapDiv : 0;
        int lastCol = 0, lastRow = 0;
        for (const PieceRec& p : s.Pieces) {
            lastCol = std::max<int>(lastCol, p.Col);
            lastRow = std::max<int>(lastRow, p.Row);
        }
        auto corner = [&](int16_t offset, int last) {
            const double v = std::abs(static_cast<int>(offset)) + 10.0;
            const int limit = INT16_MAX - last * s.PieceStep;
            if (grid <= 0) return Int16(std::min<double>(v, limit));
            return GridPoint((v - margin) / grid, static_cast<int16_t>(grid), INT16_MIN, limit);
        };
        PieceRec& ref = s.Pieces[static_cast<size_t>(index)];
        ref.Left = corner(m_View.Left, lastCol);
        ref.Top = corner(m_View.Top, lastRow);
        x0 = ref.Left;
        y0 = ref.Top;
    }

    const uint32_t generation = s.Generation;
    const size_t count = s.Pieces.size();
    for (size_t i = 0; i < count; ++i) {
        for (int turns = 0; turns < 4 && s.Pieces[i].Rotation != 0; ++turns)
            PuzzleModule::RotatePiece(s, m_Surfaces, static_cast<int16_t>(i));
        PieceRec& p = s.Pieces[i];
        p.Left = Int16(x0 + static_cast<double>(p.Col) * s.PieceStep);
        p.Top = Int16(y0 + static_cast<double>(p.Row) * s.PieceStep);
        if (i % 2 == 1) {
            Recompose();
            if (!m_Host.DoEvents()) return;  // the program is ending
            // A new, loaded or restarted game started meanwhile owns the
            // board now: the animation stops and leaves that game running.
            if (s.Generation != generation || s.Pieces.size() != count || s.GameRunning) return;
        }
    }
    Recompose();
    s.GameRunning = false;
    m_Window.SetTimer(false);
}

void Puzzle::mnuHints_Click() {
    const GameState& s = m_State;
    if (s.Pieces.empty()) return;
    const Reference ref = FindReference(s).value_or(Reference{0, 0});
    const auto hinted = std::find_if(s.Pieces.begin(), s.Pieces.end(),
                                     [&](const PieceRec& p) { return !InPlace(s, p, ref.X0, ref.Y0); });
    if (hinted == s.Pieces.end()) return;

    // Each box covers a piece's body, from corner to corner, both included.
    const int m = (s.PieceBox - s.PieceStep) / 2;
    const int side = s.PieceStep + 1;
    const uint32_t yellow = platform::PixelFromColor(kHintColor);
    platform::Surface& screen = m_Surfaces.picScreen;
    FillBox(screen, ref.X0 + hinted->Col * s.PieceStep + m, ref.Y0 + hinted->Row * s.PieceStep + m, side, yellow);
    FillBox(screen, hinted->Left + m, hinted->Top + m, side, yellow);
    m_Window.RefreshBoard();
}

}  // namespace game
