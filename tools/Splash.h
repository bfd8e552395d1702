// The start-up window's picture: a blue panel with the product name in
// cartoon letters and two jigsaw pieces over its corners, on pure yellow,
// which the window cuts away. Every pixel is either the key yellow or
// fully part of the artwork: no edge is blended with the key.
#pragma once

#include <QImage>
#include <QString>

namespace tools {

constexpr int kSplashWidth = 614;
constexpr int kSplashHeight = 223;

// The picture, 24-bit.
QImage DrawSplash();

// Writes splash.bmp into `folder`.
bool WriteSplash(const QString& folder);

}  // namespace tools
