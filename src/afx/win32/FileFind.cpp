#include <afx/afxfind.h>

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::~CFileFind() { Close(); }

void CFileFind::Close()
{
    if (m_hContext != INVALID_HANDLE_VALUE) {
        ::FindClose(m_hContext);
        m_hContext = INVALID_HANDLE_VALUE;
    }
    m_bHaveFound = FALSE;
    m_bHaveNext = FALSE;
    m_strRoot.Empty();
}

BOOL CFileFind::FindFile(LPCTSTR pstrName, DWORD /*dwUnused*/)
{
    Close();
    if (!pstrName)
        pstrName = L"*.*";
    m_hContext = ::FindFirstFileW(pstrName, &m_next);
    if (m_hContext == INVALID_HANDLE_VALUE)
        return FALSE;
    m_bHaveNext = TRUE;

    // The root is the full path of the pattern without its last component; a
    // drive's root keeps its backslash.
    const DWORD room = ::GetFullPathNameW(pstrName, 0, nullptr, nullptr);
    if (room > 0) {
        LPWSTR buffer = m_strRoot.GetBuffer(static_cast<int>(room));
        LPWSTR filePart = nullptr;
        const DWORD written = ::GetFullPathNameW(pstrName, room, buffer, &filePart);
        m_strRoot.ReleaseBuffer(written > 0 && written < room ? static_cast<int>(written) : 0);
        int cut = m_strRoot.GetLength();
        while (cut > 0 && m_strRoot[cut - 1] != L'\\' && m_strRoot[cut - 1] != L'/')
            --cut;
        if (cut > 0 && !(cut == 3 && m_strRoot[1] == L':'))
            --cut;
        m_strRoot = m_strRoot.Left(cut);
    }
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (m_hContext == INVALID_HANDLE_VALUE || !m_bHaveNext)
        return FALSE;
    m_found = m_next;
    m_bHaveFound = TRUE;
    m_bHaveNext = ::FindNextFileW(m_hContext, &m_next);
    return m_bHaveNext;
}

CString CFileFind::GetFileName() const { return m_bHaveFound ? CString(m_found.cFileName) : CString(); }

CString CFileFind::GetFilePath() const
{
    if (!m_bHaveFound)
        return CString();
    CString path = m_strRoot;
    if (!path.IsEmpty() && path[path.GetLength() - 1] != L'\\' && path[path.GetLength() - 1] != L'/')
        path += L'\\';
    return path + m_found.cFileName;
}

CString CFileFind::GetRoot() const { return m_strRoot; }

BOOL CFileFind::MatchesMask(DWORD dwMask) const
{
    return m_bHaveFound && (m_found.dwFileAttributes & dwMask) == dwMask;
}

BOOL CFileFind::IsDots() const
{
    if (!IsDirectory())
        return FALSE;
    const WCHAR* name = m_found.cFileName;
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}
