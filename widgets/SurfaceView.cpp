#include "widgets/SurfaceView.h"

#include <QMouseEvent>
#include <QPainter>

SurfaceView::SurfaceView(platform::Surface& surface, QWidget* parent) : QWidget(parent), m_Surface(surface) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int16_t SurfaceView::ButtonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return 1;
        case Qt::RightButton: return 2;
        case Qt::MiddleButton: return 4;
        default: return 0;
    }
}

int16_t SurfaceView::ButtonsCode(Qt::MouseButtons buttons) {
    int16_t code = 0;
    if (buttons & Qt::LeftButton) code |= 1;
    if (buttons & Qt::RightButton) code |= 2;
    if (buttons & Qt::MiddleButton) code |= 4;
    return code;
}

int16_t SurfaceView::ShiftCode(Qt::KeyboardModifiers modifiers) {
    int16_t code = 0;
    if (modifiers & Qt::ShiftModifier) code |= 1;
    if (modifiers & Qt::ControlModifier) code |= 2;
    if (modifiers & Qt::AltModifier) code |= 4;
    return code;
}

void SurfaceView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage image = m_Surface.Image();
    const QRect r = event->rect();
    painter.fillRect(r, Qt::black);
    if (!image.isNull()) painter.drawImage(r.topLeft(), image, r);
}

void SurfaceView::mousePressEvent(QMouseEvent* event) {
    const int16_t button = ButtonCode(event->button());
    if (button && OnMouseDown)
        OnMouseDown(button, ShiftCode(event->modifiers()), static_cast<float>(event->position().x()),
                    static_cast<float>(event->position().y()));
}

void SurfaceView::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove)
        OnMouseMove(ButtonsCode(event->buttons()), ShiftCode(event->modifiers()),
                    static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
}

void SurfaceView::mouseReleaseEvent(QMouseEvent* event) {
    const int16_t button = ButtonCode(event->button());
    if (button && OnMouseUp)
        OnMouseUp(button, ShiftCode(event->modifiers()), static_cast<float>(event->position().x()),
                  static_cast<float>(event->position().y()));
}
