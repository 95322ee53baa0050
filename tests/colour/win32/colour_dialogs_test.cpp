// Both colour dialogs run modally and driven from inside by messages:
// choosing, the fields, the swatches read back as pixels, the eyedropper, the
// shared history and the resource failure rules.
#include <QNColourDialogs.h>

#include "colour/win32/ColourDialogSteps.h"

#include <commdlg.h>

#include <algorithm>
#include <type_traits>
#include <vector>

namespace {

using namespace qntest;
using qn::colour::k64Palette;

constexpr unsigned long kUnchecked = 0xFFFFFFFE;
enum Apply { None, NoTransparency, Transparency };

struct Scenario {
    const char* name;
    int mode; // control mode of the 64-colour dialog, target mode of the full one
    unsigned long opening;
    Apply apply;
    std::vector<Step> steps;
    INT_PTR result;
    unsigned long colour; // GetColor afterwards
};

template <class Dialog> void Drive(Dialog& dialog, const Scenario& s)
{
    SCOPED_TRACE(s.name);
    dialog.SetColor(s.opening);
    if (s.apply == NoTransparency)
        dialog.ApplyNoTransparency();
    if constexpr (std::is_same_v<Dialog, CKestFullColorDlg>) {
        if (s.apply == Transparency)
            dialog.ApplyTransparency();
    }
    DialogDriver driver(s.steps);
    EXPECT_EQ(s.result, dialog.DoModal());
    EXPECT_EQ(s.steps.size(), driver.StepsRun());
    if (s.colour != kUnchecked) {
        EXPECT_EQ(s.colour, dialog.GetColor());
    }
}

void Run64(const Scenario& s, const wchar_t* module = L"QNResources.dll")
{
    ResourceModuleInForce resources(module);
    CKest64ColorDlg dialog(static_cast<e64ColorControlMode>(s.mode));
    Drive(dialog, s);
}

void RunFull(const Scenario& s, const wchar_t* module = L"QNResources.dll")
{
    ResourceModuleInForce resources(module);
    CKestFullColorDlg dialog;
    dialog.SetColorMode(s.mode);
    Drive(dialog, s);
}

Step Hidden(int id, bool disabledToo = false)
{
    return [=](HWND dialog) {
        EXPECT_FALSE(::IsWindowVisible(Item(dialog, id))) << id;
        if (disabledToo) {
            EXPECT_FALSE(::IsWindowEnabled(Item(dialog, id))) << id;
        }
    };
}

const Step ok = Command(IDOK);

// 64-colour dialog: 1000 grid, 1001 target swatch, 1002/1004/1005 fields,
// 1003 new colour swatch, 1006 transparent area, 1007 label, 1017 icon.
TEST(Colour64Dialog, Scenarios)
{
    const Step doubleClickInGap = [](HWND dialog) {
        RECT grid = {};
        ::GetClientRect(Item(dialog, 1000), &grid);
        POINT point = PointOn(dialog, 1000, 0, false);
        point.x += (grid.right - 42) / 8 - (grid.right - 42) / 16 + 2; // between cells 0 and 1
        ::SendMessageW(dialog, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    };
    const Scenario scenarios[] = {
        {"a click on a cell", 0, 0, None,
         {Mouse(1000, WM_LBUTTONDOWN, MK_LBUTTON, 33), ExpectText(1002, L"153"), ExpectText(1005, L"102"),
          ExpectPixel(1003, k64Palette[33]), ExpectPixel(1001, RGB(255, 255, 255)), ok},
         IDOK, k64Palette[33]},
        {"8 colours: no transparent choice", 1, 0x123456, None,
         {Mouse(1000, WM_LBUTTONDOWN, MK_LBUTTON, 33), ExpectPixel(1001, RGB(255, 0, 0)), ExpectText(1007, L"8 colours:"),
          Hidden(1006, true), Mouse(1006, WM_LBUTTONDOWN), ok},
         IDOK, k64Palette[33]},
        {"Cancel", 0, 0x996600, None, {Mouse(1000, WM_LBUTTONDOWN, MK_LBUTTON, 1), ExpectPixel(1001, 0), Command(IDCANCEL)},
         IDCANCEL, k64Palette[1]},
        {"a double click on a cell ends the dialog", 0, 0, None, {Mouse(1000, WM_LBUTTONDBLCLK, MK_LBUTTON, 63)}, IDOK,
         0xFFFFFF},
        {"a double click in a gap does nothing", 0, 0x123456, None, {doubleClickInGap, ok}, IDOK, 0x123456},
        {"the transparent area", 0, 0x123456, None, {Mouse(1006, WM_LBUTTONDOWN), ExpectText(1002, L""), ok}, IDOK,
         0x08000000},
        {"no transparency", 0, 0x123456, NoTransparency, {Hidden(1006), Mouse(1006, WM_LBUTTONDOWN), ok}, IDOK, 0x123456},
        {"arrows move the focus, space selects", 0, 0x123456, None,
         {Press(1000, VK_RIGHT), Press(1000, VK_DOWN), Press(1000, VK_DOWN), ExpectText(1002, L"86"),
          Press(1000, VK_SPACE), ok},
         IDOK, k64Palette[17]},
        {"space on the transparent area", 0, 0x123456, None, {Press(1006, VK_SPACE), ok}, IDOK, 0x08000000},
        {"right button outside picking", 0, 0x00FF00, None, {Mouse(1000, WM_RBUTTONDOWN, MK_RBUTTON), ok}, IDOK, 0x00FF00},
        {"fields are held to 0..255 and end a transparent choice", 0, 0x08000000, None,
         {Type(1002, L"300"), ExpectText(1002, L"255"), Type(1004, L"-5"), ExpectText(1004, L"0"), Type(1005, L"7x"),
          [](HWND dialog) { ::SetFocus(Item(dialog, 1002)); }, ExpectText(1005, L"7"), ok},
         IDOK, 0x0700FF},
        {"an empty field counts as 0", 0, 0x336699, None, {Type(1004, L""), ok}, IDOK, 0x330099},
        {"eyedropper: drag and release", 0, 0x123456, None,
         {StartPicking(1017), Mouse(1000, WM_MOUSEMOVE, MK_LBUTTON, 42), ExpectText(1002, L"153"),
          Mouse(1000, WM_LBUTTONUP, 0), PickingEnded(1017, true), ok},
         IDOK, k64Palette[42]},
        {"eyedropper: a second press ends", 0, 0x123456, None,
         {StartPicking(1017), Mouse(1000, WM_MOUSEMOVE, 0, 21), Mouse(1000, WM_LBUTTONDOWN), PickingEnded(1017, true), ok},
         IDOK, k64Palette[21]},
        {"eyedropper: the right button restores", 0, 0x123456, None,
         {StartPicking(1017), Mouse(1000, WM_MOUSEMOVE, 0, 21), Mouse(1000, WM_RBUTTONDOWN, MK_RBUTTON),
          ExpectText(1002, L"86"), ok},
         IDOK, 0x123456},
        {"eyedropper: Escape restores and stays open", 0, 0x123456, None,
         {StartPicking(1017), Mouse(1000, WM_MOUSEMOVE, 0, 21), Press(0, VK_ESCAPE), PickingEnded(1017, false), ok},
         IDOK, 0x123456},
    };
    for (const Scenario& s : scenarios)
        Run64(s);
}

// Full colour dialog: 706-708 fields, 709 sample, 710 spectrum, 1000
// transparent area, 1001 target swatch, 1002 its label, 1017 icon.
TEST(ColourFullDialog, Scenarios)
{
    const Step caption = [](HWND dialog) {
        for (int id : {1001, 709}) {
            const WindowPixels pixels(Item(dialog, id));
            EXPECT_EQ(RGB(0xD4, 0xD0, 0xC8), pixels.At(1, pixels.Height() - 2)) << id;
            EXPECT_GT(pixels.Count({0, 0, pixels.Width(), pixels.Height()}, RGB(0, 0, 0)), 0) << id;
        }
    };
    const Step park = [](HWND) { ::SetCursorPos(5, 5); };
    const Scenario scenarios[] = {
        {"OK", 1, 0x336699, None, {ExpectText(706, L"153"), ExpectText(708, L"51"), ok}, IDOK, 0x336699},
        {"ApplyTransparency", 1, 0x336699, Transparency, {ExpectText(706, L""), ok}, IDOK, 0x08000000},
        {"the transparent area", 1, 0x80, None, {Mouse(1000, WM_LBUTTONDOWN), ExpectText(707, L""), caption, ok}, IDOK,
         0x08000000},
        {"a click elsewhere clears transparency", 1, 0x08000000, None, {Mouse(1002, WM_LBUTTONDOWN), ok}, IDOK, 0},
        {"no transparency", 1, 0x80, NoTransparency, {Hidden(1000), Mouse(1000, WM_LBUTTONDOWN), ok}, IDOK, 0x80},
        {"full colour hides the target swatch", 3, 0x80, None, {Hidden(1001), Hidden(1002), ok}, IDOK, 0x80},
        {"the target swatch in monochrome", 2, 0x8040C0, None, {ExpectPixel(1001, RGB(255, 255, 255)), ok}, IDOK,
         0x8040C0},
        {"one empty field changes nothing", 10, 0x203040, None,
         {Type(707, L""), Type(706, L"10"), ExpectPixel(1001, 0x203040), Type(707, L"5"), ExpectPixel(1001, 0x20050A), ok},
         IDOK, 0x20050A},
        {"eyedropper: a press in the spectrum ends it where it is", 1, 0x123456, None,
         {park, StartPicking(1017), Mouse(710, WM_LBUTTONDOWN), PickingEnded(1017, false), Command(IDCANCEL)}, IDCANCEL,
         kUnchecked},
        {"eyedropper: a press elsewhere ends it over OK", 1, 0x123456, None,
         {StartPicking(1017), Mouse(1002, WM_LBUTTONDOWN), PickingEnded(1017, true), ok}, IDOK, 0x123456},
        {"eyedropper: Escape restores and stays open", 1, 0x123456, None,
         {park, StartPicking(1017), Press(0, VK_ESCAPE), ExpectText(706, L"86"), PickingEnded(1017, false), ok}, IDOK,
         0x123456},
    };
    for (const Scenario& s : scenarios)
        RunFull(s);
}

TEST(ColourFullDialog, HistoryIsSharedByInstances)
{
    for (unsigned long colour : {0x010203ul, 0x040506ul})
        RunFull({"choose", 1, colour, None, {ok}, IDOK, colour});
    CKestFullColorDlg later;
    const COLORREF* custom = later.m_cc.lpCustColors;
    const auto slot = std::find(custom, custom + 16, 0x010203ul) - custom;
    ASSERT_LT(slot, 16);
    EXPECT_NE(custom + 16, std::find(custom, custom + 16, 0x040506ul));
    later.SetColor(0x010203); // chosen again: the same slot
    later.GetColor();
    EXPECT_EQ(0x010203ul, custom[slot]);
}

// Without strings 7307 and 7415, icon 1029 and cursor 1015: no label, no
// caption, no picture, and picking keeps the cursor. Without the templates the
// dialogs do not open.
TEST(ColourDialogs, ResourceFailureRules)
{
    const Step noIcon = [](HWND dialog) { EXPECT_EQ(0, ::SendMessageW(Item(dialog, 1017), STM_GETICON, 0, 0)); };
    Run64({"bare module", 1, 0x123456, None,
           {ExpectText(1007, L""), noIcon, StartPicking(1017), Mouse(1017, WM_LBUTTONDOWN), Command(IDCANCEL)}, IDCANCEL,
           0x123456},
          L"QNResBare.dll");
    RunFull({"bare module", 10, 0x08000000, None,
             {noIcon,
              [](HWND dialog) {
                  const WindowPixels target(Item(dialog, 1001));
                  EXPECT_EQ(0, target.Count({0, 0, target.Width(), target.Height()}, RGB(0, 0, 0)));
              },
              StartPicking(1017), Mouse(1002, WM_LBUTTONDOWN), Command(IDCANCEL)},
             IDCANCEL, kUnchecked},
            L"QNResBare.dll");

    ResourceModuleInForce resources(L"QNResNoTemplates.dll");
    CKest64ColorDlg colour64;
    EXPECT_EQ(-1, colour64.DoModal());
    CKestFullColorDlg full;
    EXPECT_EQ(IDCANCEL, full.DoModal());
    EXPECT_EQ(static_cast<DWORD>(CDERR_FINDRESFAILURE), ::CommDlgExtendedError());
}

} // namespace
