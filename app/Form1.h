// The help window "Como Jogar": three headings, each with a short
// instruction, on a white panel. Closed with its frame's close box.
#pragma once

#include <QDialog>

#include <array>

class QLabel;
class Skin;

// The six label texts, headings and instructions in turn. The first
// instruction keeps the lone carriage return between its two sentences.
const std::array<QString, 6>& HelpTexts();

// A label text as shown: a carriage return not followed by a line feed
// breaks the line, as it did where the text was written.
QString DisplayedText(const QString& text);

class Form1 : public QDialog {
    Q_OBJECT
public:
    // `skin` is the main window's skin, given to this window at load.
    explicit Form1(const Skin* skin, QWidget* parent = nullptr);

    void Form_Load();

    QWidget* Picture1() const { return m_Picture1; }
    QLabel* Label(int n) const { return m_Labels.at(static_cast<size_t>(n - 1)); }
    // The texts as set at load, before display.
    const QString& Caption(int n) const { return m_Captions.at(static_cast<size_t>(n - 1)); }

private:
    const Skin* m_Skin;
    QWidget* m_Picture1 = nullptr;
    std::array<QLabel*, 6> m_Labels{};
    std::array<QString, 6> m_Captions{};
};
