// Sets a vertical and, optionally, a horizontal scroll bar's range and
// steps in one call. The grid keeps an instance of it.
#pragma once

#include <cstdint>

class QScrollBar;

namespace chooser {

class cPicScroll {
public:
    // The vertical maximum is limited to 32767, and so is the vertical large
    // change when the maximum is that long; the horizontal values are set as
    // given. Either bar may be missing.
    void SetUpScrollBars(QScrollBar* H_SB, QScrollBar* V_SB, int32_t lVer_MaxLen, int16_t iVer_SmallChange,
                         int32_t lVer_LargeChange, int32_t lHor_MaxLen, int16_t iHor_SmallChange,
                         int32_t lHor_LargeChange);
};

}  // namespace chooser
