#include "app/FrmSplash.h"

#include "app/WindowSystem.h"
#include "platform/Surface.h"
#include "support/CenterForm.h"
#include "support/Twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

using support::Px;

QString VersionText() {
    return QStringLiteral("%1.%2.%3")
        .arg(ZELVANO_VERSION_MAJOR)
        .arg(ZELVANO_VERSION_MINOR)
        .arg(ZELVANO_VERSION_PATCH);
}

std::vector<QRect> KeyColorRuns(const QImage& picture, int32_t key) {
    std::vector<QRect> runs;
    if (picture.isNull()) return runs;
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const uint32_t keyPixel = platform::PixelFromColor(key) & 0x00FFFFFFu;
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        int x = 0;
        while (x < w) {
            if ((row[x] & 0x00FFFFFFu) != keyPixel) {
                ++x;
                continue;
            }
            const int x0 = x;
            while (x < w && (row[x] & 0x00FFFFFFu) == keyPixel) ++x;
            runs.emplace_back(x0, y, x - x0, 1);
            // The pixel at x, if any, is not the key colour.
            ++x;
        }
    }
    return runs;
}

std::optional<QRegion> MakeRegion(const QImage& picture, int32_t key) {
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return std::nullopt;
    const std::vector<QRect> runs = KeyColorRuns(picture, key);
    QRegion region(0, 0, picture.width(), picture.height());
    if (runs.empty()) return region;
    // The runs are one pixel high, sorted by row and then by column and
    // never overlapping: one region of them all, taken away at once, is the
    // same shape as taking them away one by one, without the quadratic cost.
    QRegion cut;
    cut.setRects(runs.data(), static_cast<int>(runs.size()));
    return region.subtracted(cut);
}

void WaitSince(const SplashSteps& steps, double start, double seconds) {
    double slept = 0.0;
    for (;;) {
        const double elapsed = steps.Now() - start;
        // NaN or a finished wait ends it; so does having slept the whole
        // span already, whatever a stuck clock says.
        if (!(elapsed < seconds) || slept >= seconds) return;
        const double remaining = std::min(seconds - std::max(elapsed, 0.0), seconds - slept);
        steps.Sleep(remaining);
        slept += remaining;
    }
}

bool LetPaint(const SplashSteps& steps, const std::function<bool()>& painted) {
    if (!painted) return steps.DoEvents();
    // Under a window manager a window is mapped and exposed some passes of
    // events after it was shown, not in the first one.
    const double start = steps.Now();
    double slept = 0.0;
    for (;;) {
        if (!steps.DoEvents()) return false;
        if (painted()) return true;
        const double elapsed = steps.Now() - start;
        if (!(elapsed < SplashSequence::kPaintLimit) || slept >= SplashSequence::kPaintLimit) return true;
        steps.Sleep(SplashSequence::kPaintPoll);
        slept += SplashSequence::kPaintPoll;
    }
}

bool SplashSequence::Run(const SplashSteps& steps) {
    if (m_Done) return false;
    m_Done = true;
    // A program that ends while events run ends here: nothing more is shown.
    if (!LetPaint(steps, steps.SplashPainted)) return true;
    // The load and the waits block: what is on the screen then is what the
    // display has drawn before them.
    if (steps.SyncDisplay) steps.SyncDisplay();
    const double t0 = steps.Now();
    steps.LoadMain();
    WaitSince(steps, t0, kMainDelay);
    steps.ShowMain();
    if (!LetPaint(steps, steps.MainPainted)) return true;
    steps.ShowSplash();
    if (!LetPaint(steps, steps.SplashPainted)) return true;
    if (steps.SyncDisplay) steps.SyncDisplay();
    const double t1 = steps.Now();
    WaitSince(steps, t1, kFrontDelay);
    steps.Unload();
    return true;
}

