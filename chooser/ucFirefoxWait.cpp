#include "chooser/ucFirefoxWait.h"

#include "chooser/Colors.h"
#include "support/Twips.h"

#include <QPainter>

#include <algorithm>
#include <limits>

namespace chooser {

namespace {

constexpr int kCell = 16;  // 240 twips at 15 twips per pixel

platform::Surface LoadStrip() {
    platform::LoadedPicture strip = platform::LoadPicture(QStringLiteral(":/framestrip.bmp"));
    if (strip) return std::move(strip.Pixels);
    // Without its strip the widget still works, on a blank ring.
    return platform::Surface(9 * kCell, kCell, platform::PixelFromColor(kMagenta));
}

}  // namespace

int32_t NextFrame(int32_t frame) { return frame == 7 ? 0 : frame + 1; }

int FrameSourceX(int32_t frame) { return kCell * frame; }

void ReplaceColor(platform::Surface& surface, int32_t oldColor, int32_t newColor, int w, int h) {
    const uint32_t from = platform::PixelFromColor(oldColor);
    const uint32_t to = platform::PixelFromColor(newColor);
    w = std::min(w, surface.Width());
    h = std::min(h, surface.Height());
    for (int y = 0; y < h; ++y) {
        uint32_t* row = surface.Row(y);
        for (int x = 0; x < w; ++x)
            if (row[x] == from) row[x] = to;
    }
}

ucFirefoxWait::ucFirefoxWait(QWidget* parent) : QWidget(parent) {
    // UserControl_Initialize
    setFixedSize(support::Px(240), support::Px(240));
    m_tmrPlay.setInterval(kDefaultAnimationSpeed);
    connect(&m_tmrPlay, &QTimer::timeout, this, [this] { tmrPlay_Timer(); });
    m_lDefaultBackColor = ButtonFaceColor();
    m_picOriginal = LoadStrip();
    m_picSource = m_picOriginal;
    m_picDestination.Resize(kCell, kCell, platform::PixelFromColor(m_lDefaultBackColor));
    DrawIdleFrame();
    UserControl_InitProperties();
}

ucFirefoxWait::~ucFirefoxWait() { m_tmrPlay.stop(); }

void ucFirefoxWait::Notify(const QString& name) {
    if (PropertyChanged) PropertyChanged(name);
}

void ucFirefoxWait::ApplyInterval() {
    // The timer takes no negative interval; below 1 ms it would spin.
    m_tmrPlay.setInterval(std::clamp<int32_t>(m_lAnimationSpeed, 1, std::numeric_limits<int32_t>::max()));
}

void ucFirefoxWait::SetAnimationSpeed(int32_t l_Milliseconds) {
    m_lAnimationSpeed = l_Milliseconds;
    Notify(QStringLiteral("AnimationSpeed"));
    ApplyInterval();
}

void ucFirefoxWait::SetBackColor(int32_t l_BackColor) {
    m_lBackColor = l_BackColor < 0 ? m_lDefaultBackColor : l_BackColor;
    Notify(QStringLiteral("BackColor"));
    ApplyBackColor();
    DrawIdleFrame();
}

void ucFirefoxWait::SetIsPlaying(bool bPlaying) {
    m_bIsPlaying = bPlaying;
    Notify(QStringLiteral("IsPlaying"));
}

void ucFirefoxWait::PlayWait() {
    if (m_bIsPlaying) return;
    SetIsPlaying(true);
    ApplyInterval();
    if (m_bIsPlaying) m_tmrPlay.start();
}

void ucFirefoxWait::StopWait() {
    if (!m_bIsPlaying) return;
    SetIsPlaying(false);
    if (!m_bIsPlaying) m_tmrPlay.stop();
    m_lFrame = 0;
    DrawIdleFrame();
}

void ucFirefoxWait::tmrPlay_Timer() { DrawNextFrame(); }

void ucFirefoxWait::DrawNextFrame() {
    m_lFrame = NextFrame(m_lFrame);
    DrawCell(FrameSourceX(m_lFrame));
}

void ucFirefoxWait::DrawIdleFrame() { DrawCell(kIdleSourceX); }

void ucFirefoxWait::DrawCell(int sourceX) {
    m_picDestination.Fill(platform::PixelFromColor(m_lDefaultBackColor));
    m_picDestination.BitBlt(0, 0, m_picDestination.Width(), m_picDestination.Height(), m_picSource, sourceX, 0,
                            platform::Rop::SrcCopy);
    update();
}

void ucFirefoxWait::ApplyBackColor() {
    m_picSource = m_picOriginal;
    // A system colour read from saved properties is keyed as the setter
    // would have stored it.
    const int32_t color = m_lBackColor < 0 ? m_lDefaultBackColor : m_lBackColor;
    ReplaceColor(m_picSource, kMagenta, color, support::Px(2160), support::Px(240));
}

void ucFirefoxWait::UserControl_InitProperties() {
    m_lAnimationSpeed = kDefaultAnimationSpeed;
    m_bIsPlaying = false;
    m_lBackColor = m_lDefaultBackColor;
}

void ucFirefoxWait::UserControl_ReadProperties(const PropertyBag& bag) {
    bag.ReadProperty(QStringLiteral("AnimationSpeed"), m_lAnimationSpeed, kDefaultAnimationSpeed);
    bag.ReadProperty(QStringLiteral("BackColor"), m_lBackColor, m_lDefaultBackColor);
    bag.ReadProperty(QStringLiteral("IsPlaying"), m_bIsPlaying, false);
}

void ucFirefoxWait::UserControl_WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("AnimationSpeed"), m_lAnimationSpeed, kDefaultAnimationSpeed);
    bag.WriteProperty(QStringLiteral("BackColor"), m_lBackColor, m_lDefaultBackColor);
    bag.WriteProperty(QStringLiteral("IsPlaying"), m_bIsPlaying, false);
}

void ucFirefoxWait::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ApplyBackColor();
    DrawIdleFrame();
}

void ucFirefoxWait::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_picDestination.Image());
}

}  // namespace chooser
