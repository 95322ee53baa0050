// CWnd: handle maps, subclassing, message-map dispatch with fall-through to
// the base class, the module state of the window procedure, timers, capture.
#include <afx/afxwin.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kProbeMessage = WM_APP + 1;
constexpr UINT kDefaultMessage = WM_APP + 2;

// Records every handler call as text, with the arguments as the map cracked them.
class CBaseProbe : public CWnd {
public:
    std::vector<std::string> calls;
    AFX_MODULE_STATE* stateInHandler = nullptr;
    HINSTANCE resourceInHandler = nullptr;
    BOOL deleteOnNcDestroy = FALSE;
    BOOL* pDeleted = nullptr;

    void Note(const char* format, ...)
    {
        char text[128];
        va_list args;
        va_start(args, format);
        vsnprintf(text, sizeof text, format, args);
        va_end(args);
        calls.push_back(text);
    }

    afx_msg void OnTimer(UINT_PTR nIDEvent) { Note("base OnTimer %u", static_cast<unsigned>(nIDEvent)); }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) { Note("base OnLButtonDown %u %ld %ld", nFlags, point.x, point.y); }
    afx_msg void OnCaptureChanged(CWnd* pWnd) { Note("base OnCaptureChanged"); }
    afx_msg LRESULT OnProbe(WPARAM wParam, LPARAM)
    {
        stateInHandler = AfxGetModuleState();
        resourceInHandler = AfxGetResourceHandle();
        return static_cast<LRESULT>(wParam) * 2;
    }
    void PostNcDestroy() override
    {
        if (deleteOnNcDestroy) {
            *pDeleted = TRUE;
            delete this;
        }
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbe, CWnd)
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_CAPTURECHANGED()
    ON_MESSAGE(kProbeMessage, OnProbe)
END_MESSAGE_MAP()

class CDerivedProbe : public CBaseProbe {
public:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) { Note("derived OnLButtonDown %u %ld %ld", nFlags, point.x, point.y); }
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
    {
        Note("OnSetCursor %d %u %u", pWnd == this, nHitTest, message);
        return 5;
    }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Note("OnKeyDown %u %u %u", nChar, nRepCnt, nFlags); }
    afx_msg void OnSize(UINT nType, int cx, int cy) { Note("OnSize %u %d %d", nType, cx, cy); }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        Note("OnCtlColor %d %u", pDC != nullptr && pWnd == this, nCtlColor);
        return static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    }
    afx_msg UINT OnGetDlgCode() { return DLGC_WANTARROWS; }
    afx_msg void OnApply() { Note("OnApply"); }
    afx_msg void OnEditChange() { Note("OnEditChange"); }
    afx_msg void OnRange(UINT nID) { Note("OnRange %u", nID); }
    afx_msg void OnItemChanged(NMHDR* pNotify, LRESULT* pResult)
    {
        Note("OnItemChanged %u", static_cast<unsigned>(pNotify->idFrom));
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
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
    ON_WM_GETDLGCODE()
    ON_BN_CLICKED(40, OnApply)
    ON_EN_CHANGE(41, OnEditChange)
    ON_COMMAND_RANGE(50, 52, OnRange)
    ON_NOTIFY(7, 42, OnItemChanged)
    ON_MESSAGE(WM_SETTEXT, OnSetTextThenDefault)
END_MESSAGE_MAP()

HWND MakePlainWindow() { return ::CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr); }

