// SEC3DTabControlCS and SEC3DTabWndCS: the 3D tab control and tab window that
// switch to the library's module state for each mouse message.
#include <QNWindows.h>

IMPLEMENT_DYNAMIC(SEC3DTabControlCS, SEC3DTabControl)
IMPLEMENT_DYNAMIC(SEC3DTabWndCS, SEC3DTabWnd)

namespace {
// The steps both classes take before a mouse message goes on: the switch of
// module state must not take the thread's tool tip away from its window, and
// the window's own tips go off.
void ManageState(CWnd& wnd)
{
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    const HWND hWndTip = pThreadState->m_pToolTip ? pThreadState->m_pToolTip->m_hWnd : nullptr;
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (pThreadState->m_pToolTip)
        pThreadState->m_pToolTip->m_hWnd = hWndTip;
    wnd.EnableToolTips(FALSE);
}
} // namespace

// --- SEC3DTabControlCS ------------------------------------------------------------

SEC3DTabControlCS::SEC3DTabControlCS() = default;
SEC3DTabControlCS::~SEC3DTabControlCS() = default;

void SEC3DTabControlCS::COMSafeManageState() { ManageState(*this); }

void SEC3DTabControlCS::OnMouseMove(UINT nFlags, CPoint point)
{
    COMSafeManageState();
    SEC3DTabControl::OnMouseMove(nFlags, point);
}

void SEC3DTabControlCS::OnLButtonDown(UINT nFlags, CPoint point)
{
    COMSafeManageState();
    SEC3DTabControl::OnLButtonDown(nFlags, point);
}

void SEC3DTabControlCS::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    COMSafeManageState();
    SEC3DTabControl::OnLButtonDblClk(nFlags, point);
}

void SEC3DTabControlCS::OnLButtonUp(UINT nFlags, CPoint point)
{
    COMSafeManageState();
    SEC3DTabControl::OnLButtonUp(nFlags, point);
}

void SEC3DTabControlCS::OnRButtonDown(UINT nFlags, CPoint point)
{
    COMSafeManageState();
    SEC3DTabControl::OnRButtonDown(nFlags, point);
}

void SEC3DTabControlCS::OnRButtonUp(UINT nFlags, CPoint point) { OnRButtonDown(nFlags, point); }

void SEC3DTabControlCS::OnMButtonDown(UINT, CPoint)
{
    COMSafeManageState();
    Default();
}

void SEC3DTabControlCS::OnMButtonUp(UINT nFlags, CPoint point) { OnMButtonDown(nFlags, point); }
void SEC3DTabControlCS::OnMButtonDblClk(UINT nFlags, CPoint point) { OnMButtonDown(nFlags, point); }
void SEC3DTabControlCS::OnRButtonDblClk(UINT nFlags, CPoint point) { OnMButtonDown(nFlags, point); }

BEGIN_MESSAGE_MAP(SEC3DTabControlCS, SEC3DTabControl)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MBUTTONDOWN()
    ON_WM_MBUTTONUP()
    ON_WM_MBUTTONDBLCLK()
    ON_WM_RBUTTONDBLCLK()
END_MESSAGE_MAP()

// --- SEC3DTabWndCS ------------------------------------------------------------------

SEC3DTabWndCS::SEC3DTabWndCS() = default;
SEC3DTabWndCS::~SEC3DTabWndCS() = default;

void SEC3DTabWndCS::COMSafeManageState() { ManageState(*this); }

BOOL SEC3DTabWndCS::CreateTabCtrl(DWORD, UINT nID)
{
    delete m_pTabCtrl;
    m_pTabCtrl = new SEC3DTabControlCS;
    m_pTabCtrl->Create(m_dwTabCtrlStyle | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID);
    return m_pTabCtrl != nullptr;
}

void SEC3DTabWndCS::OnMouseMove(UINT, CPoint)
{
    COMSafeManageState();
    Default();
}

void SEC3DTabWndCS::OnLButtonDown(UINT nFlags, CPoint point) { OnMouseMove(nFlags, point); }
void SEC3DTabWndCS::OnLButtonUp(UINT nFlags, CPoint point) { OnMouseMove(nFlags, point); }
void SEC3DTabWndCS::OnLButtonDblClk(UINT nFlags, CPoint point) { OnMouseMove(nFlags, point); }
void SEC3DTabWndCS::OnRButtonDown(UINT nFlags, CPoint point) { OnMouseMove(nFlags, point); }
void SEC3DTabWndCS::OnRButtonUp(UINT nFlags, CPoint point) { OnMouseMove(nFlags, point); }
void SEC3DTabWndCS::OnRButtonDblClk(UINT nFlags, CPoint point) { OnMouseMove(nFlags, point); }
void SEC3DTabWndCS::OnMButtonDown(UINT nFlags, CPoint point) { OnMouseMove(nFlags, point); }
void SEC3DTabWndCS::OnMButtonUp(UINT nFlags, CPoint point) { OnMouseMove(nFlags, point); }
void SEC3DTabWndCS::OnMButtonDblClk(UINT nFlags, CPoint point) { OnMouseMove(nFlags, point); }

BEGIN_MESSAGE_MAP(SEC3DTabWndCS, SEC3DTabWnd)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_MBUTTONDOWN()
    ON_WM_MBUTTONUP()
    ON_WM_MBUTTONDBLCLK()
END_MESSAGE_MAP()
