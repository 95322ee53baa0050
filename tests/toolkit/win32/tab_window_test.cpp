// The tab control and tab window on real windows under Xvfb, driven by messages.
#include <QNTabWnd.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A top-level window that records the last tab notification it gets.
class NotifySink : public CWnd {
public:
    NotifySink() { CreateEx(0, nullptr, _T("tabs"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 420, 260, nullptr, nullptr); }
    ~NotifySink() override { DestroyWindow(); }
    UINT code = 0;
    int tab = -9;

protected:
    LRESULT OnNotify(WPARAM, LPARAM lParam)
    {
        code = reinterpret_cast<const NMSECTAB*>(lParam)->hdr.code;
        tab = reinterpret_cast<const NMSECTAB*>(lParam)->nTab;
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

enum Input { kClick, kKey, kCtrlTab, kCtrlShiftTab, kTab, kActivate, kInsert, kDelete, kRename, kRemovePage };

TEST_F(TabWindowFixture, InputsSwitchTheActiveTabAndTheOneVisibleWindow)
{
    EXPECT_EQ(tabs.GetActiveWnd(), pages[0].get());
    CRect placed; // the active window fills the area beside the tabs
    pages[0]->GetWindowRect(&placed);
    tabs.ScreenToClient(&placed);
    EXPECT_EQ(placed, tabs.GetClientArea());
    const struct {
        Input input;
        int arg;
        int result; // what the call returns (-9: not looked at)
        int active;
        int visible; // index into pages
    } rows[] = {
        {kClick, 2, -9, 2, 2},         {kCtrlTab, 0, TRUE, 0, 0},     {kCtrlShiftTab, 0, TRUE, 2, 2},
        {kTab, 0, FALSE, 2, 2},        {kKey, VK_LEFT, -9, 1, 1},     {kKey, VK_HOME, -9, 0, 0},
        {kKey, VK_LEFT, -9, 2, 2},     {kKey, VK_RIGHT, -9, 0, 0},    {kKey, VK_END, -9, 2, 2},
        {kActivate, 1, TRUE, 1, 1},    {kActivate, 3, FALSE, 1, 1},   {kActivate, -1, FALSE, 1, 1},
        {kInsert, 0, 0, 2, 1},         {kInsert, 99, 4, 2, 1},        {kDelete, 0, TRUE, 1, 1},
        {kDelete, 4, FALSE, 1, 1},     {kDelete, -1, FALSE, 1, 1},    {kRename, 4, FALSE, 1, 1},
        {kRename, -1, FALSE, 1, 1},    {kRemovePage, 1, TRUE, 1, 2}, // the next tab takes its place
        {kRemovePage, 1, FALSE, 1, 2},
    };
    BYTE keys[256] = {};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.input << " " << row.arg);
        keys[VK_CONTROL] = row.input == kCtrlTab || row.input == kCtrlShiftTab ? 0x80 : 0;
        keys[VK_SHIFT] = row.input == kCtrlShiftTab ? 0x80 : 0;
        ::SetKeyboardState(keys);
        MSG tab = {pages[2]->m_hWnd, WM_KEYDOWN, VK_TAB, 0, 0, {}}; // from a window inside the tab window
        int result = -9;
        switch (row.input) {
        case kClick: Ctrl().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(Ctrl().GetTabRect(row.arg))); break;
        case kKey: Ctrl().SendMessage(WM_KEYDOWN, row.arg); break;
        case kCtrlTab:
        case kCtrlShiftTab:
        case kTab: result = tabs.PreTranslateMessage(&tab); break;
        case kActivate: result = tabs.ActivateTab(row.arg); break;
        case kInsert: result = Ctrl().InsertTab(row.arg, _T("Extra")); break;
        case kDelete: result = Ctrl().DeleteTab(row.arg); break;
        case kRename: result = Ctrl().RenameTab(row.arg, _T("x")); break;
        case kRemovePage: result = tabs.RemoveTab(pages[static_cast<size_t>(row.arg)].get()); break;
        }
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(Ctrl().GetActiveTab(), row.active);
        EXPECT_EQ(Visible(), row.visible);
    }
    ::SetKeyboardState(keys);
    EXPECT_EQ(parent.code, UINT(SECTCN_ACTIVATE));
    EXPECT_EQ(parent.tab, 1);
    EXPECT_TRUE(Ctrl().GetTabLabel(3).IsEmpty() && Ctrl().GetTabRect(3).IsRectEmpty()); // past the last
    // Labels set the widths: a longer label makes a wider tab, never narrower than the minimum.
    EXPECT_TRUE(tabs.RenameTab(pages[0].get(), _T("A")));
    EXPECT_EQ(Ctrl().GetTabRect(0).Width(), SECTC_MIN_TAB_WIDTH);
    Ctrl().RenameTab(0, _T("A much longer label"));
    EXPECT_GT(Ctrl().GetTabRect(0).Width(), SECTC_MIN_TAB_WIDTH + 40);
}

TEST_F(TabWindowFixture, TabsThatDoNotFitScrollAndTheActiveTabIsRaised)
{
    SECTabControlBase& c = Ctrl();
    c.RedrawWindow();
    HDC hdc = ::GetDC(c.m_hWnd);
    const CRect active = c.GetTabRect(0), other = c.GetTabRect(1);
    // The active tab's face is the button face and reaches the top row; the
    // others are the lighter 3D face and stand back.
    EXPECT_EQ(::GetPixel(hdc, active.left, active.CenterPoint().y), ::GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(::GetPixel(hdc, active.CenterPoint().x, active.top), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(::GetPixel(hdc, other.CenterPoint().x, other.top + 2), ::GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(::GetPixel(hdc, other.CenterPoint().x, other.top), ::GetSysColor(COLOR_3DDKSHADOW));
    ::ReleaseDC(c.m_hWnd, hdc);

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
    EXPECT_TRUE(!last.IsRectEmpty() && last.right <= client.right - 2 * h);
    EXPECT_GT(c.GetFirstVisibleTab(), 0);

    // Tool tips show the label under the pointer until switched off.
    CToolTipCtrl* tip = AfxGetThreadState()->m_pToolTip;
    ASSERT_TRUE(tip && c.IsToolTipsEnabled());
    c.SendMessage(WM_MOUSEMOVE, 0, At(last));
    EXPECT_TRUE(tip->HasTool(&c));
    c.EnableTabToolTips(FALSE);
    EXPECT_FALSE(c.IsToolTipsEnabled() || tip->HasTool(&c));
    EXPECT_EQ(tabs.AddTab(nullptr, _T("none")), -1);
}

} // namespace
