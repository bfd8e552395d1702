// The saved-game file (".pzl"): ten header lines, then one line of seven
// numbers per piece in home order. Numbers are written with a sign position
// ("-" or a blank) and one trailing blank; the picture path bare; CR LF lines.
#pragma once

#include "game/GameState.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace game {

struct SavedPiece {
    int16_t Left = 0;
    int16_t Top = 0;
    int16_t Col = 0;
    int16_t Row = 0;
    int16_t Rotation = 0;
    int16_t PicIndex = 0;
    int16_t Shape = 0;
};

struct SavedGame {
    int32_t ElapsedSecs = 0;
    QString PicFile;
    int16_t GameLevel = 0;
    int16_t PicW = 0;
    int16_t PicH = 0;
    int16_t PieceBox = 0;
    int16_t PieceStep = 0;
    int16_t SnapDiv = 0;
    int16_t GapUnits = 0;
    int16_t Cols = 0, Rows = 0;      // the grid the pieces fill
    std::vector<SavedPiece> Pieces;  // in home order: element k has PicIndex k
};

// Sorts the pieces into home order (row by row, column by column), moving
// whole records; this is also their new stacking order.
void SortHomeOrder(std::vector<PieceRec>& pieces);

// The file's text for the game in `state`, pieces in their array order.
QByteArray FormatSavedGame(const GameState& state);

// No file the game writes comes near this size (the largest grid's is under
// half a megabyte); a larger one is refused before it is read.
constexpr qint64 kMaxSavedGameBytes = 4 * 1024 * 1024;

// Reads a file's text. Any line that is missing or does not hold what it
// should makes the whole file unreadable: nullopt. Refused are a number out
// of range, a level that is not one, piece sizes out of the level table's
// proportions (PieceBox 20 and PieceStep 11 times SnapDiv) or beyond its
// range (SnapDiv 3 to 8), more pieces than MaxGridCells, pieces that do not
// fill a whole grid in home order and a turn outside 0..3. Every position a
// 16-bit field holds is taken: play may leave a piece anywhere in that range.
std::optional<SavedGame> ParseSavedGame(const QByteArray& text);

// How a loaded game's picture sits in picMaster: inside the grid, the
// picture grows by 2 % a pass and is stretched by at most 3 % either way to
// even out the margins. No white frame: the margin stays black.
struct LoadFit {
    int16_t GridW, GridH;  // the size of picMaster
    int16_t Cols, Rows;
    int16_t PicX, PicY;    // where the picture is painted
    int16_t PicW, PicH;    // the painted size
    bool TooSmall;         // a single column or a single row
};

// The fit of a saved game's picture in the grid its pieces fill. That grid
// is the one the picture size gives, or one cell wider or higher where the
// picture lies within a cell of its edge: a new game's framed picture may
// end just short of its last column, and an older loaded game wrote a
// picture grown exactly to its grid's side. nullopt when the picture and
// the pieces do not belong together.
std::optional<LoadFit> FitSavedGame(const SavedGame& saved);

// Whether a picture path, written as its line, reads back as itself. A line
// break or a CR in it would end its line early: a file written with it
// could never be loaded.
bool PathReadsBack(const QString& path);

// One number in the file's form: sign position, digits, one blank.
QByteArray FormatNumber(int32_t value);

}  // namespace game
