#include "widgets/Skin.h"

#include <QFile>
#include <QWidget>

bool Skin::OpenSkinFile(const QString& path) {
    m_StyleSheet.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    m_StyleSheet = QString::fromUtf8(file.readAll());
    return !m_StyleSheet.isEmpty();
}

void Skin::AttachWindow(QWidget* window) const {
    if (window && !m_StyleSheet.isEmpty()) window->setStyleSheet(m_StyleSheet);
}
