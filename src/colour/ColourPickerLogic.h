// The arithmetic behind the colour controls and the colour dialogs, kept free
// of windows so that it builds and is tested everywhere: the cell layout of
// the colour grid and its hit test, focus moves by arrow keys, the 64-colour
// palette, the RGB field conversion, and the history of recently chosen colours.
#pragma once

#include <QNPlatform.h>

#include <array>
#include <cstdint>

namespace qn::colour {

// ---------------------------------------------------------------------------
// Colour grid layout (client coordinates). Each cell has a 3-pixel margin
// before the first cell and 5-pixel gaps between cells:
//   w = (clientWidth - 5 x columns - 2) / columns, h likewise with rows,
//   cell (c, r) at L = 3 + c x (w + 5), T = 3 + r x (h + 5), w x h pixels.
// Callers guarantee columns >= 1 and rows >= 1.
struct GridCell {
    int left, top, width, height;
};

struct GridLayout {
    int columns, rows;
    int cellWidth, cellHeight;

    static GridLayout For(int clientWidth, int clientHeight, int columns, int rows);
    GridCell Cell(int column, int row) const;
    // The index (row x columns + column) of the first cell, row by row, with
    // L <= x <= L + w and T <= y <= T + h (edges included); -1 in the gaps and margins.
    int IndexAt(int x, int y) const;
};

// Arrow-key focus moves (VK_LEFT 37, VK_UP 38, VK_RIGHT 39, VK_DOWN 40); the
// focus stops at the edges. Returns true when the focus cell changed.
bool MoveFocusCell(unsigned key, int columns, int rows, int& column, int& row);

// ---------------------------------------------------------------------------
// 64-colour palette: entry i has red level i / 16, green level (i / 4) mod 4,
// blue level i mod 4, from the levels 0x00, 0x66, 0x99, 0xFF.
constexpr std::array<ULONG, 64> Build64Palette()
{
    constexpr unsigned char levels[4] = {0x00, 0x66, 0x99, 0xFF};
    std::array<ULONG, 64> palette{};
    for (int i = 0; i < 64; ++i)
        palette[i] = ULONG{levels[i / 16]} | ULONG{levels[(i / 4) % 4]} << 8 | ULONG{levels[i % 4]} << 16;
    return palette;
}
inline constexpr std::array<ULONG, 64> k64Palette = Build64Palette();
static_assert(k64Palette[0] == 0x000000 && k64Palette[1] == 0x660000 && k64Palette[4] == 0x006600 &&
              k64Palette[16] == 0x000066 && k64Palette[63] == 0xFFFFFF);

// The 64-colour level nearest to a channel value (ties to the higher level).
ULONG Closest64Level(ULONG channel);

// ---------------------------------------------------------------------------
// RGB fields

// The standard wide text-to-integer conversion: white space skipped, an
// optional sign, decimal digits up to the first other character; 0 without
// digits. Values beyond the int range saturate. Null reads as 0.
int TextToInt(const WCHAR* text);

// Channel index 0 red, 1 green, 2 blue.
enum class Channel { Red = 0, Green = 1, Blue = 2 };

// The colour with one channel replaced by the low 8 bits of `value`; bits 24
// to 31 become 0, so a transparent colour stops being transparent.
ULONG WithChannel(ULONG colour, Channel channel, int value);

// ---------------------------------------------------------------------------
// History of the 16 most recently chosen colours.
class ColourHistory {
public:
    static constexpr int kSize = 16;

    // Records `colour` at time `now` (seconds): an entry already holding the
    // colour (all 32 bits) only gets the new time; otherwise the next free slot
    // is used, and in a full history the slot with the oldest time (the lowest
    // such slot on a tie) is replaced.
    void Add(ULONG colour, std::int64_t now);
    void Clear();

    int Count() const { return m_count; }
    // The colour table, laid out as the common colour dialog reads its custom colours.
    ULONG* Colours() { return m_colours; }
    const ULONG* Colours() const { return m_colours; }
    std::int64_t Stamp(int slot) const { return m_stamps[slot]; }

private:
    int m_count = 0;
    ULONG m_colours[kSize] = {};
    std::int64_t m_stamps[kSize] = {};
};

} // namespace qn::colour
