// The busy animation: a 16 x 16 ring of eight dots whose dark head runs
// clockwise while the widget plays, and a plain grey ring while it is idle.
// Frames are block copies from a frame strip whose magenta key has been
// replaced by the widget's back colour, so the ring sits on its host's colour.
#pragma once

#include "chooser/PropertyBag.h"
#include "platform/Surface.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>

namespace chooser {

constexpr int32_t kMagenta = 0x00FF00FF;  // key colour of the strip
constexpr int kIdleSourceX = 128;         // cell 8, the still image
constexpr int32_t kDefaultAnimationSpeed = 100;

// The frame after `frame`: 1, 2, ..., 7, 0, 1, ...
int32_t NextFrame(int32_t frame);
// Left edge of a frame's cell in the strip.
int FrameSourceX(int32_t frame);
// Every pixel of the w x h area at the surface's top left whose colour is
// `oldColor` takes `newColor`; the rest is untouched. Colours are game
// colours; the area is clipped to the surface.
void ReplaceColor(platform::Surface& surface, int32_t oldColor, int32_t newColor, int w, int h);

class ucFirefoxWait : public QWidget {
public:
    explicit ucFirefoxWait(QWidget* parent = nullptr);
    ~ucFirefoxWait() override;

    int32_t AnimationSpeed() const { return m_lAnimationSpeed; }
    void SetAnimationSpeed(int32_t l_Milliseconds);
    int32_t BackColor() const { return m_lBackColor; }
    void SetBackColor(int32_t l_BackColor);
    bool IsPlaying() const { return m_bIsPlaying; }
    void SetIsPlaying(bool bPlaying);

    void PlayWait();
    void StopWait();

    // The host's saved properties.
    void UserControl_InitProperties();
    void UserControl_ReadProperties(const PropertyBag& bag);
    void UserControl_WriteProperties(PropertyBag& bag) const;

    // Told the name of a persisted property that changed.
    std::function<void(const QString&)> PropertyChanged;

    void tmrPlay_Timer();

    // What the widget shows and works from, for the tests.
    const platform::Surface& picDestination() const { return m_picDestination; }
    const platform::Surface& picSource() const { return m_picSource; }
    int32_t Frame() const { return m_lFrame; }
    int32_t DefaultBackColor() const { return m_lDefaultBackColor; }
    const QTimer& tmrPlay() const { return m_tmrPlay; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ApplyBackColor();
    void DrawNextFrame();
    void DrawIdleFrame();
    void DrawCell(int sourceX);
    void Notify(const QString& name);
    void ApplyInterval();

    int32_t m_lFrame = 0;
    int32_t m_lDefaultBackColor = 0;
    int32_t m_lBackColor = 0;
    bool m_bIsPlaying = false;
    int32_t m_lAnimationSpeed = kDefaultAnimationSpeed;

    platform::Surface m_picOriginal;     // the pristine strip, never drawn on
    platform::Surface m_picSource;       // the strip in the widget's colour
    platform::Surface m_picDestination;  // the visible frame
    QTimer m_tmrPlay;
};

}  // namespace chooser
