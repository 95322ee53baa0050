// The colour grid, swatch and transparent area on plain statics of a popup
// window: cell geometry and frames read back as pixels, hit tests at cell
// edges and gaps, keys, and the captions with and without string 7415.
#include <QNColourDialogs.h>

#include "colour/ColourPickerLogic.h"
#include "support/win32/WindowPixels.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using qncolour::k64Palette;

// A visible popup with one static child of the given client size at (10, 10).
class ControlHost {
public:
    ControlHost(int width, int height)
    {
        m_popup = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 20, 20, width + 20,
                                    height + 20, nullptr, nullptr, nullptr, nullptr);
        m_child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | WS_TABSTOP, 10, 10, width,
                                    height, m_popup, reinterpret_cast<HMENU>(1000), nullptr, nullptr);
    }
    ~ControlHost() { ::DestroyWindow(m_popup); }
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    HWND Child() const { return m_child; }
    POINT Screen(int x, int y) const
    {
        POINT point = {x, y};
        ::ClientToScreen(m_child, &point);
        return point;
    }

private:
    HWND m_popup = nullptr;
    HWND m_child = nullptr;
};

void PaintNow(CWnd& control)
{
    control.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

struct ColourGrid : ::testing::Test {
    ResourceModuleInForce resources{L"QNResources.dll"};
    ControlHost host{250, 170};
    unsigned long table[64] = {};
    CKestColorGridCtrl grid;

    void SetUp() override
    {
        for (int i = 0; i < 64; ++i)
            table[i] = k64Palette[i];
        ASSERT_TRUE(grid.SubclassWindow(host.Child()));
        grid.SetColorTable(8, 8, table);
    }
    void TearDown() override { grid.UnsubclassWindow(); }

    MSG Key(UINT message, WPARAM key) const { return MSG{host.Child(), message, key, 0, 0, {0, 0}}; }
};

TEST_F(ColourGrid, PaintsCellsFramesAndTheOutline)
{
    // 250 x 170: w = 26, h = 16; cell (c, r) at (3 + 31c, 3 + 21r).
    table[9] = table[62]; // two cells share the current colour: both get the outline
    grid.SetCurrentColor(table[62]);
    PaintNow(grid);
    const WindowPixels pixels(host.Child());
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW), dark = ::GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF hilight = ::GetSysColor(COLOR_3DHILIGHT), light = ::GetSysColor(COLOR_3DLIGHT);

    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const int L = 3 + column * 31, T = 3 + row * 21, w = 26, h = 16;
            const COLORREF colour = table[row * 8 + column] & 0xFFFFFF;
            const bool selected = table[row * 8 + column] == table[62];
            SCOPED_TRACE(testing::Message() << "cell " << column << "," << row);
            EXPECT_EQ(colour, pixels.At(L + w / 2, T + h / 2));
            EXPECT_EQ(colour, pixels.At(L + 2, T + 2));
            EXPECT_EQ(colour, pixels.At(L + w - 2, T + h - 2));
            EXPECT_EQ(shadow, pixels.At(L, T));
            EXPECT_EQ(shadow, pixels.At(L, T + h - 1));
            EXPECT_EQ(dark, pixels.At(L + 1, T + 1));
            EXPECT_EQ(hilight, pixels.At(L + w, T));
            EXPECT_EQ(hilight, pixels.At(L, T + h));
            EXPECT_EQ(hilight, pixels.At(L + w, T + h));
            EXPECT_EQ(light, pixels.At(L + w - 1, T + 1));
            EXPECT_EQ(light, pixels.At(L + 1, T + h - 1));
            const COLORREF outline = selected ? RGB(0, 0, 0) : face;
            EXPECT_EQ(outline, pixels.At(L - 1, T + h / 2));
            EXPECT_EQ(outline, pixels.At(L + w + 1, T + h / 2));
            EXPECT_EQ(outline, pixels.At(L + w / 2, T + h + 1));
            EXPECT_EQ(face, pixels.At(L + w + 3, T + h / 2)); // the gap
        }
    }
    EXPECT_EQ(face, pixels.At(0, 0));
    EXPECT_EQ(face, pixels.At(249, 169));
}

