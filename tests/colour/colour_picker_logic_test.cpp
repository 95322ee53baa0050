// Grid layout and hit test, focus moves, the 64-colour levels, the RGB field
// conversion and the colour history.
#include "colour/ColourPickerLogic.h"

#include <gtest/gtest.h>

#include <climits>

using namespace qn::colour;

namespace {

TEST(ColorGridLayout, CellSizeEdgesAndGaps)
{
    // 8 x 8 cells in 250 x 170: w = 26, h = 16, cell (1, 0) starts at x = 34.
    const GridLayout layout = GridLayout::For(250, 170, 8, 8);
    EXPECT_EQ(26, layout.cellWidth);
    EXPECT_EQ(16, layout.cellHeight);
    EXPECT_EQ(3 + 7 * 21, layout.Cell(0, 7).top);
    struct Case {
        int x, y, index;
    };
    const Case cases[] = {
        {3, 3, 0},   {2, 3, -1}, {3, 2, -1},  {29, 3, 0},   {30, 3, -1}, {33, 3, -1},  {34, 3, 1},
        {3, 19, 0},  {3, 20, -1}, {3, 24, 8}, {-5, -5, -1}, {3 + 7 * 31 + 26, 3 + 7 * 21 + 16, 63},
        {3 + 7 * 31 + 27, 3 + 7 * 21, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.index, layout.IndexAt(c.x, c.y)) << c.x << "," << c.y;
    // Division toward zero: (10 - 10 - 2) / 2 = -1 hits nothing; (9 - 5 - 2) / 1 = 2.
    EXPECT_EQ(-1, GridLayout::For(10, 10, 2, 2).IndexAt(3, 3));
    EXPECT_EQ(0, GridLayout::For(9, 9, 1, 1).IndexAt(5, 5));
    EXPECT_EQ(-1, GridLayout::For(9, 9, 1, 1).IndexAt(6, 5));
}

TEST(ColorGridFocus, ArrowKeysStopAtTheEdges)
{
    struct Case {
        unsigned key;
        int column, row;
        bool moved;
        int newColumn, newRow;
    };
    const Case cases[] = {
        {37, 0, 0, false, 0, 0}, {38, 0, 0, false, 0, 0}, {39, 7, 3, false, 7, 3}, {40, 2, 7, false, 2, 7},
        {37, 3, 2, true, 2, 2},  {38, 3, 2, true, 3, 1},  {39, 3, 2, true, 4, 2},  {40, 3, 2, true, 3, 3},
        {32, 3, 2, false, 3, 2}, {13, 3, 2, false, 3, 2},
    };
    for (const Case& c : cases) {
        int column = c.column, row = c.row;
        const bool moved = MoveFocusCell(c.key, 8, 8, column, row);
        EXPECT_TRUE(moved == c.moved && column == c.newColumn && row == c.newRow) << c.key << " " << c.column;
    }
}

TEST(Color64Levels, NearestLevelTiesGoUp)
{
    const ULONG cases[][2] = {{0x00, 0x00}, {0x32, 0x00}, {0x33, 0x66}, {0x7F, 0x66}, {0x80, 0x99},
                              {0xCB, 0x99}, {0xCC, 0xFF}, {0xFF, 0xFF}, {0x99, 0x99}};
    for (const auto& c : cases)
        EXPECT_EQ(c[1], Closest64Level(c[0])) << c[0];
}

TEST(ColorFields, TextToIntAsTheStandardConversion)
{
    struct Case {
        const WCHAR* text;
        int value;
    };
    const Case cases[] = {
        {_T("300"), 300}, {_T("-5"), -5},     {_T(""), 0},  {_T("  42abc"), 42},       {_T("+7"), 7},
        {_T("abc"), 0},   {_T("- 5"), 0},     {nullptr, 0}, {_T("\t\n12"), 12},        {_T("007"), 7},
        {_T("99999999999"), INT_MAX},         {_T("-99999999999"), INT_MIN}, {_T("-2147483648"), INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value, TextToInt(c.text));
}

TEST(ColorFields, WithChannelClearsTheFlags)
{
    EXPECT_EQ(0x1234FFu, WithChannel(0x08123456, Channel::Red, 0x1FF));
    EXPECT_EQ(0x120056u, WithChannel(0x03123456, Channel::Green, 0));
    EXPECT_EQ(0x803456u, WithChannel(0x00123456, Channel::Blue, -128));
}

TEST(ColorHistory, SeventeenColoursDropTheOldest)
{
    ColourHistory history;
    for (int i = 0; i < 17; ++i)
        history.Add(0x100 + i, 1000 + i);
    EXPECT_EQ(16, history.Count());
    for (int slot = 0; slot < 16; ++slot) // slot 0 held the first colour
        EXPECT_EQ(slot == 0 ? 0x110u : ULONG(0x100 + slot), history.Colours()[slot]);

    // A colour already there keeps its slot and gets the new time.
    history.Add(0x105, 2000);
    EXPECT_EQ(0x105u, history.Colours()[5]);
    EXPECT_EQ(2000, history.Stamp(5));
    history.Add(0x200, 2001); // the oldest is now slot 1
    EXPECT_EQ(0x200u, history.Colours()[1]);
    // All 32 bits count: the transparent flag makes another entry.
    history.Add(0x08000105, 2002);
    EXPECT_EQ(0x08000105u, history.Colours()[2]);
}

TEST(ColorHistory, EqualOldestStampsReplaceTheLowerSlot)
{
    ColourHistory history;
    for (int i = 0; i < 16; ++i)
        history.Add(i, i < 2 ? 50 : 100 + i);
    history.Add(0xAA, 500);
    EXPECT_EQ(0xAAu, history.Colours()[0]);
    history.Add(0xBB, 501);
    EXPECT_EQ(0xBBu, history.Colours()[1]);
    EXPECT_EQ(2u, history.Colours()[2]);
}

} // namespace
