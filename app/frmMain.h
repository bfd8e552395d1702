// The main window: menus, the oversized scrollable board, the scroll bars,
// the miniature box with the clock, and the hidden picture surfaces. It
// translates Qt events into the game's handlers and shows what they draw.
#pragma once

#include "game/Board.h"
#include "game/GameState.h"
#include "game/MainWindowPort.h"
#include "game/Puzzle.h"
#include "platform/Host.h"
#include "platform/Random.h"
#include "support/CmnDlg.h"
#include "support/ModCmnDlg.h"
#include "widgets/Skin.h"

#include <QMainWindow>
#include <QTimer>

#include <array>

class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class MiniatureDrag;
class SurfaceView;

class frmMain : public QMainWindow, public game::MainWindowPort {
    Q_OBJECT
public:
    frmMain(game::GameState& state, platform::Host& host, QWidget* parent = nullptr);
    ~frmMain() override;

    // Runs once, before the window is first shown.
    void Form_Load();

    // MainWindowPort
    void RefreshBoard() override;
    void Centralize() override;
    void MoveBoard(int16_t left, int16_t top) override;
    void SetTimer(bool on) override;
    bool TimerOn() const override;
    bool SoundsChecked() const override;
    bool MiniatureChecked() const override;
    void ShowMiniature(bool visible) override;
    void SetClockText(const QString& text) override;
    void SetBoardEnabled(bool enabled) override;
    void Maximize() override;
    bool MiniatureVisible() const override;
    QSize MiniatureFrameSize() const override;
    void SetMiniatureGeometry(float left, float top, float width, float height) override;
    void SetMiniaturePicture(const platform::Surface& picture) override;

    // Presses on the miniature box, its frame and the miniature: each starts
    // dragging the whole box.
    void picStatus_MouseDown(int16_t button, int16_t shift, float x, float y);
    void Picture1_MouseDown(int16_t button, int16_t shift, float x, float y);
    void imgMaster_MouseDown(int16_t button, int16_t shift, float x, float y);

    // Menu commands.
    void mnuNewGame_Click(int16_t index);
    void mnuSaveGame_Click();
    void mnuLoadGame_Click();
    // The record of the open and save dialogs.
    support::CmnDlgInfo CmnDlg;
    // How the level command gets its picture: empty shows the chooser window
    // modally; a test puts its own choice here (it may call NewGameSetup).
    std::function<void()> ShowChooser;
    void mnuGame_Click();
    void mnuOptions_Click();
    void mnuExit_Click();
    void mnuAbout_Click();
    void mnuHowToPlay_Click();
    void mnuSounds_Click();
    void mnuStatus_Click();
    // "Cor de Fundo": the board colour, picked in the colour dialog.
    void ChooseBackColor();

    // Scroll bars.
    void HScroll1_Change();
    void VScroll1_Change();

    game::GameState& State() { return m_State; }
    game::BoardSurfaces& Surfaces() { return m_Surfaces; }
    game::BoardView& View() { return m_View; }
    game::Puzzle& Puzzle() { return m_Puzzle; }
    Skin& Skin1() { return m_Skin; }
    platform::Host& Host() { return m_Host; }
    // The colour dialog with its custom colours in the per-user store.
    support::ModCmnDlg& ColorDialog() { return m_ColorDialog; }

    // Controls, reachable by name for the handlers and the tests.
    QWidget* ClientArea() const { return m_Client; }
    SurfaceView* picScreen() const { return m_picScreen; }
    QScrollBar* HScroll1() const { return m_HScroll1; }
    QScrollBar* VScroll1() const { return m_VScroll1; }
    QWidget* picStatus() const { return m_picStatus; }
    QWidget* Picture1() const { return m_Picture1; }
    QLabel* imgMaster() const { return m_imgMaster; }
    QLabel* lblElapsed() const { return m_lblElapsed; }
    QTimer& Timer1() { return m_Timer1; }

    QMenu* mnuGame = nullptr;
    QMenu* mnuNew = nullptr;
    std::array<QAction*, 6> mnuNewGame{};
    QAction* mnuShuffle = nullptr;
    QAction* mnuSaveGame = nullptr;
    QAction* mnuLoadGame = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* mnuHints = nullptr;
    QAction* MnDesistir = nullptr;
    QAction* mnuSounds = nullptr;
    QAction* mnuStatus = nullptr;
    QAction* mnuBackground = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHowToPlay = nullptr;
    QAction* mnuAbout = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildControls();
    void Form_Resize();
    // Runs a menu command only when its menu's handler leaves it enabled,
    // so that shortcut keys obey the same rule as the open menu.
    void RunGameItem(QAction* item, const std::function<void()>& command);
    void RunOptionsItem(QAction* item, const std::function<void()>& command);
    void PlaceBoard(int16_t left, int16_t top);
    // Runs an event's handler. Whatever it throws is caught here: the player
    // is told in one box at a time, and the game on the board goes on, its
    // clock standing still while the box is shown.
    void Guarded(const std::function<void()>& handler);
    // Runs `command` when the item is chosen, through Guarded.
    void OnTriggered(QAction* item, std::function<void()> command);

    game::GameState& m_State;
    platform::Host& m_Host;
    game::BoardSurfaces m_Surfaces;
    game::BoardView m_View;
    platform::Random m_Random;
    game::Puzzle m_Puzzle;
    Skin m_Skin;
    support::ModCmnDlg m_ColorDialog;

    QWidget* m_Client = nullptr;
    SurfaceView* m_picScreen = nullptr;
    QScrollBar* m_HScroll1 = nullptr;
    QScrollBar* m_VScroll1 = nullptr;
    QWidget* m_picStatus = nullptr;
    QWidget* m_Picture1 = nullptr;
    QLabel* m_imgMaster = nullptr;
    MiniatureDrag* m_BoxDrag = nullptr;  // owned by the box
    QLabel* m_lblElapsed = nullptr;
    QTimer m_Timer1;
    bool m_Loaded = false;
    bool m_TellingFailure = false;  // Guarded's box is shown
};
