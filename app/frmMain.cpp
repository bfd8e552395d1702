#include "app/frmMain.h"

#include "app/Form1.h"
#include "app/FrmAbout.h"
#include "app/MiniatureDrag.h"
#include "app/WindowSystem.h"
#include "chooser/frmThumbs.h"
#include "game/BoardLayout.h"
#include "game/Levels.h"
#include "game/Numeric.h"
#include "support/ModINI.h"
#include "support/Twips.h"
#include "widgets/SurfaceView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>

using support::Px;

namespace {

constexpr int kHScrollHeight = 15;
constexpr int kVScrollWidth = 13;

QByteArray ReadResource(const QString& name) {
    QFile file(QStringLiteral(":/") + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace

frmMain::frmMain(game::GameState& state, platform::Host& host, QWidget* parent)
    : QMainWindow(parent),
      m_State(state),
      m_Host(host),
      m_Puzzle(state, m_Surfaces, m_View, *this, host, m_Random),
      // The custom colours are kept per user under the program's own name.
      m_ColorDialog(host, std::make_unique<support::IniUserSettings>(support::IniUserSettings::DefaultPath(
                              QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()))) {
    setWindowTitle(QStringLiteral("Zelvano"));
    BuildMenus();
    BuildControls();
    m_Timer1.setInterval(1000);
    connect(&m_Timer1, &QTimer::timeout, this, [this] { Guarded([this] { m_Puzzle.Timer1_Timer(); }); });
}

frmMain::~frmMain() = default;

void frmMain::BuildMenus() {
    mnuGame = menuBar()->addMenu(QStringLiteral("Jogo"));
    mnuNew = mnuGame->addMenu(QStringLiteral("Novo Jogo"));
    const char* levels[] = {"Kids A", "Kids B", "-", "Fácil", "Intermediário", "Difícil"};
    for (int16_t i = 0; i < 6; ++i) {
        if (i == 2) {
            mnuNewGame[i] = mnuNew->addSeparator();
            continue;
        }
        mnuNewGame[i] = mnuNew->addAction(QString::fromUtf8(levels[i]));
        OnTriggered(mnuNewGame[i], [this, i] { mnuNewGame_Click(i); });
    }
    mnuShuffle = mnuGame->addAction(QStringLiteral("Reniciar este jogo"));
    mnuShuffle->setShortcut(QKeySequence(Qt::Key_F3));
    OnTriggered(mnuShuffle, [this] { RunGameItem(mnuShuffle, [this] { m_Puzzle.mnuShuffle_Click(); }); });
    mnuGame->addSeparator();
    mnuSaveGame = mnuGame->addAction(QStringLiteral("Salvar este jogo   "));
    mnuSaveGame->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    OnTriggered(mnuSaveGame, [this] { RunGameItem(mnuSaveGame, [this] { mnuSaveGame_Click(); }); });
    mnuLoadGame = mnuGame->addAction(QStringLiteral("Abrir um jogo salvo"));
    mnuLoadGame->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    OnTriggered(mnuLoadGame, [this] { mnuLoadGame_Click(); });
    mnuGame->addSeparator();
    mnuExit = mnuGame->addAction(QStringLiteral("Sair"));
    OnTriggered(mnuExit, [this] { mnuExit_Click(); });
    connect(mnuGame, &QMenu::aboutToShow, this, [this] { mnuGame_Click(); });
    // Closed menus keep their items enabled so that a shortcut reaches its
    // command, which asks the menu's handler again before it acts.
    connect(mnuGame, &QMenu::aboutToHide, this, [this] {
        mnuSaveGame->setEnabled(true);
        mnuShuffle->setEnabled(true);
    });

    mnuOptions = menuBar()->addMenu(QStringLiteral("Opções"));
    mnuHints = mnuOptions->addAction(QStringLiteral("Mostrar uma jogada"));
    mnuHints->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    OnTriggered(mnuHints, [this] { RunOptionsItem(mnuHints, [this] { m_Puzzle.mnuHints_Click(); }); });
    MnDesistir = mnuOptions->addAction(QStringLiteral("Desistir"));
    OnTriggered(MnDesistir, [this] { RunOptionsItem(MnDesistir, [this] { m_Puzzle.MnDesistir_Click(); }); });
    mnuOptions->addSeparator();
    mnuSounds = mnuOptions->addAction(QStringLiteral("Usar efeitos de som"));
    mnuSounds->setCheckable(true);
    mnuSounds->setChecked(true);
    OnTriggered(mnuSounds, [this] { mnuSounds_Click(); });
    // However the check mark changes, the audio device follows it.
    connect(mnuSounds, &QAction::toggled, this, [this](bool on) { m_Host.KeepSoundReady(on); });
    mnuStatus = mnuOptions->addAction(QStringLiteral("Exibir miniatura"));
    mnuStatus->setCheckable(true);
    mnuStatus->setChecked(true);
    OnTriggered(mnuStatus, [this] { mnuStatus_Click(); });
    mnuBackground = mnuOptions->addAction(QStringLiteral("Cor de Fundo"));
    OnTriggered(mnuBackground, [this] { ChooseBackColor(); });
    connect(mnuOptions, &QMenu::aboutToShow, this, [this] { mnuOptions_Click(); });
    connect(mnuOptions, &QMenu::aboutToHide, this, [this] {
        mnuHints->setEnabled(true);
        MnDesistir->setEnabled(true);
    });

    mnuHelp = menuBar()->addMenu(QStringLiteral("Ajuda"));
    mnuHowToPlay = mnuHelp->addAction(QStringLiteral("Tópicos da Ajuda"));
    mnuHowToPlay->setShortcut(QKeySequence(Qt::Key_F1));
    OnTriggered(mnuHowToPlay, [this] { mnuHowToPlay_Click(); });
    mnuHelp->addSeparator();
    mnuAbout = mnuHelp->addAction(QStringLiteral("Sobre"));
    OnTriggered(mnuAbout, [this] { mnuAbout_Click(); });
}

void frmMain::BuildControls() {
    m_Client = new QWidget(this);
    m_Client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(m_Client);

    m_picScreen = new SurfaceView(m_Surfaces.picScreen, m_Client);
    m_picScreen->setObjectName(QStringLiteral("picScreen"));
    m_picScreen->OnMouseDown = [this](int16_t b, int16_t s, float x, float y) {
        Guarded([&] { m_Puzzle.picScreen_MouseDown(b, s, x, y); });
    };
    m_picScreen->OnMouseMove = [this](int16_t b, int16_t s, float x, float y) {
        Guarded([&] { m_Puzzle.picScreen_MouseMove(b, s, x, y); });
    };
    m_picScreen->OnMouseUp = [this](int16_t b, int16_t s, float x, float y) {
        Guarded([&] { m_Puzzle.picScreen_MouseUp(b, s, x, y); });
    };

    m_HScroll1 = new QScrollBar(Qt::Horizontal, m_Client);
    m_HScroll1->setObjectName(QStringLiteral("HScroll1"));
    m_HScroll1->setFixedHeight(kHScrollHeight);
    m_HScroll1->setMinimum(0);
    m_HScroll1->setSingleStep(1);
    connect(m_HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    m_VScroll1 = new QScrollBar(Qt::Vertical, m_Client);
    m_VScroll1->setObjectName(QStringLiteral("VScroll1"));
    m_VScroll1->setFixedWidth(kVScrollWidth);
    m_VScroll1->setMinimum(0);
    m_VScroll1->setSingleStep(1);
    connect(m_VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });

    // The miniature box: frame, miniature and clock label.
    m_picStatus = new QWidget(m_Client);
    m_picStatus->setObjectName(QStringLiteral("picStatus"));
    m_picStatus->setGeometry(0, 0, Px(2415), Px(2070));
    m_picStatus->setAutoFillBackground(true);
    QPalette statusPalette = m_picStatus->palette();
    statusPalette.setColor(QPalette::Window, QColor::fromRgb(platform::PixelFromColor(0x00C08000)));
    m_picStatus->setPalette(statusPalette);
    m_picStatus->hide();

    m_Picture1 = new QWidget(m_picStatus);
    m_Picture1->setObjectName(QStringLiteral("Picture1"));
    m_Picture1->setGeometry(0, 0, Px(2385), Px(1770));
    m_Picture1->setAutoFillBackground(true);
    QPalette black = m_Picture1->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_Picture1->setPalette(black);

    m_imgMaster = new QLabel(m_Picture1);
    m_imgMaster->setObjectName(QStringLiteral("imgMaster"));
    m_imgMaster->setGeometry(Px(390), Px(300), Px(1620), Px(1035));
    m_imgMaster->setScaledContents(true);

    m_BoxDrag = new MiniatureDrag(m_picStatus);
    m_BoxDrag->Watch(m_Picture1);
    m_BoxDrag->Watch(m_imgMaster);
    m_BoxDrag->OnPress = [this](QWidget* w, int16_t b, int16_t s, float x, float y) {
        Guarded([&] {
            if (w == m_imgMaster)
                imgMaster_MouseDown(b, s, x, y);
            else if (w == m_Picture1)
                Picture1_MouseDown(b, s, x, y);
            else
                picStatus_MouseDown(b, s, x, y);
        });
    };

    m_lblElapsed = new QLabel(m_picStatus);
    m_lblElapsed->setObjectName(QStringLiteral("lblElapsed"));
    m_lblElapsed->setGeometry(Px(45), Px(1800), Px(2325), Px(225));
    QFont clockFont(QStringLiteral("MS Sans Serif"));  // as the start-up window's label
    clockFont.setBold(true);
    clockFont.setPointSizeF(8.25);
    m_lblElapsed->setFont(clockFont);
    QPalette white = m_lblElapsed->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    m_lblElapsed->setPalette(white);
}

void frmMain::Form_Load() {
    // Screen and board.
    const QSize screen = m_Host.ScreenSize();
    m_State.ScreenW = game::Int16(screen.width());
    m_State.ScreenH = game::Int16(screen.height());
    const game::BoardRect board = game::BoardForScreen(m_State.ScreenW, m_State.ScreenH);
    m_View.Width = board.Width;
    m_View.Height = board.Height;
    m_Surfaces.picScreen.Resize(board.Width, board.Height);
    m_Surfaces.picBG.Resize(board.Width, board.Height);
    m_picScreen->resize(board.Width, board.Height);
    PlaceBoard(board.Left, board.Top);

    // The piece outlines at their design size; every game scales them.
    m_Surfaces.picMasks[0] = platform::LoadPicture(QStringLiteral(":/masks.bmp")).Pixels;

    // The four cues, whole.
    m_State.SndClick = ReadResource(QStringLiteral("click.wav"));
    m_State.SndGiro = ReadResource(QStringLiteral("giro.wav"));
    m_State.SndComplete = ReadResource(QStringLiteral("complete.wav"));
    m_State.SndRotate = ReadResource(QStringLiteral("rotate.wav"));

    QString appPath = QCoreApplication::applicationDirPath();
    if (!appPath.endsWith(QLatin1Char('/'))) appPath += QLatin1Char('/');
    m_State.AppPath = appPath;
    m_State.GameRunning = false;

    m_Skin.OpenSkinFile(m_State.AppPath + QStringLiteral("Puzzle.skn"));
    m_Skin.AttachWindow(this);

    const support::Settings settings = support::ReadSettings(m_State.AppPath);
    mnuSounds->setChecked(settings.Sounds);
    mnuStatus->setChecked(settings.Miniature);
    m_Surfaces.BackColor = settings.Color;

    m_Surfaces.picMaster.Fill(platform::kBlack);
    const uint32_t back = platform::PixelFromColor(m_Surfaces.BackColor);
    m_Surfaces.picBG.Fill(back);
    m_Surfaces.picScreen.Fill(back);
    m_Loaded = true;
    Form_Resize();
    m_picScreen->update();
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (m_Loaded) Form_Resize();
}

void frmMain::Form_Resize() {
    const int16_t scaleW = game::Int16(m_Client->width());
    const int16_t scaleH = game::Int16(m_Client->height());
    m_View.ScaleWidth = scaleW;
    m_View.ScaleHeight = scaleH;

    m_picStatus->move(scaleW - m_picStatus->width() - 30, scaleH - m_picStatus->height() - 30);

    // The bars follow the board; the board itself stays where it is.
    const QSignalBlocker blockV(m_VScroll1);
    const QSignalBlocker blockH(m_HScroll1);
    m_VScroll1->setGeometry(scaleW - kVScrollWidth, 0, kVScrollWidth, scaleH);
    const game::ScrollRange v = game::ScrollFor(m_View.Height, scaleH, m_View.Top);
    m_VScroll1->setMaximum(std::max<int>(0, v.Maximum));
    if (v.ValueFits) m_VScroll1->setValue(v.Value);
    m_VScroll1->setPageStep(std::max<int>(1, v.LargeChange));

    m_HScroll1->setGeometry(0, scaleH - kHScrollHeight, scaleW, kHScrollHeight);
    m_HScroll1->raise();
    const game::ScrollRange h = game::ScrollFor(m_View.Width, scaleW, m_View.Left);
    m_HScroll1->setMaximum(std::max<int>(0, h.Maximum));
    if (h.ValueFits) m_HScroll1->setValue(h.Value);
    m_HScroll1->setPageStep(std::max<int>(1, h.LargeChange));
    m_picStatus->raise();
}

void frmMain::PlaceBoard(int16_t left, int16_t top) {
    m_View.Left = left;
    m_View.Top = top;
    m_picScreen->move(left, top);
}

void frmMain::HScroll1_Change() { PlaceBoard(game::Int16(-m_HScroll1->value()), m_View.Top); }

void frmMain::VScroll1_Change() { PlaceBoard(m_View.Left, game::Int16(-m_VScroll1->value())); }

void frmMain::Centralize() {
    PlaceBoard(game::CentredOffset(m_View.Width, m_State.ScreenW), game::CentredOffset(m_View.Height, m_State.ScreenH));
    m_VScroll1->setValue(std::abs(m_View.Top));
    m_HScroll1->setValue(std::abs(m_View.Left));
}

void frmMain::MoveBoard(int16_t left, int16_t top) {
    PlaceBoard(left, top);
    m_VScroll1->setValue(std::abs(m_View.Top));
    m_HScroll1->setValue(std::abs(m_View.Left));
}

void frmMain::RefreshBoard() { m_picScreen->update(); }

void frmMain::SetTimer(bool on) {
    if (on)
        m_Timer1.start();
    else
        m_Timer1.stop();
}

bool frmMain::TimerOn() const { return m_Timer1.isActive(); }

bool frmMain::SoundsChecked() const { return mnuSounds->isChecked(); }

bool frmMain::MiniatureChecked() const { return mnuStatus->isChecked(); }

void frmMain::ShowMiniature(bool visible) {
    m_picStatus->setVisible(visible);
    if (visible) m_picStatus->raise();
}

void frmMain::SetClockText(const QString& text) { m_lblElapsed->setText(text); }

void frmMain::SetBoardEnabled(bool enabled) { m_picScreen->setEnabled(enabled); }

bool frmMain::MiniatureVisible() const { return m_picStatus->isVisibleTo(this); }

QSize frmMain::MiniatureFrameSize() const { return m_Picture1->size(); }

void frmMain::SetMiniatureGeometry(float left, float top, float width, float height) {
    // The widget takes whole pixels; the fit keeps fractions until here.
    m_imgMaster->setGeometry(game::Int16(left), game::Int16(top), game::Int16(width), game::Int16(height));
}

void frmMain::SetMiniaturePicture(const platform::Surface& picture) {
    // The miniature keeps a picture of its own size, not a second copy of a
    // photograph that may take a hundred megabytes.
    const QSize size = m_imgMaster->size() * m_imgMaster->devicePixelRatioF();
    const QImage image = picture.Image();
    if (image.isNull() || size.isEmpty()) {
        m_imgMaster->clear();
        return;
    }
    m_imgMaster->setPixmap(
        QPixmap::fromImage(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void frmMain::picStatus_MouseDown(int16_t, int16_t, float x, float y) {
    // The drag itself follows the press in MiniatureDrag.
    m_Puzzle.LastX = game::Int16(x);
    m_Puzzle.LastY = game::Int16(y);
}

void frmMain::Picture1_MouseDown(int16_t button, int16_t shift, float x, float y) {
    picStatus_MouseDown(button, shift, x, y);
}

void frmMain::imgMaster_MouseDown(int16_t, int16_t, float, float) { picStatus_MouseDown(1, 1, 1, 1); }

void frmMain::Maximize() {
    const QScreen* s = screen();
    if (s && !WindowManagerMaximizes()) {
        // Nobody else sizes the window: a maximised state alone leaves it as
        // it is, so it takes the screen's free area itself.
        setGeometry(s->availableGeometry());
    } else if (s && !isVisible() && !isMaximized()) {
        // The window manager sizes a maximised window and puts back its
        // normal geometry when the player restores it. A geometry set on a
        // shown window would fight the manager's (Qt would lay out a client
        // area the screen does not show); only a window never shown gets a
        // normal place, one that leaves its title bar on the screen.
        setGeometry(NormalPlacement(s->availableGeometry()));
    }
    setWindowState(windowState() | Qt::WindowMaximized);
}

void frmMain::mnuGame_Click() {
    const game::GameMenuState s = game::GameMenuEnabling(m_State, static_cast<int>(m_Surfaces.picPat.size()));
    mnuSaveGame->setEnabled(s.SaveGame);
    mnuShuffle->setEnabled(s.Shuffle);
}

void frmMain::mnuOptions_Click() {
    const game::OptionsMenuState s = game::OptionsMenuEnabling(m_State);
    mnuHints->setEnabled(s.Hints);
    MnDesistir->setEnabled(s.GiveUp);
}

void frmMain::Guarded(const std::function<void()>& handler) {
    try {
        handler();
        return;
    } catch (...) {
        // Nothing may leave a window's event handler: the event loop cannot
        // carry it and the program would end. What the handler finished
        // stays; the game on the board goes on.
    }
    m_Host.SetBusyPointer(false);
    RefreshBoard();
    // One box at a time: a handler that fails on every tick or mouse move
    // would stack a box per event, so a failure while it shows goes untold.
    if (m_TellingFailure) return;
    const QScopedValueRollback<bool> telling(m_TellingFailure, true);
    // The time the player spends reading it does not count.
    SetTimer(false);
    platform::MessageBox box;
    box.Text = QStringLiteral("Ocorreu um erro e a ação não pôde ser concluída. O jogo continua.");
    box.Buttons = platform::MsgButtons::Ok;
    box.Icon = platform::MsgIcon::Critical;
    m_Host.ShowMessage(box);
    SetTimer(m_State.GameRunning);
}

void frmMain::OnTriggered(QAction* item, std::function<void()> command) {
    connect(item, &QAction::triggered, this, [this, command = std::move(command)] { Guarded(command); });
}

void frmMain::RunGameItem(QAction* item, const std::function<void()>& command) {
    mnuGame_Click();
    const bool enabled = item->isEnabled();
    if (!mnuGame->isVisible()) {
        mnuSaveGame->setEnabled(true);
        mnuShuffle->setEnabled(true);
    }
    if (enabled) command();
}

void frmMain::RunOptionsItem(QAction* item, const std::function<void()>& command) {
    mnuOptions_Click();
    const bool enabled = item->isEnabled();
    if (!mnuOptions->isVisible()) {
        mnuHints->setEnabled(true);
        MnDesistir->setEnabled(true);
    }
    if (enabled) command();
}

namespace {

// The saved games live in "Save" beside the program, made on demand; a folder
// that cannot be made only means the dialog opens elsewhere.
void PrepareSaveDialog(support::CmnDlgInfo& dlg, const QString& appPath) {
    QDir(appPath).mkpath(QStringLiteral("Save"));
    dlg.InitDir = appPath + QStringLiteral("Save");
    dlg.FileName.clear();
    dlg.Filter = QStringLiteral("Zelvano (*.pzl)|*.pzl");
    dlg.Flags = 5;
}

// The dialog knows only the name typed; the file written is that name with
// ".pzl". A file already there is replaced only when the player says so.
bool MayReplace(platform::Host& host, const QString& path) {
    if (!QFileInfo(path).isFile()) return true;
    platform::MessageBox box;
    box.Text = QStringLiteral("O arquivo ") + path + QStringLiteral(" já existe. Deseja substituí-lo?");
    box.Buttons = platform::MsgButtons::YesNo;
    box.Icon = platform::MsgIcon::Question;
    box.DefaultSecond = true;
    return host.ShowMessage(box) == platform::MsgAnswer::Yes;
}

}  // namespace

void frmMain::mnuSaveGame_Click() {
    // Time spent choosing a name does not count.
    SetTimer(false);
    PrepareSaveDialog(CmnDlg, m_State.AppPath);
    support::ShowSave(m_Host, CmnDlg);
    if (!CmnDlg.FileName.isEmpty()) {
        const QString name = QFileInfo(CmnDlg.FileName).fileName();
        CmnDlg.FileName = name.contains(QLatin1Char('.')) ? support::ChangeExtension(CmnDlg.FileName, QStringLiteral("pzl"))
                                                         : CmnDlg.FileName + QStringLiteral(".pzl");
        if (MayReplace(m_Host, CmnDlg.FileName)) m_Puzzle.SaveGame(CmnDlg.FileName);
    }
    SetTimer(m_State.GameRunning);
}

void frmMain::mnuLoadGame_Click() {
    PrepareSaveDialog(CmnDlg, m_State.AppPath);
    support::ShowOpen(m_Host, CmnDlg);
    if (!CmnDlg.FileName.isEmpty()) m_Puzzle.LoadGame(CmnDlg.FileName);
    m_Host.SetBusyPointer(false);
    SetTimer(m_State.GameRunning);
}

void frmMain::mnuNewGame_Click(int16_t index) {
    // The game on the board was cut with its own level's values; they come
    // back unless a new game replaces it (a cancelled choice, a refused picture).
    const int16_t chosenBefore = m_State.ChosenLevel;
    const game::LevelParams before{m_State.PieceBox, m_State.PieceStep, m_State.SnapDiv, m_State.GapUnits};
    if (!game::ChooseLevel(m_State, index)) return;
    const uint32_t generation = m_State.Generation;
    // Only an accepted picture cuts a new game; a choice that fails half-way
    // gives the level back as well.
    const auto keepUncutGame = [&] {
        if (m_State.Generation != generation) return;
        m_State.ChosenLevel = chosenBefore;
        m_State.PieceBox = before.PieceBox;
        m_State.PieceStep = before.PieceStep;
        m_State.SnapDiv = before.SnapDiv;
        m_State.GapUnits = before.GapUnits;
    };
    // The picture comes from the chooser, which starts the game itself.
    try {
        if (ShowChooser) {
            ShowChooser();
        } else {
            const auto newGame = [this](const QString& file, const std::function<void()>& hide) {
                return m_Puzzle.NewGameSetup(file, hide);
            };
            chooser::frmThumbs chooser(m_State, m_Host, &m_Skin, newGame, this);
            chooser.exec();
        }
    } catch (...) {
        keepUncutGame();
        throw;
    }
    keepUncutGame();
}

void frmMain::mnuSounds_Click() {
    // QAction has already inverted the check mark.
    support::WriteINI(m_State.AppPath, support::kSetupSection, QStringLiteral("Som"),
                      support::BoolText(mnuSounds->isChecked()));
}

void frmMain::mnuStatus_Click() {
    ShowMiniature(mnuStatus->isChecked());
    support::WriteINI(m_State.AppPath, support::kSetupSection, QStringLiteral("Navegador"),
                      support::BoolText(mnuStatus->isChecked()));
}

void frmMain::mnuExit_Click() { close(); }

void frmMain::mnuAbout_Click() {
    FrmAbout about(m_Host, this);
    about.exec();
}

void frmMain::mnuHowToPlay_Click() {
    Form1 help(&m_Skin, this);
    help.exec();
}

void frmMain::ChooseBackColor() { support::ChooseBackColor(m_ColorDialog, m_State, m_Surfaces, *this); }

void frmMain::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once; nothing is saved.
    // A loop that is letting events run (a give-up, a set-up, a folder
    // scan) learns from the host that the program is ending and stops.
    event->accept();
    m_Host.Quit();
}
