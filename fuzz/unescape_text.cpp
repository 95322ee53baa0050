// UnescapeText on arbitrary UTF-16 input (embedded NULs included) with every
// flag set and with the flags of the first two bytes, plus the escape round
// trip, which must give the text back.
#include <QNUtility.h>
#include <afx/atlbase.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

std::basic_string<WCHAR> Units(const uint8_t* data, size_t size)
{
    std::basic_string<WCHAR> text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<WCHAR>(data[i] | (data[i + 1] << 8)));
    return text;
}

void Unescape(BSTR in, unsigned ops)
{
    CComBSTR out;
    const HRESULT hr = CQNUtility::UnescapeText(in, static_cast<eQNEscapeOperations>(ops), &out);
    if (hr == S_OK && (!out || out.Length() > 2 * ::SysStringLen(in)))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const unsigned ops = (data[0] | (data[1] << 8)) & 0x1FFF;
    const std::basic_string<WCHAR> text = Units(data + 2, size - 2);
    const CComBSTR in(static_cast<int>(text.size()), text.data());
    Unescape(in, 0x1FFF);
    Unescape(in, ops);

    // Round trip: backslash plus any of the first seven rows.
    const unsigned roundTripOps = (ops & 0x007B) | eEscBackslash;
    const std::basic_string<WCHAR> plain = text.substr(0, text.find(WCHAR(0)));
    CComBSTR escaped, back;
    if (CQNUtility::EscapeText(plain.c_str(), static_cast<eQNEscapeOperations>(roundTripOps), &escaped) != S_OK)
        __builtin_trap();
    if (CQNUtility::UnescapeText(escaped, static_cast<eQNEscapeOperations>(roundTripOps), &back) != S_OK ||
        std::basic_string<WCHAR>(back.m_str, back.Length()) != plain)
        __builtin_trap();
    return 0;
}
