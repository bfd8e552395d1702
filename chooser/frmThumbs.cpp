#include "chooser/frmThumbs.h"

#include "chooser/Colors.h"
#include "chooser/DirList.h"
#include "chooser/ThumbsCtl.h"
#include "chooser/ucFirefoxWait.h"
#include "platform/Surface.h"
#include "support/Twips.h"
#include "widgets/Skin.h"

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

namespace chooser {

namespace {

using support::Px;

void Place(QWidget* w, int left, int top, int width, int height) { w->setGeometry(Px(left), Px(top), Px(width), Px(height)); }

}  // namespace

std::optional<QString> FindPictureFolder(const QString& appPath) {
    const QDir dir(appPath);
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (name.compare(QLatin1String("Imagens"), Qt::CaseInsensitive) == 0) return dir.filePath(name);
    return std::nullopt;
}

QString DriveOf(const QString& path) {
    const QStorageInfo volume(path);
    return volume.isValid() ? volume.rootPath() : QStringLiteral("/");
}

frmThumbs::frmThumbs(game::GameState& state, platform::Host& host, const Skin* skin, NewGameSetup newGame,
                     QWidget* parent)
    : QDialog(parent), m_State(state), m_Host(host), m_Skin(skin), m_NewGame(std::move(newGame)) {
    setWindowTitle(QStringLiteral("Busca Imagens"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(Px(10650), Px(3990));
    QPalette window = palette();
    window.setColor(QPalette::Window, ToQColor(kSystemWindow));
    setPalette(window);
    setAutoFillBackground(true);

    m_Drive1 = new QComboBox(this);
    m_Drive1->setObjectName(QStringLiteral("Drive1"));
    Place(m_Drive1, 105, 90, 2715, 315);
    m_Dir1 = new DirList(this);
    m_Dir1->setObjectName(QStringLiteral("Dir1"));
    Place(m_Dir1, 105, 405, 2685, 3015);
    m_cmdVoltar = new QPushButton(QStringLiteral("&Cancelar"), this);
    m_cmdVoltar->setObjectName(QStringLiteral("cmdVoltar"));
    Place(m_cmdVoltar, 8175, 3555, 1125, 345);
    m_ThumbsCtl1 = new ThumbsCtl(state, host, this);
    m_ThumbsCtl1->setObjectName(QStringLiteral("ThumbsCtl1"));
    PropertyBag gridProperties;
    gridProperties.Values.insert(QStringLiteral("BackColor"), 0x00FFFFFF);
    m_ThumbsCtl1->UserControl_ReadProperties(gridProperties);
    Place(m_ThumbsCtl1, 2835, 60, 7650, 3420);
    m_ucFirefoxWait1 = new ucFirefoxWait(this);
    m_ucFirefoxWait1->setObjectName(QStringLiteral("ucFirefoxWait1"));
    PropertyBag waitProperties;
    waitProperties.Values.insert(QStringLiteral("BackColor"), 0x00FFFFFF);
    m_ucFirefoxWait1->UserControl_ReadProperties(waitProperties);
    m_ucFirefoxWait1->move(Px(195), Px(3585));
    m_Label1 = new QLabel(QStringLiteral("Por favor, Aguarde..."), this);
    m_Label1->setObjectName(QStringLiteral("Label1"));
    Place(m_Label1, 540, 3585, 1815, 210);
    m_Label1->hide();
    m_Command1 = new QPushButton(QStringLiteral("&OK"), this);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    Place(m_Command1, 9360, 3540, 1125, 345);
    // Neither button answers Enter.
    for (QPushButton* b : {m_cmdVoltar, m_Command1}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    setTabOrder(m_Drive1, m_Dir1);
    setTabOrder(m_Dir1, m_cmdVoltar);
    setTabOrder(m_cmdVoltar, m_ThumbsCtl1);
    setTabOrder(m_ThumbsCtl1, m_Command1);
    m_ThumbsCtl1->SetWaitLabel(m_Label1);

    // The drives: every mounted volume that is ready, and the one we start on.
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady()) m_Drive1->addItem(volume.rootPath());
    {
        const QSignalBlocker block(m_Drive1);
        m_Dir1->SetPath(QDir::currentPath());
        SetDrive(DriveOf(m_Dir1->Path()));
    }
    // The start-up folder is its drive's folder as much as any the player
    // opens: a drive list sent back there must find it, not the drive's root.
    m_DriveFolders.insert(DriveOf(m_Dir1->Path()), m_Dir1->Path());

    connect(m_Drive1, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
    m_Dir1->Change = [this] { Dir1_Change(); };
    connect(m_cmdVoltar, &QPushButton::clicked, this, [this] { cmdVoltar_Click(); });
    connect(m_Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    m_ThumbsCtl1->ImageDblClick = [this](int16_t& i, QString& f) { ThumbsCtl1_ImageDblClick(i, f); };
}

frmThumbs::~frmThumbs() {
    if (!m_Unloaded) Form_Unload();
}

void frmThumbs::SetDrive(const QString& root) {
    int index = m_Drive1->findText(root);
    if (index < 0) {
        m_Drive1->addItem(root);
        index = m_Drive1->count() - 1;
    }
    m_Drive1->setCurrentIndex(index);
}

void frmThumbs::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_Unloaded) Form_Activate();
}

void frmThumbs::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Without a window manager a shown window may never become active; it
    // is activated by hand then.
    QPointer<frmThumbs> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self && !self->m_Activated && !self->m_Unloaded && self->isVisible()) self->Form_Activate();
    });
}

