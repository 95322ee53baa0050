// CFile over the Windows file functions.
#include <afx/afx.h>

namespace {

// The handle of an open file; a closed file raises invalidFile rather than
// reaching the system with the null handle (which is also a pseudo-handle).
HANDLE Handle(const CFile& file)
{
    if (file.m_hFile == CFile::hFileNull)
        AfxThrowFileException(CFileException::invalidFile, ERROR_INVALID_HANDLE, file.GetFilePath());
    return reinterpret_cast<HANDLE>(file.m_hFile);
}

[[noreturn]] void ThrowLastError(const CFile& file)
{
    CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), file.GetFilePath());
}

} // namespace

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != hFileNull)
        Abort();
    m_strFileName = lpszFileName;

    DWORD access = 0;
    switch (nOpenFlags & 3) {
    case modeRead:
        access = GENERIC_READ;
        break;
    case modeWrite:
        access = GENERIC_WRITE;
        break;
    default:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    }
    DWORD share = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite:
        share = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        share = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default: // shareCompat, shareExclusive
        break;
    }
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};
    DWORD creation = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        creation = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    HANDLE handle = lpszFileName ? ::CreateFileW(lpszFileName, access, share, &security, creation,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr)
                                 : INVALID_HANDLE_VALUE;
    if (handle == INVALID_HANDLE_VALUE) {
        const LONG error = lpszFileName ? static_cast<LONG>(::GetLastError()) : ERROR_INVALID_NAME;
        if (pError) {
            pError->m_lOsError = error;
            pError->m_cause = CFileException::OsErrorToException(error);
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_hFile = reinterpret_cast<UINT_PTR>(handle);
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero = {};
    LARGE_INTEGER position = {};
    if (!::SetFilePointerEx(Handle(*this), zero, &position, FILE_CURRENT))
        ThrowLastError(*this);
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    const DWORD method = nFrom == begin ? FILE_BEGIN : nFrom == current ? FILE_CURRENT : FILE_END;
    LARGE_INTEGER move;
    move.QuadPart = lOff;
    LARGE_INTEGER position = {};
    if (!::SetFilePointerEx(Handle(*this), move, &position, method))
        ThrowLastError(*this);
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(Handle(*this), &size))
        ThrowLastError(*this);
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > static_cast<ULONGLONG>(INT64_MAX))
        AfxThrowFileException(CFileException::badSeek, ERROR_NEGATIVE_SEEK, m_strFileName);
    const ULONGLONG position = GetPosition();
    Seek(static_cast<LONGLONG>(dwNewLen), begin);
    if (!::SetEndOfFile(Handle(*this)))
        ThrowLastError(*this);
    // The position stays where it was unless it lay past the new end.
    Seek(static_cast<LONGLONG>(position < dwNewLen ? position : dwNewLen), begin);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD read = 0;
    if (!::ReadFile(Handle(*this), lpBuf, nCount, &read, nullptr))
        ThrowLastError(*this);
    return read;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD written = 0;
    if (!::WriteFile(Handle(*this), lpBuf, nCount, &written, nullptr))
        ThrowLastError(*this);
    if (written != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

void CFile::Flush()
{
    if (m_hFile == hFileNull)
        return;
    if (!::FlushFileBuffers(Handle(*this)))
        ThrowLastError(*this);
}

void CFile::Close()
{
    BOOL ok = TRUE;
    if (m_hFile != hFileNull)
        ok = ::CloseHandle(reinterpret_cast<HANDLE>(m_hFile));
    const DWORD error = ::GetLastError();
    const CString name = m_strFileName;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (!ok)
        CFileException::ThrowOsError(static_cast<LONG>(error), name);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        ::CloseHandle(reinterpret_cast<HANDLE>(m_hFile));
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}
