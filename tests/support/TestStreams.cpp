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
    const bool known = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISequentialStream) ||
                       IsEqualIID(riid, IID_IStream);
    *ppv = known ? (AddRef(), static_cast<IStream*>(this)) : nullptr;
    return known ? S_OK : E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TestStream::AddRef() { return static_cast<ULONG>(++m_references); }

ULONG STDMETHODCALLTYPE TestStream::Release() { return static_cast<ULONG>(--m_references); }

HRESULT STDMETHODCALLTYPE TestStream::Read(void* pv, ULONG cb, ULONG* pcbRead)
{
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
    const size_t bases[] = {0, m_position, m_data.size()}; // STREAM_SEEK_SET, _CUR, _END
    const long long target = dwOrigin < 3 ? static_cast<long long>(bases[dwOrigin]) + dlibMove.QuadPart : -1;
    if (target < 0)
        return STG_E_INVALIDFUNCTION;
    m_position = static_cast<size_t>(target);
    if (plibNewPosition)
        plibNewPosition->QuadPart = m_position;
    return S_OK;
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

Bytes& Bytes::Le(unsigned long long value, int size)
{
    for (int i = 0; i < size; ++i)
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
