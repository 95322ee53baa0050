// The window procedure path: AfxWndProc -> CallWndProc (module state, temporary
// objects, the current message) -> CWnd::WindowProc -> OnWndMsg (the message
// map) or DefWindowProc (the window's previous procedure). Also the creation
// hook that subclasses a window before its first message.
#include "afx/win32/WindowState.h"

// --- Module state of a window procedure --------------------------------------

AfxWindowStateScope::AfxWindowStateScope(HINSTANCE hResourceModule)
{
    AFX_MODULE_STATE* library = AfxGetStaticModuleState();
    m_pPrevState = AfxSetModuleState(library);
    m_hPrevResource = library->m_hCurrentResourceHandle;
    if (hResourceModule)
        library->m_hCurrentResourceHandle = hResourceModule;
}

AfxWindowStateScope::~AfxWindowStateScope()
{
    AfxGetStaticModuleState()->m_hCurrentResourceHandle = m_hPrevResource;
    AfxSetModuleState(m_pPrevState);
}

// --- One message -------------------------------------------------------------

namespace {

// Restores the previous "current message" and releases the temporary objects
// when the outermost window procedure of the thread returns, also when a
// handler throws.
class MessageScope {
public:
    MessageScope(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) : m_state(AfxGetThreadWindowState())
    {
        m_saved = m_state.lastSent;
        m_state.lastSent = MSG{hWnd, nMsg, wParam, lParam, 0, {0, 0}};
        AfxLockTempMaps();
    }
    ~MessageScope()
    {
        m_state.lastSent = m_saved;
        AfxUnlockTempMaps();
    }
    MessageScope(const MessageScope&) = delete;
    MessageScope& operator=(const MessageScope&) = delete;

private:
    AfxThreadWindowState& m_state;
    MSG m_saved;
};

// The window is going: give it its old procedure back, leave the map, and let
// the object know (it may delete itself in PostNcDestroy).
void FinishNcDestroy(CWnd* pWnd, HWND hWnd)
{
    if (CWnd::FromHandlePermanent(hWnd) != pWnd)
        return;
    WNDPROC& super = CWndInternals::SuperProc(pWnd);
    if (super && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == AfxWndProc)
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
    super = nullptr;
    pWnd->Detach();
    pWnd->PostNcDestroy();
}

} // namespace

LRESULT CWndInternals::CallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    AfxWindowStateScope state(pWnd->m_hResourceModule);
    MessageScope current(hWnd, nMsg, wParam, lParam);
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (CException* e) {
        // Exceptions must not unwind through the system's frames: report and go on.
        if (!e->IsKindOf(RUNTIME_CLASS(CUserException)))
            e->ReportError(MB_ICONEXCLAMATION);
        e->Delete();
        result = nMsg == WM_CREATE ? -1 : 0;
    }
    if (nMsg == WM_NCDESTROY)
        FinishNcDestroy(pWnd, hWnd);
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) // a window of another thread's map, or one already detached
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    return CWndInternals::CallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetThreadWindowState().lastSent;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

// --- Subclassing ---------------------------------------------------------------

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    const auto previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (!previous) { // another process's window, or the system refused
        Detach();
        return FALSE;
    }
    if (previous != AfxWndProc)
        m_pfnSuper = previous;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
    return hWndControl ? SubclassWindow(hWndControl) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd && m_pfnSuper)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

// --- The creation hook -----------------------------------------------------------

namespace {

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    AfxThreadWindowState& state = AfxGetThreadWindowState();
    if (code == HCBT_CREATEWND && state.pWndInit) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        WCHAR className[16] = {};
        ::GetClassNameW(hWnd, className, 16);
        // Input-method windows may be made first on the thread; they are not ours.
        if (::lstrcmpiW(className, L"IME") != 0) {
            CWnd* pWnd = state.pWndInit;
            state.pWndInit = nullptr;
            pWnd->SubclassWindow(hWnd);
        }
    }
    return ::CallNextHookEx(state.hHookCreate, code, wParam, lParam);
}

} // namespace

void AfxHookWindowCreate(CWnd* pWnd)
{
    AfxThreadWindowState& state = AfxGetThreadWindowState();
    if (!state.hHookCreate)
        state.hHookCreate = ::SetWindowsHookExW(WH_CBT, CbtFilterHook, nullptr, ::GetCurrentThreadId());
    state.pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate()
{
    AfxThreadWindowState& state = AfxGetThreadWindowState();
    if (state.hHookCreate) {
        ::UnhookWindowsHookEx(state.hHookCreate);
        state.hHookCreate = nullptr;
    }
    const BOOL attached = state.pWndInit == nullptr;
    state.pWndInit = nullptr;
    return attached;
}
