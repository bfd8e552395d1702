#include "tools/Icons.h"

#include <QDir>
#include <QPainter>
#include <QPainterPathStroker>

namespace tools {

namespace {

// One side from `a` to `b`, with a knob bulging to the outside (`dir` +1)
// or the inside (-1) of a clockwise outline.
void AddSide(QPainterPath& path, QPointF a, QPointF b, int dir) {
    const QPointF d = b - a;
    const QPointF n(d.y(), -d.x());  // outward for a clockwise outline, y down
    auto at = [&](qreal u, qreal v) { return a + d * u + n * (v * dir); };
    if (dir == 0) {
        path.lineTo(b);
        return;
    }
    path.lineTo(at(0.38, 0));
    path.cubicTo(at(0.41, 0.08), at(0.28, 0.24), at(0.5, 0.25));
    path.cubicTo(at(0.72, 0.24), at(0.59, 0.08), at(0.62, 0));
    path.lineTo(b);
}

}  // namespace

QPainterPath JigsawPiecePath(QPointF origin, qreal side, PieceSides sides) {
    const QPointF tl = origin;
    const QPointF tr = origin + QPointF(side, 0);
    const QPointF br = origin + QPointF(side, side);
    const QPointF bl = origin + QPointF(0, side);
    QPainterPath path(tl);
    AddSide(path, tl, tr, sides.Top);
    AddSide(path, tr, br, sides.Right);
    AddSide(path, br, bl, sides.Bottom);
    AddSide(path, bl, tl, sides.Left);
    path.closeSubpath();
    return path;
}

QImage DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Tabs stick out on the top and the right: the body sits low and left so
    // that the whole piece is centred.
    const qreal pen = size <= 16 ? 1.0 : size / 24.0;
    const qreal side = (size - 2 * pen) / 1.25;
    const QPointF origin(pen, pen + side * 0.25);
    const QPainterPath piece = JigsawPiecePath(origin, side);
    QLinearGradient fill(0, 0, size, size);
    fill.setColorAt(0.0, QColor(0xFF, 0xB0, 0x40));
    fill.setColorAt(1.0, QColor(0xE0, 0x6A, 0x00));
    p.setPen(QPen(QColor(0x7A, 0x38, 0x00), pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(piece);
    if (size >= 32) {
        // A soft highlight along the upper left gives the piece some depth.
        p.setPen(QPen(QColor(255, 235, 190, 170), pen * 1.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        const qreal inset = pen * 2.5;
        p.drawLine(QPointF(origin.x() + inset, origin.y() + side * 0.3), QPointF(origin.x() + inset, origin.y() + inset));
        p.drawLine(QPointF(origin.x() + inset, origin.y() + inset), QPointF(origin.x() + side * 0.3, origin.y() + inset));
    }
    return image;
}

QPoint HandHotSpot() { return {11, 1}; }

QImage DrawHand() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.setFillRule(Qt::WindingFill);
    // Index finger, pointing up; its tip is the hot spot.
    hand.addRoundedRect(QRectF(8.5, 0.5, 5, 18), 2.5, 2.5);
    // The three bent fingers.
    hand.addRoundedRect(QRectF(13.5, 9.5, 4.5, 9), 2.2, 2.2);
    hand.addRoundedRect(QRectF(17.5, 10.5, 4.5, 9), 2.2, 2.2);
    hand.addRoundedRect(QRectF(21.5, 12, 4.5, 8.5), 2.2, 2.2);
    // Palm.
    hand.addRoundedRect(QRectF(8.5, 14, 17.5, 15.5), 4, 4);
    // Thumb, resting against the palm.
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(-3, -2.5, 10, 5), 2.5, 2.5);
    hand.addPath(QTransform().translate(6.5, 19.5).rotate(55).map(thumb));
    const QPainterPath outline = hand.simplified();
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(outline);
    // Knuckle lines between the bent fingers.
    p.setPen(QPen(Qt::black, 0.8));
    p.drawLine(QPointF(13.5, 14), QPointF(13.5, 18));
    p.drawLine(QPointF(17.5, 14), QPointF(17.5, 18.5));
    p.drawLine(QPointF(21.5, 14.5), QPointF(21.5, 19));
    p.end();
    const QPoint hot = HandHotSpot();
    image.setText(QStringLiteral("HotSpotX"), QString::number(hot.x()));
    image.setText(QStringLiteral("HotSpotY"), QString::number(hot.y()));
    return image;
}

bool WriteIcons(const QString& folder) {
    const QDir dir(folder);
    bool ok = true;
    for (int size : {16, 32, 48})
        ok = DrawIcon(size).save(dir.filePath(QStringLiteral("icon%1.png").arg(size)), "PNG") && ok;
    ok = DrawHand().save(dir.filePath(QStringLiteral("hand.png")), "PNG") && ok;
    return ok;
}

}  // namespace tools
