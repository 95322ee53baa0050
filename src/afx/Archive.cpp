// CArchive: buffered loading and storing over a CFile.
#include <afx/afx.h>

#include <cstring>
#include <new>

namespace {

constexpr int kMinBufferSize = 128;

} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pFile(pFile), m_nMode(nMode), m_nBufSize(nBufSize), m_bUserBuf(lpBuf && nBufSize > 0)
{
    if (pFile)
        m_strFileName = pFile->GetFilePath();
    if (m_bUserBuf) {
        m_lpBufStart = static_cast<BYTE*>(lpBuf);
    } else {
        if (m_nBufSize < kMinBufferSize)
            m_nBufSize = kMinBufferSize;
        m_lpBufStart = new (std::nothrow) BYTE[static_cast<size_t>(m_nBufSize)];
        if (!m_lpBufStart)
            AfxThrowMemoryException();
    }
    m_lpBufCur = m_lpBufStart;
    // Storing: room up to the end of the buffer. Loading: nothing read yet.
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
}

CArchive::~CArchive()
{
    if (m_pFile && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete(); // a destructor cannot report it
        }
    }
    Abort();
    if (!m_bUserBuf)
        delete[] m_lpBufStart;
}

void CArchive::CheckOpen() const
{
    if (!m_pFile)
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckOpen();
    if (IsLoading())
        AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
    const auto* in = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0) {
        if (m_lpBufCur == m_lpBufStart && nMax >= static_cast<UINT>(m_nBufSize)) {
            // Whole buffers' worth go straight to the file.
            const UINT direct = nMax - nMax % static_cast<UINT>(m_nBufSize);
            m_pFile->Write(in, direct);
            in += direct;
            nMax -= direct;
            continue;
        }
        const UINT room = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
        const UINT n = nMax < room ? nMax : room;
        std::memcpy(m_lpBufCur, in, n);
        m_lpBufCur += n;
        in += n;
        nMax -= n;
        if (m_lpBufCur == m_lpBufMax)
            Flush();
    }
}

void CArchive::FillBuffer()
{
    const UINT got = m_pFile->Read(m_lpBufStart, static_cast<UINT>(m_nBufSize));
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + got;
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckOpen();
    if (IsStoring())
        AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
    auto* out = static_cast<BYTE*>(lpBuf);
    UINT total = 0;
    while (nMax > 0) {
        const UINT buffered = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
        if (buffered > 0) {
            const UINT n = nMax < buffered ? nMax : buffered;
            std::memcpy(out, m_lpBufCur, n);
            m_lpBufCur += n;
            out += n;
            nMax -= n;
            total += n;
            continue;
        }
        if (nMax >= static_cast<UINT>(m_nBufSize)) {
            // Whole buffers' worth come straight from the file.
            const UINT got = m_pFile->Read(out, nMax - nMax % static_cast<UINT>(m_nBufSize));
            if (got == 0)
                break;
            out += got;
            nMax -= got;
            total += got;
            continue;
        }
        FillBuffer();
        if (m_lpBufMax == m_lpBufStart)
            break; // end of file
    }
    return total;
}

void CArchive::ReadExactly(void* lpBuf, UINT nCount)
{
    if (Read(lpBuf, nCount) != nCount)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

#ifdef _WIN32
CArchive& CArchive::operator>>(int& i)
{
    LONG value = 0;
    ReadValue(value);
    i = value;
    return *this;
}
#endif

void CArchive::Flush()
{
    CheckOpen();
    if (IsLoading()) {
        // Give back what was read ahead: the file stands at the next byte
        // this archive has not handed out.
        if (m_lpBufMax != m_lpBufCur)
            m_pFile->Seek(-static_cast<LONGLONG>(m_lpBufMax - m_lpBufCur), CFile::current);
        m_lpBufCur = m_lpBufMax;
    } else {
        if (m_lpBufCur != m_lpBufStart) {
            const UINT pending = static_cast<UINT>(m_lpBufCur - m_lpBufStart);
            m_lpBufCur = m_lpBufStart; // written or lost: never written twice
            m_pFile->Write(m_lpBufStart, pending);
        }
    }
}

void CArchive::Close()
{
    if (!m_pFile)
        return;
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
    m_pFile = nullptr;
}
