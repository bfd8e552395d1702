#include "app/QtHost.h"

#include "platform/SoundPlayer.h"
#include "platform/Surface.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTime>
#include <QUrl>

using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;

QtHost::QtHost() : m_Sound(std::make_unique<platform::SoundPlayer>()) { m_Clock.start(); }

QtHost::~QtHost() = default;

MsgAnswer QtHost::ShowMessage(const platform::MessageBox& box) {
    QMessageBox mb(m_Owner);
    mb.setWindowTitle(box.Title.isEmpty() ? QStringLiteral("Zelvano") : box.Title);
    mb.setText(box.Text);
    switch (box.Icon) {
        case MsgIcon::Critical: mb.setIcon(QMessageBox::Critical); break;
        case MsgIcon::Question: mb.setIcon(QMessageBox::Question); break;
        case MsgIcon::Exclamation: mb.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Information: mb.setIcon(QMessageBox::Information); break;
        case MsgIcon::None: break;
    }
    QList<QMessageBox::StandardButton> buttons;
    switch (box.Buttons) {
        case MsgButtons::Ok: buttons = {QMessageBox::Ok}; break;
        case MsgButtons::OkCancel: buttons = {QMessageBox::Ok, QMessageBox::Cancel}; break;
        case MsgButtons::YesNo: buttons = {QMessageBox::Yes, QMessageBox::No}; break;
        case MsgButtons::YesNoCancel: buttons = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}; break;
    }
    QMessageBox::StandardButtons set;
    for (auto b : buttons) set |= b;
    mb.setStandardButtons(set);
    mb.setDefaultButton(buttons.value(box.DefaultSecond && buttons.size() > 1 ? 1 : 0));
    switch (mb.exec()) {
        case QMessageBox::Yes: return MsgAnswer::Yes;
        case QMessageBox::No: return MsgAnswer::No;
        case QMessageBox::Cancel: return MsgAnswer::Cancel;
        case QMessageBox::Ok: return MsgAnswer::Ok;
        default: return box.Buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
}

QString QtHost::QtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString& desc = parts[i];
        out << (desc.endsWith(QLatin1Char(')')) ? desc : desc + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return out.join(QStringLiteral(";;"));
}

std::optional<QString> QtHost::ShowOpenFile(const platform::FileDialogRequest& request) {
    const QString path = QFileDialog::getOpenFileName(m_Owner, request.Title, request.InitialDir, QtFilter(request.Filter));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtHost::ShowSaveFile(const platform::FileDialogRequest& request) {
    const QString path = QFileDialog::getSaveFileName(m_Owner, request.Title, request.InitialDir, QtFilter(request.Filter));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<int32_t> QtHost::ShowColor(int32_t initial, bool fullOpen, std::array<int32_t, 16>& custom) {
    for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, QColor::fromRgb(platform::PixelFromColor(custom[i])));
    QColorDialog dialog(QColor::fromRgb(platform::PixelFromColor(initial)), m_Owner);
    Q_UNUSED(fullOpen);  // Qt's dialog always shows its custom colours.
    const bool accepted = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < 16; ++i) custom[i] = platform::ColorFromPixel(QColorDialog::customColor(i).rgb());
    if (!accepted) return std::nullopt;
    return platform::ColorFromPixel(dialog.selectedColor().rgb());
}

void QtHost::PlaySound(const QByteArray& wave) { m_Sound->Play(wave); }

double QtHost::MonotonicSeconds() { return static_cast<double>(m_Clock.nsecsElapsed()) / 1e9; }

double QtHost::TimeOfDay() { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

QSize QtHost::ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

bool QtHost::DoEvents() {
    if (m_Quitting) return false;
    QCoreApplication::processEvents();
    return !m_Quitting;
}

void QtHost::Quit() {
    m_Quitting = true;
    // exit() rather than quit(): it ends every running loop, nested ones too,
    // without asking the windows first.
    QCoreApplication::exit(0);
}

void QtHost::SetBusyPointer(bool busy) {
    if (busy == m_Busy) return;
    m_Busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtHost::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }
