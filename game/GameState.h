// The game's shared state: one instance for the whole run, handed down by
// reference to everything that reads or writes it. Names and widths are
// those of the game's rules: 16-bit for positions and level values, 32-bit
// for the play time.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace game {

// One puzzle piece. `Left`, `Top` are board pixels of its square; `Rotation`
// counts quarter turns clockwise (0 upright); `Shape` is its mask (0..18);
// `Row`, `Col` its home cell; `PicIndex` = Row * Cols + Col, also the index of
// its bitmap; the group fields mean something only while a piece is held.
struct PieceRec {
    int16_t Left = 0;
    int16_t Top = 0;
    int16_t Rotation = 0;
    int16_t Shape = 0;
    int16_t Row = 0;
    int16_t Col = 0;
    int16_t PicIndex = 0;
    int16_t GroupDX = 0;
    int16_t GroupDY = 0;
    bool InGroup = false;

    bool operator==(const PieceRec&) const = default;
};

struct GameState {
    // Index order is stacking order: index 0 is drawn last, on top.
    std::vector<PieceRec> Pieces;
    int16_t SelectedPiece = 0;  // 0 while a piece is held, -1 when none

    // Level parameters (the level table, or a loaded game).
    int16_t PieceBox = 0;   // side of a piece's square bitmap, knobs included
    int16_t PieceStep = 0;  // grid step: side of a piece's body
    int16_t SnapDiv = 0;    // the level's length unit
    int16_t GapUnits = 0;   // extra gap between scattered pieces, in SnapDiv
    int16_t ChosenLevel = 0;
    int16_t GameLevel = 0;

    // Picture geometry.
    QString PicFile;
    int16_t PicW = 0;
    int16_t PicH = 0;
    int16_t Cols = 0;
    int16_t Rows = 0;
    int16_t ScreenW = 0;
    int16_t ScreenH = 0;

    // Flags and clock.
    bool GameRunning = false;
    bool BoardReady = false;
    int32_t ElapsedSecs = 0;
    bool ChooserOpen = false;

    QString AppPath;  // the program's folder, ending in '/'

    // The four sound cues, each a whole WAVE file.
    QByteArray SndClick;
    QByteArray SndGiro;
    QByteArray SndComplete;
    QByteArray SndRotate;

    // Bumped by every cut, so that work that lets events run can tell that
    // the piece array it was walking has been replaced meanwhile.
    uint32_t Generation = 0;
};

}  // namespace game
