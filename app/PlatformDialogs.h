// The platform's dialogs as the program shows them. Their own texts (the
// standard buttons, the file and colour dialogs) speak Brazilian Portuguese.
// A message box shows plain text that is never read as markup, shows a path
// whole across lines, keeps a size that stays on the screen whatever the
// text, and is wide enough for its whole title in the title bar. What a
// player copies from it, a selection of its text or the whole message with
// Ctrl+C on the box, is the message as written.
#pragma once

#include "platform/Host.h"

#include <QString>

#include <memory>

class QFont;
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

// `text` as a box shows it wrapped at `width` pixels: lines break between
// words, a path also after each "/", and a word wider than a line (a long
// name) anywhere; nothing is added to the text for that. Only a text taller
// than `height` is shortened: first its wide words lose their middles to
// "…", as little as it takes, so that the words around them still show; a
// text still too tall keeps its start and its end around "…".
QString FitMessageText(const QString& text, const QFont& font, int width, int height);

// The width a window needs for the title bar to show `title` whole beside
// the window manager's buttons.
int TitleBarWidth(const QString& title);
