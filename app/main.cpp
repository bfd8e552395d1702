#include "app/QtHost.h"
#include "app/frmMain.h"
#include "game/GameState.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelvano"));
    QtHost host;
    game::GameState state;
    frmMain main(state, host);
    host.SetOwner(&main);
    main.Form_Load();
    main.Maximize();
    main.show();
    return app.exec();
}
