// Saving the running game and loading a saved one. A load reads and checks
// the whole file and the picture before it touches the game on the board,
// so a damaged file or a missing picture never leaves half a game behind.
#include "game/Fitting.h"
#include "game/Puzzle.h"
#include "game/PuzzleModule.h"
#include "game/SavedGame.h"

#include <QFile>
#include <QSaveFile>

#include <utility>

namespace game {

bool Puzzle::SaveGame(const QString& fileName) {
    m_Host.SetBusyPointer(true);
    // A piece held by the mouse stays on top of the stack; the file is in
    // home order all the same.
    GameState sorted = m_State;
    SortHomeOrder(sorted.Pieces);
    if (m_State.SelectedPiece < 0) m_State.Pieces = sorted.Pieces;
    QSaveFile file(fileName);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        const QByteArray text = FormatSavedGame(sorted);
        written = file.write(text) == text.size() && file.commit();
        if (!written) file.cancelWriting();
    }
    m_Host.SetBusyPointer(false);
    return written;
}

bool Puzzle::LoadGame(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const std::optional<SavedGame> saved = ParseSavedGame(file.readAll());
    file.close();
    if (!saved) return false;

    if (!QFile::exists(saved->PicFile)) {
        platform::MessageBox box;
        box.Text = QStringLiteral("O arquivo ") + saved->PicFile + QStringLiteral(" não foi encontrado");
        m_Host.ShowMessage(box);
        return false;
    }

    m_Host.SetBusyPointer(true);
    bool loaded = false;
    try {
        const LoadFit fit = FitForLoad(saved->PicW, saved->PicH, saved->PieceStep);
        if (fit.TooSmall) {
            ShowTooSmall();
            throw std::runtime_error("too small");
        }
        // Every piece of the file must have a cell of the grid, in home order.
        if (static_cast<int>(saved->Pieces.size()) != fit.Cols * fit.Rows)
            throw std::runtime_error("pieces and grid differ");
        for (const SavedPiece& p : saved->Pieces)
            if (p.Col != p.PicIndex % fit.Cols || p.Row != p.PicIndex / fit.Cols)
                throw std::runtime_error("piece off its cell");

        platform::LoadedPicture picture = platform::LoadPicture(saved->PicFile);
        if (!picture) throw std::runtime_error("picture");

        BoardSurfaces work;
        work.picMasks[0] = m_Surfaces.picMasks[0];
        PuzzleModule::PrepareMasks(work, saved->PieceBox);
        work.PicTemp = std::move(picture.Pixels);
        work.picMaster.Resize(fit.GridW, fit.GridH, platform::kBlack);
        work.picMaster.DrawScaled(work.PicTemp, fit.PicX, fit.PicY, fit.PicW, fit.PicH, platform::ScaleMode::Smooth);

        GameState next = m_State;
        next.ElapsedSecs = saved->ElapsedSecs;
        next.PicFile = saved->PicFile;
        next.GameLevel = saved->GameLevel;
        next.ChosenLevel = saved->GameLevel;
        next.PicW = fit.PicW;
        next.PicH = fit.PicH;
        next.PieceBox = saved->PieceBox;
        next.PieceStep = saved->PieceStep;
        next.SnapDiv = saved->SnapDiv;
        next.GapUnits = saved->GapUnits;
        next.Cols = fit.Cols;
        next.Rows = fit.Rows;
        PuzzleModule::CutPieces(next, work, work.picMaster);
        for (size_t k = 0; k < saved->Pieces.size(); ++k) {
            PieceRec& rec = next.Pieces.at(k);
            rec.Left = saved->Pieces[k].Left;
            rec.Top = saved->Pieces[k].Top;
            while (rec.Rotation != saved->Pieces[k].Rotation) PuzzleModule::RotatePiece(next, work, static_cast<int16_t>(k));
        }
        const MiniatureRect miniature = MiniatureFor(QSize(work.PicTemp.Width(), work.PicTemp.Height()));

        // Nothing below can fail: the saved game replaces the one on the board.
        next.SelectedPiece = -1;  // no piece is drawn as held
        next.BoardReady = true;
        m_State = std::move(next);
        m_Window.Centralize();
        m_Window.Maximize();
        AdoptBoard(work, miniature);
        loaded = true;
    } catch (const std::exception&) {
        // The game on the board goes on as it was.
    }
    m_Host.SetBusyPointer(false);
    return loaded;
}

}  // namespace game
