// Native platform strings with the oleaut32 layout: a 32-bit byte count stands
// in front of the characters and two zero bytes follow them.
#include <qnport/windows_port.h>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr size_t kPrefix = sizeof(uint32_t);

// Allocates room for `bytes` bytes of text and fills in the prefix and the
// terminator; the caller copies the text. Null when the size cannot be held.
BSTR AllocateBytes(size_t bytes)
{
    // The prefix holds a 32-bit count; anything larger is refused as oleaut32 does.
    if (bytes > std::numeric_limits<uint32_t>::max() - kPrefix - sizeof(OLECHAR))
        return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    const uint32_t count = static_cast<uint32_t>(bytes);
    std::memcpy(block, &count, kPrefix);
    block[kPrefix + bytes] = 0;
    block[kPrefix + bytes + 1] = 0;
    return reinterpret_cast<BSTR>(block + kPrefix);
}

uint32_t ByteCount(BSTR bstr)
{
    uint32_t count;
    std::memcpy(&count, reinterpret_cast<unsigned char*>(bstr) - kPrefix, kPrefix);
    return count;
}

size_t Length(const OLECHAR* psz)
{
    size_t n = 0;
    while (psz[n])
        ++n;
    return n;
}

} // namespace

BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch)
{
    BSTR result = AllocateBytes(size_t(cch) * sizeof(OLECHAR));
    if (result && pch)
        std::memcpy(result, pch, size_t(cch) * sizeof(OLECHAR));
    else if (result)
        std::memset(result, 0, size_t(cch) * sizeof(OLECHAR));
    return result;
}

BSTR SysAllocString(const OLECHAR* psz)
{
    if (!psz)
        return nullptr;
    const size_t len = Length(psz);
    if (len > std::numeric_limits<UINT>::max())
        return nullptr;
    return SysAllocStringLen(psz, static_cast<UINT>(len));
}

BSTR SysAllocStringByteLen(const char* psz, UINT len)
{
    BSTR result = AllocateBytes(len);
    if (result && psz)
        std::memcpy(result, psz, len);
    return result;
}

void SysFreeString(BSTR bstr)
{
    if (bstr)
        std::free(reinterpret_cast<unsigned char*>(bstr) - kPrefix);
}

UINT SysStringByteLen(BSTR bstr) { return bstr ? ByteCount(bstr) : 0; }

UINT SysStringLen(BSTR bstr) { return bstr ? ByteCount(bstr) / sizeof(OLECHAR) : 0; }

INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len)
{
    if (!pbstr)
        return FALSE;
    BSTR fresh = SysAllocStringLen(psz, len);
    if (!fresh)
        return FALSE;
    SysFreeString(*pbstr);
    *pbstr = fresh;
    return TRUE;
}

INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz)
{
    if (!psz)
        return SysReAllocStringLen(pbstr, nullptr, 0);
    const size_t len = Length(psz);
    if (len > std::numeric_limits<UINT>::max())
        return FALSE;
    return SysReAllocStringLen(pbstr, psz, static_cast<UINT>(len));
}
