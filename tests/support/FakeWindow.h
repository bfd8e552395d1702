// A MainWindowPort that records what the game asked of the main window.
#pragma once

#include "game/Board.h"
#include "game/MainWindowPort.h"

#include <QString>

class FakeWindow : public game::MainWindowPort {
public:
    explicit FakeWindow(game::BoardView& view) : m_View(view) {}

    int Refreshes = 0;
    int Centralizes = 0;
    bool Timer = false;
    bool Sounds = true;
    bool Miniature = true;
    bool MiniatureShown = false;
    bool BoardEnabled = true;
    bool Maximized = false;
    QString ClockText;
    int16_t CentreLeft = 0;  // where Centralize puts the board
    int16_t CentreTop = 0;

    void RefreshBoard() override { ++Refreshes; }
    void Centralize() override {
        ++Centralizes;
        m_View.Left = CentreLeft;
        m_View.Top = CentreTop;
    }
    void MoveBoard(int16_t left, int16_t top) override {
        m_View.Left = left;
        m_View.Top = top;
    }
    void SetTimer(bool on) override { Timer = on; }
    bool TimerOn() const override { return Timer; }
    bool SoundsChecked() const override { return Sounds; }
    bool MiniatureChecked() const override { return Miniature; }
    void ShowMiniature(bool visible) override { MiniatureShown = visible; }
    void SetClockText(const QString& text) override { ClockText = text; }
    void SetBoardEnabled(bool enabled) override { BoardEnabled = enabled; }
    void Maximize() override { Maximized = true; }
    bool MiniatureVisible() const override { return MiniatureShown; }
    QSize MiniatureFrameSize() const override { return FrameSize; }
    void SetMiniatureGeometry(float left, float top, float width, float height) override {
        MiniatureLeft = left;
        MiniatureTop = top;
        MiniatureWidth = width;
        MiniatureHeight = height;
    }
    void SetMiniaturePicture(const platform::Surface& picture) override {
        MiniaturePictureSize = QSize(picture.Width(), picture.Height());
    }

    QSize FrameSize{159, 118};
    float MiniatureLeft = 0, MiniatureTop = 0, MiniatureWidth = 0, MiniatureHeight = 0;
    QSize MiniaturePictureSize;  // of the picture it was given, as the window keeps only a miniature

private:
    game::BoardView& m_View;
};
