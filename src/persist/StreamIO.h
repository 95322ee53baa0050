// Exact reads and writes of stream bytes, shared by the value and object
// encodings.
#pragma once

#include <QNPlatform.h>

namespace qn::persist {

// Text bytes are read in chunks of at most this size, so that memory grows
// only with the bytes a stream delivers, never with the count it claims.
inline constexpr ULONG kTextChunk = 64 * 1024;

// Reads exactly `size` bytes. The stream's failures are passed on; S_FALSE,
// or fewer bytes with S_OK (memory streams do so at their end), is E_FAIL: a
// value is never taken from bytes that did not arrive.
inline HRESULT ReadExact(IStream* stream, void* data, ULONG size)
{
    if (!stream)
        return E_FAIL;
    ULONG read = 0;
    const HRESULT hr = stream->Read(data, size, &read);
    if (FAILED(hr))
        return hr;
    return hr != S_OK || read != size ? E_FAIL : S_OK;
}

} // namespace qn::persist
