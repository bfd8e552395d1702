// The Host of the running program: Qt's message boxes and dialogs, the
// sound player, the clocks, the screen and the event loop.
#pragma once

#include "platform/Host.h"

#include <QElapsedTimer>

#include <initializer_list>
#include <memory>

class QWidget;

namespace platform {
class SoundPlayer;
}

class QtHost : public platform::Host {
public:
    QtHost();
    ~QtHost() override;

    // The window that owns the dialogs (the main window once it exists).
    void SetOwner(QWidget* owner) { m_Owner = owner; }

    platform::MsgAnswer ShowMessage(const platform::MessageBox& box) override;
    std::optional<platform::FileDialogAnswer> ShowOpenFile(const platform::FileDialogRequest& request) override;
    std::optional<platform::FileDialogAnswer> ShowSaveFile(const platform::FileDialogRequest& request) override;
    std::optional<int32_t> ShowColor(int32_t initial, bool fullOpen, std::array<int32_t, 16>& custom) override;
    void PlaySound(const QByteArray& wave) override;
    void KeepSoundReady(bool ready) override;
    // Turns the given sounds into what the audio device plays, so that
    // their cues only start and stop it.
    void PrepareSounds(std::initializer_list<QByteArray> waves);
    // Ends the sound playing and lets the audio device go, before the
    // application object does; later cues play nothing.
    void CloseSound();
    double MonotonicSeconds() override;
    double TimeOfDay() override;
    QSize ScreenSize() override;
    bool DoEvents() override;
    void Quit() override;
    void SetBusyPointer(bool busy) override;
    void OpenUrl(const QString& url) override;

    // "desc|pattern|desc|pattern" as a Qt name filter list.
    static QString QtFilter(const QString& filter);

private:
    std::optional<platform::FileDialogAnswer> ShowFileDialog(const platform::FileDialogRequest& request, bool save);

    QWidget* m_Owner = nullptr;
    QElapsedTimer m_Clock;
    bool m_Busy = false;
    bool m_Quitting = false;
    std::unique_ptr<platform::SoundPlayer> m_Sound;
};
