// A widget that shows a Surface as it is, without copying its pixels, and
// hands its mouse events on as plain values.
#pragma once

#include "platform/Surface.h"

#include <QWidget>

#include <functional>

class SurfaceView : public QWidget {
    Q_OBJECT
public:
    explicit SurfaceView(platform::Surface& surface, QWidget* parent = nullptr);

    // Button 1 left, 2 right, 4 middle; positions in the widget's pixels.
    using MouseHandler = std::function<void(int16_t button, int16_t shift, float x, float y)>;
    MouseHandler OnMouseDown;
    MouseHandler OnMouseMove;
    MouseHandler OnMouseUp;

    static int16_t ButtonCode(Qt::MouseButton button);
    static int16_t ButtonsCode(Qt::MouseButtons buttons);
    static int16_t ShiftCode(Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    platform::Surface& m_Surface;
};
