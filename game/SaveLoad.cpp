// Saving the running game and loading a saved one. A load reads and checks
// the whole file and the picture before it touches the game on the board,
// so a damaged file or a missing picture never leaves half a game behind.
#include "game/Fitting.h"
#include "game/Numeric.h"
#include "game/Puzzle.h"
#include "game/PuzzleModule.h"
#include "game/SavedGame.h"
#include "platform/FileReader.h"
#include "platform/FileWriter.h"
#include "platform/PictureReader.h"

#include <QFileInfo>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace game {

namespace {

// A path that names a regular file (or a link to one). Anything else, a
// folder or a FIFO that would block the read for ever, is never opened.
bool RegularFile(const QString& path) { return QFileInfo(path).isFile(); }

}  // namespace

void Puzzle::ShowFileMessage(const QString& text, platform::MsgIcon icon) {
    platform::MessageBox box;
    box.Text = text;
    box.Buttons = platform::MsgButtons::Ok;
    box.Icon = icon;
    m_Host.ShowMessage(box);
}

bool Puzzle::SaveGame(const QString& fileName) {
    auto notWritten = [&] {
        ShowFileMessage(QStringLiteral("O arquivo ") + fileName + QStringLiteral(" não pôde ser gravado"),
                        platform::MsgIcon::Critical);
        return false;
    };
    // A file whose picture path would not read back could never be loaded:
    // it is not written, and an earlier file of that name stays.
    if (!PathReadsBack(m_State.PicFile)) return notWritten();
    m_Host.SetBusyPointer(true);
    // A piece held by the mouse stays on top of the stack; the file is in
    // home order all the same.
    GameState sorted = m_State;
    SortHomeOrder(sorted.Pieces);
    if (m_State.SelectedPiece < 0) m_State.Pieces = sorted.Pieces;
    // A failed write leaves an earlier file of that name as it was.
    const bool written = platform::ReplaceFile(fileName, FormatSavedGame(sorted));
    m_Host.SetBusyPointer(false);
    if (!written) return notWritten();
    return true;
}

bool Puzzle::LoadGame(const QString& fileName) {
    // The clock stands still while the load reads and asks; however the load
    // ends, it then runs exactly when a game does.
    m_Window.SetTimer(false);
    struct ClockAfter {
        Puzzle& self;
        ~ClockAfter() { self.m_Window.SetTimer(self.m_State.GameRunning); }
    } clockAfter{*this};

    auto notFound = [&](const QString& path) {
        ShowFileMessage(QStringLiteral("O arquivo ") + path + QStringLiteral(" não foi encontrado"),
                        platform::MsgIcon::None);
        return false;
    };
    auto cannotOpen = [&] {
        ShowFileMessage(QStringLiteral("O arquivo ") + fileName + QStringLiteral(" não pôde ser aberto"),
                        platform::MsgIcon::Critical);
        return false;
    };
    auto damaged = [&] {
        ShowFileMessage(QStringLiteral("O arquivo ") + fileName +
                            QStringLiteral(" está danificado e não pode ser aberto"),
                        platform::MsgIcon::Critical);
        return false;
    };

    const platform::FileBytes file = platform::ReadFileWhole(fileName, kMaxSavedGameBytes);
    switch (file.Result) {
        case platform::ReadResult::Read: break;
        case platform::ReadResult::Missing: return notFound(fileName);
        case platform::ReadResult::TooLarge: return damaged();
        // A file that is there but cannot be read is not damaged: the
        // player can mend that.
        case platform::ReadResult::Unreadable: return cannotOpen();
    }
    const std::optional<SavedGame> saved = ParseSavedGame(file.Bytes);
    if (!saved) return damaged();

    if (!RegularFile(saved->PicFile)) return notFound(saved->PicFile);

    m_Host.SetBusyPointer(true);
    bool loaded = false;
    try {
        const std::optional<LoadFit> fit = FitSavedGame(*saved);
        if (!fit) throw std::runtime_error("picture and pieces differ");
        if (fit->TooSmall) {
            m_Host.SetBusyPointer(false);
            ShowTooSmall();
            return false;
        }

        // Decoded only as large as it is painted, as a new game does. A
        // photograph that its orientation tag turns upright was cut as the
        // file stores it by games saved before the tag was read: the saved
        // size tells which way the game was cut.
        platform::PictureFile file(saved->PicFile);
        const QSize stored = file.StoredSize();
        if (file.Size() != stored &&
            PaintedAt(Int16(stored.width()), Int16(stored.height()), saved->PieceStep, saved->PicW, saved->PicH) &&
            !PaintedAt(Int16(stored.height()), Int16(stored.width()), saved->PieceStep, saved->PicW, saved->PicH))
            file.KeepStoredOrientation();
        platform::CoveringPicture picture =
            file.Covering(QSize(std::max<int>(1, fit->PicW), std::max<int>(1, fit->PicH)));
        if (!picture) {
            m_Host.SetBusyPointer(false);
            ShowFileMessage(QStringLiteral("A imagem ") + saved->PicFile +
                                QStringLiteral(" não pôde ser aberta"),
                            platform::MsgIcon::Critical);
            return false;
        }

        BoardSurfaces work;
        work.picMasks[0] = m_Surfaces.picMasks[0];
        PuzzleModule::PrepareMasks(work, saved->PieceBox);
        work.PicTemp = std::move(picture.Pixels);
        work.picMaster.Resize(fit->GridW, fit->GridH, platform::kBlack);
        work.picMaster.DrawScaled(work.PicTemp, fit->PicX, fit->PicY, fit->PicW, fit->PicH,
                                  platform::ScaleMode::Smooth);

        GameState next = m_State;
        next.ElapsedSecs = saved->ElapsedSecs;
        next.PicFile = saved->PicFile;
        next.GameLevel = saved->GameLevel;
        next.ChosenLevel = saved->GameLevel;
        // The game keeps the file's picture size, not the one painted: the
        // grid is worked out from it again at every load, so a game saved
        // after a load is the file it was loaded from.
        next.PicW = saved->PicW;
        next.PicH = saved->PicH;
        next.PieceBox = saved->PieceBox;
        next.PieceStep = saved->PieceStep;
        next.SnapDiv = saved->SnapDiv;
        next.GapUnits = saved->GapUnits;
        next.Cols = fit->Cols;
        next.Rows = fit->Rows;
        PuzzleModule::CutPieces(next, work, work.picMaster);
        if (next.Pieces.size() != saved->Pieces.size()) throw std::runtime_error("pieces and grid differ");
        for (size_t k = 0; k < saved->Pieces.size(); ++k) {
            PieceRec& rec = next.Pieces.at(k);
            rec.Left = saved->Pieces[k].Left;
            rec.Top = saved->Pieces[k].Top;
            while (rec.Rotation != saved->Pieces[k].Rotation) PuzzleModule::RotatePiece(next, work, static_cast<int16_t>(k));
        }
        const MiniatureRect miniature = MiniatureFor(picture.FileSize);

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
    if (!loaded) return damaged();
    return true;
}

}  // namespace game
