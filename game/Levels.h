// The level table and the level names of the clock.
#pragma once

#include "game/GameState.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace game {

// Menu indexes of the levels; 2 is the separator of the level menu.
enum Level : int16_t { KidsA = 0, KidsB = 1, Easy = 3, Medium = 4, Hard = 5 };

struct LevelParams {
    int16_t PieceBox;
    int16_t PieceStep;
    int16_t SnapDiv;
    int16_t GapUnits;
};

// The piece parameters of a level on a screen `screenW` pixels wide (the
// small set up to 800 pixels, the large set above). nullopt for an index
// that is no level.
std::optional<LevelParams> LevelTable(int16_t index, int16_t screenW);

// The level command's first step: records the chosen level and its piece
// parameters. Returns false (and changes nothing) for an index that is no level.
bool ChooseLevel(GameState& state, int16_t index);

// The clock's name of a level: "Kids A", "Kids B", "Fácil", "Medio",
// "Dificil"; the empty text for any other value.
QString LevelName(int16_t level);

// Which items of the two menus are enabled, from the state.
struct GameMenuState {
    bool SaveGame;
    bool Shuffle;
};
struct OptionsMenuState {
    bool Hints;
    bool GiveUp;
};
// `cutPieceCount` is the number of piece bitmaps the last cut made.
GameMenuState GameMenuEnabling(const GameState& state, int cutPieceCount);
OptionsMenuState OptionsMenuEnabling(const GameState& state);

}  // namespace game
