#include "app/PlatformDialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QTranslator>

#include <algorithm>
#include <functional>
#include <optional>

using platform::MsgButtons;
using platform::MsgIcon;

namespace {

const QString kEllipsis = QStringLiteral("…");
// A zero-width space: where a line may break, and nothing shows.
constexpr QChar kBreak(0x200B);

int WrappedHeight(const QString& text, const QFontMetrics& metrics, int width) {
    return metrics.boundingRect(QRect(0, 0, width, 1 << 24), Qt::TextWordWrap, text).height();
}

// `text` with its middle replaced by an ellipsis so that `keep` of its
// characters remain, its start and its end (which name a path best); a
// character written as two code units stays whole.
QString KeepEnds(const QString& text, qsizetype keep) {
    if (text.size() <= keep) return text;
    qsizetype head = keep - keep / 2;
    qsizetype tail = keep / 2;
    if (head > 0 && text[head - 1].isHighSurrogate()) --head;
    if (tail > 0 && text[text.size() - tail].isLowSurrogate()) --tail;
    return text.left(head) + kEllipsis + text.right(tail);
}

// A word wider than a line with places to break it: after every "/", and
// after every character of a name that is wider than a line by itself
// (never before a mark or inside a character written as two code units).
QString Breakable(const QString& word, const QFontMetrics& metrics, int width) {
    const QStringList names = word.split(QLatin1Char('/'));
    QString out;
    out.reserve(2 * word.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        if (i > 0) out += QLatin1Char('/');
        if (i > 0 && !names[i - 1].isEmpty()) out += kBreak;  // a root "/" stays with its first name
        if (metrics.horizontalAdvance(name) <= width) {
            out += name;
            continue;
        }
        for (qsizetype k = 0; k < name.size(); ++k) {
            out += name[k];
            if (k + 1 < name.size() && !name[k + 1].isLowSurrogate() && !name[k + 1].isMark()) out += kBreak;
        }
    }
    return out;
}

// The largest n from `low` to `high` for which `holds` does, given that it
// holds for `low` and, once it fails, fails for every larger n.
qsizetype Largest(qsizetype low, qsizetype high, const std::function<bool(qsizetype)>& holds) {
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (holds(mid))
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

}  // namespace

void UseBrazilianLocale() {
    // Qt reads the system locale (its languages too) from these once, when
    // first asked for it; the application object reads them again for the
    // C library.
    const char* const names[] = {"LC_ALL", "LANGUAGE"};
    std::optional<QByteArray> saved[2];
    for (int i = 0; i < 2; ++i)
        if (qEnvironmentVariableIsSet(names[i])) saved[i] = qgetenv(names[i]);
    qputenv("LC_ALL", "pt_BR.UTF-8");
    qputenv("LANGUAGE", "pt_BR");
    (void)QLocale::system().uiLanguages();
    for (int i = 0; i < 2; ++i) {
        if (saved[i])
            qputenv(names[i], *saved[i]);
        else
            qunsetenv(names[i]);
    }
}

bool UseQtDialogsInPortuguese() {
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
    // The most characters the box can show: a full line of the narrowest
    // likely characters on every line it has room for. A longer word cannot
    // show whole, and a text whose start is too tall already is not measured
    // further.
    const qsizetype perLine = width / std::max(1, metrics.averageCharWidth() / 3) + 1;
    const qsizetype most = perLine * (height / std::max(1, metrics.lineSpacing()) + 1);
    const auto fits = [&](const QString& candidate) {
        const QString start = candidate.left(2 * most);  // a break may follow every character
        if (WrappedHeight(start, metrics, width) > height) return false;
        return candidate.size() == start.size() || WrappedHeight(candidate, metrics, width) <= height;
    };

    // The words wider than a line are the ones broken, and shortened when
    // the text is too tall. No character is narrower than a pixel, so a
    // line never holds more characters than pixels: measure no more.
    QList<QStringList> lines;
    bool anyWide = false;
    QList<QList<bool>> wide;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        lines.append(line.split(QLatin1Char(' ')));
        QList<bool>& flags = wide.emplace_back();
        for (const QString& word : lines.back()) {
            flags.append(word.size() > 1 && metrics.horizontalAdvance(word.left(2 * width + 1)) > width);
            anyWide = anyWide || flags.back();
        }
    }
    const auto withWideWordsKeeping = [&](qsizetype keep) {
        QStringList out;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QStringList words = lines[i];
            for (qsizetype k = 0; k < words.size(); ++k)
                if (wide[i][k]) words[k] = Breakable(KeepEnds(words[k], keep), metrics, width);
            out.append(words.join(QLatin1Char(' ')));
        }
        return out.join(QLatin1Char('\n'));
    };

    const QString whole = withWideWordsKeeping(most);
    if (fits(whole)) return whole;
    // Too tall: the wide words lose their middles, as little as it takes, so
    // that the words around them still show.
    if (anyWide && fits(withWideWordsKeeping(1)))
        return withWideWordsKeeping(Largest(1, most, [&](qsizetype keep) { return fits(withWideWordsKeeping(keep)); }));
    // Too many words: the text keeps its start and its end.
    const qsizetype kept =
        Largest(0, std::min(whole.size(), 2 * most), [&](qsizetype keep) { return fits(KeepEnds(whole, keep)); });
    return KeepEnds(whole, kept);
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
