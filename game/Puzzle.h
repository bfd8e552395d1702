// The game's handlers: what the main window's menus, clock and board mouse
// events do. They work on the shared state and the surfaces, reach the
// window through MainWindowPort and the person through platform::Host, and
// take plain values (button 1 left, 2 right, 4 middle; positions in board
// pixels), so tests drive them without a window.
#pragma once

#include "game/Board.h"
#include "game/GameState.h"
#include "game/MainWindowPort.h"
#include "platform/Host.h"
#include "platform/Random.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>

namespace game {

struct MiniatureRect;

enum MouseButton : int16_t { LeftButton = 1, RightButton = 2, MiddleButton = 4 };

class Puzzle {
public:
    Puzzle(GameState& state, BoardSurfaces& surfaces, BoardView& view, MainWindowPort& window,
           platform::Host& host, platform::Random& random);

    GameState& State() { return m_State; }
    BoardSurfaces& Surfaces() { return m_Surfaces; }
    BoardView& View() { return m_View; }

    // Board mouse events.
    void picScreen_MouseDown(int16_t button, int16_t shift, float x, float y);
    void picScreen_MouseMove(int16_t button, int16_t shift, float x, float y);
    void picScreen_MouseUp(int16_t button, int16_t shift, float x, float y);

    // The new-game set-up for the chosen picture file: load, fit, cut,
    // scatter, draw, start the clock and show the miniature. `hideChooser`
    // hides the chooser window at the set-up's start. Returns true when a new
    // game is running on the picture; otherwise the game that was on the
    // board is left as it was.
    bool NewGameSetup(const QString& filename, const std::function<void()>& hideChooser = {});

    // Writes the running game to a saved-game file, after sorting the pieces
    // into home order. The file is replaced only once it is written whole.
    // Returns false, after telling the player, when it could not be written.
    bool SaveGame(const QString& fileName);
    // Replaces the game on the board by the one saved in `fileName`. A file
    // that is missing, damaged or names a missing, unreadable or too small
    // picture is refused with a message and leaves the game on the board as
    // it was. The clock stands still during the load. Returns true when the
    // saved game is running.
    bool LoadGame(const QString& fileName);

    // Menu commands and the clock.
    void mnuShuffle_Click();
    void MnDesistir_Click();
    void mnuHints_Click();
    void Timer1_Timer();

    // Plays a cue when the sound option is on.
    void PlayCue(const QByteArray& wave);

    // Pointer state of the board.
    int16_t LastX = 0;
    int16_t LastY = 0;
    int16_t GrabDX = 0;
    int16_t GrabDY = 0;
    int16_t PanX = 0;
    int16_t PanY = 0;
    bool Panning = false;

    // True while the give-up animation runs; the board ignores the mouse.
    bool GivingUp() const { return m_GivingUp; }

private:
    // A full recomposition of the board, then one refresh.
    void Recompose();
    // The miniature's place in its frame for a picture of that size.
    MiniatureRect MiniatureFor(QSize picture) const;
    // "A imagem selecionada é muito pequena!", shared by a new game and a load.
    void ShowTooSmall();
    // A message about a file, with an OK button.
    void ShowFileMessage(const QString& text, platform::MsgIcon icon);
    // The last step of a new or loaded game, which cannot fail: the work
    // surfaces become the board's, the board is drawn, the game runs and
    // the miniature shows the picture.
    void AdoptBoard(BoardSurfaces& work, const MiniatureRect& miniature);

    bool m_GivingUp = false;
    GameState& m_State;
    BoardSurfaces& m_Surfaces;
    BoardView& m_View;
    MainWindowPort& m_Window;
    platform::Host& m_Host;
    platform::Random& m_Random;
};

}  // namespace game
