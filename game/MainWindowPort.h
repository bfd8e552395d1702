// What the game handlers ask of the main window. The main window implements
// it with widgets; tests implement it with a recording fake.
#pragma once

#include "platform/Surface.h"

#include <QSize>

#include <cstdint>

namespace game {

class MainWindowPort {
public:
    virtual ~MainWindowPort() = default;

    // Shows picScreen as it now is (one refresh after a full composition).
    virtual void RefreshBoard() = 0;
    // Centres the board on the screen-sized area at the client origin and
    // sets both scroll values from it.
    virtual void Centralize() = 0;
    // Moves the board (and its background) to (left, top) in the client
    // area and sets the scroll values to |top| and |left|.
    virtual void MoveBoard(int16_t left, int16_t top) = 0;
    // The one-second clock.
    virtual void SetTimer(bool on) = 0;
    virtual bool TimerOn() const = 0;
    // The check marks of "Usar efeitos de som" and "Exibir miniatura".
    virtual bool SoundsChecked() const = 0;
    virtual bool MiniatureChecked() const = 0;
    // The miniature box.
    virtual void ShowMiniature(bool visible) = 0;
    // The clock label's text.
    virtual void SetClockText(const QString& text) = 0;
    // Whether the board takes mouse input.
    virtual void SetBoardEnabled(bool enabled) = 0;
    // The main window's state becomes maximised.
    virtual void Maximize() = 0;

    // Whether the miniature box is shown now.
    virtual bool MiniatureVisible() const = 0;
    // The size of the miniature's frame (Picture1), in pixels.
    virtual QSize MiniatureFrameSize() const = 0;
    // The miniature's place and size inside its frame, in frame pixels.
    virtual void SetMiniatureGeometry(float left, float top, float width, float height) = 0;
    // The picture the miniature shows, stretched to its size.
    virtual void SetMiniaturePicture(const platform::Surface& picture) = 0;
};

}  // namespace game
