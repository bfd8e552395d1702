// Window centring: where a window of a given size goes so that it sits in
// the middle of the screen. Worked in twips with single precision, as the
// window layouts are given, so a window larger than the screen gets a
// negative position.
#pragma once

#include <QPoint>
#include <QSize>

namespace support {

// Top-left corner, in pixels, of a `window`-sized window centred on a
// `screen`-sized screen (both in pixels). Half pixels round to even.
QPoint CenterFormPosition(QSize screen, QSize window);

}  // namespace support