TEST(WindowDispatch, EntriesCrackTheirArgumentsAndFallThroughToTheBase)
{
    CDerivedProbe wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"probe", WS_POPUP, 0, 0, 100, 80, nullptr, nullptr));
    NMHDR notify = {wnd.m_hWnd, 42, 7};
    NMHDR otherNotify = {wnd.m_hWnd, 43, 7};
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        const char* call; // null: no handler
    } cases[] = {
        {"derived entry hides the base one", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 7), 0, "derived OnLButtonDown 1 -3 7"},
        {"base entry reached through the derived map", WM_TIMER, 17, 0, 0, "base OnTimer 17"},
        {"ON_MESSAGE of the base returns its result", kProbeMessage, 21, 0, 42, nullptr},
        {"set cursor: window, hit test, mouse message", WM_SETCURSOR, 0 /* set below */, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), 5,
         "OnSetCursor 1 1 512"},
        {"key: code, repeat count, flags", WM_KEYDOWN, VK_LEFT, MAKELPARAM(3, 0x14B), 0, "OnKeyDown 37 3 331"},
        {"size", WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 90), 0, "OnSize 0 120 90"},
        {"control colour: kind from the message", WM_CTLCOLORSTATIC, 0 /* set below */, 0 /* set below */,
         reinterpret_cast<LRESULT>(::GetStockObject(GRAY_BRUSH)), "OnCtlColor 1 6"},
        {"dialog code", WM_GETDLGCODE, 0, 0, DLGC_WANTARROWS, nullptr},
        {"button click of its id", WM_COMMAND, MAKEWPARAM(40, BN_CLICKED), 0, 0, "OnApply"},
        {"edit change of its id", WM_COMMAND, MAKEWPARAM(41, EN_CHANGE), 0, 0, "OnEditChange"},
        {"edit change of another id: default", WM_COMMAND, MAKEWPARAM(40, EN_CHANGE), 0, 0, nullptr},
        {"command range", WM_COMMAND, MAKEWPARAM(51, 0), 0, 0, "OnRange 51"},
        {"command beyond the range", WM_COMMAND, MAKEWPARAM(53, 0), 0, 0, nullptr},
        {"notification", WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&notify), 9, "OnItemChanged 42"},
        {"notification of another id", WM_NOTIFY, 43, reinterpret_cast<LPARAM>(&otherNotify), 0, nullptr},
        {"handler that calls Default", WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"changed"), TRUE, "after Default"},
        {"no entry: the window's default procedure", WM_GETTEXTLENGTH, 0, 0, 7, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        wnd.calls.clear();
        WPARAM wParam = c.wParam;
        LPARAM lParam = c.lParam;
        if (c.message == WM_SETCURSOR)
            wParam = reinterpret_cast<WPARAM>(wnd.m_hWnd);
        if (c.message == WM_CTLCOLORSTATIC) {
            wParam = reinterpret_cast<WPARAM>(::GetDC(wnd.m_hWnd));
            lParam = reinterpret_cast<LPARAM>(wnd.m_hWnd);
        }
        EXPECT_EQ(c.result, wnd.SendMessage(c.message, wParam, lParam));
        if (c.message == WM_CTLCOLORSTATIC)
            ::ReleaseDC(wnd.m_hWnd, reinterpret_cast<HDC>(wParam));
        EXPECT_EQ(c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{}, wnd.calls);
    }
    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(CString(L"changed"), text); // Default() did reach the window's procedure
}

TEST(WindowProcedure, RunsWithTheLibraryStateAndTheCreatorsResourceModule)
{
    const HINSTANCE hostResource = AfxGetResourceHandle();
    const HINSTANCE chosen = ::GetModuleHandleW(L"kernel32.dll"); // any module stands for the host's choice
    CBaseProbe wnd;
    AfxSetResourceHandle(chosen);
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    AfxSetResourceHandle(hostResource);

    AFX_MODULE_STATE* before = AfxGetModuleState();
    EXPECT_EQ(8, wnd.SendMessage(kProbeMessage, 4));
    EXPECT_EQ(AfxGetStaticModuleState(), wnd.stateInHandler);
    EXPECT_EQ(chosen, wnd.resourceInHandler);
    EXPECT_EQ(before, AfxGetModuleState()); // restored after the message
    EXPECT_EQ(hostResource, AfxGetResourceHandle());
    EXPECT_NE(chosen, AfxGetStaticModuleState()->m_hCurrentResourceHandle);
}

