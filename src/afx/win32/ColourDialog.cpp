// CCommonDialog and CColorDialog over ChooseColorW.
#include <afx/afxdlgs.h>

#include "afx/win32/WindowState.h"

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)

CCommonDialog::CCommonDialog(CWnd* pParentWnd) : CDialog(static_cast<LPCTSTR>(nullptr), pParentWnd) {}

// The system's dialog procedure ends the dialog itself.
void CCommonDialog::OnOK() { Default(); }
void CCommonDialog::OnCancel() { Default(); }

UINT_PTR CALLBACK AfxCommDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    static const UINT s_colorOK = ::RegisterWindowMessageW(COLOROKSTRINGW);
    if (message == WM_INITDIALOG) {
        CDialog* pDlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
        return pDlg ? pDlg->OnInitDialog() : TRUE;
    }
    if (message == s_colorOK) {
        // Non-zero keeps the dialog open.
        CColorDialog* pDlg = DYNAMIC_DOWNCAST(CColorDialog, CWnd::FromHandlePermanent(hWnd));
        return pDlg ? pDlg->OnColorOK() : FALSE;
    }
    return 0;
}

COLORREF* PASCAL CColorDialog::GetSavedCustomColors()
{
    static COLORREF s_colors[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                    0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    return s_colors;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd), m_cc()
{
    m_cc.lStructSize = sizeof m_cc;
    m_cc.Flags = dwFlags | CC_ENABLEHOOK;
    if (clrInit != 0)
        m_cc.Flags |= CC_RGBINIT;
    m_cc.rgbResult = clrInit;
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.lpfnHook = AfxCommDlgProc;
}

INT_PTR CColorDialog::DoModal()
{
    if (m_hWnd)
        return IDCANCEL;
    if ((m_cc.Flags & CC_ENABLETEMPLATE) && m_cc.lpTemplateName) {
        HINSTANCE hGiven = reinterpret_cast<HINSTANCE>(m_cc.hInstance);
        if (!hGiven || !::FindResourceW(hGiven, m_cc.lpTemplateName, RT_DIALOG)) {
            if (HINSTANCE hFound = AfxFindResourceHandle(m_cc.lpTemplateName, RT_DIALOG))
                m_cc.hInstance = reinterpret_cast<HWND>(hFound);
        }
    }
    m_cc.hwndOwner = PreModal();
    AfxHookWindowCreate(this);
    const BOOL chosen = ::ChooseColorW(&m_cc);
    AfxUnhookWindowCreate();
    PostModal();
    // The dialog's window went at WM_NCDESTROY; a failure before it existed leaves nothing attached.
    if (m_hWnd)
        UnsubclassWindow();
    return chosen ? IDOK : IDCANCEL;
}

void CColorDialog::SetCurrentColor(COLORREF clr)
{
    static const UINT s_setRGB = ::RegisterWindowMessageW(SETRGBSTRINGW);
    if (m_hWnd)
        SendMessage(s_setRGB, 0, static_cast<LPARAM>(clr));
}

BOOL CColorDialog::OnColorOK() { return FALSE; }
