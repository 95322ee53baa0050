// CKest64ColorDlg run modally and driven from inside by messages: choosing
// with the mouse and the keyboard, the fields and their validation, the
// transparent choice, the eyedropper, and the resource failure rules.
#include <QNColourDialogs.h>

#include "colour/win32/ColourDialogSteps.h"
#include "support/win32/WindowPixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace colourtest;
using qncolour::k64Palette;

constexpr int kGrid = 1000, kTarget = 1001, kRed = 1002, kNew = 1003, kGreen = 1004, kBlue = 1005;
constexpr int kTransparent = 1006, kLabel = 1007, kIcon = 1017;

struct Scenario {
    const char* name;
    e64ColorControlMode mode;
    unsigned long opening;
    bool noTransparency;
    std::vector<Step> steps;
    INT_PTR result;
    unsigned long colour;
};

void RunDialog(const Scenario& s, const wchar_t* module = L"QNResources.dll")
{
    SCOPED_TRACE(s.name);
    ResourceModuleInForce resources(module);
    CKest64ColorDlg dialog(s.mode);
    dialog.SetColor(s.opening);
    if (s.noTransparency)
        dialog.ApplyNoTransparency();
    DialogDriver driver(s.steps);
    EXPECT_EQ(s.result, dialog.DoModal());
    EXPECT_EQ(s.steps.size(), driver.StepsRun());
    EXPECT_EQ(s.colour, dialog.GetColor());
}

TEST(Colour64Dialog, ChoosingWithMouseAndKeys)
{
    const Step ok = Command(IDOK), cancel = Command(IDCANCEL);
    const Scenario scenarios[] = {
        {"OK keeps the opening colour", e64ColorMonochrome, 0x996600, false, {ok}, IDOK, 0x996600},
        {"Cancel", e64ColorMonochrome, 0x996600, false, {MouseOnCell(kGrid, 5, WM_LBUTTONDOWN), cancel}, IDCANCEL,
         k64Palette[5]},
        {"a click on a cell", e64ColorMonochrome, 0, false,
         {MouseOnCell(kGrid, 33, WM_LBUTTONDOWN), ExpectText(kRed, L"153"), ExpectText(kGreen, L"0"),
          ExpectText(kBlue, L"102"), ok},
         IDOK, k64Palette[33]},
        {"a double click on a cell ends the dialog", e64ColorMonochrome, 0, false,
         {MouseOnCell(kGrid, 63, WM_LBUTTONDBLCLK)}, IDOK, 0xFFFFFF},
        {"a double click in a gap does nothing", e64ColorMonochrome, 0x123456, false,
         {[](HWND dialog) {
              const HWND grid = Item(dialog, kGrid);
              POINT gap = CellCentre(grid, 0);
              RECT client = {};
              ::GetClientRect(grid, &client);
              gap.x = 3 + (client.right - 42) / 8 + 2; // between cells 0 and 1
              Mouse(dialog, WM_LBUTTONDBLCLK, MK_LBUTTON, InDialog(dialog, grid, gap));
          },
          ok},
         IDOK, 0x123456},
        {"the transparent area", e64ColorMonochrome, 0x123456, false,
         {MouseOn(kTransparent, WM_LBUTTONDOWN), ExpectText(kRed, L""), ExpectText(kBlue, L""), ok}, IDOK,
         0x08000000},
        {"no transparent choice in the 8-colour mode", e64Color8Colors, 0x123456, false,
         {Check([](HWND dialog) {
              EXPECT_FALSE(::IsWindowVisible(Item(dialog, kTransparent)));
              EXPECT_FALSE(::IsWindowEnabled(Item(dialog, kTransparent)));
              EXPECT_EQ(L"8 colours:", Text(Item(dialog, kLabel)));
          }),
          MouseOn(kTransparent, WM_LBUTTONDOWN), ok},
         IDOK, 0x123456},
        {"no transparency hides the area", e64ColorMonochrome, 0x123456, true,
         {Check([](HWND dialog) { EXPECT_FALSE(::IsWindowVisible(Item(dialog, kTransparent))); }),
          MouseOn(kTransparent, WM_LBUTTONDOWN), ok},
         IDOK, 0x123456},
        {"space on the grid selects the focus cell", e64ColorMonochrome, 0x123456, false,
         {PressOn(kGrid, VK_RIGHT), PressOn(kGrid, VK_DOWN), PressOn(kGrid, VK_DOWN),
          Check([](HWND dialog) { EXPECT_EQ(L"86", Text(Item(dialog, kRed))); }), // arrows change nothing
          PressOn(kGrid, VK_SPACE), ok},
         IDOK, k64Palette[17]},
        {"space on the transparent area", e64ColorMonochrome, 0x123456, false,
         {PressOn(kTransparent, VK_SPACE), ok}, IDOK, 0x08000000},
        {"right button outside picking does nothing", e64ColorMonochrome, 0x00FF00, false,
         {MouseOnCell(kGrid, 3, WM_RBUTTONDOWN), ok}, IDOK, 0x00FF00},
    };
    for (const Scenario& s : scenarios)
        RunDialog(s);
}

