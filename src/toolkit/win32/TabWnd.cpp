// SECTabWndBase and SEC3DTabWnd: one child window per tab over a tab control.
#include <QNTabWnd.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(SECTabWndBase, CWnd)
IMPLEMENT_DYNAMIC(SEC3DTabWnd, SECTabWndBase)

namespace {
constexpr int kFrame = 2; // the sunken frame of the 3D tab window
}

// --- Construction -----------------------------------------------------------------

SECTabWndBase::SECTabWndBase() = default;

SECTabWndBase::~SECTabWndBase()
{
    // The control's window goes with ours; the object is ours to delete.
    if (m_hWnd)
        DestroyWindow();
    delete m_pTabCtrl;
}

BOOL SECTabWndBase::Create(CWnd* pParentWnd, const RECT& rect, UINT nID, DWORD dwStyle, DWORD dwTabCtrlStyle)
{
    const LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    if (!CWnd::Create(cls, _T(""), dwStyle | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd, nID))
        return FALSE;
    m_dwTabCtrlStyle = dwTabCtrlStyle | WS_CHILD;
    if (!CreateTabCtrl(m_dwTabCtrlStyle, SECTW_TABCTRL_ID) || !m_pTabCtrl || !m_pTabCtrl->m_hWnd) {
        DestroyWindow();
        return FALSE;
    }
    RecalcLayout();
    return TRUE;
}

BOOL SECTabWndBase::CreateTabCtrl(DWORD, UINT nID)
{
    delete m_pTabCtrl;
    m_pTabCtrl = new SECTabControlBase;
    return m_pTabCtrl->Create(m_dwTabCtrlStyle | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID);
}

// --- Tabs -------------------------------------------------------------------------

int SECTabWndBase::GetTabCount() const { return m_pTabCtrl ? m_pTabCtrl->GetTabCount() : 0; }

int SECTabWndBase::AddTab(CWnd* pWnd, LPCTSTR lpszLabel)
{
    if (!m_pTabCtrl || !pWnd || !pWnd->m_hWnd)
        return -1;
    ::SetParent(pWnd->m_hWnd, m_hWnd);
    pWnd->ShowWindow(SW_HIDE);
    const int index = m_pTabCtrl->AddTab(lpszLabel, pWnd);
    if (m_pTabCtrl->GetActiveTab() < 0)
        m_pTabCtrl->ActivateTab(index);
    RecalcLayout();
    return index;
}

BOOL SECTabWndBase::RemoveTab(CWnd* pWnd)
{
    const int index = m_pTabCtrl ? m_pTabCtrl->FindTab(pWnd) : -1;
    if (index < 0)
        return FALSE;
    if (pWnd->m_hWnd)
        pWnd->ShowWindow(SW_HIDE);
    m_pTabCtrl->DeleteTab(index); // notifies the new active tab, which ShowActive places
    RecalcLayout();
    return TRUE;
}

BOOL SECTabWndBase::RenameTab(CWnd* pWnd, LPCTSTR lpszLabel)
{
    return m_pTabCtrl && m_pTabCtrl->RenameTab(m_pTabCtrl->FindTab(pWnd), lpszLabel);
}

BOOL SECTabWndBase::ActivateTab(int nIndex)
{
    if (!m_pTabCtrl || !m_pTabCtrl->ActivateTab(nIndex))
        return FALSE;
    ShowActive();
    return TRUE;
}

BOOL SECTabWndBase::ActivateTab(CWnd* pWnd) { return m_pTabCtrl && ActivateTab(m_pTabCtrl->FindTab(pWnd)); }

CWnd* SECTabWndBase::GetActiveWnd() const
{
    return m_pTabCtrl ? static_cast<CWnd*>(m_pTabCtrl->GetTabData(m_pTabCtrl->GetActiveTab())) : nullptr;
}

// --- Layout -----------------------------------------------------------------------

CRect SECTabWndBase::GetClientArea() const
{
    CRect rc;
    GetClientRect(&rc);
    const int tabs = m_pTabCtrl ? m_pTabCtrl->GetTabHeight() : 0;
    if (m_dwTabCtrlStyle & SECTCS_TABSONTOP)
        rc.top = std::min<int>(rc.top + tabs, rc.bottom);
    else
        rc.bottom = std::max<int>(rc.bottom - tabs, rc.top);
    return rc;
}

