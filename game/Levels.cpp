#include "game/Levels.h"

namespace game {

std::optional<LevelParams> LevelTable(int16_t index, int16_t screenW) {
    const bool small = screenW <= 800;
    switch (index) {
        case KidsA:
        case KidsB:
            return small ? LevelParams{120, 66, 6, 1} : LevelParams{160, 88, 8, 2};
        case Easy:
            return small ? LevelParams{100, 55, 5, 1} : LevelParams{120, 66, 6, 3};
        case Medium:
            return small ? LevelParams{80, 44, 4, 1} : LevelParams{100, 55, 5, 3};
        case Hard:
            return small ? LevelParams{60, 33, 3, 1} : LevelParams{80, 44, 4, 3};
        default:
            return std::nullopt;
    }
}

bool ChooseLevel(GameState& state, int16_t index) {
    const auto params = LevelTable(index, state.ScreenW);
    if (!params) return false;
    state.ChosenLevel = index;
    state.GapUnits = params->GapUnits;
    state.PieceBox = params->PieceBox;
    state.PieceStep = params->PieceStep;
    state.SnapDiv = params->SnapDiv;
    return true;
}

QString LevelName(int16_t level) {
    switch (level) {
        case KidsA: return QStringLiteral("Kids A");
        case KidsB: return QStringLiteral("Kids B");
        case Easy: return QStringLiteral("Fácil");
        case Medium: return QStringLiteral("Medio");
        case Hard: return QStringLiteral("Dificil");
        default: return {};
    }
}

GameMenuState GameMenuEnabling(const GameState& state, int cutPieceCount) {
    return {state.GameRunning, cutPieceCount > 1};
}

OptionsMenuState OptionsMenuEnabling(const GameState& state) {
    return {state.GameRunning, state.GameRunning};
}

}  // namespace game
