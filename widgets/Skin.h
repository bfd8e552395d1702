// The skin of the main, help and chooser windows: "Puzzle.skn" beside the
// program is a Qt style sheet. A missing or unreadable skin leaves the
// platform's own look.
#pragma once

#include <QString>

class QWidget;

class Skin {
public:
    // Reads the skin file; returns false (and keeps no skin) when it cannot.
    bool OpenSkinFile(const QString& path);
    // Gives a top-level window the skin's look.
    void AttachWindow(QWidget* window) const;

    const QString& StyleSheet() const { return m_StyleSheet; }

private:
    QString m_StyleSheet;
};
