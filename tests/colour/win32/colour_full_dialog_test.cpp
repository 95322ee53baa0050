// CKestFullColorDlg on the real common colour dialog, driven from inside by
// messages: the result and the transparent choice, the target swatch, the
// RGB field rule, the eyedropper, the history across instances, and the
// resource failure rules.
#include <QNColourDialogs.h>

#include "colour/win32/ColourDialogSteps.h"
#include "support/win32/WindowPixels.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using namespace colourtest;

constexpr int kRed = 706, kGreen = 707, kBlue = 708, kSample = 709, kSpectrum = 710;
constexpr int kTransparent = 1000, kTarget = 1001, kTargetLabel = 1002, kIcon = 1017;

struct Scenario {
    const char* name;
    int mode;
    unsigned long opening;
    enum { None, NoTransparency, Transparency } apply;
    std::vector<Step> steps;
    INT_PTR result;
    unsigned long colour;
};

unsigned long RunDialog(const Scenario& s, const wchar_t* module = L"QNResources.dll")
{
    SCOPED_TRACE(s.name);
    ResourceModuleInForce resources(module);
    CKestFullColorDlg dialog;
    dialog.SetColorMode(s.mode);
    dialog.SetColor(s.opening);
    if (s.apply == Scenario::NoTransparency)
        dialog.ApplyNoTransparency();
    if (s.apply == Scenario::Transparency)
        dialog.ApplyTransparency();
    DialogDriver driver(s.steps);
    EXPECT_EQ(s.result, dialog.DoModal());
    EXPECT_EQ(s.steps.size(), driver.StepsRun());
    const unsigned long colour = dialog.GetColor();
    if (s.result == IDOK) {
        EXPECT_EQ(s.colour, colour);
    }
    return colour;
}

COLORREF CentrePixel(HWND dialog, int id)
{
    const WindowPixels pixels(Item(dialog, id));
    return pixels.At(pixels.Width() / 2, pixels.Height() / 2);
}

Step ExpectTarget(COLORREF expected)
{
    return [=](HWND dialog) { EXPECT_EQ(expected, CentrePixel(dialog, kTarget)); };
}

TEST(ColourFullDialog, ResultsAndTheTransparentChoice)
{
    const Step ok = Command(IDOK), cancel = Command(IDCANCEL);
    const Scenario scenarios[] = {
        {"OK", 1, 0x336699, Scenario::None,
         {ExpectText(kRed, L"153"), ExpectText(kGreen, L"102"), ExpectText(kBlue, L"51"), ok}, IDOK, 0x336699},
        {"Cancel", 1, 0x336699, Scenario::None, {cancel}, IDCANCEL, 0},
        {"ApplyTransparency", 1, 0x336699, Scenario::Transparency, {ExpectText(kRed, L""), ok}, IDOK, 0x08000000},
        {"a click on the transparent area", 1, 0x000080, Scenario::None,
         {MouseOn(kTransparent, WM_LBUTTONDOWN), ExpectText(kGreen, L""), ok}, IDOK, 0x08000000},
        {"a click elsewhere clears the transparent choice", 1, 0x08000000, Scenario::None,
         {MouseOn(kTargetLabel, WM_LBUTTONDOWN), ok}, IDOK, 0},
        {"no transparency", 1, 0x000080, Scenario::NoTransparency,
         {Check([](HWND dialog) { EXPECT_FALSE(::IsWindowVisible(Item(dialog, kTransparent))); }),
          MouseOn(kTransparent, WM_LBUTTONDOWN), ok},
         IDOK, 0x000080},
        {"full colour mode hides the target swatch", 3, 0x000080, Scenario::None,
         {Check([](HWND dialog) {
              EXPECT_FALSE(::IsWindowVisible(Item(dialog, kTarget)));
              EXPECT_FALSE(::IsWindowVisible(Item(dialog, kTargetLabel)));
              EXPECT_TRUE(::IsWindowVisible(Item(dialog, kTransparent)));
          }),
          ok},
         IDOK, 0x000080},
    };
    for (const Scenario& s : scenarios)
        RunDialog(s);
}

// The target swatch shows the colour as the target mode shows it, follows the
// fields once all three hold text, and shows the caption for no colour.
TEST(ColourFullDialog, TargetSwatch)
{
    const Scenario scenarios[] = {
        {"monochrome white", 2, 0x8040C0, Scenario::None, {ExpectTarget(RGB(255, 255, 255)), Command(IDOK)}, IDOK,
         0x8040C0},
        {"monochrome black", 2, 0x202020, Scenario::None, {ExpectTarget(RGB(0, 0, 0)), Command(IDOK)}, IDOK,
         0x202020},
        {"one empty field changes nothing", 10, 0x203040, Scenario::None,
         {Type(kGreen, L""), Type(kRed, L"10"), ExpectTarget(0x203040), Type(kGreen, L"5"),
          ExpectTarget(0x20050A), Command(IDOK)},
         IDOK, 0x20050A},
        {"transparent caption", 10, 0x08000000, Scenario::None,
         {Check([](HWND dialog) {
              const WindowPixels target(Item(dialog, kTarget)), sample(Item(dialog, kSample));
              EXPECT_EQ(RGB(0xD4, 0xD0, 0xC8), target.At(1, target.Height() - 2));
              EXPECT_GT(target.Count({0, 0, target.Width(), target.Height()}, RGB(0, 0, 0)), 0);
              EXPECT_EQ(RGB(0xD4, 0xD0, 0xC8), sample.At(1, sample.Height() - 2));
              EXPECT_GT(sample.Count({0, 0, sample.Width(), sample.Height()}, RGB(0, 0, 0)), 0);
          }),
          Command(IDOK)},
         IDOK, 0x08000000},
    };
    for (const Scenario& s : scenarios)
        RunDialog(s);
}

