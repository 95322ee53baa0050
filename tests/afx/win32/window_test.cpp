// CWnd: message-map dispatch with fall-through to the base class, the module
// state of the window procedure, handle maps and destruction.
#include <afx/afxwin.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kProbeMessage = WM_APP + 1;

// Records every handler call as text, with the arguments as the map cracked them.
class CBaseProbe : public CWnd {
public:
    std::vector<std::string> calls;
    AFX_MODULE_STATE* stateInHandler = nullptr;
    HINSTANCE resourceInHandler = nullptr;
    BOOL* pDeleted = nullptr; // set: the object deletes itself in PostNcDestroy

    template <class... Args> void Note(const char* handler, Args... args)
    {
        calls.push_back(handler);
        ((calls.back() += " " + std::to_string(args)), ...);
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { Note("base OnTimer", nIDEvent); }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) { Note("base OnLButtonDown", nFlags, point.x, point.y); }
    afx_msg LRESULT OnProbe(WPARAM wParam, LPARAM)
    {
        stateInHandler = AfxGetModuleState();
        resourceInHandler = AfxGetResourceHandle();
        return static_cast<LRESULT>(wParam) * 2;
    }
    void PostNcDestroy() override
    {
        if (pDeleted) {
            *pDeleted = TRUE;
            delete this;
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbe, CWnd)
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(kProbeMessage, OnProbe)
END_MESSAGE_MAP()

class CDerivedProbe : public CBaseProbe {
public:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) { Note("derived OnLButtonDown", nFlags, point.x, point.y); }
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
    {
        Note("OnSetCursor", pWnd == this, nHitTest, message);
        return 5;
    }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Note("OnKeyDown", nChar, nRepCnt, nFlags); }
    afx_msg void OnApply() { Note("OnApply"); }
    afx_msg void OnRange(UINT nID) { Note("OnRange", nID); }
    afx_msg void OnItemChanged(NMHDR* pNotify, LRESULT* pResult)
    {
        Note("OnItemChanged", pNotify->idFrom);
        *pResult = 9;
    }
    // The default procedure sets the text; the handler adds a note after it.
    afx_msg LRESULT OnSetTextThenDefault(WPARAM, LPARAM)
    {
        const LRESULT result = Default();
        Note("after Default");
        return result;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbe, CBaseProbe)
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_KEYDOWN()
    ON_BN_CLICKED(40, OnApply)
    ON_COMMAND_RANGE(50, 52, OnRange)
    ON_NOTIFY(7, 42, OnItemChanged)
    ON_MESSAGE(WM_SETTEXT, OnSetTextThenDefault)
END_MESSAGE_MAP()

HWND MakePlainWindow() { return ::CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr); }

TEST(WindowDispatch, EntriesCrackTheirArgumentsAndFallThroughToTheBase)
{
    const HINSTANCE hostResource = AfxGetResourceHandle();
    const HINSTANCE chosen = ::GetModuleHandleW(L"kernel32.dll"); // any module stands for the host's choice
    CDerivedProbe wnd;
    AfxSetResourceHandle(chosen);
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"probe", WS_POPUP, 0, 0, 100, 80, nullptr, nullptr));
    AfxSetResourceHandle(hostResource);
    NMHDR notify = {wnd.m_hWnd, 42, 7}, otherNotify = {wnd.m_hWnd, 43, 7};
    // call: the handler's note, or null when no handler runs
    const struct { const char* name; UINT message; WPARAM wParam; LPARAM lParam; LRESULT result; const char* call; } cases[] = {
        {"derived entry hides the base one", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 7), 0, "derived OnLButtonDown 1 -3 7"},
        {"base entry reached through the derived map", WM_TIMER, 17, 0, 0, "base OnTimer 17"},
        {"ON_MESSAGE of the base returns its result", kProbeMessage, 21, 0, 42, nullptr},
        {"set cursor: window, hit test, mouse message", WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.m_hWnd),
         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), 5, "OnSetCursor 1 1 512"},
        {"key: code, repeat count, flags", WM_KEYDOWN, VK_LEFT, MAKELPARAM(3, 0x14B), 0, "OnKeyDown 37 3 331"},
        {"button click of its id", WM_COMMAND, MAKEWPARAM(40, BN_CLICKED), 0, 0, "OnApply"},
        {"another notification of that id: default", WM_COMMAND, MAKEWPARAM(40, EN_CHANGE), 0, 0, nullptr},
        {"command range", WM_COMMAND, MAKEWPARAM(51, 0), 0, 0, "OnRange 51"},
        {"command beyond the range", WM_COMMAND, MAKEWPARAM(53, 0), 0, 0, nullptr},
        {"notification", WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&notify), 9, "OnItemChanged 42"},
        {"notification of another id", WM_NOTIFY, 43, reinterpret_cast<LPARAM>(&otherNotify), 0, nullptr},
        {"handler that calls Default", WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"changed"), TRUE, "after Default"},
        {"no entry: the window's default procedure", WM_GETTEXTLENGTH, 0, 0, 7, nullptr},
    };
    AFX_MODULE_STATE* before = AfxGetModuleState();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        wnd.calls.clear();
        EXPECT_EQ(c.result, wnd.SendMessage(c.message, c.wParam, c.lParam));
        EXPECT_EQ(c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{}, wnd.calls);
    }
    // The procedure runs with the library's state and the creator's resource module, then restores the host's.
    EXPECT_EQ(AfxGetStaticModuleState(), wnd.stateInHandler);
    EXPECT_EQ(chosen, wnd.resourceInHandler);
    EXPECT_EQ(before, AfxGetModuleState());
    EXPECT_EQ(hostResource, AfxGetResourceHandle());
}

TEST(HandleMap, RefusalsAndTemporaries)
{
    HWND first = MakePlainWindow(), second = MakePlainWindow();
    CWnd owner, other;
    ASSERT_TRUE(owner.Attach(first));
    const struct { const char* name; CWnd* object; HWND hWnd; } refusals[] = {
        {"null handle", &other, nullptr},
        {"not a window", &other, reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0))},
        {"window owned by another object", &other, first},
        {"object already has a window", &owner, second},
    };
    for (const auto& r : refusals) {
        EXPECT_FALSE(r.object->Attach(r.hWnd)) << r.name;
        EXPECT_FALSE(r.object->SubclassWindow(r.hWnd)) << r.name;
    }
    EXPECT_EQ(nullptr, other.m_hWnd);
    EXPECT_EQ(first, owner.Detach());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(first));
    EXPECT_TRUE(::IsWindow(first)); // detaching leaves the window alone

    AfxLockTempMaps();
    CWnd* temp = CWnd::FromHandle(second);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(temp, CWnd::FromHandle(second)); // one temporary object per window
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(second));
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
    EXPECT_TRUE(AfxUnlockTempMaps()); // the last lock deletes the temporaries

    ::DestroyWindow(first);
    ::DestroyWindow(second);
}

TEST(WindowLife, DestructionLetsGoOfTheObject)
{
    BOOL deleted = FALSE;
    auto* wnd = new CBaseProbe;
    wnd->pDeleted = &deleted;
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, L"heap", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hWnd = wnd->m_hWnd;
    ::DestroyWindow(hWnd); // the object deletes itself in PostNcDestroy
    EXPECT_TRUE(deleted);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    {
        CBaseProbe scoped;
        ASSERT_TRUE(scoped.CreateEx(0, nullptr, L"scoped", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        hWnd = scoped.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd)); // the object's destruction took its window along
}

} // namespace
