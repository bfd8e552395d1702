#include "chooser/DirList.h"

#include <QDir>
#include <QFileInfo>
#include <QStyle>

namespace chooser {

std::vector<DirEntry> DirListEntries(const QString& path, const QStringList& subfolders) {
    std::vector<DirEntry> entries;
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    entries.push_back({QStringLiteral("/"), QStringLiteral("/"), 0});
    QString at;
    for (int i = 0; i < parts.size(); ++i) {
        at += QLatin1Char('/') + parts[i];
        entries.push_back({at, parts[i], i + 1});
    }
    const int depth = static_cast<int>(parts.size()) + 1;
    const QString base = parts.isEmpty() ? QString() : at;
    for (const QString& name : subfolders) entries.push_back({base + QLatin1Char('/') + name, name, depth});
    return entries;
}

DirList::DirList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (item) SetPath(item->data(Qt::UserRole).toString());
    });
}

bool DirList::SetPath(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable()) return false;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    if (clean == m_Path) return true;
    m_Path = clean;
    Refill();
    if (Change) Change();
    return true;
}

void DirList::Refill() {
    clear();
    const QStringList subfolders =
        QDir(m_Path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (const DirEntry& e : DirListEntries(m_Path, subfolders)) {
        auto* item = new QListWidgetItem(QString(e.Depth * 2, QLatin1Char(' ')) + e.Caption, this);
        item->setData(Qt::UserRole, e.Path);
        const bool shown = e.Path == m_Path;
        item->setIcon(e.Path.size() <= m_Path.size() ? open : closed);
        if (shown) setCurrentItem(item);
    }
}

}  // namespace chooser
