#include "app/FrmSplash.h"
#include "app/PlatformDialogs.h"
#include "app/QtHost.h"
#include "app/frmMain.h"
#include "game/GameState.h"
#include "platform/EndProcess.h"

#include <QApplication>
#include <QIcon>

#include <memory>

namespace {

int Run(int argc, char* argv[]) {
    UseBrazilianLocale();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelvano"));
    UseQtDialogsInPortuguese();
    QIcon icon;
    for (const char* file : {":/icon16.png", ":/icon32.png", ":/icon48.png"}) icon.addFile(QString::fromLatin1(file));
    QApplication::setWindowIcon(icon);

    QtHost host;
    game::GameState state;
    std::unique_ptr<frmMain> main;
    // The start-up window loads the main window behind itself and shows it
    // when its time is up.
    auto loadMain = [&] {
        if (main) return;
        main = std::make_unique<frmMain>(state, host);
        main->setWindowIcon(icon);
        host.SetOwner(main.get());
        main->Form_Load();
        host.PrepareSounds({state.SndClick, state.SndGiro, state.SndRotate, state.SndComplete});
        // The audio device is open only while the sounds are on.
        host.KeepSoundReady(main->SoundsChecked());
    };
    auto showMain = [&]() -> QWidget* {
        loadMain();
        main->Maximize();
        main->show();
        return main.get();
    };
    auto* splash = new FrmSplash(host, loadMain, showMain);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->Form_Load();
    splash->show();
    const int result = app.exec();
    // The window goes first, so that nothing plays a cue while the audio
    // shuts down; the audio goes while the application object still lives.
    main.reset();
    host.CloseSound();
    return result;
}

}  // namespace

int main(int argc, char* argv[]) { platform::EndProcess(Run(argc, argv)); }