TEST(Colour64Dialog, FieldsValidateAndRebuildTheColour)
{
    const Step ok = Command(IDOK);
    const Scenario scenarios[] = {
        {"300 becomes 255", e64ColorMonochrome, 0x000000, false,
         {Type(kRed, L"300"), ExpectText(kRed, L"255"), ok}, IDOK, 0x0000FF},
        {"-5 becomes 0", e64ColorMonochrome, 0x0000FF, false, {Type(kRed, L"-5"), ExpectText(kRed, L"0"), ok},
         IDOK, 0x000000},
        {"an empty field counts as 0", e64ColorMonochrome, 0x336699, false, {Type(kGreen, L""), ok}, IDOK,
         0x330099},
        {"a typed channel ends a transparent choice", e64ColorMonochrome, 0x08000000, false,
         {Type(kBlue, L"17"), ok}, IDOK, 0x110000},
        {"leaving a field writes the number back", e64ColorMonochrome, 0x000000, false,
         {Type(kGreen, L"7x"), Check([](HWND dialog) { ::SetFocus(Item(dialog, kBlue)); }), ExpectText(kGreen, L"7"),
          ok},
         IDOK, 0x000700},
    };
    for (const Scenario& s : scenarios)
        RunDialog(s);
}

// Swatches: the new colour unchanged, the target one as the mode renders it.
TEST(Colour64Dialog, SwatchesFollowTheColour)
{
    struct Case {
        e64ColorControlMode mode;
        int cell;
        COLORREF target;
    };
    const Case cases[] = {{e64ColorMonochrome, 1, RGB(0, 0, 0)},
                          {e64ColorMonochrome, 32, RGB(255, 255, 255)},
                          {e64Color8Colors, 33, RGB(255, 0, 0)}};
    for (const Case& c : cases) {
        RunDialog({"swatches", c.mode, 0, false,
             {MouseOnCell(kGrid, c.cell, WM_LBUTTONDOWN), Check([&](HWND dialog) {
                  const WindowPixels target(Item(dialog, kTarget)), fresh(Item(dialog, kNew));
                  EXPECT_EQ(c.target, target.At(target.Width() / 2, target.Height() / 2)) << c.cell;
                  EXPECT_EQ(k64Palette[c.cell], fresh.At(fresh.Width() / 2, fresh.Height() / 2)) << c.cell;
              }),
              Command(IDOK)},
             IDOK, k64Palette[c.cell]});
    }
}

// The eyedropper: a press on the icon starts picking (capture, cursor 1015,
// no icon); moves read the screen; release after a drag ends it over OK; the
// right button and Escape restore the opening colour and keep the dialog open.
TEST(Colour64Dialog, Eyedropper)
{
    const Step startPicking = [](HWND dialog) {
        const HCURSOR eyedropper = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(1015));
        MouseOn(kIcon, WM_LBUTTONDOWN)(dialog);
        EXPECT_EQ(dialog, ::GetCapture());
        EXPECT_EQ(eyedropper, ::GetCursor());
        EXPECT_EQ(0, ::SendMessageW(Item(dialog, kIcon), STM_GETICON, 0, 0));
    };
    const Step endedOverOk = [](HWND dialog) {
        RECT ok = {};
        ::GetWindowRect(Item(dialog, IDOK), &ok);
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        EXPECT_EQ((ok.right - ok.left) / 2 + ok.left, cursor.x);
        EXPECT_EQ((ok.bottom - ok.top) / 2 + ok.top, cursor.y);
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_NE(0, ::SendMessageW(Item(dialog, kIcon), STM_GETICON, 0, 0));
    };
    const Step ok = Command(IDOK);
    const Scenario scenarios[] = {
        {"drag and release", e64ColorMonochrome, 0x123456, false,
         {startPicking, MoveOverCell(kGrid, 42, MK_LBUTTON), ExpectText(kRed, L"153"),
          MouseOn(kGrid, WM_LBUTTONUP, 0), endedOverOk, ok},
         IDOK, k64Palette[42]},
        {"a second press ends picking", e64ColorMonochrome, 0x123456, false,
         {startPicking, MoveOverCell(kGrid, 21, 0), MouseOn(kGrid, WM_LBUTTONDOWN), endedOverOk, ok}, IDOK,
         k64Palette[21]},
        {"right button restores", e64ColorMonochrome, 0x123456, false,
         {startPicking, MoveOverCell(kGrid, 21, 0), MouseOn(kGrid, WM_RBUTTONDOWN, MK_RBUTTON),
          ExpectText(kRed, L"86"), ok},
         IDOK, 0x123456},
        {"Escape restores and stays open", e64ColorMonochrome, 0x123456, false,
         {startPicking, MoveOverCell(kGrid, 21, 0), PressOn(0, VK_ESCAPE),
          Check([](HWND dialog) {
              EXPECT_TRUE(::IsWindow(dialog));
              EXPECT_EQ(nullptr, ::GetCapture());
          }),
          ok},
         IDOK, 0x123456},
    };
    for (const Scenario& s : scenarios)
        RunDialog(s);
}

// A module without string 7307, icon 1029 and cursor 1015: an empty label, no
// picture, and picking keeps the cursor. A module without templates: DoModal -1.
TEST(Colour64Dialog, ResourceFailureRules)
{
    HCURSOR before = nullptr;
    RunDialog({"bare module", e64Color8Colors, 0x123456, false,
         {Check([&](HWND dialog) {
              EXPECT_EQ(L"", Text(Item(dialog, kLabel)));
              EXPECT_EQ(0, ::SendMessageW(Item(dialog, kIcon), STM_GETICON, 0, 0));
              before = ::GetCursor();
              MouseOn(kIcon, WM_LBUTTONDOWN)(dialog);
              EXPECT_EQ(dialog, ::GetCapture());
              EXPECT_EQ(before, ::GetCursor());
          }),
          MouseOn(kIcon, WM_LBUTTONDOWN), Command(IDCANCEL)},
         IDCANCEL, 0x123456},
        L"QNResBare.dll");

    ResourceModuleInForce resources(L"QNResNoTemplates.dll");
    CKest64ColorDlg dialog;
    EXPECT_EQ(-1, dialog.DoModal());
}

} // namespace
