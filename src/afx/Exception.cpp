// The framework's exceptions and the functions that throw them.
#include <afx/afx.h>

#include <new>

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
    WCHAR message[1024];
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

namespace {

// A new exception object; without memory for it, the memory exception goes instead.
template <class Exception, class... Args> Exception* NewException(Args... args)
{
    Exception* e = new (std::nothrow) Exception(args...);
    if (!e)
        AfxThrowMemoryException();
    return e;
}

} // namespace

void AfxThrowNotSupportedException() { throw NewException<CNotSupportedException>(); }

// --- CFileException ---------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFileException, CException)

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName)
{
}

int CFileException::OsErrorToException(LONG lOsError)
{
    // Windows error codes (winerror.h values, written out so that the table is
    // the same in the native build) and the cause each one means.
    struct Entry {
        LONG error;
        int cause;
    };
    static constexpr Entry kTable[] = {
        {2, fileNotFound},       // ERROR_FILE_NOT_FOUND
        {3, badPath},            // ERROR_PATH_NOT_FOUND
        {4, tooManyOpenFiles},   // ERROR_TOO_MANY_OPEN_FILES
        {5, accessDenied},       // ERROR_ACCESS_DENIED
        {6, invalidFile},        // ERROR_INVALID_HANDLE
        {15, badPath},           // ERROR_INVALID_DRIVE
        {16, removeCurrentDir},  // ERROR_CURRENT_DIRECTORY
        {17, badPath},           // ERROR_NOT_SAME_DEVICE
        {18, fileNotFound},      // ERROR_NO_MORE_FILES
        {19, accessDenied},      // ERROR_WRITE_PROTECT
        {20, hardIO},            // ERROR_BAD_UNIT
        {21, hardIO},            // ERROR_NOT_READY
        {22, hardIO},            // ERROR_BAD_COMMAND
        {23, hardIO},            // ERROR_CRC
        {24, badSeek},           // ERROR_BAD_LENGTH
        {25, badSeek},           // ERROR_SEEK
        {26, invalidFile},       // ERROR_NOT_DOS_DISK
        {27, badSeek},           // ERROR_SECTOR_NOT_FOUND
        {29, accessDenied},      // ERROR_WRITE_FAULT
        {30, badSeek},           // ERROR_READ_FAULT
        {32, sharingViolation},  // ERROR_SHARING_VIOLATION
        {33, lockViolation},     // ERROR_LOCK_VIOLATION
        {34, badSeek},           // ERROR_WRONG_DISK
        {36, tooManyOpenFiles},  // ERROR_SHARING_BUFFER_EXCEEDED
        {38, endOfFile},         // ERROR_HANDLE_EOF
        {39, diskFull},          // ERROR_HANDLE_DISK_FULL
        {53, badPath},           // ERROR_BAD_NETPATH
        {65, accessDenied},      // ERROR_NETWORK_ACCESS_DENIED
        {67, badPath},           // ERROR_BAD_NET_NAME
        {80, accessDenied},      // ERROR_FILE_EXISTS
        {82, accessDenied},      // ERROR_CANNOT_MAKE
        {107, fileNotFound},     // ERROR_DISK_CHANGE
        {108, lockViolation},    // ERROR_DRIVE_LOCKED
        {111, badPath},          // ERROR_BUFFER_OVERFLOW
        {112, diskFull},         // ERROR_DISK_FULL
        {113, tooManyOpenFiles}, // ERROR_NO_MORE_SEARCH_HANDLES
        {114, invalidFile},      // ERROR_INVALID_TARGET_HANDLE
        {123, badPath},          // ERROR_INVALID_NAME
        {131, badSeek},          // ERROR_NEGATIVE_SEEK
        {132, badSeek},          // ERROR_SEEK_ON_DEVICE
        {145, removeCurrentDir}, // ERROR_DIR_NOT_EMPTY
        {161, badPath},          // ERROR_BAD_PATHNAME
        {167, lockViolation},    // ERROR_LOCK_FAILED
        {170, accessDenied},     // ERROR_BUSY
        {183, accessDenied},     // ERROR_ALREADY_EXISTS
        {206, badPath},          // ERROR_FILENAME_EXCED_RANGE
        {267, badPath},          // ERROR_DIRECTORY
    };
    for (const Entry& entry : kTable) {
        if (entry.error == lOsError)
            return entry.cause;
    }
    return lOsError == 0 ? none : generic;
}

void CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName)
{
    AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    // %s stands for the file's name.
    static const LPCTSTR kTexts[] = {
        _T("No error occurred while accessing %s."),
        _T("An error occurred while accessing %s."),
        _T("%s was not found."),
        _T("%s contains an invalid path."),
        _T("%s could not be opened because there are too many open files."),
        _T("Access to %s was denied."),
        _T("An invalid file handle was associated with %s."),
        _T("%s could not be removed because it is the current directory."),
        _T("%s could not be created because the directory is full."),
        _T("Seek failed on %s."),
        _T("A hardware I/O error was reported while accessing %s."),
        _T("A sharing violation occurred while accessing %s."),
        _T("A locking violation occurred while accessing %s."),
        _T("Disk full while accessing %s."),
        _T("An attempt was made to access %s past its end."),
    };
    const int count = static_cast<int>(sizeof kTexts / sizeof kTexts[0]);
    const LPCTSTR text = (m_cause >= 0 && m_cause < count) ? kTexts[m_cause] : kTexts[generic];
    CString message;
    message.Format(text, m_strFileName.IsEmpty() ? _T("an unnamed file") : static_cast<LPCTSTR>(m_strFileName));
    return CopyMessage(message, lpszError, nMaxError);
}

void AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
{
    throw NewException<CFileException>(cause, lOsError, lpszFileName);
}

// --- CArchiveException -------------------------------------------------------------

IMPLEMENT_DYNAMIC(CArchiveException, CException)

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName)
{
}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    static const LPCTSTR kTexts[] = {
        _T("No error occurred while accessing %s."),
        _T("An unexpected error occurred while accessing %s."),
        _T("Tried to write to %s, which was opened for reading."),
        _T("An unexpected end of file was found while reading %s."),
        _T("Tried to read from %s, which was opened for writing."),
        _T("%s has an invalid format."),
        _T("%s contains an unexpected object."),
        _T("%s has an unsupported format."),
    };
    const int count = static_cast<int>(sizeof kTexts / sizeof kTexts[0]);
    const LPCTSTR text = (m_cause >= 0 && m_cause < count) ? kTexts[m_cause] : kTexts[genericException];
    CString message;
    message.Format(text, m_strFileName.IsEmpty() ? _T("an unnamed file") : static_cast<LPCTSTR>(m_strFileName));
    return CopyMessage(message, lpszError, nMaxError);
}

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName)
{
    throw NewException<CArchiveException>(cause, lpszArchiveName);
}
