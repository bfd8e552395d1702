// The picture surfaces of the main window and where the board lies in it.
// The game logic draws on these; the main window only shows `picScreen`.
#pragma once

#include "platform/Surface.h"

#include <array>
#include <cstdint>
#include <vector>

namespace game {

struct BoardSurfaces {
    platform::Surface picScreen;  // the board the player sees
    platform::Surface picBG;      // the empty board, filled with the board colour
    platform::Surface picMaster;  // the fitted, framed picture that is cut
    platform::Surface PicTemp;    // the picture file as loaded, while a game is set up
    platform::Surface PicBranco{20, 22, platform::kWhite};  // white of the frame
    std::array<platform::Surface, 2> picMasks;  // 0: the mask strip; 1: scaled to PieceBox
    // One PieceBox square per piece, indexed by PicIndex; element 0 always
    // exists, empty until the first cut.
    std::vector<platform::Surface> picPat{platform::Surface()};
    platform::Surface picTmp;  // scratch for turning, a PieceBox square once used

    int32_t BackColor = 15203838;  // board colour, blue-green-red
};

// Where the board lies in the main window's client area, in pixels. Left and
// Top are zero or negative while the board overhangs the window.
struct BoardView {
    int16_t Left = 0;
    int16_t Top = 0;
    int16_t Width = 0;
    int16_t Height = 0;
    int16_t ScaleWidth = 0;   // the client area's size
    int16_t ScaleHeight = 0;
};

}  // namespace game
