#include "support/CmnDlg.h"

#include "support/StrUtils.h"

#include <QFileInfo>

namespace support {

namespace {

void Accept(CmnDlgInfo& dlg, const QString& path) {
    dlg.FileName = StripNull(path);
    QString title = QFileInfo(dlg.FileName).fileName();
    while (title.startsWith(QLatin1Char(' '))) title.remove(0, 1);
    dlg.FileTitle = title;
}

platform::FileDialogRequest RequestOf(const CmnDlgInfo& dlg) { return {dlg.Filter, dlg.InitDir, dlg.DialogTitle}; }

}  // namespace

void ShowOpen(platform::Host& host, CmnDlgInfo& dlg) {
    if (const auto path = host.ShowOpenFile(RequestOf(dlg))) Accept(dlg, *path);
}

void ShowSave(platform::Host& host, CmnDlgInfo& dlg) {
    if (const auto path = host.ShowSaveFile(RequestOf(dlg))) Accept(dlg, *path);
}

QString ChangeExtension(const QString& fileName, const QString& extension) {
    const int slash = FindLast(fileName, QStringLiteral("/"));
    const QString folder = fileName.left(slash);
    const QString name = fileName.mid(slash);
    const int dot = FindLast(name, QStringLiteral("."));
    const QString base = folder + (dot > 0 ? name.left(dot - 1) : name);
    return extension.isEmpty() ? base : base + QLatin1Char('.') + extension;
}

QString StripNull(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

}  // namespace support