TEST_F(ColourGrid, FocusRectangleOnlyWithTheFocus)
{
    const RECT focusEdge = {3 - 2, 3 - 2, 3 + 26 + 3, 3 - 1}; // top line of cell (0, 0)'s focus rectangle
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    PaintNow(grid);
    EXPECT_EQ(0, 31 - WindowPixels(host.Child()).Count(focusEdge, face));
    ::SetFocus(host.Child()); // WM_SETFOCUS redraws at once
    EXPECT_LT(WindowPixels(host.Child()).Count(focusEdge, face), 31);
    ::SetFocus(nullptr);
    EXPECT_EQ(31, WindowPixels(host.Child()).Count(focusEdge, face));
}

TEST_F(ColourGrid, HitTestByPointAtEdgesAndGaps)
{
    RECT window = {};
    ::GetWindowRect(host.Child(), &window);
    struct Case {
        int x, y; // client coordinates
        int expected;
    };
    const Case cases[] = {
        {3, 3, int(table[0])},   {29, 19, int(table[0])}, {30, 3, -1},  {31, 3, -1},
        {33, 3, -1},             {34, 3, int(table[1])},  {3, 20, -1},  {3, 24, int(table[8])},
        {2, 3, -1},              {220, 150, int(table[63])}, {249, 169, -1},
        {250, 10, -1}, // x = right of the window rectangle: inside the window, outside every cell
        {251, 10, -1}, {-1, 10, -1},
    };
    for (const Case& c : cases) {
        const POINT screen = host.Screen(c.x, c.y);
        EXPECT_EQ(c.expected, grid.HitTest(screen.x, screen.y)) << c.x << "," << c.y;
    }
}

TEST_F(ColourGrid, KeysMoveTheFocusAndSpaceSelects)
{
    struct Case {
        UINT message;
        WPARAM key;
        int expected;
    };
    // From (0, 0): left and up stay; right, down reach (1, 1); space gives its
    // colour though it is not the current one; other keys and messages give -1.
    const Case cases[] = {
        {WM_KEYDOWN, VK_LEFT, -1},  {WM_KEYDOWN, VK_UP, -1},    {WM_KEYDOWN, VK_SPACE, int(table[0])},
        {WM_KEYDOWN, VK_RIGHT, -1}, {WM_KEYDOWN, VK_DOWN, -1},  {WM_KEYDOWN, VK_SPACE, int(table[9])},
        {WM_KEYUP, VK_SPACE, -1},   {WM_CHAR, L' ', -1},        {WM_KEYDOWN, VK_RETURN, -1},
    };
    for (const Case& c : cases) {
        MSG message = Key(c.message, c.key);
        EXPECT_EQ(c.expected, grid.HitTest(&message)) << c.message << " " << c.key;
    }
    EXPECT_EQ(-1, grid.HitTest(static_cast<MSG*>(nullptr)));

    // SetCurrentColor moves the focus to the colour's first cell, or to (0, 0).
    MSG space = Key(WM_KEYDOWN, VK_SPACE);
    grid.SetCurrentColor(table[21]);
    EXPECT_EQ(int(table[21]), grid.HitTest(&space));
    grid.SetCurrentColor(0x123456);
    EXPECT_EQ(int(table[0]), grid.HitTest(&space));
    // The focus stops at the right and bottom edges.
    MSG right = Key(WM_KEYDOWN, VK_RIGHT), down = Key(WM_KEYDOWN, VK_DOWN);
    for (int i = 0; i < 10; ++i) {
        grid.HitTest(&right);
        grid.HitTest(&down);
    }
    EXPECT_EQ(int(table[63]), grid.HitTest(&space));
}

