// The tab control and tab window on real windows under Xvfb, driven by messages.
#include <QNTabWnd.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A top-level window that records the tab notifications it gets.
class NotifySink : public CWnd {
public:
    NotifySink() { CreateEx(0, nullptr, _T("tabs"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 420, 260, nullptr, nullptr); }
    ~NotifySink() override { DestroyWindow(); }
    struct Note {
        UINT code;
        int tab;
    };
    std::vector<Note> notes;

protected:
    LRESULT OnNotify(WPARAM, LPARAM lParam)
    {
        const auto* nm = reinterpret_cast<const NMSECTAB*>(lParam);
        notes.push_back({nm->hdr.code, nm->nTab});
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(NotifySink, CWnd)
    ON_MESSAGE(WM_NOTIFY, OnNotify)
END_MESSAGE_MAP()

LPARAM At(const CRect& rc) { return MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y); }

struct TabWindowFixture : ::testing::Test {
    NotifySink parent;
    SEC3DTabWnd tabs;
    std::vector<std::unique_ptr<CWnd>> pages;

    void SetUp() override
    {
        ASSERT_TRUE(tabs.Create(&parent, CRect(0, 0, 400, 220), 77));
        for (LPCTSTR label : {_T("Screens"), _T("Tags"), _T("Drivers")}) {
            auto page = std::make_unique<CWnd>();
            ASSERT_TRUE(page->Create(_T("STATIC"), label, WS_CHILD, CRect(0, 0, 10, 10), &parent, 1));
            tabs.AddTab(page.get(), label);
            pages.push_back(std::move(page));
        }
        tabs.UpdateWindow();
    }
    SECTabControlBase& Ctrl() { return *tabs.GetTabControl(); }
    int Visible() const
    {
        int shown = -1;
        for (size_t i = 0; i < pages.size(); ++i)
            if (pages[i]->IsWindowVisible())
                shown = shown == -1 ? static_cast<int>(i) : -2; // -2: more than one
        return shown;
    }
};

TEST_F(TabWindowFixture, ClicksKeysAndCallsSwitchTheOneVisibleWindow)
{
    EXPECT_EQ(tabs.GetActiveWnd(), pages[0].get());
    EXPECT_EQ(Visible(), 0);
    // The active window fills the area above the tabs, inside the frame.
    CRect placed;
    pages[0]->GetWindowRect(&placed);
    tabs.ScreenToClient(&placed);
    EXPECT_EQ(placed, tabs.GetClientArea());

    Ctrl().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(Ctrl().GetTabRect(2)));
    EXPECT_EQ(Ctrl().GetActiveTab(), 2);
    EXPECT_EQ(Visible(), 2);
    ASSERT_FALSE(parent.notes.empty());
    EXPECT_EQ(parent.notes.back().code, SECTCN_ACTIVATE);
    EXPECT_EQ(parent.notes.back().tab, 2);

    // Ctrl+Tab from a window inside the tab window wraps forward; with Shift backward.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG msg = {pages[2]->m_hWnd, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(tabs.PreTranslateMessage(&msg));
    EXPECT_EQ(Visible(), 0);
    keys[VK_SHIFT] = 0x80;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(tabs.PreTranslateMessage(&msg));
    EXPECT_EQ(Visible(), 2);
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
    EXPECT_FALSE(tabs.PreTranslateMessage(&msg)); // a plain Tab is not ours

    // Arrow keys on the focused control.
    Ctrl().SendMessage(WM_KEYDOWN, VK_LEFT);
    EXPECT_EQ(Ctrl().GetActiveTab(), 1);
    EXPECT_EQ(Visible(), 1);

    // Removing the active tab activates the one that takes its place.
    EXPECT_TRUE(tabs.RemoveTab(pages[1].get()));
    EXPECT_EQ(tabs.GetActiveWnd(), pages[2].get());
    EXPECT_EQ(Visible(), 2);
    EXPECT_FALSE(tabs.RemoveTab(pages[1].get()));
    EXPECT_TRUE(tabs.RenameTab(pages[2].get(), _T("I/O")));
    EXPECT_EQ(Ctrl().GetTabLabel(1), CString(_T("I/O")));
}

TEST_F(TabWindowFixture, TabEditsKeepTheActiveTabAndReportBadIndexes)
{
    SECTabControlBase& c = Ctrl();
    c.ActivateTab(1);
    EXPECT_EQ(c.InsertTab(0, _T("First")), 0);
    EXPECT_EQ(c.GetActiveTab(), 2); // still "Tags"
    EXPECT_EQ(c.InsertTab(99, _T("Last")), 4);
    EXPECT_TRUE(c.DeleteTab(0));
    EXPECT_EQ(c.GetActiveTab(), 1);
    struct {
        int index;
    } bad[] = {{-1}, {4}, {99}};
    for (auto b : bad) {
        EXPECT_FALSE(c.DeleteTab(b.index)) << b.index;
        EXPECT_FALSE(c.RenameTab(b.index, _T("x"))) << b.index;
        EXPECT_FALSE(c.ActivateTab(b.index)) << b.index;
        EXPECT_TRUE(c.GetTabLabel(b.index).IsEmpty()) << b.index;
        EXPECT_TRUE(c.GetTabRect(b.index).IsRectEmpty()) << b.index;
    }
    // Labels set the widths: a longer label makes a wider tab, never narrower than the minimum.
    c.RenameTab(0, _T("A"));
    EXPECT_EQ(c.GetTabRect(0).Width(), SECTC_MIN_TAB_WIDTH);
    c.RenameTab(0, _T("A much longer label"));
    EXPECT_GT(c.GetTabRect(0).Width(), SECTC_MIN_TAB_WIDTH + 40);
}

TEST_F(TabWindowFixture, TabsThatDoNotFitScroll)
{
    SECTabControlBase& c = Ctrl();
    EXPECT_FALSE(c.IsScrolling());
    EXPECT_EQ(c.TabHitTest(CPoint(395, 5)), -1); // beyond the last tab
    for (int i = 0; i < 12; ++i)
        c.AddTab(_T("Another page"));
    ASSERT_TRUE(c.IsScrolling());
    CRect client;
    c.GetClientRect(&client);
    const int h = c.GetTabHeight();
    EXPECT_EQ(c.TabHitTest(CPoint(client.right - 2 * h + 1, 4)), SECTC_HIT_SCROLL_LEFT);
    EXPECT_EQ(c.TabHitTest(CPoint(client.right - 1, 4)), SECTC_HIT_SCROLL_RIGHT);
    c.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right - 1, 4));
    EXPECT_EQ(c.GetFirstVisibleTab(), 1);
    EXPECT_TRUE(c.GetTabRect(0).IsRectEmpty());
    c.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right - 2 * h + 1, 4));
    EXPECT_EQ(c.GetFirstVisibleTab(), 0);
    c.ScrollTabs(-5);
    EXPECT_EQ(c.GetFirstVisibleTab(), 0);

    // Activating the last tab brings it wholly into view, left of the buttons.
    c.ActivateTab(c.GetTabCount() - 1);
    const CRect last = c.GetTabRect(c.GetTabCount() - 1);
    ASSERT_FALSE(last.IsRectEmpty());
    EXPECT_LE(last.right, client.right - 2 * h);
    EXPECT_GT(c.GetFirstVisibleTab(), 0);
    c.ActivateTab(0);
    EXPECT_EQ(c.GetFirstVisibleTab(), 0);
}

