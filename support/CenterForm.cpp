#include "support/CenterForm.h"

#include "game/Numeric.h"
#include "support/Twips.h"

namespace support {

QPoint CenterFormPosition(QSize screen, QSize window) {
    const float tw = static_cast<float>(kTwipsPerPixel);
    const float top = static_cast<float>(screen.height()) * tw / 2.0f - static_cast<float>(window.height()) * tw / 2.0f;
    const float left = static_cast<float>(screen.width()) * tw / 2.0f - static_cast<float>(window.width()) * tw / 2.0f;
    // A screen position is a whole pixel; Int32 rounds ties to even and
    // refuses what no window system could place.
    return {game::Int32(static_cast<double>(left) / kTwipsPerPixel), game::Int32(static_cast<double>(top) / kTwipsPerPixel)};
}

}  // namespace support
