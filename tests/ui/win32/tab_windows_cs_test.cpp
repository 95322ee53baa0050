// The tab classes that switch module state for mouse messages, and the sound
// dialog on the shipped resource module, driven by messages under Xvfb.
#include <QNFrame.h>
#include <QNWindows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

class Parent : public CWnd {
public:
    Parent() { CreateEx(0, nullptr, _T("cs"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 420, 260, nullptr, nullptr); }
    ~Parent() override { DestroyWindow(); }
    int rclicks = 0;

protected:
    LRESULT OnNotify(WPARAM, LPARAM lParam)
    {
        if (reinterpret_cast<const NMHDR*>(lParam)->code == SECTCN_RCLICK)
            ++rclicks;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Parent, CWnd)
    ON_MESSAGE(WM_NOTIFY, OnNotify)
END_MESSAGE_MAP()

constexpr UINT kMouseMessages[] = {WM_MOUSEMOVE,   WM_LBUTTONDOWN,   WM_LBUTTONUP,   WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                                   WM_RBUTTONUP,   WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP,     WM_MBUTTONDBLCLK};

TEST(TabWindowsCS, EveryMouseMessageSwitchesToolTipsOffAndKeepsTheThreadsTip)
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
    for (CWnd* target : {static_cast<CWnd*>(ctrl), static_cast<CWnd*>(&tabs)}) {
        for (UINT msg : kMouseMessages) {
            ASSERT_TRUE(target->EnableToolTips(TRUE));
            target->SendMessage(msg, 0, MAKELPARAM(2, 2));
            EXPECT_FALSE(target->IsToolTipsEnabled()) << std::hex << msg;
            EXPECT_EQ(AfxGetThreadState()->m_pToolTip->m_hWnd, tipWindow);
        }
    }
}

TEST(TabWindowsCS, RightPressAndReleaseReachTheOneRightHandlerDoubleClickDoesNot)
{
    Parent parent;
    SEC3DTabWndCS tabs;
    ASSERT_TRUE(tabs.Create(&parent, CRect(0, 0, 400, 220), 9));
    SECTabControlBase* ctrl = tabs.GetTabControl();
    ctrl->AddTab(_T("One"));
    ctrl->AddTab(_T("Two"));
    const CRect second = ctrl->GetTabRect(1);
    const LPARAM at = MAKELPARAM(second.CenterPoint().x, second.CenterPoint().y);
    struct {
        UINT msg;
        int rclicks;
    } rows[] = {{WM_RBUTTONDOWN, 1}, {WM_RBUTTONUP, 1}, {WM_RBUTTONDBLCLK, 0}, {WM_MBUTTONDOWN, 0}, {WM_MBUTTONDBLCLK, 0}};
    for (auto row : rows) {
        parent.rclicks = 0;
        ctrl->SendMessage(row.msg, 0, at);
        EXPECT_EQ(parent.rclicks, row.rclicks) << std::hex << row.msg;
    }
    EXPECT_EQ(ctrl->GetActiveTab(), 1); // the right press activated the tab under the pointer
    // The left button still goes to the base: a click switches tabs.
    const CRect first = ctrl->GetTabRect(0);
    ctrl->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.CenterPoint().x, first.CenterPoint().y));
    EXPECT_EQ(ctrl->GetActiveTab(), 0);
}