TEST_F(TabWindowFixture, TheActiveTabIsRaisedIn3D)
{
    SECTabControlBase& c = Ctrl();
    c.RedrawWindow();
    HDC hdc = ::GetDC(c.m_hWnd);
    const CRect active = c.GetTabRect(0);
    const CRect other = c.GetTabRect(1);
    // Leading edge highlight on both; the face of the active tab is the
    // button face, the others the lighter 3D face; the active tab reaches
    // the top row of the control, the others stand back.
    EXPECT_EQ(::GetPixel(hdc, active.left, active.CenterPoint().y), ::GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(::GetPixel(hdc, active.CenterPoint().x, active.top + 2), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(::GetPixel(hdc, other.CenterPoint().x, other.top + 2), ::GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(::GetPixel(hdc, active.CenterPoint().x, active.top), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(::GetPixel(hdc, other.CenterPoint().x, other.top), ::GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(::GetPixel(hdc, active.right - 1, active.CenterPoint().y), ::GetSysColor(COLOR_3DDKSHADOW));
    ::ReleaseDC(c.m_hWnd, hdc);
}

TEST_F(TabWindowFixture, ToolTipsShowTheLabelUnderThePointerUntilSwitchedOff)
{
    SECTabControlBase& c = Ctrl();
    ASSERT_TRUE(c.IsToolTipsEnabled());
    CToolTipCtrl* tip = AfxGetThreadState()->m_pToolTip;
    ASSERT_NE(tip, nullptr);
    c.SendMessage(WM_MOUSEMOVE, 0, At(c.GetTabRect(1)));
    EXPECT_TRUE(tip->HasTool(&c));
    c.EnableTabToolTips(FALSE);
    EXPECT_FALSE(c.IsToolTipsEnabled());
    EXPECT_FALSE(tip->HasTool(&c));
    c.SendMessage(WM_MOUSEMOVE, 0, At(c.GetTabRect(2)));
    EXPECT_FALSE(tip->HasTool(&c));
}

TEST(TabWindow, TabsOnTopAndTheFlatBase)
{
    NotifySink parent;
    SECTabWndBase tabs;
    ASSERT_TRUE(tabs.Create(&parent, CRect(0, 0, 300, 200), 5, WS_CHILD | WS_VISIBLE,
                            WS_CHILD | WS_VISIBLE | SECTCS_TABSONTOP));
    EXPECT_STREQ(tabs.GetTabControl()->GetRuntimeClass()->m_lpszClassName, "SECTabControlBase");
    CRect ctrl;
    tabs.GetTabControl()->GetWindowRect(&ctrl);
    tabs.ScreenToClient(&ctrl);
    EXPECT_EQ(ctrl.top, 0);
    EXPECT_EQ(tabs.GetClientArea().top, tabs.GetTabControl()->GetTabHeight());
    EXPECT_EQ(tabs.AddTab(nullptr, _T("none")), -1);
    EXPECT_EQ(tabs.GetActiveWnd(), nullptr);
}

} // namespace
