// Exact reads of stream bytes and the text limit, shared by the block, value
// and object encodings.
#pragma once

#include <QNPlatform.h>

namespace qn::persist {

// The largest byte count of a text in any of the persisted forms (block
// strings, BSTR texts, variant texts): a count with the top bit set is no
// platform string's length, and a block string's length is taken as signed.
inline constexpr ULONG kMaxTextBytes = 0x7FFFFFFF;

// Text bytes are read in chunks of at most this size, so that memory grows
// only with the bytes a stream delivers, never with the count it claims.
inline constexpr ULONG kTextChunk = 64 * 1024;

// Reads exactly `size` bytes. The stream's failures are passed on; S_FALSE,
// or fewer bytes with S_OK (memory streams do so at their end), is E_FAIL: a
// value is never taken from bytes that did not arrive. A full read returns the
// stream's own success code, which the object reads hand back unchanged.
inline HRESULT ReadExact(IStream* stream, void* data, ULONG size)
{
    if (!stream)
        return E_FAIL;
    ULONG read = 0;
    const HRESULT hr = stream->Read(data, size, &read);
    if (FAILED(hr))
        return hr;
    return hr == S_FALSE || read != size ? E_FAIL : hr;
}

} // namespace qn::persist
