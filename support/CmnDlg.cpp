#include "support/CmnDlg.h"

#include "support/StrUtils.h"

#include <QFileInfo>

namespace support {

namespace {

// The flag that asks before a save replaces an existing file.
constexpr int32_t kOverwritePrompt = 0x2;

void Accept(CmnDlgInfo& dlg, const platform::FileDialogAnswer& answer) {
    dlg.FileName = StripNull(answer.Path);
    QString title = QFileInfo(dlg.FileName).fileName();
    while (title.startsWith(QLatin1Char(' '))) title.remove(0, 1);
    dlg.FileTitle = title;
    dlg.FilterIndex = answer.FilterIndex;
}

platform::FileDialogRequest RequestOf(const CmnDlgInfo& dlg) {
    return {dlg.Filter, dlg.InitDir, dlg.DialogTitle, dlg.FilterIndex, (dlg.Flags & kOverwritePrompt) != 0};
}

}  // namespace

void ShowOpen(platform::Host& host, CmnDlgInfo& dlg) {
    if (const auto answer = host.ShowOpenFile(RequestOf(dlg))) Accept(dlg, *answer);
}

void ShowSave(platform::Host& host, CmnDlgInfo& dlg) {
    if (const auto answer = host.ShowSaveFile(RequestOf(dlg))) Accept(dlg, *answer);
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
