// CDialog: templates from the resource modules, the modal loop, OK and Cancel.
#include "afx/win32/WindowState.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {

// The dialog procedure of every CDialog made from a template. The window is
// subclassed (AfxWndProc runs first); this only answers WM_INITDIALOG, which
// the dialog manager routes here through DefDlgProc.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* pDlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
    return pDlg ? pDlg->OnInitDialog() : TRUE;
}

// The template: module in force, then the extension chain. Null when missing.
LPCDLGTEMPLATEW LoadDialogTemplate(LPCTSTR lpszTemplateName, HINSTANCE* phInst)
{
    if (!lpszTemplateName)
        return nullptr;
    HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
    HRSRC hResource = hInst ? ::FindResourceW(hInst, lpszTemplateName, RT_DIALOG) : nullptr;
    HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    *phInst = hInst;
    return hTemplate ? static_cast<LPCDLGTEMPLATEW>(::LockResource(hTemplate)) : nullptr;
}

} // namespace

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog() = default;

// --- Modal and modeless creation ---------------------------------------------

HWND CDialog::PreModal()
{
    HWND hWndOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : ::GetActiveWindow();
    HWND hWndTop = hWndOwner ? ::GetAncestor(hWndOwner, GA_ROOT) : nullptr;
    m_hWndOwnerDisabled = nullptr;
    if (hWndTop && ::IsWindowEnabled(hWndTop)) {
        ::EnableWindow(hWndTop, FALSE);
        m_hWndOwnerDisabled = hWndTop;
    }
    return hWndOwner;
}

void CDialog::PostModal()
{
    if (!m_hWndOwnerDisabled)
        return;
    ::EnableWindow(m_hWndOwnerDisabled, TRUE);
    if (m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(m_hWndOwnerDisabled);
    m_hWndOwnerDisabled = nullptr;
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATEW lpTemplate = LoadDialogTemplate(m_lpszTemplateName, &hInst);
    if (!lpTemplate || m_hWnd)
        return -1;

    HWND hWndOwner = PreModal();
    m_bContinueModal = TRUE;
    m_nModalResult = -1;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, lpTemplate, hWndOwner, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (!hWnd || m_hWnd != hWnd) {
        m_bContinueModal = FALSE;
        PostModal();
        if (hWnd)
            ::DestroyWindow(hWnd);
        return -1;
    }

    // OnInitDialog may already have ended the dialog. As the system's modal
    // loop does, the dialog is shown when the queue first runs empty.
    if (m_bContinueModal) {
        BOOL bShowIdle = !(::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_VISIBLE);
        while (m_bContinueModal) {
            MSG msg;
            if (bShowIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
                ::UpdateWindow(m_hWnd);
                bShowIdle = FALSE;
                continue;
            }
            const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                if (got == 0)
                    ::PostQuitMessage(static_cast<int>(msg.wParam)); // the host's loop must see it too
                m_nModalResult = IDABORT;
                break;
            }
            BOOL handled;
            {
                // Pre-translation runs like a window procedure of the dialog.
                AfxWindowStateScope state(CWndInternals::ResourceModule(this));
                AfxLockTempMaps();
                handled = CWnd::WalkPreTranslateTree(m_hWnd, &msg);
                AfxUnlockTempMaps();
            }
            if (!handled) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        m_bContinueModal = FALSE;
    }
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    PostModal();
    DestroyWindow();
    return m_nModalResult;
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATEW lpTemplate = LoadDialogTemplate(lpszTemplateName, &hInst);
    if (!lpTemplate || m_hWnd)
        return FALSE;
    m_lpszTemplateName = lpszTemplateName;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, lpTemplate, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr,
                                             AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return hWnd != nullptr && m_hWnd == hWnd;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDHelp = nIDTemplate;
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

void CDialog::EndDialog(int nResult)
{
    if (m_bContinueModal) {
        m_nModalResult = nResult;
        m_bContinueModal = FALSE;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0); // wakes the loop if it waits in GetMessage
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, nResult); // a dialog the system runs (the common dialogs)
    }
}

// --- Overridables ------------------------------------------------------------------

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    const UINT message = pMsg->message;
    const bool input = (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
                       (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
    return input && m_hWnd ? ::IsDialogMessageW(m_hWnd, pMsg) : FALSE;
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl)
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), 1);
}