// The swatch: the paint colour for each display mode, and the caption of a
// transparent colour, with and without string 7415 in the module in force.
TEST(ColourSwatch, DisplayModesAndTransparentCaption)
{
    struct Case {
        const wchar_t* module;
        unsigned long colour;
        int mode;
        COLORREF fill; // CLR_INVALID: the dialog face colour
        bool caption;
    };
    const Case cases[] = {
        {L"QNResources.dll", 0x00FF00, 1, RGB(0, 0, 0), false},
        {L"QNResources.dll", 0x0000FF, 1, RGB(255, 255, 255), false},
        {L"QNResources.dll", 0x01FF0001, 1, RGB(255, 255, 255), false},
        {L"QNResources.dll", 0x7F80FF, 2, 0x00FFFF, false},
        {L"QNResources.dll", 0x123456, 0, 0x123456, false},
        {L"QNResources.dll", 0x123456, 7, 0x123456, false},
        {L"QNResources.dll", 0x08000000, 1, CLR_INVALID, true},
        {L"QNResBare.dll", 0x08123456, 0, CLR_INVALID, false}, // no string 7415: no caption
    };
    for (const Case& c : cases) {
        ResourceModuleInForce resources(c.module);
        ControlHost host(90, 40);
        CKestStaticColorCtrl swatch;
        ASSERT_TRUE(swatch.SubclassWindow(host.Child()));
        swatch.SetColor(c.colour, c.mode);
        PaintNow(swatch);
        const WindowPixels pixels(host.Child());
        const COLORREF fill = c.fill == CLR_INVALID ? ::GetSysColor(COLOR_3DFACE) : c.fill;
        const RECT all = {0, 0, 90, 40};
        const int black = pixels.Count(all, RGB(0, 0, 0));
        SCOPED_TRACE(testing::Message() << std::hex << c.colour << " mode " << c.mode);
        EXPECT_EQ(fill, pixels.At(0, 0));
        EXPECT_EQ(fill, pixels.At(89, 39));
        if (c.fill != RGB(0, 0, 0)) {
            EXPECT_EQ(c.caption, black > 0);
        }
        swatch.UnsubclassWindow();
    }
}

TEST(ColourTransparentArea, HitTestsAndCaption)
{
    for (const wchar_t* module : {L"QNResources.dll", L"QNResBare.dll"}) {
        ResourceModuleInForce resources(module);
        ControlHost host(100, 30);
        CKestTransparentCtrl area;
        ASSERT_TRUE(area.SubclassWindow(host.Child()));
        RECT window = {};
        ::GetWindowRect(host.Child(), &window);
        struct Case {
            int x, y;
            unsigned long expected;
        };
        const Case cases[] = {
            {window.left, window.top, 0x08000000},      {window.right, window.bottom, 0x08000000},
            {window.right + 1, window.top, 0xFFFFFFFF}, {window.left, window.top - 1, 0xFFFFFFFF},
        };
        for (const Case& c : cases)
            EXPECT_EQ(c.expected, area.HitTest(c.x, c.y)) << c.x << "," << c.y;
        MSG keys[] = {{host.Child(), WM_KEYDOWN, VK_SPACE, 0, 0, {}},
                      {host.Child(), WM_KEYUP, VK_SPACE, 0, 0, {}},
                      {host.Child(), WM_KEYDOWN, VK_RETURN, 0, 0, {}}};
        EXPECT_EQ(0x08000000u, area.HitTest(&keys[0]));
        EXPECT_EQ(0xFFFFFFFFu, area.HitTest(&keys[1]));
        EXPECT_EQ(0xFFFFFFFFu, area.HitTest(&keys[2]));

        // The caption (black text) only when the module holds string 7415; the
        // focus rectangle, 2 pixels in, only with the focus.
        PaintNow(area);
        const RECT all = {0, 0, 100, 30};
        const bool hasCaption = lstrcmpW(module, L"QNResources.dll") == 0;
        EXPECT_EQ(hasCaption, WindowPixels(host.Child()).Count(all, RGB(0, 0, 0)) > 0) << module;
        const RECT focusLine = {2, 2, 98, 3};
        const COLORREF face = ::GetSysColor(COLOR_3DFACE);
        EXPECT_EQ(96, WindowPixels(host.Child()).Count(focusLine, face));
        ::SetFocus(host.Child());
        EXPECT_LT(WindowPixels(host.Child()).Count(focusLine, face), 96);
        ::SetFocus(nullptr);
        area.UnsubclassWindow();
    }
}

} // namespace
