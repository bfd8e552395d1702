// The chooser's folder list: the folders from the root down to the one
// shown, then that folder's subfolders. A double-click (or Enter) opens an
// entry; setting the path of a folder that cannot be opened fails and keeps
// the folder shown.
#pragma once

#include <QListWidget>
#include <QString>
#include <QStringList>

#include <functional>

namespace chooser {

struct DirEntry {
    QString Path;
    QString Caption;
    int Depth = 0;
};

// Entries for `path` (absolute, cleaned) with the given subfolder names.
std::vector<DirEntry> DirListEntries(const QString& path, const QStringList& subfolders);

class DirList : public QListWidget {
public:
    explicit DirList(QWidget* parent = nullptr);

    const QString& Path() const { return m_Path; }
    // Shows a folder; false when it cannot be opened. Change runs when the
    // folder shown becomes another one.
    bool SetPath(const QString& path);

    std::function<void()> Change;

private:
    void Refill();

    QString m_Path;
};

}  // namespace chooser
