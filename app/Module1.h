// Centring a window on its screen.
#pragma once

class QWidget;

// Puts `form` in the middle of its screen; a form larger than the screen
// overhangs it on every side.
void CenterForm(QWidget& form);
