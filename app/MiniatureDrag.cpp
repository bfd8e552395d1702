#include "app/MiniatureDrag.h"

#include "widgets/SurfaceView.h"

#include <QMouseEvent>
#include <QWidget>

MiniatureDrag::MiniatureDrag(QWidget* box) : QObject(box), m_Box(box) { Watch(box); }

void MiniatureDrag::Watch(QWidget* widget) { widget->installEventFilter(this); }

void MiniatureDrag::Begin(QPoint globalPos) {
    m_Dragging = true;
    m_PressGlobal = globalPos;
    m_BoxAtPress = m_Box->pos();
}

void MiniatureDrag::Follow(QPoint globalPos) {
    if (!m_Dragging) return;
    m_Box->move(m_BoxAtPress + (globalPos - m_PressGlobal));
}

bool MiniatureDrag::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* e = static_cast<QMouseEvent*>(event);
            if (OnPress)
                OnPress(widget, SurfaceView::ButtonCode(e->button()), SurfaceView::ShiftCode(e->modifiers()),
                        static_cast<float>(e->position().x()), static_cast<float>(e->position().y()));
            Begin(e->globalPosition().toPoint());
            return true;
        }
        case QEvent::MouseMove:
            if (!m_Dragging) return false;
            Follow(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return true;
        case QEvent::MouseButtonRelease:
            if (!m_Dragging) return false;
            if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) End();
            return true;
        default:
            return false;
    }
}
