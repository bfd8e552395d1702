#include "chooser/Colors.h"

#include "platform/Surface.h"

#include <QGuiApplication>
#include <QPalette>

namespace chooser {

int32_t ButtonFaceColor() {
    const QColor c = QGuiApplication::palette().color(QPalette::Button);
    return platform::ColorFromPixel(c.rgb());
}

QColor ToQColor(int32_t color) {
    if (color >= 0) return QColor::fromRgb(platform::PixelFromColor(color));
    const QPalette palette = QGuiApplication::palette();
    switch (color & 0xFF) {
        case 5: return palette.color(QPalette::Base);
        case 8: return palette.color(QPalette::Text);
        case 15: return palette.color(QPalette::Button);
        default: return palette.color(QPalette::Window);
    }
}

}  // namespace chooser
