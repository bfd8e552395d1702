#include "game/MaskRuns.h"

#include <stdexcept>

namespace game {

MaskRuns::MaskRuns(const platform::Surface& masks, int box, int cells) : m_Box(box), m_Cells(cells) {
    if (box < 0 || cells < 0 || box > 32767) throw std::out_of_range("mask cell size");
    m_Pure.assign(static_cast<size_t>(cells), true);
    m_RowStart.reserve(static_cast<size_t>(cells) * box + 1);
    m_RowStart.push_back(0);
    for (int k = 0; k < cells; ++k) {
        const bool covered = (k + 1) * box <= masks.Width() && box <= masks.Height();
        if (!covered) m_Pure[static_cast<size_t>(k)] = false;
        for (int y = 0; y < box; ++y) {
            if (covered) {
                const uint32_t* row = masks.Row(y) + k * box;
                int x = 0;
                while (x < box) {
                    if (row[x] == platform::kBlack) {
                        ++x;
                        continue;
                    }
                    if (row[x] != platform::kWhite) {
                        m_Pure[static_cast<size_t>(k)] = false;
                        ++x;
                        continue;
                    }
                    const int first = x;
                    while (x < box && row[x] == platform::kWhite) ++x;
                    m_Runs.push_back({static_cast<int16_t>(first), static_cast<int16_t>(x)});
                }
            }
            m_RowStart.push_back(static_cast<uint32_t>(m_Runs.size()));
        }
    }

    // A rim pixel at (x, y) of the shifted mask lies on the board where the
    // unshifted mask has (x + 1, y + 1).
    m_RimRowStart.reserve(m_RowStart.size());
    m_RimRowStart.push_back(0);
    for (int k = 0; k < cells; ++k) {
        const bool covered = (k + 1) * box <= masks.Width() && box <= masks.Height();
        for (int y = 0; y < box; ++y) {
            if (covered) {
                const uint32_t* row = masks.Row(y) + k * box;
                const uint32_t* below = y + 1 < box ? masks.Row(y + 1) + k * box : nullptr;
                auto rim = [&](int x) {
                    return row[x] == platform::kWhite && !(below && x + 1 < box && below[x + 1] == platform::kWhite);
                };
                for (int x = 0; x < box;) {
                    if (!rim(x)) {
                        ++x;
                        continue;
                    }
                    const int first = x;
                    while (x < box && rim(x)) ++x;
                    m_RimRuns.push_back({static_cast<int16_t>(first), static_cast<int16_t>(x)});
                }
            }
            m_RimRowStart.push_back(static_cast<uint32_t>(m_RimRuns.size()));
        }
    }
}

}  // namespace game
