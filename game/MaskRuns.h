// The white runs of each row of the scaled mask strip. Composing the board
// walks these instead of every pixel of a piece's square: XOR with black and
// AND with white change nothing, so only the runs and the few non-white
// bitmap pixels outside them need touching.
#pragma once

#include "platform/Surface.h"

#include <cstdint>
#include <vector>

namespace game {

class MaskRuns {
public:
    struct Run {
        int16_t First;  // first white column of the run, within the cell
        int16_t End;    // one past the last
    };

    // Reads `cells` cells of `box` x `box` from `masks`. A cell with a pixel
    // that is neither pure black nor pure white is marked impure, and its
    // runs are not to be used.
    MaskRuns(const platform::Surface& masks, int box, int cells);

    bool Pure(int cell) const { return cell >= 0 && cell < m_Cells && m_Pure[static_cast<size_t>(cell)]; }
    // The runs of row `row` of cell `cell`, as [begin, end).
    const Run* Begin(int cell, int row) const { return m_Runs.data() + m_RowStart[Index(cell, row)]; }
    const Run* End(int cell, int row) const { return m_Runs.data() + m_RowStart[Index(cell, row) + 1]; }

    // The runs of row `row` of a cell's rim: the white pixels of the mask
    // that stay outside the same mask once it is shifted one pixel right and
    // down. Only these survive the piece drawn over its own rim.
    const Run* RimBegin(int cell, int row) const { return m_RimRuns.data() + m_RimRowStart[Index(cell, row)]; }
    const Run* RimEnd(int cell, int row) const { return m_RimRuns.data() + m_RimRowStart[Index(cell, row) + 1]; }

private:
    size_t Index(int cell, int row) const { return static_cast<size_t>(cell) * m_Box + row; }

    int m_Box = 0;
    int m_Cells = 0;
    std::vector<bool> m_Pure;
    std::vector<uint32_t> m_RowStart;
    std::vector<Run> m_Runs;
    std::vector<uint32_t> m_RimRowStart;
    std::vector<Run> m_RimRuns;
};

}  // namespace game
