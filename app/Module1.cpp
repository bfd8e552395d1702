#include "app/Module1.h"

#include "support/CenterForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void CenterForm(QWidget& form) {
    const QScreen* s = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect screen = s->geometry();
    form.move(screen.topLeft() + support::CenterFormPosition(screen.size(), form.size()));
}
