// The colour grid, swatch and transparent area on plain statics of a popup:
// frames and captions read back as pixels, hit tests at edges, keys.
#include <QNColourDialogs.h>

#include "colour/ColourPickerLogic.h"
#include "support/win32/WindowPixels.h"

#include <gtest/gtest.h>

namespace {

// A visible popup with one static child of the given client size at (10, 10).
struct ControlHost {
    HWND popup, child;
    ControlHost(int width, int height)
        : popup(::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 20, 20, width + 20, height + 20,
                                  nullptr, nullptr, nullptr, nullptr)),
          child(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, width, height, popup,
                                  nullptr, nullptr, nullptr))
    {
    }
    ~ControlHost() { ::DestroyWindow(popup); }
    POINT Screen(int x, int y) const
    {
        POINT point = {x, y};
        ::ClientToScreen(child, &point);
        return point;
    }
};

void PaintNow(CWnd& control) { control.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

TEST(ColourGrid, PaintsHitTestsAndKeys)
{
    ResourceModuleInForce resources(L"QNResources.dll");
    ControlHost host(250, 170); // cells 26 x 16 at (3 + 31c, 3 + 21r)
    unsigned long table[64];
    std::copy(qn::colour::k64Palette.begin(), qn::colour::k64Palette.end(), table);
    table[9] = table[62]; // two cells with the current colour: both outlined
    CKestColorGridCtrl grid;
    ASSERT_TRUE(grid.SubclassWindow(host.child));
    grid.SetColorTable(8, 8, table);
    grid.SetCurrentColor(table[62]);
    PaintNow(grid);
    const WindowPixels pixels(host.child);
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    for (int index : {0, 9, 37, 62}) {
        const int L = 3 + index % 8 * 31, T = 3 + index / 8 * 21, w = 26, h = 16;
        const COLORREF outline = table[index] == table[62] ? RGB(0, 0, 0) : face;
        const struct {
            int x, y;
            COLORREF colour;
        } points[] = {{L + w / 2, T + h / 2, table[index]}, {L, T, ::GetSysColor(COLOR_3DSHADOW)},
                      {L + 1, T + 1, ::GetSysColor(COLOR_3DDKSHADOW)}, {L + w, T + h, ::GetSysColor(COLOR_3DHILIGHT)},
                      {L + w - 1, T + 1, ::GetSysColor(COLOR_3DLIGHT)}, {L - 1, T + h / 2, outline},
                      {L + w / 2, T + h + 1, outline}, {L + w + 3, T + h / 2, face}};
        for (const auto& p : points)
            EXPECT_EQ(p.colour, pixels.At(p.x, p.y)) << "cell " << index << " at " << p.x << "," << p.y;
    }
    // The focus rectangle of the focus cell (1, 1), the current colour's first
    // cell, only while the grid has the focus.
    const RECT focusLine = {32, 22, 63, 23};
    ::SetFocus(host.child);
    EXPECT_LT(WindowPixels(host.child).Count(focusLine, face), 31);
    ::SetFocus(nullptr);
    EXPECT_EQ(31, WindowPixels(host.child).Count(focusLine, face));

    const struct {
        int x, y, expected;
    } points[] = {{29, 19, int(table[0])}, {31, 3, -1}, {34, 3, int(table[1])}, {250, 10, -1}, {-1, 10, -1}};
    for (const auto& p : points) {
        const POINT screen = host.Screen(p.x, p.y);
        EXPECT_EQ(p.expected, grid.HitTest(screen.x, screen.y)) << p.x << "," << p.y;
    }
    // From the current colour's cell (5, 7): down stops, right reaches the
    // edge; space gives the focus cell's colour; other keys and messages -1.
    const struct {
        UINT message;
        WPARAM key;
        int expected;
    } keys[] = {{WM_KEYDOWN, VK_DOWN, -1},  {WM_KEYDOWN, VK_RIGHT, -1}, {WM_KEYDOWN, VK_RIGHT, -1},
                {WM_KEYDOWN, VK_SPACE, int(table[63])}, {WM_KEYDOWN, VK_UP, -1}, {WM_KEYDOWN, VK_SPACE, int(table[55])},
                {WM_KEYUP, VK_SPACE, -1},   {WM_KEYDOWN, VK_RETURN, -1}};
    grid.SetCurrentColor(table[61]);
    for (const auto& k : keys) {
        MSG message = {host.child, k.message, k.key, 0, 0, {}};
        EXPECT_EQ(k.expected, grid.HitTest(&message)) << k.message << " " << k.key;
    }
    grid.UnsubclassWindow();
}

// The swatch's paint colour per display mode, the transparent caption with and
// without string 7415, and the transparent area's hit tests and caption.
TEST(ColourSwatchAndTransparentArea, PaintAndHitTests)
{
    const struct {
        const wchar_t* module;
        unsigned long colour;
        int mode;
        COLORREF fill; // CLR_INVALID: the face colour, with a caption when the module has 7415
    } cases[] = {
        {L"QNResources.dll", 0x00FF00, 1, RGB(0, 0, 0)},   {L"QNResources.dll", 0x01FF0001, 1, RGB(255, 255, 255)},
        {L"QNResources.dll", 0x7F80FF, 2, 0x00FFFF},       {L"QNResources.dll", 0x123456, 7, 0x123456},
        {L"QNResources.dll", 0x08000000, 1, CLR_INVALID}, {L"QNResBare.dll", 0x08123456, 0, CLR_INVALID},
    };
    for (const auto& c : cases) {
        ResourceModuleInForce resources(c.module);
        const bool caption = c.fill == CLR_INVALID && lstrcmpW(c.module, L"QNResources.dll") == 0;
        ControlHost host(90, 40);
        CKestStaticColorCtrl swatch;
        ASSERT_TRUE(swatch.SubclassWindow(host.child));
        swatch.SetColor(c.colour, c.mode);
        PaintNow(swatch);
        const WindowPixels pixels(host.child);
        EXPECT_EQ(c.fill == CLR_INVALID ? ::GetSysColor(COLOR_3DFACE) : c.fill, pixels.At(89, 39)) << std::hex << c.colour;
        if (c.fill != RGB(0, 0, 0)) {
            EXPECT_EQ(caption, pixels.Count({0, 0, 90, 40}, RGB(0, 0, 0)) > 0) << std::hex << c.colour;
        }
        swatch.UnsubclassWindow();

        if (c.fill != CLR_INVALID)
            continue;
        CKestTransparentCtrl area;
        ASSERT_TRUE(area.SubclassWindow(host.child));
        RECT window = {};
        ::GetWindowRect(host.child, &window);
        EXPECT_EQ(QN_COLOR_TRANSPARENT, area.HitTest(window.right, window.bottom)); // edges included
        EXPECT_EQ(QN_COLOR_NONE, area.HitTest(window.right + 1, window.top));
        MSG space = {host.child, WM_KEYDOWN, VK_SPACE, 0, 0, {}}, up = {host.child, WM_KEYUP, VK_SPACE, 0, 0, {}};
        EXPECT_EQ(QN_COLOR_TRANSPARENT, area.HitTest(&space));
        EXPECT_EQ(QN_COLOR_NONE, area.HitTest(&up));
        PaintNow(area);
        EXPECT_EQ(caption, WindowPixels(host.child).Count({0, 0, 90, 40}, RGB(0, 0, 0)) > 0);
        ::SetFocus(host.child); // the focus rectangle, 2 pixels in
        EXPECT_LT(WindowPixels(host.child).Count({2, 2, 88, 3}, ::GetSysColor(COLOR_3DFACE)), 86);
        ::SetFocus(nullptr);
        area.UnsubclassWindow();
    }
}

} // namespace
