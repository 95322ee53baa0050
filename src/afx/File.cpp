// CFile: the parts shared by both builds. Opening, reading, writing and
// seeking are per platform (win32/FileWin32.cpp, port/src/afx_file.cpp).
#include <afx/afx.h>

IMPLEMENT_DYNAMIC(CFile, CObject)

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
    CFileException* error = new CFileException;
    if (!Open(lpszFileName, nOpenFlags, error))
        throw error;
    error->Delete();
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
}
