// The platform's dialogs as the program shows them. Their own texts (the
// standard buttons, the file and colour dialogs) speak Brazilian Portuguese.
// A message box shows plain text that is never read as markup, keeps a size
// that stays on the screen whatever the text (a very long path is shortened
// in the middle, a text too long for the screen is cut with "…"), and is wide
// enough for its whole title in the title bar.
#pragma once

#include "platform/Host.h"

#include <QString>

#include <memory>

class QFontMetrics;
class QMessageBox;
class QWidget;

// Loads Qt's Brazilian Portuguese texts for its widgets and has the dialogs
// drawn by Qt itself, so that they are the ones translated. Returns false
// when the translations are not installed (the dialogs then speak English).
bool InstallPlatformTranslations();

// The box for `box`, owned by `owner`, ready to run.
std::unique_ptr<QMessageBox> MakeMessageBox(const platform::MessageBox& box, QWidget* owner);

// `text` shortened so that, wrapped at `width` pixels, it takes no more than
// `height`: every word wider than a line loses its middle, and a text still
// too tall keeps what fits, followed by "…".
QString FitMessageText(const QString& text, const QFontMetrics& metrics, int width, int height);

// The width a window needs for the title bar to show `title` whole beside
// the window manager's buttons.
int TitleBarWidth(const QString& title);
