// In-memory IStream for tests, with fault injection at a byte offset.
//
// Natively there is no COM runtime, so tests of the stream encodings and of
// everything built on them read and write through this class. It behaves like
// a memory stream of the platform (growable, seekable) and, when told to,
// misbehaves at one byte offset of its data:
//
//   End        the data ends at the offset; a read there gives the bytes
//              before it and S_OK (as HGLOBAL and compound-file streams do)
//   EndFalse   the same, but a read that gives fewer bytes returns S_FALSE
//   ShortRead  the first read that reaches the offset stops there with S_OK;
//              later reads go on with the rest of the data
//   ReadFail   every read that reaches the offset copies the bytes before it
//              and returns `failure` (STG_E_READFAULT unless set)
//   WriteShort a write that reaches the offset writes the bytes before it and
//              reports that count with S_OK
//   WriteFail  a write that reaches the offset writes the bytes before it and
//              returns `failure` (STG_E_MEDIUMFULL unless set)
//
// The stream counts its references but never deletes itself: tests own it as a
// plain object and can check that the code under test released all it took.
// It also records the furthest byte any read asked for, so a test can prove a
// decoder did not ask for more than the encoding holds.
#pragma once

#include <QNPlatform.h>

#include <cstddef>
#include <vector>

namespace qntest {

enum class StreamFault { None, End, EndFalse, ShortRead, ReadFail, WriteShort, WriteFail };

class TestStream final : public IStream {
public:
    TestStream() = default;
    explicit TestStream(std::vector<unsigned char> data) : m_data(std::move(data)) {}
    TestStream(const TestStream&) = delete;
    TestStream& operator=(const TestStream&) = delete;
    virtual ~TestStream() = default;

    // Misbehave at byte `offset` of the data, as the enumeration says.
    void InjectFault(StreamFault kind, size_t offset, HRESULT failure = 0);

    const std::vector<unsigned char>& Data() const { return m_data; }
    size_t Position() const { return m_position; }
    void Rewind() { m_position = 0; }
    LONG References() const { return m_references; }
    // The end of the furthest range that any read asked for (position + count).
    size_t FurthestReadRequest() const { return m_furthestRead; }
    int WriteCalls() const { return m_writeCalls; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--m_references); }

    // ISequentialStream
    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override;
    HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;

    // IStream
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override { return m_data.resize(size.QuadPart), S_OK; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream** ppstm) override { return *ppstm = nullptr, E_NOTIMPL; }

private:
    std::vector<unsigned char> m_data;
    size_t m_position = 0;
    LONG m_references = 0;
    StreamFault m_fault = StreamFault::None;
    size_t m_faultOffset = 0;
    HRESULT m_failure = 0;
    bool m_shortReadDone = false;
    size_t m_furthestRead = 0;
    int m_writeCalls = 0;
};

// Little-endian byte builder for expected encodings.
class Bytes {
public:
    Bytes& U8(unsigned value) { return Le(value, 1); }
    Bytes& U16(unsigned value) { return Le(value, 2); }
    Bytes& U32(unsigned long long value) { return Le(value, 4); }
    Bytes& U64(unsigned long long value) { return Le(value, 8); }
    Bytes& Le(unsigned long long value, int size); // little-endian
    // UTF-16LE units of an ASCII or UTF-16 text, without terminator.
    Bytes& Utf16(const WCHAR* text);
    Bytes& Raw(const std::vector<unsigned char>& bytes);
    const std::vector<unsigned char>& Get() const { return m_bytes; }
    operator const std::vector<unsigned char>&() const { return m_bytes; }

private:
    std::vector<unsigned char> m_bytes;
};

} // namespace qntest
