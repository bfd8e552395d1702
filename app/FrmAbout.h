// The about window " Sobre o Zelvano": product name, systems, version,
// maker, and two links to the maker's pages opened in the web browser.
#pragma once

#include "platform/Host.h"

#include <QCursor>
#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

// The maker's pages the two links open.
inline const QString kFaqUrl = QStringLiteral("https://example.com/zelvano/faq");
inline const QString kContactUrl = QStringLiteral("https://example.com/zelvano/contato");

// The version as the about window shows it.
QString AboutVersionText();

// The hand pointer over the links, with its hot spot at the fingertip as
// the picture records it; the platform's pointing hand when it is missing.
QCursor HandCursor();

class FrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit FrmAbout(platform::Host& host, QWidget* parent = nullptr);

    void Form_Load();
    void Command1_Click();
    void Label11_Click();
    void Label6_Click();

    QLabel* Label2() const { return m_Label2; }
    QLabel* Label5() const { return m_Label5; }
    QLabel* Label8() const { return m_Label8; }
    QGroupBox* Frame1() const { return m_Frame1; }
    QLabel* Label3() const { return m_Label3; }
    QLabel* Label11() const { return m_Label11; }
    QLabel* Label6() const { return m_Label6; }
    QPushButton* Command1() const { return m_Command1; }

private:
    platform::Host& m_Host;
    QLabel* m_Label2 = nullptr;
    QLabel* m_Label5 = nullptr;
    QLabel* m_Label8 = nullptr;
    QGroupBox* m_Frame1 = nullptr;
    QLabel* m_Label3 = nullptr;
    QLabel* m_Label11 = nullptr;
    QLabel* m_Label6 = nullptr;
    QPushButton* m_Command1 = nullptr;
};
