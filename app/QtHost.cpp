#include "app/QtHost.h"

#include "app/PlatformDialogs.h"

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

QtHost::QtHost() : m_Sound(std::make_unique<platform::SoundPlayer>()) { m_Clock.start(); }

QtHost::~QtHost() = default;

MsgAnswer QtHost::ShowMessage(const platform::MessageBox& box) {
    const std::unique_ptr<QMessageBox> mb = MakeMessageBox(box, m_Owner);
    switch (mb->exec()) {
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

std::optional<platform::FileDialogAnswer> QtHost::ShowFileDialog(const platform::FileDialogRequest& request,
                                                                  bool save) {
    const QStringList filters = QtFilter(request.Filter).split(QStringLiteral(";;"));
    // Pairs count from 1; 0 or one past the list shows the first.
    QString selected = filters.value(request.FilterIndex > 0 ? request.FilterIndex - 1 : 0, filters.value(0));
    QFileDialog::Options options;
    if (!request.ConfirmOverwrite) options |= QFileDialog::DontConfirmOverwrite;
    const QString filter = filters.join(QStringLiteral(";;"));
    const QString path = save ? QFileDialog::getSaveFileName(m_Owner, request.Title, request.InitialDir, filter, &selected, options)
                              : QFileDialog::getOpenFileName(m_Owner, request.Title, request.InitialDir, filter, &selected, options);
    if (path.isEmpty()) return std::nullopt;
    const qsizetype index = filters.indexOf(selected);
    return platform::FileDialogAnswer{path, static_cast<int32_t>(index < 0 ? 1 : index + 1)};
}

std::optional<platform::FileDialogAnswer> QtHost::ShowOpenFile(const platform::FileDialogRequest& request) {
    return ShowFileDialog(request, false);
}

std::optional<platform::FileDialogAnswer> QtHost::ShowSaveFile(const platform::FileDialogRequest& request) {
    return ShowFileDialog(request, true);
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

void QtHost::PrepareSounds(std::initializer_list<QByteArray> waves) {
    for (const QByteArray& wave : waves) m_Sound->Prepare(wave);
}

void QtHost::CloseSound() { m_Sound->Close(); }

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
