#include "app/PlatformDialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QTranslator>

#include <algorithm>

using platform::MsgButtons;
using platform::MsgIcon;

namespace {

const QString kEllipsis = QStringLiteral("…");

int WrappedHeight(const QString& text, const QFontMetrics& metrics, int width) {
    return metrics.boundingRect(QRect(0, 0, width, 1 << 24), Qt::TextWordWrap, text).height();
}

// A word wider than a line: its start and its end, which name a path best,
// around an ellipsis.
QString FitWord(const QString& word, const QFontMetrics& metrics, int width) {
    // No character is narrower than a pixel worth keeping, so a line never
    // holds more characters than pixels; measure no more than that.
    const QString cut = word.size() > 2 * width ? word.left(width) + word.right(width) : word;
    if (metrics.horizontalAdvance(cut) <= width) return cut;
    return metrics.elidedText(cut, Qt::ElideMiddle, width);
}

}  // namespace

bool InstallPlatformTranslations() {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QString FitMessageText(const QString& text, const QFontMetrics& metrics, int width, int height) {
    width = std::max(width, 1);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        QStringList words = line.split(QLatin1Char(' '));
        for (QString& word : words)
            if (word.size() > 1 && metrics.horizontalAdvance(word.left(2 * width + 1)) > width)
                word = FitWord(word, metrics, width);
        line = words.join(QLatin1Char(' '));
    }
    QString fitted = lines.join(QLatin1Char('\n'));
    if (WrappedHeight(fitted, metrics, width) <= height) return fitted;

    // The most the box can show: a full line of the narrowest likely
    // characters on every line it has room for. Beyond that, a longer
    // prefix is never measured.
    const int perLine = width / std::max(1, metrics.averageCharWidth() / 2) + 1;
    const int rows = height / std::max(1, metrics.lineSpacing()) + 1;
    qsizetype low = 0;
    qsizetype high = std::min<qsizetype>(fitted.size(), qsizetype(perLine) * rows);
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (WrappedHeight(fitted.left(mid) + kEllipsis, metrics, width) <= height)
            low = mid;
        else
            high = mid - 1;
    }
    return fitted.left(low) + kEllipsis;
}

int TitleBarWidth(const QString& title) {
    // The window manager's title font is unknown here: a bold face of the
    // application's title-bar font, a little larger, stands in for it. Its
    // buttons (window menu, minimise, maximise, close) and its margins take
    // about five title-bar heights.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.15);
    const int bar = std::max(QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight), 20);
    return QFontMetrics(font).horizontalAdvance(title) + 5 * bar;
}

std::unique_ptr<QMessageBox> MakeMessageBox(const platform::MessageBox& box, QWidget* owner) {
    auto mb = std::make_unique<QMessageBox>(owner);
    const QString title = box.Title.isEmpty() ? QStringLiteral("Zelvano") : box.Title;
    mb->setWindowTitle(title);
    switch (box.Icon) {
        case MsgIcon::Critical: mb->setIcon(QMessageBox::Critical); break;
        case MsgIcon::Question: mb->setIcon(QMessageBox::Question); break;
        case MsgIcon::Exclamation: mb->setIcon(QMessageBox::Warning); break;
        case MsgIcon::Information: mb->setIcon(QMessageBox::Information); break;
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
    mb->setStandardButtons(set);
    mb->setDefaultButton(buttons.value(box.DefaultSecond && buttons.size() > 1 ? 1 : 0));

    // Texts name files the player chose: never markup.
    mb->setTextFormat(Qt::PlainText);
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // The box wraps its text at about half the screen (at most 500 pixels);
    // the icon, the margins, the buttons and the title bar take the rest.
    const int textWidth = std::max(100, std::min(room.width() / 2, 500) - 110);
    const int textHeight = std::max(60, room.height() - 220);
    const QLabel* label = mb->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    const QFontMetrics metrics = label ? label->fontMetrics() : mb->fontMetrics();
    mb->setText(FitMessageText(box.Text, metrics, textWidth, textHeight));

    // The box sizes itself to its layout when shown; a spacer as wide as the
    // title bar needs keeps it from being narrower.
    if (auto* grid = qobject_cast<QGridLayout*>(mb->layout())) {
        const int width = std::min(TitleBarWidth(title), room.width() - 40);
        const QMargins m = grid->contentsMargins();
        grid->addItem(new QSpacerItem(std::max(0, width - m.left() - m.right()), 0, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return mb;
}
