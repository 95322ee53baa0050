#include "TestStreams.h"

#include <algorithm>
#include <cstring>

namespace qntest {

void TestStream::InjectFault(StreamFault kind, size_t offset, HRESULT failure)
{
    m_fault = kind;
    m_faultOffset = offset;
    m_shortReadDone = false;
    if (failure == 0)
        failure = kind == StreamFault::WriteFail ? STG_E_MEDIUMFULL : STG_E_READFAULT;
    m_failure = failure;
}

HRESULT STDMETHODCALLTYPE TestStream::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISequentialStream) || IsEqualIID(riid, IID_IStream)) {
        *ppv = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TestStream::AddRef() { return static_cast<ULONG>(++m_references); }

ULONG STDMETHODCALLTYPE TestStream::Release() { return static_cast<ULONG>(--m_references); }

HRESULT STDMETHODCALLTYPE TestStream::Read(void* pv, ULONG cb, ULONG* pcbRead)
{
    ++m_readCalls;
    if (pcbRead)
        *pcbRead = 0;
    if (!pv && cb)
        return STG_E_INVALIDPOINTER;
    m_furthestRead = std::max(m_furthestRead, m_position + cb);

    size_t end = m_data.size();
    const bool reachesFault = m_position + cb > m_faultOffset;
    HRESULT result = S_OK;
    switch (m_fault) {
    case StreamFault::End:
    case StreamFault::EndFalse:
        end = std::min(end, m_faultOffset);
        break;
    case StreamFault::ShortRead:
        if (reachesFault && !m_shortReadDone) {
            end = std::min(end, std::max(m_faultOffset, m_position));
            m_shortReadDone = true;
        }
        break;
    case StreamFault::ReadFail:
        if (reachesFault) {
            end = std::min(end, std::max(m_faultOffset, m_position));
            result = m_failure;
        }
        break;
    default:
        break;
    }
    const size_t available = m_position < end ? end - m_position : 0;
    const size_t count = std::min<size_t>(cb, available);
    if (count)
        std::memcpy(pv, m_data.data() + m_position, count);
    m_position += count;
    if (pcbRead)
        *pcbRead = static_cast<ULONG>(count);
    if (result == S_OK && m_fault == StreamFault::EndFalse && count < cb)
        result = S_FALSE;
    return result;
}

HRESULT STDMETHODCALLTYPE TestStream::Write(const void* pv, ULONG cb, ULONG* pcbWritten)
{
    ++m_writeCalls;
    if (pcbWritten)
        *pcbWritten = 0;
    if (!pv && cb)
        return STG_E_INVALIDPOINTER;
    size_t count = cb;
    HRESULT result = S_OK;
    if ((m_fault == StreamFault::WriteShort || m_fault == StreamFault::WriteFail) && m_position + cb > m_faultOffset) {
        count = m_position < m_faultOffset ? m_faultOffset - m_position : 0;
        if (m_fault == StreamFault::WriteFail)
            result = m_failure;
    }
    if (m_position + count > m_data.size())
        m_data.resize(m_position + count);
    if (count)
        std::memcpy(m_data.data() + m_position, pv, count);
    m_position += count;
    if (pcbWritten)
        *pcbWritten = static_cast<ULONG>(count);
    return result;
}

HRESULT STDMETHODCALLTYPE TestStream::Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition)
{
    long long base = 0;
    switch (dwOrigin) {
    case STREAM_SEEK_SET:
        base = 0;
        break;
    case STREAM_SEEK_CUR:
        base = static_cast<long long>(m_position);
        break;
    case STREAM_SEEK_END:
        base = static_cast<long long>(m_data.size());
        break;
    default:
        return STG_E_INVALIDFUNCTION;
    }
    const long long target = base + dlibMove.QuadPart;
    if (target < 0)
        return STG_E_INVALIDFUNCTION;
    m_position = static_cast<size_t>(target);
    if (plibNewPosition)
        plibNewPosition->QuadPart = m_position;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestStream::SetSize(ULARGE_INTEGER libNewSize)
{
    m_data.resize(static_cast<size_t>(libNewSize.QuadPart));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestStream::CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                             ULARGE_INTEGER* pcbWritten)
{
    unsigned char chunk[4096];
    unsigned long long left = cb.QuadPart, read = 0, written = 0;
    HRESULT hr = S_OK;
    while (left) {
        ULONG got = 0, put = 0;
        hr = Read(chunk, static_cast<ULONG>(std::min<unsigned long long>(left, sizeof chunk)), &got);
        if (FAILED(hr) || !got)
            break;
        read += got;
        left -= got;
        hr = pstm->Write(chunk, got, &put);
        written += put;
        if (FAILED(hr))
            break;
    }
    if (pcbRead)
        pcbRead->QuadPart = read;
    if (pcbWritten)
        pcbWritten->QuadPart = written;
    return FAILED(hr) ? hr : S_OK;
}

HRESULT STDMETHODCALLTYPE TestStream::Commit(DWORD) { return S_OK; }
HRESULT STDMETHODCALLTYPE TestStream::Revert() { return S_OK; }
HRESULT STDMETHODCALLTYPE TestStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }
HRESULT STDMETHODCALLTYPE TestStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

HRESULT STDMETHODCALLTYPE TestStream::Stat(STATSTG* pstatstg, DWORD)
{
    if (!pstatstg)
        return STG_E_INVALIDPOINTER;
    std::memset(pstatstg, 0, sizeof *pstatstg);
    pstatstg->type = 2; // STGTY_STREAM
    pstatstg->cbSize.QuadPart = m_data.size();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestStream::Clone(IStream** ppstm)
{
    if (ppstm)
        *ppstm = nullptr;
    return E_NOTIMPL;
}

const char* FaultName(StreamFault kind)
{
    switch (kind) {
    case StreamFault::None: return "none";
    case StreamFault::End: return "end";
    case StreamFault::EndFalse: return "end (S_FALSE)";
    case StreamFault::ShortRead: return "short read";
    case StreamFault::ReadFail: return "read failure";
    case StreamFault::WriteShort: return "short write";
    case StreamFault::WriteFail: return "write failure";
    }
    return "?";
}

Bytes& Bytes::U8(unsigned value)
{
    m_bytes.push_back(static_cast<unsigned char>(value));
    return *this;
}

Bytes& Bytes::U16(unsigned value)
{
    for (int i = 0; i < 2; ++i)
        m_bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    return *this;
}

Bytes& Bytes::U32(unsigned long long value)
{
    for (int i = 0; i < 4; ++i)
        m_bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    return *this;
}

Bytes& Bytes::U64(unsigned long long value)
{
    for (int i = 0; i < 8; ++i)
        m_bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    return *this;
}

Bytes& Bytes::Utf16(const WCHAR* text)
{
    for (; *text; ++text)
        U16(static_cast<unsigned>(*text));
    return *this;
}

Bytes& Bytes::Raw(const std::vector<unsigned char>& bytes)
{
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

} // namespace qntest
