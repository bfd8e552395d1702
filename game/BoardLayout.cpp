#include "game/BoardLayout.h"

#include "game/Numeric.h"

#include <cstdlib>

namespace game {

double BoardFactor(int16_t screenW) {
    if (screenW >= 1280) return 1.25;
    if (screenW >= 1024) return 1.5;
    return 2.0;
}

int16_t CentredOffset(int16_t boardSide, int16_t screenSide) {
    return Int16(-(static_cast<double>(boardSide) - screenSide) / 2.0);
}

BoardRect BoardForScreen(int16_t screenW, int16_t screenH) {
    const double f = BoardFactor(screenW);
    BoardRect r{};
    r.Width = Int16(screenW * f);
    r.Height = Int16(screenH * f);
    r.Left = CentredOffset(r.Width, screenW);
    r.Top = CentredOffset(r.Height, screenH);
    return r;
}

ScrollRange ScrollFor(int16_t boardSide, int16_t clientSide, int16_t boardOffset) {
    ScrollRange s{};
    s.Maximum = Add16(boardSide, -clientSide);
    s.Value = Int16(std::abs(static_cast<int>(boardOffset)));
    s.LargeChange = Int16(s.Maximum / 1.5);
    s.ValueFits = s.Value >= 0 && s.Value <= s.Maximum;
    return s;
}

}  // namespace game
