// The start-up window: a borderless window cut to the shape of its picture
// (every pure-yellow pixel is see-through), showing the version. On its
// first activation it loads the main window, shows it after 1.5 seconds,
// stays in front of it half a second more and closes itself.
#pragma once

#include "platform/Host.h"

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QLabel;

// The program's version as "major.minor.revision".
QString VersionText();

// The key colour cut out of the splash picture: pure yellow, blue-green-red.
constexpr int32_t kSplashKeyColor = 0x0000FFFF;

// The maximal horizontal runs of `key` pixels in `picture`, row by row from
// the left, each a rectangle one pixel high; a run reaching the right edge
// ends there.
std::vector<QRect> KeyColorRuns(const QImage& picture, int32_t key);

// The picture's rectangle minus its runs of the key colour (a blue-green-red
// value). nullopt for a picture with no pixels.
std::optional<QRegion> MakeRegion(const QImage& picture, int32_t key);

// The timed start-up, with everything it touches handed in, so that the
// order and the waits can be checked against a scripted clock.
struct SplashSteps {
    std::function<bool()> DoEvents;    // lets events run once; false once the program is ending
    std::function<void()> LoadMain;    // creates the main window and runs its load
    std::function<void()> ShowMain;    // shows it maximised
    std::function<void()> ShowSplash;  // brings the start-up window in front
    std::function<void()> Unload;      // closes the start-up window
    // Whether the window has been exposed on screen, and so painted, since
    // it was last shown or raised; empty: one pass of events is taken as enough.
    std::function<bool()> SplashPainted;
    std::function<bool()> MainPainted;
    // Blocks until the display has drawn what the windows painted, so that
    // a wait that blocks shows it; empty: the display draws at once.
    std::function<void()> SyncDisplay;
    std::function<double()> Now;       // seconds on a clock that never goes back
    std::function<void(double)> Sleep; // blocks, processing no events
};

class SplashSequence {
public:
    static constexpr double kMainDelay = 1.5;   // from before the main window's load
    static constexpr double kFrontDelay = 0.5;  // start-up window in front of it
    // How long events run at most for a window to paint: a display that
    // never exposes it cannot hold the start-up up longer.
    static constexpr double kPaintLimit = 1.0;
    static constexpr double kPaintPoll = 0.01;  // pause between two passes of events

    // Runs the sequence the first time only; returns whether it ran. It
    // stops where it is when the program ends while events run.
    bool Run(const SplashSteps& steps);
    bool Done() const { return m_Done; }

private:
    bool m_Done = false;
};

// Blocks until `seconds` have passed since `start` on `now`, without
// processing events. A clock that stops or jumps cannot make it wait
// longer than `seconds` beyond its last reading.
void WaitSince(const SplashSteps& steps, double start, double seconds);

// Lets events run until `painted` holds, or for about kPaintLimit seconds at
// most (whatever the clock says); with no `painted`, once. False when the
// program is ending.
bool LetPaint(const SplashSteps& steps, const std::function<bool()>& painted);

class FrmSplash : public QWidget {
    Q_OBJECT
public:
    // `loadMain` creates the main window and runs its load handler;
    // `showMain` shows it maximised and returns it.
    FrmSplash(platform::Host& host, std::function<void()> loadMain, std::function<QWidget*()> showMain,
              QWidget* parent = nullptr);
    ~FrmSplash() override;

    // Shapes the window to its picture and sets the version label. A
    // picture that cannot be read leaves a plain rectangular window.
    void Form_Load(const QString& picture = QStringLiteral(":/splash.bmp"));
    // The start-up sequence, on the first activation only.
    void Form_Activate();

    QLabel* Label8() const { return m_Label8; }
    bool Shaped() const { return m_SplashRegion.has_value(); }
    const QImage& Picture() const { return m_Picture; }
    // The steps Form_Activate runs, for the waits and the calls it makes.
    SplashSteps Steps();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ScheduleActivate();

    platform::Host& m_Host;
    std::function<void()> m_LoadMain;
    std::function<QWidget*()> m_ShowMain;
    QPointer<QWidget> m_Main;  // once shown
    QImage m_Picture;
    std::optional<QRegion> m_SplashRegion;
    QLabel* m_Label8 = nullptr;
    SplashSequence m_Sequence;
    bool m_ActivateQueued = false;
    int m_Exposures = 0;     // of this window since it was last shown or raised
    bool m_Unloading = false;
    bool m_Dragging = false;
    QPoint m_DragOffset;
};
