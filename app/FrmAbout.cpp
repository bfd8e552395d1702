#include "app/FrmAbout.h"

#include "app/FrmSplash.h"
#include "app/Module1.h"
#include "support/Twips.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>
#include <functional>

using support::Px;

namespace {

// A label that acts on a left click.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, std::function<void()> onClick, QWidget* parent)
        : QLabel(text, parent), m_OnClick(std::move(onClick)) {}

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        QLabel::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && m_OnClick) m_OnClick();
    }

private:
    std::function<void()> m_OnClick;
};

QLabel* PlaceLabel(QLabel* label, const char* name, int left, int top, int width, int height) {
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(Px(left), Px(top), Px(width), Px(height));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QFont SansSerif(double points, bool bold = false) {
    QFont font;
    // Where the window's own face is missing, a narrow one keeps the texts
    // close to the widths the layout was made for.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans Condensed")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Room the layout leaves between a text and its window's right edge, and
// between the two links side by side.
constexpr int kEdgeMargin = Px(90);
constexpr int kLinkGap = Px(180);

int TextRight(const QLabel* label) { return label->x() + label->fontMetrics().horizontalAdvance(label->text()); }

// Widens a label whose text would be cut, keeping it off its parent's right
// edge: the substitute face may be wider than the one the layout was made
// for. A label whose text fits keeps its place.
void FitToText(QLabel* label) {
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 2;
    if (needed <= label->width()) return;
    QRect r = label->geometry();
    r.setWidth(needed);
    const int room = label->parentWidget() ? label->parentWidget()->width() - kEdgeMargin : r.right() + 1;
    if (r.right() >= room) r.moveLeft(std::max(0, room - r.width()));
    label->setGeometry(r);
}

// Moves `right` along so that its text starts clear of the text of `left`
// on the same line, as far as its parent has room.
void KeepApart(const QLabel* left, QLabel* right) {
    const int wanted = TextRight(left) + kLinkGap;
    if (right->x() >= wanted) return;
    const int room = right->parentWidget()->width() - kEdgeMargin - right->fontMetrics().horizontalAdvance(right->text());
    right->move(std::max(right->x(), std::min(wanted, room)), right->y());
}

void SetTextColor(QLabel* label, const QColor& color) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, color);
    label->setPalette(p);
}

void StyleLink(QLabel* label) {
    QFont font = SansSerif(8.25);
    font.setUnderline(true);
    label->setFont(font);
    SetTextColor(label, QColor(0x00, 0x00, 0xFF));
    label->setCursor(HandCursor());
}

}  // namespace

QString AboutVersionText() { return QStringLiteral("Versão ") + VersionText(); }

QCursor HandCursor() {
    const QImage hand(QStringLiteral(":/hand.png"));
    if (hand.isNull()) return QCursor(Qt::PointingHandCursor);
    bool okX = false;
    bool okY = false;
    const int x = hand.text(QStringLiteral("HotSpotX")).toInt(&okX);
    const int y = hand.text(QStringLiteral("HotSpotY")).toInt(&okY);
    // Without a recorded hot spot, the top-left corner is the safest guess.
    if (!okX || !okY || x < 0 || y < 0 || x >= hand.width() || y >= hand.height())
        return QCursor(QPixmap::fromImage(hand), 0, 0);
    return QCursor(QPixmap::fromImage(hand), x, y);
}

FrmAbout::FrmAbout(platform::Host& host, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_Host(host) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral(" Sobre o Zelvano"));
    setFixedSize(Px(4785), Px(2940));

    m_Label2 = PlaceLabel(new QLabel(QStringLiteral("Zelvano"), this), "Label2", 60, 60, 2310, 300);
    m_Label2->setFont(SansSerif(12, true));
    m_Label5 = PlaceLabel(new QLabel(QStringLiteral("Para Windows 95/98/Me/NT/2000/XP"), this), "Label5", 75, 375,
                          2880, 210);
    m_Label8 = PlaceLabel(new QLabel(QStringLiteral("Versão 1.5"), this), "Label8", 3930, 540, 765, 195);
    m_Label5->setFont(SansSerif(8.25));
    m_Label8->setFont(SansSerif(8.25));

    m_Frame1 = new QGroupBox(this);
    m_Frame1->setObjectName(QStringLiteral("Frame1"));
    m_Frame1->setGeometry(Px(15), Px(705), Px(4755), Px(1845));

    m_Label3 = PlaceLabel(new QLabel(QStringLiteral("Software produzido por: Valtrino"), m_Frame1), "Label3", 150, 225,
                          3585, 195);
    m_Label3->setFont(SansSerif(8.25));
    SetTextColor(m_Label3, QColor(0x40, 0x40, 0x40));
    m_Label11 = PlaceLabel(new LinkLabel(QStringLiteral("Respostas para as perguntas mais frequentes"),
                                         [this] { Label11_Click(); }, m_Frame1),
                           "Label11", 105, 1470, 3255, 255);
    StyleLink(m_Label11);
    m_Label6 = PlaceLabel(new LinkLabel(QStringLiteral("Fale conosco"), [this] { Label6_Click(); }, m_Frame1),
                          "Label6", 3540, 1470, 975, 255);
    StyleLink(m_Label6);

    m_Command1 = new QPushButton(QStringLiteral("&OK"), this);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    m_Command1->setGeometry(Px(3600), Px(2610), Px(1155), Px(300));
    m_Command1->setDefault(true);
    connect(m_Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    Form_Load();
}

void FrmAbout::Form_Load() {
    CenterForm(*this);
    m_Label8->setText(AboutVersionText());
    for (QLabel* label : {m_Label2, m_Label5, m_Label8, m_Label3, m_Label11, m_Label6}) FitToText(label);
    KeepApart(m_Label11, m_Label6);
}

void FrmAbout::Command1_Click() { accept(); }

void FrmAbout::Label11_Click() { m_Host.OpenUrl(kFaqUrl); }

void FrmAbout::Label6_Click() { m_Host.OpenUrl(kContactUrl); }