TEST(HandleMap, AttachRefusals)
{
    HWND first = MakePlainWindow();
    HWND second = MakePlainWindow();
    CWnd owner, other;
    ASSERT_TRUE(owner.Attach(first));
    EXPECT_EQ(&owner, CWnd::FromHandlePermanent(first));
    const struct {
        const char* name;
        CWnd* object;
        HWND hWnd;
    } refusals[] = {
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
    ::DestroyWindow(first);
    ::DestroyWindow(second);
}

TEST(HandleMap, TemporaryObjectsAndThreads)
{
    HWND hWnd = MakePlainWindow();
    AfxLockTempMaps();
    CWnd* temp = CWnd::FromHandle(hWnd);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(hWnd, temp->m_hWnd);
    EXPECT_EQ(temp, CWnd::FromHandle(hWnd)); // one temporary object per window
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
    EXPECT_TRUE(AfxUnlockTempMaps()); // the last lock deletes the temporaries

    CBaseProbe owner;
    ASSERT_TRUE(owner.SubclassWindow(hWnd));
    // The permanent map belongs to the thread: another thread does not see it.
    struct Seen {
        HWND hWnd;
        CWnd* found;
    } seen = {hWnd, &owner};
    HANDLE thread = ::CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* s = static_cast<Seen*>(p);
            s->found = CWnd::FromHandlePermanent(s->hWnd);
            CWnd::FromHandle(s->hWnd); // a temporary object the thread's detach releases
            return 0;
        },
        &seen, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    EXPECT_EQ(nullptr, seen.found);
    owner.DestroyWindow();
}

TEST(Subclassing, MessagesReachTheMapUntilUnsubclassed)
{
    HWND parent = MakePlainWindow();
    HWND child = ::CreateWindowExW(0, L"STATIC", L"child text", WS_CHILD, 0, 0, 10, 10, parent,
                                   reinterpret_cast<HMENU>(77), nullptr, nullptr);
    const LONG_PTR original = ::GetWindowLongPtrW(child, GWLP_WNDPROC);
    CWnd parentWnd;
    ASSERT_TRUE(parentWnd.Attach(parent));
    CBaseProbe probe;
    EXPECT_FALSE(probe.SubclassDlgItem(78, &parentWnd)); // no such item
    ASSERT_TRUE(probe.SubclassDlgItem(77, &parentWnd));
    EXPECT_EQ(&probe, parentWnd.GetDlgItem(77));
    EXPECT_EQ(10, probe.SendMessage(kProbeMessage, 5));
    EXPECT_EQ(10, probe.GetWindowTextLength()); // unhandled messages reach the control's own procedure

    EXPECT_EQ(child, probe.UnsubclassWindow());
    EXPECT_EQ(original, ::GetWindowLongPtrW(child, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(child));
    parentWnd.DestroyWindow();
}

TEST(Destruction, PostNcDestroyRunsAfterTheObjectLetGo)
{
    BOOL deleted = FALSE;
    auto* wnd = new CBaseProbe;
    wnd->deleteOnNcDestroy = TRUE;
    wnd->pDeleted = &deleted;
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, L"heap", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hWnd = wnd->m_hWnd;
    ::DestroyWindow(hWnd); // the object deletes itself in PostNcDestroy
    EXPECT_TRUE(deleted);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));

    HWND kept;
    {
        CBaseProbe scoped;
        ASSERT_TRUE(scoped.CreateEx(0, nullptr, L"scoped", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        kept = scoped.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(kept)); // the object's destruction took its window along
}

TEST(TimersAndCapture, TimerMessagesAndCaptureChanges)
{
    CBaseProbe wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"timer", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr, nullptr));
    EXPECT_EQ(7u, wnd.SetTimer(7, 1));
    MSG msg;
    // GetMessage blocks until the timer is due: no sleeping, no polling.
    while (wnd.calls.empty() && ::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
    EXPECT_EQ(std::vector<std::string>{"base OnTimer 7"}, wnd.calls);
    EXPECT_TRUE(wnd.KillTimer(7));
    EXPECT_FALSE(wnd.KillTimer(7));

    wnd.calls.clear();
    wnd.SetCapture();
    EXPECT_EQ(&wnd, CWnd::GetCapture());
    ::ReleaseCapture();
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_EQ(std::vector<std::string>{"base OnCaptureChanged"}, wnd.calls);
}

} // namespace
