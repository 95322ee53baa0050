// The tab classes that switch module state for mouse messages, and the sound
// dialog on the shipped resource module, driven by messages under Xvfb.
#include <QNFrame.h>
#include <QNWindows.h>

#include "support/win32/DialogDriver.h"
#include "support/win32/WindowPixels.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A top-level window for a tab window; it counts right-click notifications.
class Parent : public CWnd {
public:
    Parent() { CreateEx(0, nullptr, _T("cs"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 420, 260, nullptr, nullptr); }
    ~Parent() override { DestroyWindow(); }
    int rclicks = 0;

protected:
    LRESULT OnNotify(WPARAM, LPARAM lParam)
    {
        rclicks += reinterpret_cast<const NMHDR*>(lParam)->code == SECTCN_RCLICK;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Parent, CWnd)
    ON_MESSAGE(WM_NOTIFY, OnNotify)
END_MESSAGE_MAP()

LPARAM At(const CRect& rc) { return MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y); }

TEST(TabWindowsCS, MouseMessagesSwitchToolTipsOffAndReachTheRightHandlers)
{
    Parent parent;
    SEC3DTabWndCS tabs;
    ASSERT_TRUE(tabs.Create(&parent, CRect(0, 0, 400, 220), 9));
    SECTabControlBase* ctrl = tabs.GetTabControl();
    ASSERT_NE(ctrl, nullptr);
    EXPECT_STREQ(ctrl->GetRuntimeClass()->m_lpszClassName, "SEC3DTabControlCS");
    ctrl->AddTab(_T("One"));
    ctrl->AddTab(_T("Two"));
    const HWND tipWindow = AfxGetThreadState()->m_pToolTip->m_hWnd;
    // Message, and the right-click notifications it gives on the second tab:
    // press and release reach the base's one right-button handler.
    const struct {
        UINT msg;
        int rclicks;
    } rows[] = {{WM_MOUSEMOVE, 0},     {WM_LBUTTONUP, 0},     {WM_LBUTTONDBLCLK, 0}, {WM_RBUTTONDOWN, 1},
                {WM_RBUTTONUP, 1},     {WM_RBUTTONDBLCLK, 0}, {WM_MBUTTONDOWN, 0},   {WM_MBUTTONUP, 0},
                {WM_MBUTTONDBLCLK, 0}, {WM_LBUTTONDOWN, 0}};
    for (CWnd* target : {static_cast<CWnd*>(ctrl), static_cast<CWnd*>(&tabs)}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << std::hex << row.msg << (target == ctrl ? " control" : " window"));
            ASSERT_TRUE(target->EnableToolTips(TRUE));
            parent.rclicks = 0;
            target->SendMessage(row.msg, 0, At(ctrl->GetTabRect(1)));
            EXPECT_FALSE(target->IsToolTipsEnabled());
            EXPECT_EQ(AfxGetThreadState()->m_pToolTip->m_hWnd, tipWindow);
            EXPECT_EQ(parent.rclicks, target == ctrl ? row.rclicks : 0);
        }
    }
    // The presses activated the second tab; a left press on the first still
    // goes to the base and switches tabs.
    EXPECT_EQ(ctrl->GetActiveTab(), 1);
    ctrl->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(ctrl->GetTabRect(0)));
    EXPECT_EQ(ctrl->GetActiveTab(), 0);
}

TEST(TabWindowsCS, CreateTabCtrlUsesTheStoredStyleWhateverStyleIsPassed)
{
    Parent parent;
    SEC3DTabWndCS tabs;
    ASSERT_TRUE(tabs.Create(&parent, CRect(0, 0, 400, 220), 9, WS_CHILD | WS_VISIBLE, WS_CHILD | SECTCS_TABSONTOP));
    ASSERT_TRUE(tabs.CreateTabCtrl(WS_BORDER | WS_DISABLED, 321));
    SECTabControlBase* ctrl = tabs.GetTabControl();
    EXPECT_EQ(ctrl->GetDlgCtrlID(), 321);
    EXPECT_EQ(ctrl->GetStyle() & (WS_BORDER | WS_DISABLED | WS_VISIBLE | SECTCS_TABSONTOP),
              DWORD{WS_VISIBLE | SECTCS_TABSONTOP});
    CRect rc;
    ctrl->GetWindowRect(&rc);
    EXPECT_TRUE(rc.IsRectEmpty());
}

// --- The sound dialog ----------------------------------------------------------------

TEST(SoundDialog, OpensWithThePrefixMatchOrNoSelectionAndOkNeedsAText)
{
    ResourceModuleInForce resources(L"QNResources.dll");
    ASSERT_NE(resources.Module(), nullptr);
    const struct {
        const TCHAR* text;
        int option;
        int index;
        const wchar_t* shown;
    } rows[] = {
        {_T("Chime"), 1, 1, L"Chime"}, // Bell, Chime, Chimes: the first that begins with it
        {_T("ch"), 0, 1, L"Chime"},    // the list's own search ignores case
        {_T(""), 0, -1, L""},          // no text, no selection
        {_T("Horn"), 1, -1, L""},      // nothing begins with it
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.text)));
        CSoundConfigDlg dlg(nullptr, row.option, row.text);
        for (LPCTSTR s : {_T("Bell"), _T("Chime"), _T("Chimes")})
            dlg.m_arrSounds.Add(s);
        const auto choose = [](const wchar_t* text) {
            return [text](HWND dialog) {
                const HWND combo = ::GetDlgItem(dialog, 7401);
                ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
                ::SetWindowTextW(combo, text);
                ::CheckRadioButton(dialog, 7403, 7404, 7404);
                ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
            };
        };
        DialogDriver driver({[&](HWND dialog) {
                                 const HWND combo = ::GetDlgItem(dialog, 7401);
                                 EXPECT_EQ(::SendMessageW(combo, CB_GETCURSEL, 0, 0), row.index);
                                 wchar_t shown[32] = {};
                                 ::GetWindowTextW(combo, shown, 32);
                                 EXPECT_STREQ(shown, row.shown);
                                 EXPECT_EQ(::IsDlgButtonChecked(dialog, 7403 + row.option), UINT(BST_CHECKED));
                             },
                             choose(L""), choose(L"Gong"), choose(L"never")});
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(driver.StepsRun(), 3u); // the empty text kept the dialog open
        EXPECT_EQ(dlg.m_strSound, CString(_T("Gong")));
        EXPECT_EQ(dlg.m_nOption, 1);
    }
}

} // namespace
