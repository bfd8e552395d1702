// The new-game set-up: a chosen picture file becomes a running game. The
// picture is fitted and cut on surfaces of its own, and the game on the board
// is replaced only once the new one is ready, so a picture that is refused
// (too small, not a picture, too large, any failure on the way) leaves the
// running game exactly as it was, clock included.
#include "game/Fitting.h"
#include "game/Numeric.h"
#include "game/Puzzle.h"
#include "game/PuzzleModule.h"
#include "game/Scatter.h"
#include "platform/PictureReader.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace game {

namespace {

struct Refused : std::runtime_error {
    Refused() : std::runtime_error("picture refused") {}
};

Fit FitFileSize(QSize size, int16_t screenW, int16_t screenH, int16_t step) {
    return FitPicture(Int16(size.width()), Int16(size.height()), screenW, screenH, step);
}

}  // namespace

bool Puzzle::NewGameSetup(const QString& filename, const std::function<void()>& hideChooser) {
    const bool boxWasShown = m_Window.MiniatureVisible();
    const BoardView viewBefore = m_View;
    bool clockWasOn = false;
    bool clockStopped = false;
    bool boardMoved = false;
    bool accepted = false;

    m_Window.ShowMiniature(false);
    if (hideChooser) hideChooser();
    // Lets the chooser vanish from the screen; a program that ends meanwhile
    // starts no game.
    if (!m_Host.DoEvents()) return false;
    m_Host.SetBusyPointer(true);
    m_State.ChooserOpen = false;

    try {
        const QString picFile = filename;
        // Work surfaces: only the strip comes from the window's set.
        BoardSurfaces work;
        work.picMasks[0] = m_Surfaces.picMasks[0];
        PuzzleModule::PrepareMasks(work, m_State.PieceBox);
        if (!m_Host.DoEvents()) throw Refused();
        clockWasOn = m_Window.TimerOn();
        m_Window.SetTimer(false);
        clockStopped = true;

        // The fit needs only the picture's size, and tells how small the
        // picture will be painted, so a large JPEG is decoded reduced.
        const QSize screen = m_Host.ScreenSize();
        const int16_t screenW = Int16(Single(Single(screen.width() * 15.0) / 15.0f));
        const int16_t screenH = Int16(Single(Single(screen.height() * 15.0) / 15.0f));
        const int16_t step = m_State.PieceStep;
        platform::PictureFile picture(picFile);
        if (!picture) throw Refused();
        Fit fit = FitFileSize(picture.Size(), screenW, screenH, step);
        platform::CoveringPicture loaded =
            picture.Covering(QSize(std::max<int>(1, fit.PicW), std::max<int>(1, fit.PicH)));
        if (!loaded) throw Refused();
        if (loaded.FileSize != picture.Size()) fit = FitFileSize(loaded.FileSize, screenW, screenH, step);
        work.PicTemp = std::move(loaded.Pixels);

        // The framed picture on black: white one pixel around the picture.
        work.picMaster.Resize(fit.GridW, fit.GridH, platform::kBlack);
        work.picMaster.DrawScaled(work.PicBranco, fit.FrameX, fit.FrameY, fit.PicW + 2, fit.PicH + 2,
                                  platform::ScaleMode::Nearest);
        work.picMaster.DrawScaled(work.PicTemp, fit.PicX, fit.PicY, fit.PicW, fit.PicH,
                                  platform::ScaleMode::Smooth);

        if (fit.TooSmall) {
            ShowTooSmall();
            throw Refused();
        }
        const MiniatureRect miniature = MiniatureFor(loaded.FileSize);

        // Accepted: the board is centred and the new game cut and laid out,
        // still beside the running one.
        m_Window.Centralize();
        boardMoved = true;
        m_Window.Maximize();
        GameState next = m_State;
        next.PicFile = picFile;
        next.PicW = fit.PicW;
        next.PicH = fit.PicH;
        next.Cols = fit.Cols;
        next.Rows = fit.Rows;
        next.ElapsedSecs = 0;
        next.GameLevel = m_State.ChosenLevel;
        PuzzleModule::CutPieces(next, work, work.picMaster);
        ShufflePieces(next, work, m_View, m_Random, [this] { return m_Host.TimeOfDay(); });

        // Nothing below can fail: the new game replaces the old one.
        m_State.PicFile = next.PicFile;
        m_State.PicW = next.PicW;
        m_State.PicH = next.PicH;
        m_State.Cols = next.Cols;
        m_State.Rows = next.Rows;
        m_State.ElapsedSecs = 0;
        m_State.GameLevel = next.GameLevel;
        m_State.Pieces = std::move(next.Pieces);
        m_State.Generation = next.Generation;
        AdoptBoard(work, miniature);
        accepted = true;
    } catch (const std::exception&) {
        // Refused or failed: the running game goes on as it was.
    }

    if (!accepted) {
        if (boardMoved) m_Window.MoveBoard(viewBefore.Left, viewBefore.Top);
        if (clockStopped && clockWasOn) m_Window.SetTimer(true);
        m_Window.ShowMiniature(boxWasShown);
    }
    m_Host.SetBusyPointer(false);
    m_State.BoardReady = true;
    return accepted;
}

}  // namespace game