TEST(TabWindowsCS, CreateTabCtrlUsesTheStoredStyleWhateverStyleIsPassed)
{
    Parent parent;
    SEC3DTabWndCS tabs;
    ASSERT_TRUE(tabs.Create(&parent, CRect(0, 0, 400, 220), 9, WS_CHILD | WS_VISIBLE,
                            WS_CHILD | SECTCS_TABSONTOP));
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

HMODULE LoadResources(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    dir.resize(dir.find_last_of(L'\\') + 1);
    return ::LoadLibraryExW((dir + name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

// Drives the dialog from inside: after the framework's initialisation it
// records what the user would see, then runs `script` on the open dialog.
class DrivenSoundDlg : public CSoundConfigDlg {
public:
    using CSoundConfigDlg::CSoundConfigDlg;
    CString shownSelection = _T("(none)");
    int shownIndex = -2;
    int shownOption = -2;
    bool stillOpenAfterEmptyOk = false;
    enum Script { kCancel, kOkWithText, kEmptyOkThenCancel } script = kCancel;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CSoundConfigDlg::OnInitDialog();
        shownIndex = m_ctlSound.GetCurSel();
        m_ctlSound.GetWindowText(shownSelection);
        for (int id = 7403; id <= 7404; ++id)
            if (IsDlgButtonChecked(id))
                shownOption = id - 7403;
        PostMessage(WM_APP);
        return result;
    }
    LRESULT OnScript(WPARAM, LPARAM)
    {
        switch (script) {
        case kCancel: SendMessage(WM_COMMAND, IDCANCEL); break;
        case kOkWithText:
            m_ctlSound.SetWindowText(_T("Gong"));
            CheckRadioButton(7403, 7404, 7404);
            SendMessage(WM_COMMAND, IDOK);
            break;
        case kEmptyOkThenCancel:
            m_ctlSound.SetCurSel(-1);
            m_ctlSound.SetWindowText(_T(""));
            SendMessage(WM_COMMAND, IDOK);
            stillOpenAfterEmptyOk = m_bContinueModal != FALSE;
            SendMessage(WM_COMMAND, IDCANCEL);
            break;
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DrivenSoundDlg, CSoundConfigDlg)
    ON_MESSAGE(WM_APP, OnScript)
END_MESSAGE_MAP()

struct SoundDialog : ::testing::Test {
    HMODULE resources = LoadResources(L"QNResources.dll");
    ~SoundDialog() override { ::FreeLibrary(resources); }
};

TEST_F(SoundDialog, OpensWithThePrefixMatchOrNoSelection)
{
    ASSERT_NE(resources, nullptr);
    CResourceScope scope(resources);
    struct {
        const TCHAR* text;
        int option;
        int index;
        const TCHAR* shown;
    } rows[] = {
        {_T("Chime"), 1, 1, _T("Chime")},  // Bell, Chime, Chimes: the first that begins with it
        {_T("ch"), 0, 1, _T("Chime")},     // the list's own search ignores case
        {_T(""), 0, -1, _T("")},           // no text, no selection
        {_T("Horn"), 1, -1, _T("")},       // nothing begins with it
    };
    for (auto row : rows) {
        DrivenSoundDlg dlg(nullptr, row.option, row.text);
        for (LPCTSTR s : {_T("Bell"), _T("Chime"), _T("Chimes")})
            dlg.m_arrSounds.Add(s);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.shownIndex, row.index) << row.text;
        EXPECT_EQ(dlg.shownSelection, CString(row.shown)) << row.text;
        EXPECT_EQ(dlg.shownOption, row.option) << row.text;
    }
}

TEST_F(SoundDialog, OkNeedsATextAndReturnsTheChoice)
{
    ASSERT_NE(resources, nullptr);
    CResourceScope scope(resources);
    DrivenSoundDlg empty(nullptr, 0, _T("Bell"));
    empty.m_arrSounds.Add(_T("Bell"));
    empty.script = DrivenSoundDlg::kEmptyOkThenCancel;
    EXPECT_EQ(empty.DoModal(), IDCANCEL);
    EXPECT_TRUE(empty.stillOpenAfterEmptyOk);

    DrivenSoundDlg ok(nullptr);
    EXPECT_EQ(ok.m_nOption, 0);
    EXPECT_TRUE(ok.m_strSound.IsEmpty());
    ok.script = DrivenSoundDlg::kOkWithText;
    EXPECT_EQ(ok.DoModal(), IDOK);
    EXPECT_EQ(ok.m_strSound, CString(_T("Gong")));
    EXPECT_EQ(ok.m_nOption, 1);
}

TEST_F(SoundDialog, DoesNotOpenWithoutItsTemplate)
{
    HMODULE bare = LoadResources(L"QNResNoTemplates.dll");
    ASSERT_NE(bare, nullptr);
    {
        CResourceScope scope(bare);
        CSoundConfigDlg dlg(nullptr, 0, _T("Bell"));
        EXPECT_EQ(dlg.DoModal(), -1);
    }
    ::FreeLibrary(bare);
}

} // namespace