void SECTabWndBase::RecalcLayout()
{
    if (!m_hWnd || !m_pTabCtrl || !m_pTabCtrl->m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    const int tabs = m_pTabCtrl->GetTabHeight();
    const BOOL top = (m_dwTabCtrlStyle & SECTCS_TABSONTOP) != 0;
    const int y = top ? client.top : std::max<int>(client.bottom - tabs, client.top);
    m_pTabCtrl->MoveWindow(client.left, y, client.Width(), std::min<int>(tabs, client.Height()));
    ShowActive();
}

void SECTabWndBase::ShowActive()
{
    CWnd* pActive = GetActiveWnd();
    for (int i = 0; i < GetTabCount(); ++i) {
        CWnd* pWnd = static_cast<CWnd*>(m_pTabCtrl->GetTabData(i));
        if (pWnd && pWnd != pActive && pWnd->m_hWnd)
            pWnd->ShowWindow(SW_HIDE);
    }
    if (pActive && pActive->m_hWnd) {
        pActive->MoveWindow(GetClientArea());
        pActive->ShowWindow(SW_SHOW);
    }
    Invalidate();
}

BOOL SECTabWndBase::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB && (::GetKeyState(VK_CONTROL) & 0x8000) && m_pTabCtrl &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        const BOOL forward = (::GetKeyState(VK_SHIFT) & 0x8000) == 0;
        if (m_pTabCtrl->ActivateNextTab(forward, FALSE))
            ShowActive();
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

// --- Message handlers -------------------------------------------------------------

void SECTabWndBase::OnSize(UINT, int, int) { RecalcLayout(); }

BOOL SECTabWndBase::OnEraseBkgnd(CDC*) { return TRUE; }

void SECTabWndBase::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    const CRect area = GetClientArea();
    ::FillRect(hdc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    ::EndPaint(m_hWnd, &ps);
}

LRESULT SECTabWndBase::OnTabNotify(WPARAM, LPARAM lParam)
{
    const auto* nm = reinterpret_cast<const NMSECTAB*>(lParam);
    if (m_pTabCtrl && nm->hdr.hwndFrom == m_pTabCtrl->m_hWnd) {
        if (nm->hdr.code == SECTCN_ACTIVATE)
            ShowActive();
        // Every notification goes on to our parent, from us.
        if (CWnd* pParent = GetParent()) {
            NMSECTAB forward = *nm;
            forward.hdr.hwndFrom = m_hWnd;
            forward.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
            return pParent->SendMessage(WM_NOTIFY, forward.hdr.idFrom, reinterpret_cast<LPARAM>(&forward));
        }
        return 0;
    }
    return Default();
}

BEGIN_MESSAGE_MAP(SECTabWndBase, CWnd)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_MESSAGE(WM_NOTIFY, OnTabNotify)
END_MESSAGE_MAP()

// --- SEC3DTabWnd --------------------------------------------------------------------

SEC3DTabWnd::SEC3DTabWnd() = default;
SEC3DTabWnd::~SEC3DTabWnd() = default;

BOOL SEC3DTabWnd::CreateTabCtrl(DWORD, UINT nID)
{
    delete m_pTabCtrl;
    m_pTabCtrl = new SEC3DTabControl;
    return m_pTabCtrl->Create(m_dwTabCtrlStyle | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID);
}

CRect SEC3DTabWnd::GetClientArea() const
{
    CRect rc = SECTabWndBase::GetClientArea();
    rc.DeflateRect(kFrame, kFrame);
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    return rc;
}

void SEC3DTabWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    RECT frame = SECTabWndBase::GetClientArea();
    ::FillRect(hdc, &frame, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(hdc, &frame, EDGE_SUNKEN, BF_RECT);
    ::EndPaint(m_hWnd, &ps);
}

BEGIN_MESSAGE_MAP(SEC3DTabWnd, SECTabWndBase)
    ON_WM_PAINT()
END_MESSAGE_MAP()
