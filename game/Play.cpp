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
std::optional<float> Pointer(float v) {
    if (std::isnan(v)) return std::nullopt;
    const float limit = kPointerLimit;
    return std::clamp(v, -limit, limit);
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
        const int16_t nt = Int16(y - static_cast<float>(PanY) + static_cast<float>(m_View.Top));
        const int16_t nl = Int16(x - static_cast<float>(PanX) + static_cast<float>(m_View.Left));
        // A move past a limit is dropped on that axis: the board's near
        // edges may reach the window's edge, its far edges stay beyond it.
        const float minTop = static_cast<float>(m_View.ScaleHeight) - static_cast<float>(m_View.Height);
        const float minLeft = static_cast<float>(m_View.ScaleWidth) - static_cast<float>(m_View.Width);
        const int16_t top = (minTop < nt && nt < 1) ? nt : m_View.Top;
        const int16_t left = (minLeft < nl && nl < 1) ? nl : m_View.Left;
        m_Window.MoveBoard(left, top);
        return;
    }

    if (!s.GameRunning || s.SelectedPiece < 0 || s.SelectedPiece >= static_cast<int>(s.Pieces.size())) return;
    if (x == static_cast<float>(LastX) && y == static_cast<float>(LastY)) return;
    PieceRec& held = s.Pieces[static_cast<size_t>(s.SelectedPiece)];
    held.Left = Int16(x - static_cast<float>(GrabDX));
    held.Top = Int16(y - static_cast<float>(GrabDY));
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
    // precision as the pointer reports it.
    const int16_t step = SnapStep(s);
    const float fs = static_cast<float>(step);
    const float qx = (*px - static_cast<float>(GrabDX)) / fs;
    const float qy = (*py - static_cast<float>(GrabDY)) / fs;
    const int16_t dropLeft = GridPoint(qx, step);
    const int16_t dropTop = GridPoint(qy, step);

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
    // the window, turned upright first if it lies turned.
    int16_t x0 = 0, y0 = 0;
    const auto topLeft = std::find_if(s.Pieces.begin(), s.Pieces.end(),
                                      [](const PieceRec& p) { return p.Col == 0 && p.Row == 0; });
    if (topLeft != s.Pieces.end()) {
        const auto index = static_cast<int16_t>(topLeft - s.Pieces.begin());
        for (int turns = 0; turns < 4 && s.Pieces[static_cast<size_t>(index)].Rotation != 0; ++turns)
            PuzzleModule::RotatePiece(s, m_Surfaces, index);
        const int grid = s.SnapDiv > 0 ? s.PieceStep / s.SnapDiv : 0;
        const int margin = s.SnapDiv > 0 ? s.PieceBox / s.SnapDiv : 0;
        auto corner = [&](int16_t offset) {
            const int16_t v = Int16(std::abs(static_cast<int>(offset)) + 10.0);
            if (grid <= 0) return v;
            return Int16(static_cast<double>(Int16(static_cast<double>(v - margin) / grid)) * grid);
        };
        PieceRec& ref = s.Pieces[static_cast<size_t>(index)];
        ref.Left = corner(m_View.Left);
        ref.Top = corner(m_View.Top);
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