void frmThumbs::keyPressEvent(QKeyEvent* event) {
    // Escape does not close the window; only Cancel and the close box do.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmThumbs::Form_Activate() {
    m_State.ChooserOpen = true;
    if (m_Skin) m_Skin->AttachWindow(this);
    MatchRingToWindow();
    FitWaitLabel();
    QPointer<frmThumbs> self(this);
    m_Host.DoEvents();
    if (!self || m_Unloaded) return;
    // The program's drive and picture folder open once per choice: coming
    // back to the window (after a message, say) keeps the folder the player
    // went to.
    if (m_Activated) return;
    m_Activated = true;
    SetDrive(DriveOf(m_State.AppPath));
    if (!self || m_Unloaded) return;
    if (const auto folder = FindPictureFolder(m_State.AppPath)) m_Dir1->SetPath(*folder);
}

void frmThumbs::MatchRingToWindow() {
    // The ring's square is keyed to one colour; the skin may paint the
    // window in another, so the ring follows what the window shows.
    ensurePolished();
    const int32_t color = platform::ColorFromPixel(palette().color(backgroundRole()).rgb());
    if (m_ucFirefoxWait1->BackColor() != color) m_ucFirefoxWait1->SetBackColor(color);
}

void frmThumbs::FitWaitLabel() {
    // Its place was drawn for another font: it grows to show its caption
    // whole in the font it has, the skin's once that is attached (it shows
    // only during a folder scan, after the first activation).
    m_Label1->ensurePolished();
    const QSize text = m_Label1->sizeHint();
    m_Label1->resize(std::max(Px(1815), text.width()), std::max(Px(210), text.height()));
}

void frmThumbs::Drive1_Change() {
    const QString drive = m_Drive1->currentText();
    const QString folder = m_DriveFolders.value(drive, drive);
    if (m_Dir1->SetPath(folder) || (folder != drive && m_Dir1->SetPath(drive))) return;
    // A drive that cannot be opened: back to the drive of the folder shown,
    // which is that drive's folder already, so nothing is opened or scanned.
    const QSignalBlocker block(m_Drive1);
    SetDrive(DriveOf(m_Dir1->Path()));
}

void frmThumbs::Dir1_Change() {
    QPointer<frmThumbs> self(this);
    m_DriveFolders.insert(DriveOf(m_Dir1->Path()), m_Dir1->Path());
    m_Host.DoEvents();
    if (!self) return;
    m_ucFirefoxWait1->PlayWait();
    m_ThumbsCtl1->Clear();
    QString path = m_Dir1->Path();
    m_ThumbsCtl1->ScanPath(path);
    if (!self) return;
    m_ucFirefoxWait1->StopWait();
}

void frmThumbs::Command1_Click() {
    const int16_t index = m_ThumbsCtl1->ItemIndex().toShort();
    QString path;
    try {
        path = m_ThumbsCtl1->ItemData(index);
    } catch (const std::out_of_range&) {
    }
    if (path.isEmpty()) {
        m_Host.ShowMessage({QStringLiteral("Primeiro selecione uma imagemna lista"), QString(),
                            platform::MsgButtons::Ok, platform::MsgIcon::None});
        return;
    }
    int16_t picIndex = index;
    ThumbsCtl1_ImageDblClick(picIndex, path);
}

void frmThumbs::ThumbsCtl1_ImageDblClick(int16_t& PicIndex, QString& Filename) {
    (void)PicIndex;
    // A copy: the set-up lets events run, and the grid's entry may go.
    const QString picture = Filename;
    QPointer<frmThumbs> self(this);
    game::GameState& state = m_State;
    if (m_NewGame)
        m_NewGame(picture, [self, &state] {
            state.ChooserOpen = false;
            if (self) self->hide();
        });
    if (self) reject();
}

void frmThumbs::cmdVoltar_Click() { reject(); }

void frmThumbs::Form_Unload() {
    m_Unloaded = true;
    m_State.ChooserOpen = false;
}

void frmThumbs::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

}  // namespace chooser
