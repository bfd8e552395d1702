#include "widgets/Skin.h"

#include "platform/FileReader.h"

#include <QWidget>

bool Skin::OpenSkinFile(const QString& path) {
    m_StyleSheet.clear();
    // A style sheet is a few kilobytes; anything else named so is no skin.
    const platform::FileBytes file = platform::ReadFileWhole(path, 1 << 20);
    if (file.Result != platform::ReadResult::Read) return false;
    m_StyleSheet = QString::fromUtf8(file.Bytes);
    return !m_StyleSheet.isEmpty();
}

void Skin::AttachWindow(QWidget* window) const {
    if (window && !m_StyleSheet.isEmpty()) window->setStyleSheet(m_StyleSheet);
}
