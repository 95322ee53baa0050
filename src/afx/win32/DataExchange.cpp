// Dialog data exchange: DoDataExchange's DDX_ routines.
#include "afx/win32/WindowState.h"
#include "common/AsciiText.h"

#include <climits>

IMPLEMENT_DYNAMIC(CUserException, CException)

void AfxThrowUserException()
{
    CUserException* e = new (std::nothrow) CUserException;
    if (!e)
        AfxThrowMemoryException();
    throw e;
}

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (!hWndCtrl)
        AfxThrowNotSupportedException();
    m_idLastControl = hWndCtrl;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl) {
        ::SetFocus(m_idLastControl);
        ::SendMessageW(m_idLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        AfxThrowNotSupportedException(); // the control belongs to another object already
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        CWnd::FromHandle(hWndCtrl)->GetWindowText(value);
    else
        ::SetWindowTextW(hWndCtrl, value);
}

namespace {

// A whole decimal number with optional surrounding blanks and sign, in range.
bool ParseInteger(const CString& text, LONGLONG minimum, LONGLONG maximum, LONGLONG* pValue)
{
    CString trimmed = text;
    trimmed.Trim();
    LPCWSTR p = trimmed;
    const bool negative = *p == L'-';
    if (*p == L'-' || *p == L'+')
        ++p;
    if (!*p)
        return false;
    LONGLONG magnitude = 0;
    for (; *p; ++p) {
        if (!qn::ascii::IsDigit(*p))
            return false;
        magnitude = magnitude * 10 + (*p - L'0');
        if (magnitude > static_cast<LONGLONG>(UINT_MAX) + 1) // beyond any range asked for
            return false;
    }
    const LONGLONG value = negative ? -magnitude : magnitude;
    if (value < minimum || value > maximum)
        return false;
    *pValue = value;
    return true;
}

void ExchangeInteger(CDataExchange* pDX, int nIDC, LONGLONG minimum, LONGLONG maximum, LONGLONG* pValue)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        CString text;
        text.Format(L"%I64d", *pValue);
        ::SetWindowTextW(hWndCtrl, text);
        return;
    }
    CString text;
    CWnd::FromHandle(hWndCtrl)->GetWindowText(text);
    if (!ParseInteger(text, minimum, maximum, pValue)) {
        AfxMessageBox(minimum < 0 ? L"Please enter an integer." : L"Please enter a positive integer.");
        pDX->Fail();
    }
}

} // namespace

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    LONGLONG v = value;
    ExchangeInteger(pDX, nIDC, INT_MIN, INT_MAX, &v);
    value = static_cast<int>(v);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    LONGLONG v = value;
    ExchangeInteger(pDX, nIDC, 0, UINT_MAX, &v);
    value = static_cast<UINT>(v);
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group: nIDC and the following siblings up to the next WS_GROUP.
    int position = 0;
    for (HWND hWnd = hWndCtrl; hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (hWnd != hWndCtrl && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_GROUP))
            break;
        const UINT code = static_cast<UINT>(::SendMessageW(hWnd, WM_GETDLGCODE, 0, 0));
        if (!(code & DLGC_RADIOBUTTON))
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageW(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = position;
        } else {
            ::SendMessageW(hWnd, BM_SETCHECK, position == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++position;
    }
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CWnd::FromHandle(hWndCtrl)->GetWindowText(value);
        return;
    }
    // Select the first item beginning with the text; a drop-down shows the text itself otherwise.
    if (::SendMessageW(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(LPCWSTR(value))) ==
        CB_ERR)
        ::SetWindowTextW(hWndCtrl, value);
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
