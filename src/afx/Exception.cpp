// The framework's exceptions and the functions that throw them.
#include <afx/afx.h>

namespace {

// Copies text into the caller's buffer, cut to fit with its terminator.
BOOL CopyMessage(LPCTSTR text, LPTSTR lpszError, UINT nMaxError)
{
    if (!lpszError || nMaxError == 0)
        return FALSE;
    UINT n = 0;
    for (; text[n] && n + 1 < nMaxError; ++n)
        lpszError[n] = text[n];
    lpszError[n] = 0;
    return TRUE;
}

} // namespace

// --- CException ---------------------------------------------------------------

IMPLEMENT_DYNAMIC(CException, CObject)

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

CException::~CException() = default;

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError > 0)
        *lpszError = 0;
    return FALSE;
}

int CException::ReportError(UINT nType, UINT)
{
    WCHAR message[512];
    if (GetErrorMessage(message, sizeof message / sizeof message[0]))
        return AfxMessageBox(message, nType);
    return AfxMessageBox(_T("No error message is available."), nType);
}

// --- CMemoryException and CNotSupportedException ----------------------------------

IMPLEMENT_DYNAMIC(CMemoryException, CException)

BOOL CMemoryException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    return CopyMessage(_T("Out of memory."), lpszError, nMaxError);
}

IMPLEMENT_DYNAMIC(CNotSupportedException, CException)

BOOL CNotSupportedException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    return CopyMessage(_T("An unsupported operation was attempted."), lpszError, nMaxError);
}

void AfxThrowMemoryException()
{
    // Static and never deleted: under memory exhaustion nothing may be allocated.
    static CMemoryException s_memoryException(FALSE);
    throw &s_memoryException;
}

void AfxThrowNotSupportedException() { throw new CNotSupportedException; }
