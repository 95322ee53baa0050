// The value and text encodings on COM streams (SaveBool ... LoadBSTR).
#include <QNStream.h>
#include <afx/atlbase.h>

#include "persist/StreamIO.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "the stream encodings are the processor's memory order, which must be little-endian");

namespace {

using qn::persist::ReadExact;
using qn::persist::kMaxTextBytes;
using qn::persist::kTextChunk;

// Characters are read in chunks that start small and double up to
// kTextChunk, so that the memory held never runs far ahead of the bytes the
// stream actually delivered, however large the count it stated.
constexpr ULONG kFirstTextChunk = 256;

// Writes `size` bytes. Only a failing or short write is an error.
HRESULT WriteExact(IStream* stream, const void* data, ULONG size)
{
    if (!stream)
        return E_FAIL;
    ULONG written = 0;
    const HRESULT hr = stream->Write(data, size, &written);
    return FAILED(hr) || written != size ? E_FAIL : S_OK;
}

template <class T> HRESULT SaveValue(const T& value, IStream* stream)
{
    return WriteExact(stream, &value, sizeof value);
}

// The value changes only when all of its bytes came.
template <class T> HRESULT LoadValue(T& value, IStream* stream)
{
    T loaded{};
    if (FAILED(ReadExact(stream, &loaded, sizeof loaded)))
        return E_FAIL;
    value = loaded;
    return S_OK;
}

} // namespace

HRESULT SaveBool(const SHORT& value, IStream* pStream) { return SaveValue(value, pStream); }
HRESULT SaveLONG(const LONG& value, IStream* pStream) { return SaveValue(value, pStream); }
HRESULT SaveDOUBLE(const double& value, IStream* pStream) { return SaveValue(value, pStream); }

HRESULT LoadBool(SHORT& value, IStream* pStream) { return LoadValue(value, pStream); }
HRESULT LoadLONG(LONG& value, IStream* pStream) { return LoadValue(value, pStream); }
HRESULT LoadDOUBLE(double& value, IStream* pStream) { return LoadValue(value, pStream); }

HRESULT SaveBSTR(const CString& text, IStream* pStream)
{
    if (!pStream)
        return E_FAIL;
    // The platform string carries the terminator that is written after the
    // characters. If it cannot be made, the text is written as N = 0 (no text).
    // (Attached rather than constructed: a failed allocation is no exception here.)
    CComBSTR platform;
    platform.Attach(::SysAllocStringLen(static_cast<LPCWSTR>(text), static_cast<UINT>(text.GetLength())));
    const ULONG byteCount = platform ? platform.ByteLength() + sizeof(OLECHAR) : 0;

    // The counts of bytes written are not compared: only a failing write fails.
    ULONG written = 0;
    if (FAILED(pStream->Write(&byteCount, sizeof byteCount, &written)))
        return E_FAIL;
    if (byteCount != 0 && FAILED(pStream->Write(static_cast<BSTR>(platform), byteCount, &written)))
        return E_FAIL;
    return S_OK;
}

HRESULT LoadBSTR(CString& text, IStream* pStream)
{
    ULONG byteCount = 0;
    if (FAILED(ReadExact(pStream, &byteCount, sizeof byteCount)))
        return E_FAIL;
    if (byteCount == 0) {
        text.Empty();
        return S_OK;
    }
    // security: the byte count is from the stream. Below 2 there is no room for
    // the terminator (the platform string of N - 2 bytes cannot be made); with
    // the top bit set it is no platform string's length.
    if (byteCount < sizeof(OLECHAR) || byteCount > kMaxTextBytes)
        return E_FAIL;

    // The N bytes are read in chunks into a buffer that grows with what came,
    // so a huge count on a short stream fails at the stream's end instead of
    // allocating the count up front. An odd count's last byte is read and
    // dropped: it is no whole character.
    std::vector<WCHAR> units;
    try {
        ULONG done = 0;
        while (done < byteCount) {
            const ULONG chunk = std::min({byteCount - done, std::max(kFirstTextChunk, done), kTextChunk});
            units.resize((size_t(done) + chunk + 1) / sizeof(WCHAR));
            if (FAILED(ReadExact(pStream, reinterpret_cast<unsigned char*>(units.data()) + done, chunk)))
                return E_FAIL;
            done += chunk;
        }
    } catch (const std::bad_alloc&) {
        return E_FAIL;
    }

    // The text ends at its first zero character (normally the terminator).
    const size_t whole = byteCount / sizeof(WCHAR);
    const size_t length = std::find(units.begin(), units.begin() + whole, WCHAR(0)) - units.begin();
    text = CString(units.data(), static_cast<int>(length));
    return S_OK;
}
