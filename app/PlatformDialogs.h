// The platform's dialogs as the program shows them. Their own texts (the
// standard buttons, the file and colour dialogs) speak Brazilian Portuguese.
// A message box shows plain text that is never read as markup, shows a path
// whole across lines, keeps a size that stays on the screen whatever the
// text, and is wide enough for its whole title in the title bar.
#pragma once

#include "platform/Host.h"

#include <QString>

#include <memory>

class QFontMetrics;
class QMessageBox;
class QWidget;

// Has Qt write dates and sizes (the file dialogs' columns) as in Brazil,
// whatever locale the environment names. The C library, and the programs
// the game starts, keep the environment's. Call it before the application
// object is made.
void UseBrazilianLocale();

// Has Qt draw the dialogs itself rather than hand them to the desktop, and
// loads its Brazilian Portuguese texts for them. Returns false when the
// translations are not installed (the dialogs then speak English).
bool UseQtDialogsInPortuguese();

// The box for `box`, owned by `owner`, ready to run.
std::unique_ptr<QMessageBox> MakeMessageBox(const platform::MessageBox& box, QWidget* owner);

// `text` as a box shows it wrapped at `width` pixels: every word wider than
// a line (a path) gets zero-width spaces where it may break, after each "/"
// and, in a name wider than a line by itself, after each character. Only a
// text taller than `height` is shortened: first its wide words lose their
// middles to "…", as little as it takes, so that the words around them still
// show; a text still too tall keeps its start and its end around "…".
QString FitMessageText(const QString& text, const QFontMetrics& metrics, int width, int height);

// The width a window needs for the title bar to show `title` whole beside
// the window manager's buttons.
int TitleBarWidth(const QString& title);