TEST(ColourFullDialog, Eyedropper)
{
    const Step startPicking = [](HWND dialog) {
        MouseOn(kIcon, WM_LBUTTONDOWN)(dialog);
        EXPECT_EQ(dialog, ::GetCapture());
        EXPECT_EQ(::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(1015)), ::GetCursor());
    };
    const Step cursorParked = [](HWND dialog) { ::SetCursorPos(5, 5); };
    const Step cursorStill = [](HWND dialog) {
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        EXPECT_EQ(5, cursor.x);
        EXPECT_EQ(nullptr, ::GetCapture());
    };
    const Step cursorOverOk = [](HWND dialog) {
        RECT ok = {};
        ::GetWindowRect(Item(dialog, IDOK), &ok);
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        EXPECT_EQ((ok.right - ok.left) / 2 + ok.left, cursor.x);
        EXPECT_EQ(nullptr, ::GetCapture());
    };
    const Scenario scenarios[] = {
        {"a press in the spectrum ends picking where it is", 1, 0x123456, Scenario::None,
         {startPicking, cursorParked, MouseOn(kSpectrum, WM_LBUTTONDOWN), cursorStill, Command(IDCANCEL)},
         IDCANCEL, 0},
        {"a press elsewhere ends picking over OK", 1, 0x123456, Scenario::None,
         {startPicking, MouseOn(kTargetLabel, WM_LBUTTONDOWN), cursorOverOk, Command(IDOK)}, IDOK, 0x123456},
        {"Escape restores and stays open", 1, 0x123456, Scenario::None,
         {startPicking, PressOn(0, VK_ESCAPE),
          Check([](HWND dialog) {
              EXPECT_TRUE(::IsWindow(dialog));
              EXPECT_EQ(nullptr, ::GetCapture());
              EXPECT_EQ(L"86", Text(Item(dialog, kRed)));
          }),
          Command(IDOK)},
         IDOK, 0x123456},
    };
    for (const Scenario& s : scenarios)
        RunDialog(s);
}

TEST(ColourFullDialog, HistoryIsSharedByInstances)
{
    const unsigned long chosen[] = {0x010203, 0x040506};
    for (unsigned long colour : chosen)
        RunDialog({"choose", 1, colour, Scenario::None, {Command(IDOK)}, IDOK, colour});
    CKestFullColorDlg later;
    const COLORREF* custom = later.m_cc.lpCustColors;
    ASSERT_NE(nullptr, custom);
    for (unsigned long colour : chosen)
        EXPECT_NE(custom + 16, std::find(custom, custom + 16, colour)) << std::hex << colour;
    // Choosing a colour again keeps its slot.
    const auto slot = std::find(custom, custom + 16, chosen[0]) - custom;
    later.SetColor(chosen[0]);
    later.GetColor();
    EXPECT_EQ(chosen[0], custom[slot]);
}

// Without string 7415, icon 1029 and cursor 1015: no caption, no picture, the
// cursor stays. Without template 7300 the dialog does not open.
TEST(ColourFullDialog, ResourceFailureRules)
{
    RunDialog({"bare module", 10, 0x08000000, Scenario::None,
         {Check([](HWND dialog) {
              EXPECT_EQ(0, ::SendMessageW(Item(dialog, kIcon), STM_GETICON, 0, 0));
              const WindowPixels target(Item(dialog, kTarget));
              EXPECT_EQ(0, target.Count({0, 0, target.Width(), target.Height()}, RGB(0, 0, 0)));
              const HCURSOR before = ::GetCursor();
              MouseOn(kIcon, WM_LBUTTONDOWN)(dialog);
              EXPECT_EQ(dialog, ::GetCapture());
              EXPECT_EQ(before, ::GetCursor());
          }),
          MouseOn(kTargetLabel, WM_LBUTTONDOWN), Command(IDCANCEL)},
         IDCANCEL, 0},
        L"QNResBare.dll");

    ResourceModuleInForce resources(L"QNResNoTemplates.dll");
    CKestFullColorDlg dialog;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(static_cast<DWORD>(CDERR_FINDRESFAILURE), ::CommDlgExtendedError());
}

} // namespace
