#include "chooser/cPicScroll.h"

#include <QScrollBar>

namespace chooser {

void cPicScroll::SetUpScrollBars(QScrollBar* H_SB, QScrollBar* V_SB, int32_t lVer_MaxLen, int16_t iVer_SmallChange,
                                 int32_t lVer_LargeChange, int32_t lHor_MaxLen, int16_t iHor_SmallChange,
                                 int32_t lHor_LargeChange) {
    if (V_SB) {
        V_SB->setMaximum(lVer_MaxLen < 32768 ? lVer_MaxLen : 32767);
        V_SB->setSingleStep(iVer_SmallChange);
        V_SB->setPageStep(lVer_MaxLen < 32768 ? lVer_LargeChange : 32767);
    }
    if (H_SB) {
        H_SB->setMaximum(lHor_MaxLen);
        H_SB->setSingleStep(iHor_SmallChange);
        H_SB->setPageStep(lHor_LargeChange);
    }
}

}  // namespace chooser
