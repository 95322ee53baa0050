#include "TestStreams.h"

#include <algorithm>
#include <cstring>

namespace qntest {

void TestStream::InjectFault(StreamFault kind, size_t offset, HRESULT failure)
{
    m_fault = kind;
    m_faultOffset = offset;
    m_shortReadDone = false;
    m_failure = failure ? failure : kind == StreamFault::WriteFail ? STG_E_MEDIUMFULL : STG_E_READFAULT;
}

HRESULT STDMETHODCALLTYPE TestStream::QueryInterface(REFIID riid, void** ppv)
{
    const bool known = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISequentialStream) ||
                       IsEqualIID(riid, IID_IStream);
    *ppv = known ? (AddRef(), static_cast<IStream*>(this)) : nullptr;
    return known ? S_OK : E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE TestStream::Read(void* pv, ULONG cb, ULONG* pcbRead)
{
    if (pcbRead)
        *pcbRead = 0;
    if (!pv && cb)
        return STG_E_INVALIDPOINTER;
    m_furthestRead = std::max(m_furthestRead, m_position + cb);

    // End and EndFalse cut the data; ShortRead (once) and ReadFail stop a read that reaches the offset.
    size_t end = m_data.size();
    HRESULT result = S_OK;
    if (m_fault == StreamFault::End || m_fault == StreamFault::EndFalse) {
        end = std::min(end, m_faultOffset);
    } else if (((m_fault == StreamFault::ShortRead && !m_shortReadDone) || m_fault == StreamFault::ReadFail) &&
               m_position + cb > m_faultOffset) {
        end = std::min(end, std::max(m_faultOffset, m_position));
        m_shortReadDone = true;
        if (m_fault == StreamFault::ReadFail)
            result = m_failure;
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
