// CMemFile: a file in one growable memory block.
#include <afx/afx.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(nullptr),
      m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(0), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(nullptr), m_bAutoDelete(TRUE)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    // Close() is virtual; call this class's own body, as a derived part is gone.
    CMemFile::Close();
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    CMemFile::Close();
    m_lpBuffer = lpBuffer;
    m_nBufferSize = lpBuffer ? nBufferSize : 0;
    m_nFileSize = nGrowBytes == 0 ? m_nBufferSize : 0;
    m_nGrowBytes = nGrowBytes;
    m_nPosition = 0;
    m_bAutoDelete = FALSE; // the caller's block
}

BYTE* CMemFile::Detach()
{
    BYTE* block = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return block;
}

BYTE* CMemFile::Alloc(UINT_PTR nBytes) { return static_cast<BYTE*>(std::malloc(nBytes)); }

BYTE* CMemFile::Realloc(BYTE* lpMem, UINT_PTR nBytes) { return static_cast<BYTE*>(std::realloc(lpMem, nBytes)); }

void CMemFile::Free(BYTE* lpMem) { std::free(lpMem); }

void CMemFile::GrowFile(UINT_PTR dwNewLen)
{
    if (dwNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException(); // a fixed block
    // Whole grow steps, without overflowing.
    const UINT_PTR steps = dwNewLen / m_nGrowBytes + (dwNewLen % m_nGrowBytes ? 1 : 0);
    if (steps > UINTPTR_MAX / m_nGrowBytes)
        AfxThrowMemoryException();
    const UINT_PTR newSize = steps * m_nGrowBytes;

    BYTE* block;
    if (!m_lpBuffer) {
        block = Alloc(newSize);
    } else if (m_bAutoDelete) {
        block = Realloc(m_lpBuffer, newSize);
    } else {
        // The caller's block is not ours to reallocate: move into one of our own.
        block = Alloc(newSize);
        if (block && m_nFileSize)
            std::memcpy(block, m_lpBuffer, m_nFileSize);
    }
    if (!block)
        AfxThrowMemoryException(); // the old block and contents stay as they were
    m_lpBuffer = block;
    m_nBufferSize = newSize;
    m_bAutoDelete = TRUE;
}

ULONGLONG CMemFile::GetPosition() const { return m_nPosition; }

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    const LONGLONG base = nFrom == begin ? 0 : nFrom == current ? static_cast<LONGLONG>(m_nPosition)
                                                                  : static_cast<LONGLONG>(m_nFileSize);
    if ((lOff < 0 && base + lOff < 0) || (lOff > 0 && base > INT64_MAX - lOff))
        AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
    const LONGLONG position = base + lOff;
    if (static_cast<ULONGLONG>(position) > UINTPTR_MAX)
        AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
    m_nPosition = static_cast<UINT_PTR>(position);
    return m_nPosition;
}

ULONGLONG CMemFile::GetLength() const { return m_nFileSize; }

void CMemFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > UINTPTR_MAX)
        AfxThrowMemoryException();
    const auto newLen = static_cast<UINT_PTR>(dwNewLen);
    if (newLen > m_nBufferSize)
        GrowFile(newLen);
    if (newLen > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, newLen - m_nFileSize);
    if (newLen < m_nPosition)
        m_nPosition = newLen;
    m_nFileSize = newLen;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    const UINT_PTR left = m_nFileSize - m_nPosition;
    const UINT n = left < nCount ? static_cast<UINT>(left) : nCount;
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return n;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (m_nPosition > UINTPTR_MAX - nCount)
        AfxThrowMemoryException();
    const UINT_PTR end = m_nPosition + nCount;
    if (end > m_nBufferSize)
        GrowFile(end);
    // A write after a seek past the end leaves zeros in the gap.
    if (m_nPosition > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memmove(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = end;
    if (end > m_nFileSize)
        m_nFileSize = end;
}

void CMemFile::Flush() {}

void CMemFile::Close()
{
    if (m_lpBuffer && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
}

void CMemFile::Abort() { CMemFile::Close(); }

BOOL CMemFile::Open(LPCTSTR lpszFileName, UINT, CFileException* pError)
{
    if (pError) {
        pError->m_cause = CFileException::generic;
        pError->m_lOsError = -1;
        pError->m_strFileName = lpszFileName;
    }
    return FALSE;
}
