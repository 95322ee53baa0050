// Tool tips: the tool-tip control and the calling thread's shared one.
//
// A window takes part in the thread's tool tips after EnableToolTips(TRUE):
// the first such call on a thread creates the thread's tool-tip control
// (AfxGetThreadState()->m_pToolTip), which lives until the thread's window
// state is released. EnableToolTips(FALSE) takes the window's tools out of
// that control and hides a tip it shows.
//
// Windows-only; include <afx/afxcmn.h> after <afx/afxwin.h>.
#pragma once

#include <afx/afxwin.h>
#include <commctrl.h>

class QN_API CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() = default;

    // A top-level tool-tip window owned by pParentWnd (TTS_ALWAYSTIP unless
    // dwStyle says otherwise). FALSE when the window cannot be made.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = TTS_ALWAYSTIP | TTS_NOPREFIX);

    // Tools identified by window and id (TTF_IDISHWND when nIDTool is 0:
    // the window itself is the tool). lpRectTool null: the window's client area.
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    // TRUE when the control has the tool.
    BOOL HasTool(CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(bActivate)); }
    void Pop() { SendMessage(TTM_POP); }
};

// The framework's per-thread state that hosts and the library share.
struct QN_API _AFX_THREAD_STATE {
    // The thread's tool-tip control, made by the first EnableToolTips(TRUE);
    // null before. Owned by the thread state.
    CToolTipCtrl* m_pToolTip = nullptr;
};

// The calling thread's state, made when there is none.
QN_API _AFX_THREAD_STATE* AfxGetThreadState();
