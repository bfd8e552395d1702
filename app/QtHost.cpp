#include "app/QtHost.h"

#include "app/PlatformDialogs.h"

#include "platform/SoundPlayer.h"
#include "platform/Surface.h"

#include <QApplication>
#include <QColorDialog>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QTime>
#include <QTreeView>
#include <QUrl>

#include <algorithm>

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

namespace {

// Qt's own file dialog sizes its columns for English texts and leaves the
// rest to the player. Every column gets room for its title and, once the
// folder is read, for what it lists (the date column for a date as the
// locale writes it from the start); the dialog grows to show them all
// beside the folder list, as far as the screen allows.
void GiveColumnsRoom(QFileDialog& dialog, bool listed) {
    int missing = 0;
    for (QTreeView* view : dialog.findChildren<QTreeView*>()) {
        QHeaderView* header = view->header();
        if (!header->model()) continue;
        const QFontMetrics metrics = view->fontMetrics();
        const int date = metrics.horizontalAdvance(QLocale::system().toString(
                             QDateTime(QDate(2000, 12, 28), QTime(20, 58)), QLocale::ShortFormat)) +
                         2 * metrics.averageCharWidth();
        const QAbstractItemView* items = view;  // its size hints are public there
        int wanted = 0;
        for (int i = 0; i < header->count(); ++i) {
            if (header->isSectionHidden(i)) continue;
            const bool last = i == header->count() - 1;  // the date
            int width = std::max(header->sectionSizeHint(i), last ? date : 0);
            if (listed) width = std::max(width, items->sizeHintForColumn(i));
            if (header->sectionSize(i) < width) header->resizeSection(i, width);
            wanted += header->sectionSize(i);
        }
        missing = std::max(missing, wanted - view->viewport()->width());
    }
    // Only a dialog that is shown has laid out its views.
    if (missing <= 0 || !dialog.isVisible()) return;
    const QScreen* screen = dialog.screen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int width = std::min(dialog.width() + missing, room.width() * 9 / 10);
    if (width <= dialog.width()) return;
    dialog.move(std::max(room.left(), dialog.x() - (width - dialog.width()) / 2), dialog.y());  // same centre
    dialog.resize(width, dialog.height());
}

// Gives the columns room as the dialog is shown (laid out, not yet on the
// screen) and again whenever the folder it shows has been read.
class ColumnsRoom : public QObject {
public:
    explicit ColumnsRoom(QFileDialog& dialog) : QObject(&dialog), m_Dialog(dialog) {
        GiveColumnsRoom(dialog, false);
        dialog.installEventFilter(this);
        if (auto* model = dialog.findChild<QFileSystemModel*>())
            connect(model, &QFileSystemModel::directoryLoaded, this, [this] { GiveColumnsRoom(m_Dialog, true); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_Dialog && event->type() == QEvent::Show) GiveColumnsRoom(m_Dialog, false);
        return false;
    }

private:
    QFileDialog& m_Dialog;
};

}  // namespace

std::optional<platform::FileDialogAnswer> QtHost::ShowFileDialog(const platform::FileDialogRequest& request,
                                                                  bool save) {
    const QStringList filters = QtFilter(request.Filter).split(QStringLiteral(";;"));
    QFileDialog dialog(m_Owner, request.Title, request.InitialDir);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
    dialog.setNameFilters(filters);
    // Pairs count from 1; 0 or one past the list shows the first.
    dialog.selectNameFilter(filters.value(request.FilterIndex > 0 ? request.FilterIndex - 1 : 0, filters.value(0)));
    new ColumnsRoom(dialog);  // owned by the dialog
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QString path = dialog.selectedFiles().value(0);
    if (path.isEmpty()) return std::nullopt;
    const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
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

void QtHost::KeepSoundReady(bool ready) {
    if (ready) m_Sound->OpenDevice();
    else m_Sound->ReleaseDevice();
}

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
