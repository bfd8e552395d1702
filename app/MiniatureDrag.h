// Moves the miniature box with the mouse: a press on the box, its frame or
// the miniature hands the press to the window's handler, and the box then
// follows the pointer, as a window dragged by its title bar, until the
// button is released.
#pragma once

#include <QObject>
#include <QPoint>

#include <cstdint>
#include <functional>

class QWidget;

class MiniatureDrag : public QObject {
    Q_OBJECT
public:
    // `box` is moved; presses are watched on `box` and on every widget
    // passed to Watch (children of the box).
    explicit MiniatureDrag(QWidget* box);

    void Watch(QWidget* widget);

    // Called on a press with the pressed widget, the button code (1, 2, 4),
    // the shift code and the press point in that widget's pixels.
    std::function<void(QWidget* widget, int16_t button, int16_t shift, float x, float y)> OnPress;

    // Starts following the pointer from `globalPos` (also what a press does).
    void Begin(QPoint globalPos);
    // The box's new top-left for the pointer at `globalPos`.
    void Follow(QPoint globalPos);
    void End() { m_Dragging = false; }
    bool Dragging() const { return m_Dragging; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_Box;
    bool m_Dragging = false;
    QPoint m_PressGlobal;
    QPoint m_BoxAtPress;
};
