#include "app/PlatformDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QTranslator>
#include <QtMath>

#include <algorithm>
#include <functional>
#include <optional>

using platform::MsgButtons;
using platform::MsgIcon;

namespace {

const QString kEllipsis = QStringLiteral("…");

// How a box lays its text out: a line breaks between words, and a path also
// after each "/"; a word wider than a line (a long name) breaks anywhere.
// The breaks are the layout's own: the text keeps its characters, so that
// what a player copies from it is the message as written.
void LayOutAsTheBox(QTextDocument& document, const QFont& font) {
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
}

// The room `text` takes wrapped at `width` pixels: its longest line, and
// all its lines.
QSize WrappedSize(const QString& text, const QFont& font, int width) {
    QTextDocument document;
    LayOutAsTheBox(document, font);
    document.setPlainText(text);
    document.setTextWidth(width);
    return {qCeil(document.idealWidth()), qCeil(document.size().height())};
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

// The text of a box, shown as LayOutAsTheBox lays it out, as wide as its
// longest line (at most `width`) and as tall as all its lines. It looks like
// a label, without a caret; the player may select any of it with the mouse
// (or all of it with Ctrl+A once clicked) and copy it.
class MessageText final : public QTextEdit {
public:
    MessageText(const QString& text, const QFont& font, int width, QWidget* parent) : QTextEdit(parent) {
        setObjectName(QStringLiteral("MessageText"));
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setReadOnly(true);
        setAcceptRichText(false);
        setTextInteractionFlags(Qt::TextSelectableByMouse);
        setFocusPolicy(Qt::ClickFocus);
        QPalette colours = palette();
        colours.setBrush(QPalette::Base, colours.window());
        colours.setBrush(QPalette::Text, colours.windowText());
        setPalette(colours);
        viewport()->setAutoFillBackground(false);
        setFont(font);
        LayOutAsTheBox(*document(), font);
        setPlainText(text);
        // The text is laid out again at the width it is given.
        const QSize size = WrappedSize(text, font, width);
        setFixedSize(std::clamp(size.width(), 1, width), size.height());
    }
};

// A box whose Ctrl+C, pressed anywhere but in its text, copies its message
// whole and as written, even where the box shows it shortened.
class CopyableMessageBox final : public QMessageBox {
public:
    CopyableMessageBox(QString message, QWidget* owner) : QMessageBox(owner), m_Message(std::move(message)) {}

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->matches(QKeySequence::Copy)) {
            QGuiApplication::clipboard()->setText(m_Message);
            return;
        }
        QMessageBox::keyPressEvent(e);
    }

private:
    QString m_Message;
};

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

QString FitMessageText(const QString& text, const QFont& font, int width, int height) {
    width = std::max(width, 1);
    const QFontMetrics metrics(font);
    // The most characters the box can show: a full line of the narrowest
    // likely characters on every line it has room for. A longer word cannot
    // show whole, and a text whose start is too tall already is not measured
    // further (twice as far, for marks that take no room of their own).
    const qsizetype perLine = width / std::max(1, metrics.averageCharWidth() / 3) + 1;
    const qsizetype most = perLine * (height / std::max(1, metrics.lineSpacing()) + 1);
    const auto fits = [&](const QString& candidate) {
        const QString start = candidate.left(2 * most);
        if (WrappedSize(start, font, width).height() > height) return false;
        return candidate.size() == start.size() || WrappedSize(candidate, font, width).height() <= height;
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
                if (wide[i][k]) words[k] = KeepEnds(words[k], keep);
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
    auto mb = std::make_unique<CopyableMessageBox>(box.Text, owner);
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
    QLabel* label = mb->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    const QFont font = label ? label->font() : mb->font();
    const QString shown = FitMessageText(box.Text, font, textWidth, textHeight);
    mb->setText(shown);

    // The box sizes itself to its layout when shown; a spacer as wide as the
    // title bar needs keeps it from being narrower. The text shows in the
    // label's place, wrapped without a character added.
    if (auto* grid = qobject_cast<QGridLayout*>(mb->layout())) {
        if (const int at = label ? grid->indexOf(label) : -1; at >= 0) {
            int row = 0, column = 0, rows = 1, columns = 1;
            grid->getItemPosition(at, &row, &column, &rows, &columns);
            label->hide();
            grid->addWidget(new MessageText(shown, font, textWidth, mb.get()), row, column, rows, columns,
                            label->alignment());
        }
        const int width = std::min(TitleBarWidth(title), room.width() - 40);
        const QMargins m = grid->contentsMargins();
        grid->addItem(new QSpacerItem(std::max(0, width - m.left() - m.right()), 0, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return mb;
}
