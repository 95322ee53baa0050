// Native stand-ins for the class identifier text conversions of ole32 and the
// identifier hash of rpcrt4, with the results of the Windows functions.
#include <qnport/windows_port.h>

#include "common/AsciiText.h"

namespace {

// Reads `digits` hexadecimal digits at text[at]; false on any other character.
bool ReadHex(LPCOLESTR text, int at, int digits, uint32_t& value)
{
    value = 0;
    for (int i = 0; i < digits; ++i) {
        const int digit = qn::ascii::HexDigitValue(text[at + i]);
        if (digit < 0)
            return false;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return true;
}

bool ParseRegistryForm(LPCOLESTR text, GUID& id)
{
    // Every position is read only after the one before it matched, so a
    // shorter text stops at its terminator.
    if (text[0] != u'{')
        return false;
    uint32_t value = 0;
    if (!ReadHex(text, 1, 8, value) || text[9] != u'-')
        return false;
    id.Data1 = value;
    if (!ReadHex(text, 10, 4, value) || text[14] != u'-')
        return false;
    id.Data2 = static_cast<uint16_t>(value);
    if (!ReadHex(text, 15, 4, value) || text[19] != u'-')
        return false;
    id.Data3 = static_cast<uint16_t>(value);
    for (int i = 0; i < 8; ++i) {
        const int at = i < 2 ? 20 + 2 * i : 25 + 2 * (i - 2);
        if (!ReadHex(text, at, 2, value))
            return false;
        id.Data4[i] = static_cast<uint8_t>(value);
        if (i == 1 && text[24] != u'-')
            return false;
    }
    return text[37] == u'}' && text[38] == 0;
}

} // namespace

HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid)
{
    if (!pclsid)
        return E_INVALIDARG;
    GUID id = GUID_NULL;
    if (!lpsz) {
        *pclsid = id;
        return S_OK;
    }
    if (!ParseRegistryForm(lpsz, id))
        return CO_E_CLASSSTRING;
    *pclsid = id;
    return S_OK;
}

int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax)
{
    constexpr int kLength = 39;
    if (!lpsz || cchMax < kLength)
        return 0;
    static const char16_t kDigits[] = u"0123456789ABCDEF";
    int at = 0;
    auto put = [&](uint32_t value, int digits) {
        for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
            lpsz[at++] = kDigits[(value >> shift) & 0xF];
    };
    lpsz[at++] = u'{';
    put(rguid.Data1, 8);
    lpsz[at++] = u'-';
    put(rguid.Data2, 4);
    lpsz[at++] = u'-';
    put(rguid.Data3, 4);
    lpsz[at++] = u'-';
    put(rguid.Data4[0], 2);
    put(rguid.Data4[1], 2);
    lpsz[at++] = u'-';
    for (int i = 2; i < 8; ++i)
        put(rguid.Data4[i], 2);
    lpsz[at++] = u'}';
    lpsz[at++] = 0;
    return at;
}

unsigned short UuidHash(UUID* Uuid, RPC_STATUS* Status)
{
    // The DCE hash: two running 16-bit sums over the 16 bytes, folded modulo 255.
    const GUID id = Uuid ? *Uuid : GUID_NULL;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&id);
    int16_t c0 = 0, c1 = 0;
    for (size_t i = 0; i < sizeof(GUID); ++i) {
        c0 = static_cast<int16_t>(c0 + bytes[i]);
        c1 = static_cast<int16_t>(c1 + c0);
    }
    int x = -c1 % 255;
    if (x < 0)
        x += 255;
    int y = (c1 - c0) % 255;
    if (y < 0)
        y += 255;
    if (Status)
        *Status = RPC_S_OK;
    return static_cast<unsigned short>(y * 256 + x);
}