FrmSplash::FrmSplash(platform::Host& host, std::function<void()> loadMain, std::function<QWidget*()> showMain,
                     QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_Host(host),
      m_LoadMain(std::move(loadMain)),
      m_ShowMain(std::move(showMain)) {
    setObjectName(QStringLiteral("FrmSplash"));
    setFixedSize(Px(9195), Px(3360));

    m_Label8 = new QLabel(this);
    m_Label8->setObjectName(QStringLiteral("Label8"));
    m_Label8->setGeometry(Px(7425), Px(1830), Px(930), Px(195));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    m_Label8->setFont(font);
    QPalette palette = m_Label8->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    m_Label8->setPalette(palette);
    m_Label8->setText(QStringLiteral("Label8"));
}

FrmSplash::~FrmSplash() = default;

void FrmSplash::Form_Load(const QString& picture) {
    m_Picture = QImage(picture);
    m_SplashRegion = MakeRegion(m_Picture, kSplashKeyColor);
    // Without a picture the window stays a plain rectangle.
    if (m_SplashRegion)
        setMask(*m_SplashRegion);
    else
        clearMask();
    m_Label8->setText(VersionText());

    if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect free = s->geometry();
        move(free.topLeft() + support::CenterFormPosition(free.size(), size()));
    }
}

SplashSteps FrmSplash::Steps() {
    SplashSteps steps;
    steps.DoEvents = [this] { return m_Host.DoEvents(); };
    steps.LoadMain = [this] {
        if (m_LoadMain) m_LoadMain();
    };
    steps.ShowMain = [this] {
        if (m_ShowMain) m_Main = m_ShowMain();
    };
    steps.ShowSplash = [this] {
        // Raised, never hidden and shown again: a window mapped afresh shows
        // the window manager's blank frame until it has been exposed and
        // repainted, which may come only once the blocking wait has begun.
        // Raising uncovers what the main window hid; those parts are exposed
        // and repainted, and that painting is waited for.
        m_Exposures = 0;
        raise();
        activateWindow();
    };
    steps.Unload = [this] {
        m_Unloading = true;
        close();
    };
    // A window that is not shown has nothing to paint, nor has one raised
    // where windows never cover each other.
    steps.SplashPainted = [this] { return !isVisible() || m_Exposures > 0 || !WindowsCoverEachOther(); };
    steps.MainPainted = [this] {
        const QWindow* window = m_Main ? m_Main->windowHandle() : nullptr;
        return !m_Main || !m_Main->isVisible() || (window && window->isExposed());
    };
    steps.SyncDisplay = [] { SyncWithDisplay(); };
    steps.Now = [this] { return m_Host.MonotonicSeconds(); };
    steps.Sleep = [](double seconds) {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    };
    return steps;
}

void FrmSplash::Form_Activate() { m_Sequence.Run(Steps()); }

void FrmSplash::ScheduleActivate() {
    if (m_ActivateQueued || m_Sequence.Done()) return;
    m_ActivateQueued = true;
    // Run outside the event that asked for it, so the sequence's own event
    // processing does not nest inside a show or an activation.
    QMetaObject::invokeMethod(this, [this] { Form_Activate(); }, Qt::QueuedConnection);
}

bool FrmSplash::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) ScheduleActivate();
    return QWidget::event(e);
}

bool FrmSplash::eventFilter(QObject* watched, QEvent* e) {
    // Qt paints the exposed window before this event's dispatch returns.
    if (e->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed()) ++m_Exposures;
    return QWidget::eventFilter(watched, e);
}

void FrmSplash::closeEvent(QCloseEvent* e) {
    // The window goes when its time is up, not before: the start-up that is
    // running still needs it.
    if (!m_Unloading) {
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}

void FrmSplash::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // The native window exists now and is exposed only later.
    if (QWindow* window = windowHandle()) window->installEventFilter(this);
    // Without a window manager the window may never be activated; being
    // shown is then its first activation.
    ScheduleActivate();
}

void FrmSplash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_Picture.isNull())
        painter.fillRect(rect(), QColor(0x1F, 0x4E, 0xA8));
    else
        painter.drawImage(0, 0, m_Picture);
}

void FrmSplash::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    // The window system moves the window as if its missing title bar had
    // been pressed; where it cannot, the window follows the mouse itself.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    m_Dragging = true;
    m_DragOffset = e->globalPosition().toPoint() - pos();
}

void FrmSplash::mouseMoveEvent(QMouseEvent* e) {
    if (m_Dragging && (e->buttons() & Qt::LeftButton)) move(e->globalPosition().toPoint() - m_DragOffset);
}

void FrmSplash::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) m_Dragging = false;
}
