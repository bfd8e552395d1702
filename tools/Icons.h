// The window icon (an orange jigsaw piece at 16, 32 and 48 pixels) and the
// hand pointer shown over links, drawn freely with anti-aliasing.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QString>

namespace tools {

// Which way each side of a jigsaw piece goes: +1 a tab out, -1 a blank in,
// 0 flat. Sides in clockwise order from the top.
struct PieceSides {
    int Top = 1, Right = 1, Bottom = -1, Left = -1;
};

// The outline of a jigsaw piece whose square body is `side` pixels with its
// top-left corner at `origin`; tabs reach a quarter side beyond the body.
QPainterPath JigsawPiecePath(QPointF origin, qreal side, PieceSides sides = {});

// The orange piece icon, `size` pixels square, transparent around it.
QImage DrawIcon(int size);

// The hand pointer, 32 x 32, pointing up; its hot spot (the fingertip) is
// in the picture's text keys "HotSpotX" and "HotSpotY", which the PNG keeps.
QImage DrawHand();
QPoint HandHotSpot();

// Writes icon16.png, icon32.png, icon48.png and hand.png into `folder`.
bool WriteIcons(const QString& folder);

}  // namespace tools
