// The program's own Host, offscreen: its file dialogs are Qt's real ones,
// answered here by a timer that finds the modal window on the screen, and
// its event loop ends for good once the program quits.
#include "app/QtHost.h"

#include "app/PlatformDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace {

// Answers the modal windows that open while it lives, in turn: each step
// gets the next one that shows; one without a step left is closed.
class ModalAnswers {
public:
    explicit ModalAnswers(std::deque<std::function<void(QWidget*)>> steps) : m_Steps(std::move(steps)) {
        QObject::connect(&m_Timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == m_Last) return;
            m_Last = modal;
            Seen.append(QString::fromLatin1(modal->metaObject()->className()));
            if (m_Steps.empty()) {
                modal->close();
                return;
            }
            const auto step = std::move(m_Steps.front());
            m_Steps.pop_front();
            step(modal);
        });
        m_Timer.start(5);
    }

    QStringList Seen;  // the kinds of the modal windows met

private:
    std::deque<std::function<void(QWidget*)>> m_Steps;
    QTimer m_Timer;
    QPointer<QWidget> m_Last;
};

// Qt's file dialog comes back as it was last left (its column widths too),
// from settings that the tests keep apart from the user's: a fresh start.
void ForgetFileDialogs() {
    QSettings(QSettings::UserScope, QStringLiteral("QtProject")).remove(QStringLiteral("FileDialog"));
}

// Chooses `file` in the file dialog and presses its button; later than now,
// so that a question it asks is a modal window of its own for the timer.
void Choose(QWidget* modal, const QString& file, const QString& filter = QString()) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    if (!filter.isEmpty()) dialog->selectNameFilter(filter);
    dialog->selectFile(file);
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
}

TEST(QtHost, SaveDialogReplacesAFileWithoutAskingUnlessAsked) {
    QTemporaryDir dir;
    const QString file = dir.filePath("jogo.pzl");
    QFile existing(file);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    ForgetFileDialogs();
    QtHost host;
    for (const bool confirm : {false, true}) {
        ModalAnswers answers({[&](QWidget* w) { Choose(w, file); },
                              [](QWidget* w) {
                                  auto* box = qobject_cast<QMessageBox*>(w);
                                  ASSERT_NE(box, nullptr);
                                  box->button(QMessageBox::Yes)->click();
                              }});
        const platform::FileDialogRequest request{"Zelvano (*.pzl)|*.pzl", dir.path(), QString(), 0, confirm};
        const auto answer = host.ShowSaveFile(request);
        ASSERT_TRUE(answer) << confirm;
        EXPECT_EQ(answer->Path, file) << confirm;
        const QStringList asked = confirm ? QStringList{"QFileDialog", "QMessageBox"} : QStringList{"QFileDialog"};
        EXPECT_EQ(answers.Seen, asked) << confirm;
    }
}

// The filter pairs count from 1, asked for and answered; the dialog shows
// its column titles whole and dates as they are written in Brazil.
TEST(QtHost, FileDialogCountsFiltersFromOneAndShowsItsColumns) {
    ASSERT_TRUE(UseQtDialogsInPortuguese());  // as the program does
    QTemporaryDir dir;
    ForgetFileDialogs();
    QtHost host;
    const QString pzl = "Zelvano (*.pzl)";
    const QString txt = "Texto (*.txt)";
    QString shownFirst;
    ModalAnswers answers({[&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        shownFirst = dialog->selectedNameFilter();
        for (const QTreeView* view : dialog->findChildren<QTreeView*>()) {
            const QHeaderView* header = view->header();
            for (int i = 0; i < header->count(); ++i) {
                const QString title = header->model()->headerData(i, Qt::Horizontal).toString();
                const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
                EXPECT_GE(header->sectionSize(i), header->fontMetrics().horizontalAdvance(title) + margins)
                    << title.toStdString();
            }
        }
        Choose(w, dir.filePath("jogo.pzl"), pzl);
    }});
    const auto answer =
        host.ShowSaveFile({"Zelvano (*.pzl)|*.pzl|Texto (*.txt)|*.txt", dir.path(), QString(), 2, false});
    EXPECT_EQ(shownFirst, txt);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->FilterIndex, 1);
    EXPECT_EQ(answers.Seen, QStringList{"QFileDialog"});
    // Qt's file dialogs write their dates with the system locale.
    const QDateTime when(QDate(2023, 12, 9), QTime(17, 5));
    EXPECT_EQ(QLocale::system().toString(when, QLocale::ShortFormat),
              QLocale(QLocale::Portuguese, QLocale::Brazil).toString(when, QLocale::ShortFormat));
}

TEST(QtHost, DoEventsRunsNothingOnceAQuitRanInsideIt) {
    QtHost host;
    EXPECT_TRUE(host.DoEvents());
    QTimer::singleShot(0, [&] { host.Quit(); });
    EXPECT_FALSE(host.DoEvents());
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    EXPECT_FALSE(host.DoEvents());
    EXPECT_FALSE(ran);
    // The quit ends every event loop started from now on; a loop of the
    // application's own lets the tests after this one run theirs again.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    QCoreApplication::processEvents();
}

}  // namespace
