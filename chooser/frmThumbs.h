// The chooser window "Busca Imagens": drive and folder lists, the thumbnail
// grid that every folder change refills behind the busy animation, and the
// OK and Cancel buttons. A double-click on a thumbnail, or OK after a click,
// hands the picture to the new-game set-up; the window then unloads.
#pragma once

#include "game/GameState.h"
#include "platform/Host.h"

#include <QDialog>
#include <QMap>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class Skin;

namespace chooser {

class DirList;
class ThumbsCtl;
class ucFirefoxWait;

// The "Imagens" folder in the program's folder, whatever its letter case.
std::optional<QString> FindPictureFolder(const QString& appPath);
// The root of the volume that holds a path.
QString DriveOf(const QString& path);

class frmThumbs : public QDialog {
public:
    // The new-game set-up: the picture's path, and what hides this window.
    using NewGameSetup = std::function<bool(const QString& filename, const std::function<void()>& hideChooser)>;

    frmThumbs(game::GameState& state, platform::Host& host, const Skin* skin, NewGameSetup newGame,
              QWidget* parent = nullptr);
    ~frmThumbs() override;

    void Form_Activate();
    void Drive1_Change();
    void Dir1_Change();
    void Command1_Click();
    void cmdVoltar_Click();
    void Form_Unload();
    void ThumbsCtl1_ImageDblClick(int16_t& PicIndex, QString& Filename);

    QComboBox* Drive1() const { return m_Drive1; }
    DirList* Dir1() const { return m_Dir1; }
    ThumbsCtl* ThumbsCtl1() const { return m_ThumbsCtl1; }
    ucFirefoxWait* ucFirefoxWait1() const { return m_ucFirefoxWait1; }
    QLabel* Label1() const { return m_Label1; }
    QPushButton* cmdVoltar() const { return m_cmdVoltar; }
    QPushButton* Command1() const { return m_Command1; }

    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetDrive(const QString& root);
    void MatchRingToWindow();
    void FitWaitLabel();

    game::GameState& m_State;
    platform::Host& m_Host;
    const Skin* m_Skin;
    NewGameSetup m_NewGame;

    QComboBox* m_Drive1 = nullptr;
    DirList* m_Dir1 = nullptr;
    QPushButton* m_cmdVoltar = nullptr;
    ThumbsCtl* m_ThumbsCtl1 = nullptr;
    ucFirefoxWait* m_ucFirefoxWait1 = nullptr;
    QLabel* m_Label1 = nullptr;
    QPushButton* m_Command1 = nullptr;

    // The last folder shown on each drive: a drive chosen again opens there.
    QMap<QString, QString> m_DriveFolders;
    bool m_Activated = false;
    bool m_Unloaded = false;
};

}  // namespace chooser
