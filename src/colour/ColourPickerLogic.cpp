// Portable arithmetic of the colour controls and dialogs (see ColourPickerLogic.h).
#include "colour/ColourPickerLogic.h"

#include "colour/ColourLevels.h"
#include "common/AsciiText.h"


namespace qn::colour {

namespace {

constexpr unsigned kVkLeft = 37;
constexpr unsigned kVkUp = 38;
constexpr unsigned kVkRight = 39;
constexpr unsigned kVkDown = 40;

constexpr int kMargin = 3;
constexpr int kGap = 5;

} // namespace

GridLayout GridLayout::For(int clientWidth, int clientHeight, int columns, int rows)
{
    GridLayout layout{columns, rows, 0, 0};
    layout.cellWidth = (clientWidth - kGap * columns - 2) / columns;
    layout.cellHeight = (clientHeight - kGap * rows - 2) / rows;
    return layout;
}

GridCell GridLayout::Cell(int column, int row) const
{
    return {kMargin + column * (cellWidth + kGap), kMargin + row * (cellHeight + kGap), cellWidth, cellHeight};
}

int GridLayout::IndexAt(int x, int y) const
{
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const GridCell cell = Cell(column, row);
            if (cell.left <= x && x <= cell.left + cell.width && cell.top <= y && y <= cell.top + cell.height)
                return row * columns + column;
        }
    }
    return -1;
}

bool MoveFocusCell(unsigned key, int columns, int rows, int& column, int& row)
{
    switch (key) {
    case kVkLeft:
        if (column == 0)
            return false;
        --column;
        return true;
    case kVkUp:
        if (row == 0)
            return false;
        --row;
        return true;
    case kVkRight:
        if (column == columns - 1)
            return false;
        ++column;
        return true;
    case kVkDown:
        if (row == rows - 1)
            return false;
        ++row;
        return true;
    default:
        return false;
    }
}

ULONG Closest64Level(ULONG channel)
{
    ULONG best = kLevels64[0];
    for (unsigned char level : kLevels64) {
        if (level == channel)
            return level;
        const ULONG distance = level > channel ? level - channel : channel - level;
        const ULONG bestDistance = best > channel ? best - channel : channel - best;
        if (distance <= bestDistance)
            best = level;
    }
    return best;
}

int TextToInt(const WCHAR* text)
{
    if (text == nullptr)
        return 0;
    return qn::ascii::ParseInt32(text);
}

ULONG WithChannel(ULONG colour, Channel channel, int value)
{
    const unsigned shift = 8u * static_cast<unsigned>(channel);
    const ULONG rgb = colour & 0x00FFFFFF & ~(ULONG{0xFF} << shift);
    return rgb | (static_cast<ULONG>(value) & 0xFF) << shift;
}

void ColourHistory::Add(ULONG colour, std::int64_t now)
{
    for (int slot = 0; slot < m_count; ++slot) {
        if (m_colours[slot] == colour) {
            m_stamps[slot] = now;
            return;
        }
    }
    int slot = m_count;
    if (m_count < kSize) {
        ++m_count;
    } else {
        slot = 0;
        for (int i = 1; i < kSize; ++i) {
            if (m_stamps[i] < m_stamps[slot])
                slot = i;
        }
    }
    m_colours[slot] = colour;
    m_stamps[slot] = now;
}

void ColourHistory::Clear()
{
    *this = ColourHistory();
}

} // namespace qn::colour
