// Message maps: each class that handles messages writes one table,
//
//     BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//         ON_WM_PAINT()
//         ON_BN_CLICKED(IDC_APPLY, OnApply)
//     END_MESSAGE_MAP()
//
// and declares it with DECLARE_MESSAGE_MAP() in the class. The table is not
// data: it expands to the body of the class's one dispatch function
//
//     BOOL CMyDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
//
// in which every entry is an `if` that recognises its message, calls the
// handler with the arguments cracked as the handler's signature spells them,
// stores the message result in *pResult and returns TRUE. A message no entry
// takes falls through to the base class's OnWndMsg (END_MESSAGE_MAP), and at
// the root (CWnd) to the window's default procedure. A handled message does
// not reach the default procedure unless the handler calls Default() or the
// base class's handler (CWnd::OnPaint() and its kind all call Default()).
//
// Handler signatures are the framework's: OnPaint(), OnLButtonDown(UINT, CPoint),
// OnSetCursor(CWnd*, UINT, UINT) -> BOOL, OnTimer(UINT_PTR), OnCtlColor(CDC*,
// CWnd*, UINT) -> HBRUSH, command and notification handlers void(), ON_MESSAGE
// handlers LRESULT(WPARAM, LPARAM), ON_NOTIFY handlers void(NMHDR*, LRESULT*).
#pragma once

#ifndef afx_msg
#  define afx_msg
#endif

#define DECLARE_MESSAGE_MAP() \
protected:                    \
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                   \
    BOOL theClass::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)        \
    {                                                                                            \
        typedef baseClass TheBaseClass_;                                                         \
        if (false) {

#define END_MESSAGE_MAP()                                                \
        }                                                                \
        return TheBaseClass_::OnWndMsg(message, wParam, lParam, pResult); \
    }

// Helpers of the entries (not for direct use).
#define QN_MSG_POINT_(lp) CPoint(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)))
#define QN_MSG_ENTRY_(test, call, result) \
    }                                     \
    if (test) {                           \
        call;                             \
        *pResult = (result);              \
        return TRUE;

#define QN_MSG_MOUSE_(msg, fn) QN_MSG_ENTRY_(message == (msg), this->fn(static_cast<UINT>(wParam), QN_MSG_POINT_(lParam)), 0)
#define QN_MSG_VOID_(msg, fn) QN_MSG_ENTRY_(message == (msg), this->fn(), 0)
#define QN_MSG_KEY_(msg, fn) \
    QN_MSG_ENTRY_(message == (msg), this->fn(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)), 0)

// --- Window messages ---------------------------------------------------------

#define ON_WM_PAINT() QN_MSG_VOID_(WM_PAINT, OnPaint)
#define ON_WM_DESTROY() QN_MSG_VOID_(WM_DESTROY, OnDestroy)
#define ON_WM_CLOSE() QN_MSG_VOID_(WM_CLOSE, OnClose)
#define ON_WM_NCDESTROY() QN_MSG_VOID_(WM_NCDESTROY, OnNcDestroy)
#define ON_WM_LBUTTONDOWN() QN_MSG_MOUSE_(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() QN_MSG_MOUSE_(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() QN_MSG_MOUSE_(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() QN_MSG_MOUSE_(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() QN_MSG_MOUSE_(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() QN_MSG_MOUSE_(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() QN_MSG_MOUSE_(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() QN_MSG_MOUSE_(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() QN_MSG_MOUSE_(WM_MBUTTONDBLCLK, OnMButtonDblClk)
#define ON_WM_MOUSEMOVE() QN_MSG_MOUSE_(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_KEYDOWN() QN_MSG_KEY_(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() QN_MSG_KEY_(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() QN_MSG_KEY_(WM_CHAR, OnChar)
#define ON_WM_SETCURSOR()                                                                                   \
    QN_MSG_ENTRY_(message == WM_SETCURSOR,                                                                  \
                  BOOL handled_ = this->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)),       \
                                                    LOWORD(lParam), HIWORD(lParam)),                        \
                  handled_)
#define ON_WM_TIMER() QN_MSG_ENTRY_(message == WM_TIMER, this->OnTimer(static_cast<UINT_PTR>(wParam)), 0)
#define ON_WM_SETFOCUS() \
    QN_MSG_ENTRY_(message == WM_SETFOCUS, this->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))), 0)
#define ON_WM_KILLFOCUS() \
    QN_MSG_ENTRY_(message == WM_KILLFOCUS, this->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))), 0)
#define ON_WM_CAPTURECHANGED()                                                                                \
    QN_MSG_ENTRY_(message == WM_CAPTURECHANGED, this->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))), 0)
#define ON_WM_GETDLGCODE() QN_MSG_ENTRY_(message == WM_GETDLGCODE, UINT code_ = this->OnGetDlgCode(), code_)
#define ON_WM_ERASEBKGND()                                                                                   \
    QN_MSG_ENTRY_(message == WM_ERASEBKGND,                                                                  \
                  BOOL erased_ = this->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam))), erased_)
// WM_CTLCOLORMSGBOX ... WM_CTLCOLORSTATIC; nCtlColor is CTLCOLOR_MSGBOX ... CTLCOLOR_STATIC.
#define ON_WM_CTLCOLOR()                                                                                     \
    QN_MSG_ENTRY_(message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC,                              \
                  HBRUSH brush_ = this->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),           \
                                                   CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),         \
                                                   message - WM_CTLCOLORMSGBOX),                             \
                  reinterpret_cast<LRESULT>(brush_))
#define ON_WM_SIZE()                                                                                          \
    QN_MSG_ENTRY_(message == WM_SIZE,                                                                         \
                  this->OnSize(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),                 \
                               static_cast<short>(HIWORD(lParam))),                                           \
                  0)
// OnCreate returns 0 to go on, -1 to fail the creation.
#define ON_WM_CREATE()                                                                                        \
    QN_MSG_ENTRY_(message == WM_CREATE, int created_ = this->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)), \
                  created_)

// --- Commands and control notifications (WM_COMMAND, WM_NOTIFY) --------------

#define ON_COMMAND(id, memberFxn) \
    QN_MSG_ENTRY_(message == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == 0, this->memberFxn(), 0)
// memberFxn(UINT nID) for every command from id1 to id2 (inclusive).
#define ON_COMMAND_RANGE(id1, id2, memberFxn)                                                               \
    QN_MSG_ENTRY_(message == WM_COMMAND && HIWORD(wParam) == 0 && LOWORD(wParam) >= (id1) &&                \
                      LOWORD(wParam) <= (id2),                                                              \
                  this->memberFxn(static_cast<UINT>(LOWORD(wParam))), 0)
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                                   \
    QN_MSG_ENTRY_(message == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (wNotifyCode), this->memberFxn(), \
                  0)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)
// memberFxn(NMHDR* pNotifyStruct, LRESULT* pResult); *pResult starts at 0.
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                     \
    QN_MSG_ENTRY_(message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->idFrom == static_cast<UINT_PTR>(id) && \
                      reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(wNotifyCode),                    \
                  *pResult = 0; this->memberFxn(reinterpret_cast<NMHDR*>(lParam), pResult), *pResult)

// --- Any message ---------------------------------------------------------------

// memberFxn(WPARAM, LPARAM) -> LRESULT, for a fixed message number.
#define ON_MESSAGE(msg, memberFxn) QN_MSG_ENTRY_(message == (msg), LRESULT r_ = this->memberFxn(wParam, lParam), r_)
// The same for a message number held in a variable (RegisterWindowMessage).
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) ON_MESSAGE(nMessageVariable, memberFxn)
