// The record callers fill before an open or save dialog and read after it,
// and the small file-name helpers of the saved-game commands.
#pragma once

#include "platform/Host.h"

#include <QString>

#include <cstdint>

namespace support {

struct CmnDlgInfo {
    void* hWndOwner = nullptr;  // owner of the dialogs (the main window)
    QString Filter;             // "description|pattern|description|pattern"
    QString FileTitle;          // out: the chosen file's name without its folder
    int32_t FilterIndex = 0;    // in/out
    QString FileName;           // out: the chosen full path; empty after a cancel
    QString InitDir;            // folder the dialog opens in
    QString DialogTitle;        // empty: the platform's own title
    int32_t Flags = 0;
};

// Show the dialog for `dlg`. A chosen file fills FileName, FileTitle and
// FilterIndex; a cancel changes nothing in the record. Only a Flags value
// with the overwrite-prompt bit (2) asks before a save replaces a file.
void ShowOpen(platform::Host& host, CmnDlgInfo& dlg);
void ShowSave(platform::Host& host, CmnDlgInfo& dlg);

// `fileName` with its extension replaced by `extension` (given without its
// dot); an empty extension removes it. Only the part after the last '/' is
// looked at for the dot.
QString ChangeExtension(const QString& fileName, const QString& extension);

// The text before its first NUL character.
QString StripNull(const QString& text);

}  // namespace support
