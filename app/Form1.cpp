#include "app/Form1.h"

#include "app/Module1.h"
#include "support/Twips.h"
#include "widgets/Skin.h"

#include <QLabel>

using support::Px;

namespace {

struct LabelPlace {
    int Left, Top, Width, Height;
    bool Bold;
};

constexpr std::array<LabelPlace, 6> kPlaces{{
    {135, 105, 6555, 270, true},
    {135, 390, 6555, 1320, false},
    {120, 1845, 6555, 270, true},
    {120, 2130, 6555, 705, false},
    {120, 2985, 6555, 255, true},
    {120, 3255, 6555, 585, false},
}};

}  // namespace

const std::array<QString, 6>& HelpTexts() {
    static const std::array<QString, 6> texts{
        QStringLiteral("Novo jogo:"),
        QStringLiteral("Clique em Menu/Jogo/Novo Jogo/Nível, selecione uma imagem e clique em OK para iniciar.") +
            QLatin1Char('\r') +
            QStringLiteral("Você pode selecionar qualquer imagem no formato: BMP, JPG, GIF que possuir, bastando "
                           "selecionar a unidade de disco e a pasta desejada na tela de novo jogo."),
        QStringLiteral("Para mover a peça:"),
        QStringLiteral("Clique na peça e arraste até o local desejado então solte o botão do mouse."),
        QStringLiteral("Para girar a peça:"),
        QStringLiteral("Clique na peça com o botão esquerdo do mouse e, mantendo o botão esquerdo apertado, aperte o "
                       "botão direito"),
    };
    return texts;
}

QString DisplayedText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            out += QLatin1Char('\n');
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
        } else {
            out += c;
        }
    }
    return out;
}

Form1::Form1(const Skin* skin, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_Skin(skin) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Como Jogar"));
    setFixedSize(Px(7080), Px(4335));

    m_Picture1 = new QWidget(this);
    m_Picture1->setObjectName(QStringLiteral("Picture1"));
    m_Picture1->setGeometry(Px(105), Px(150), Px(6840), Px(4095));
    m_Picture1->setAutoFillBackground(true);
    QPalette white = m_Picture1->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_Picture1->setPalette(white);

    for (size_t i = 0; i < m_Labels.size(); ++i) {
        const LabelPlace& p = kPlaces[i];
        auto* label = new QLabel(m_Picture1);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setGeometry(Px(p.Left), Px(p.Top), Px(p.Width), Px(p.Height));
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setAutoFillBackground(true);
        QPalette grey = label->palette();
        grey.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
        grey.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(grey);
        QFont font(QStringLiteral("MS Sans Serif"));
        font.setPointSizeF(9.75);
        font.setBold(p.Bold);
        label->setFont(font);
        label->setText(QStringLiteral("Label%1").arg(i + 1));
        m_Labels[i] = label;
    }
    Form_Load();
}

void Form1::Form_Load() {
    if (m_Skin) m_Skin->AttachWindow(this);
    for (size_t i = 0; i < m_Labels.size(); ++i) {
        m_Captions[i] = HelpTexts()[i];
        m_Labels[i]->setText(DisplayedText(m_Captions[i]));
    }
    CenterForm(*this);
}
