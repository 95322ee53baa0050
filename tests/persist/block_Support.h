// Helpers of the block tests: memory files that raise file exceptions and
// the bytes a helper holds.
#pragma once

#include <QNBlock.h>
#include <support/MessageBoxRecorder.h>

#include <string>
#include <vector>

namespace qntest {

// A memory file that raises CFileException (diskFull on writes, hardIO on
// reads) once a write or read reaches byte `offset` of the file, or on every
// call when `offset` is 0. Reads and writes before the offset work.
class FaultyFile final : public CMemFile {
public:
    enum Fault { None, ThrowOnWrite, ThrowOnRead };

    FaultyFile(Fault fault, ULONGLONG offset = 0) : m_fault(fault), m_offset(offset) {}
    FaultyFile(const std::vector<unsigned char>& bytes, Fault fault, ULONGLONG offset = 0)
        : m_fault(None), m_offset(offset)
    {
        if (!bytes.empty())
            CMemFile::Write(bytes.data(), static_cast<UINT>(bytes.size()));
        SeekToBegin();
        m_fault = fault;
    }

    UINT Read(void* lpBuf, UINT nCount) override
    {
        ++m_reads;
        if (m_fault == ThrowOnRead && GetPosition() + nCount > m_offset && nCount)
            AfxThrowFileException(CFileException::hardIO, 1117 /* ERROR_IO_DEVICE */, _T("panel.dat"));
        return CMemFile::Read(lpBuf, nCount);
    }
    void Write(const void* lpBuf, UINT nCount) override
    {
        ++m_writes;
        if (m_fault == ThrowOnWrite && GetPosition() + nCount > m_offset && nCount)
            AfxThrowFileException(CFileException::diskFull, 112 /* ERROR_DISK_FULL */, _T("panel.dat"));
        CMemFile::Write(lpBuf, nCount);
    }

    std::vector<unsigned char> Bytes()
    {
        const ULONGLONG position = GetPosition();
        std::vector<unsigned char> bytes(static_cast<size_t>(GetLength()));
        SeekToBegin();
        if (!bytes.empty())
            CMemFile::Read(bytes.data(), static_cast<UINT>(bytes.size()));
        Seek(static_cast<LONGLONG>(position), begin);
        return bytes;
    }
    int Reads() const { return m_reads; }
    int Writes() const { return m_writes; }

private:
    Fault m_fault;
    ULONGLONG m_offset;
    int m_reads = 0;
    int m_writes = 0;
};

// The bytes a helper holds, read through its memory file. The position is
// left at the end.
inline std::vector<unsigned char> HelperBytes(CKESTSaveHelper& helper)
{
    CMemFile& file = helper.KESTGetIntenalStorage();
    std::vector<unsigned char> bytes(helper.KESTGetLength());
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

// The message a file exception of this cause, error and file shows.
inline CString FileErrorMessage(int cause, LONG osError)
{
    CFileException e(cause, osError, _T("panel.dat"));
    WCHAR text[1024] = {};
    e.GetErrorMessage(text, 1024);
    return CString(text);
}

} // namespace qntest
