// CToolTipCtrl, the thread's shared tool-tip control and CWnd::EnableToolTips.
#include <afx/afxcmn.h>

#include <memory>

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {
// Marks a window whose tools take part in the thread's tool tips.
constexpr wchar_t kToolTipsProp[] = L"QNUtility.ToolTips";

struct ThreadStateOwner {
    _AFX_THREAD_STATE state;
    std::unique_ptr<CToolTipCtrl> toolTip;
};
thread_local std::unique_ptr<ThreadStateOwner> t_threadState;

TOOLINFOW ToolInfo(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = pWnd ? pWnd->m_hWnd : nullptr;
    ti.uId = nIDTool ? nIDTool : reinterpret_cast<UINT_PTR>(ti.hwnd);
    ti.uFlags = nIDTool ? 0 : TTF_IDISHWND;
    return ti;
}
} // namespace

_AFX_THREAD_STATE* AfxGetThreadState()
{
    if (!t_threadState)
        t_threadState = std::make_unique<ThreadStateOwner>();
    return &t_threadState->state;
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CWnd::CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TOOLINFOW ti = ToolInfo(pWnd, nIDTool);
    if (lpRectTool)
        ti.rect = *lpRectTool;
    else if (pWnd)
        ::GetClientRect(pWnd->m_hWnd, &ti.rect);
    ti.lpszText = const_cast<LPWSTR>(lpszText ? lpszText : L"");
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOW ti = ToolInfo(pWnd, nIDTool);
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOW ti = ToolInfo(pWnd, nIDTool);
    ti.lpszText = const_cast<LPWSTR>(lpszText ? lpszText : L"");
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    TOOLINFOW ti = ToolInfo(pWnd, nIDTool);
    ti.rect = *lpRect;
    SendMessage(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

BOOL CToolTipCtrl::HasTool(CWnd* pWnd, UINT_PTR nIDTool) const
{
    TOOLINFOW ti = ToolInfo(pWnd, nIDTool);
    return static_cast<BOOL>(SendMessage(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    if (!m_hWnd)
        return FALSE;
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (!bEnable) {
        ::RemovePropW(m_hWnd, kToolTipsProp);
        if (CToolTipCtrl* pTip = state->m_pToolTip; pTip && pTip->m_hWnd) {
            pTip->Pop();
            pTip->DelTool(this);
        }
        return TRUE;
    }
    if (!state->m_pToolTip) {
        auto tip = std::make_unique<CToolTipCtrl>();
        if (!tip->Create(nullptr))
            return FALSE;
        t_threadState->toolTip = std::move(tip);
        state->m_pToolTip = t_threadState->toolTip.get();
    }
    ::SetPropW(m_hWnd, kToolTipsProp, reinterpret_cast<HANDLE>(1));
    return TRUE;
}

BOOL CWnd::IsToolTipsEnabled() const { return m_hWnd && ::GetPropW(m_hWnd, kToolTipsProp) != nullptr; }
