// Per-thread window state of the framework: the handle maps, the temporary
// objects, the message being handled (for CWnd::Default) and the window
// creation hook. Made on first use; the library's thread detach (and process
// detach, for the thread that unloads) releases it.
#pragma once

#include <afx/afxwin.h>

#include <memory>
#include <unordered_map>

struct AfxThreadWindowState {
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, std::unique_ptr<CWnd>> tempWnd;
    std::unordered_map<HDC, std::unique_ptr<CDC>> tempDC;
    std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> tempGdi;
    int tempLock = 0;
    MSG lastSent = {};          // the message the innermost window procedure handles
    CWnd* pWndInit = nullptr;   // the object the creation hook attaches next
    HHOOK hHookCreate = nullptr;

    ~AfxThreadWindowState();
    void DeleteTemps();
};

// The calling thread's state, made when there is none.
AfxThreadWindowState& AfxGetThreadWindowState();
// Releases the calling thread's state (temporary objects, maps, hook).
void AfxReleaseThreadWindowState();

// The next window the calling thread creates is attached to pWnd and
// subclassed before its first message. Unhook returns TRUE when that happened.
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();

// The module state a window procedure of the library runs in: the library's,
// with the resource module the window was made under (see afxwnd.h).
class AfxWindowStateScope {
public:
    explicit AfxWindowStateScope(HINSTANCE hResourceModule);
    ~AfxWindowStateScope();
    AfxWindowStateScope(const AfxWindowStateScope&) = delete;
    AfxWindowStateScope& operator=(const AfxWindowStateScope&) = delete;

private:
    AFX_MODULE_STATE* m_pPrevState;
    HINSTANCE m_hPrevResource;
};

// Access to CWnd's protected members for the window procedure and the hook.
class CWndInternals {
public:
    static HINSTANCE ResourceModule(const CWnd* pWnd) { return pWnd->m_hResourceModule; }
    static WNDPROC& SuperProc(CWnd* pWnd) { return pWnd->m_pfnSuper; }
    // Runs one message through pWnd with the state switched and the temporary
    // objects kept; at WM_NCDESTROY detaches and calls PostNcDestroy.
    static LRESULT CallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
};
