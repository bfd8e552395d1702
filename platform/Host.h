// Everything the game asks of a person or of the machine: message boxes,
// file and colour dialogs, sounds, the clock, the screen, letting pending
// events run, ending the program, the pointer shape and opening a web page.
// The program uses the Qt implementation (QtHost); tests use a scripted one
// that answers dialogs and records what was shown and played.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace platform {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MessageBox {
    QString Text;
    QString Title;  // empty: the application's title
    MsgButtons Buttons = MsgButtons::Ok;
    MsgIcon Icon = MsgIcon::None;
    bool DefaultSecond = false;  // the second button is the default one
};

// What a file dialog is asked for and what it answers.
struct FileDialogRequest {
    QString Filter;      // "description|pattern|description|pattern"
    QString InitialDir;  // folder the dialog opens in
    QString Title;       // empty: the platform's own title
    int32_t FilterIndex = 0;        // the pair shown first, from 1; 0 the first
    bool ConfirmOverwrite = false;  // ask before a save replaces a file
};

struct FileDialogAnswer {
    QString Path;             // the chosen full path
    int32_t FilterIndex = 1;  // the pair selected when the dialog closed, from 1
};

class Host {
public:
    virtual ~Host() = default;

    // A modal message box; returns the button chosen.
    virtual MsgAnswer ShowMessage(const MessageBox& box) = 0;
    // Modal file dialogs: the chosen file, or nullopt when cancelled.
    virtual std::optional<FileDialogAnswer> ShowOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogAnswer> ShowSaveFile(const FileDialogRequest& request) = 0;
    // The colour dialog: `initial` and the result are blue-green-red values;
    // `custom` are the 16 custom colours, which the dialog may change.
    // nullopt when cancelled.
    virtual std::optional<int32_t> ShowColor(int32_t initial, bool fullOpen,
                                             std::array<int32_t, 16>& custom) = 0;

    // Plays a complete WAVE file from memory without waiting; a sound still
    // playing is cut off. A sound that cannot be played is skipped silently.
    virtual void PlaySound(const QByteArray& wave) = 0;
    // Whether cues are wanted: the audio device is made ready for the next
    // one, or let go while there are none.
    virtual void KeepSoundReady(bool ready) { (void)ready; }

    // Seconds on a clock that never goes back (not the time of day).
    virtual double MonotonicSeconds() = 0;
    // Seconds since midnight, with fractions.
    virtual double TimeOfDay() = 0;

    // The screen size in pixels.
    virtual QSize ScreenSize() = 0;
    // Lets pending events run once. False once the program is ending: the
    // caller then stops what it was doing and returns, touching nothing more.
    virtual bool DoEvents() = 0;
    // Ends the program: its event loop stops, and from now on DoEvents lets
    // no event run.
    virtual void Quit() = 0;
    // The hourglass pointer (true) or the default one (false) on the main window.
    virtual void SetBusyPointer(bool busy) = 0;
    // Hands a web address to the platform's browser; failures are ignored.
    virtual void OpenUrl(const QString& url) = 0;
};

}  // namespace platform
