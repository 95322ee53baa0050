// Windows bodies of the sequence-naming platform services.
#include "text/SequencePlatform.h"

#include <afx/atlbase.h>

#include <vector>

namespace qn::text {

namespace {
// Internal form of sequence numbers: the system's locale, as installed.
constexpr LCID kNumberLocale = LOCALE_SYSTEM_DEFAULT;
constexpr ULONG kNumberFlags = LOCALE_NOUSEROVERRIDE;
} // namespace

bool FindTrailingDigits(LPCWSTR name, int length, int* digitsStart)
{
    std::vector<WORD> types(static_cast<size_t>(length));
    if (!::GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, name, length, types.data()))
        return false;
    int start = length;
    while (start > 0 && (types[static_cast<size_t>(start - 1)] & C1_DIGIT))
        --start;
    *digitsStart = start;
    return true;
}

void FoldDigits(CString& digits)
{
    const int length = digits.GetLength();
    if (length == 0)
        return;
    CString folded;
    LPWSTR out = folded.GetBuffer(length);
    // Folding a digit gives one digit, so the length stays; anything else
    // (a failure included) leaves the text as it was.
    const int written = ::FoldStringW(MAP_FOLDDIGITS, digits, length, out, length);
    folded.ReleaseBuffer(written == length ? length : 0);
    if (written == length)
        digits = folded;
}

HRESULT ReadInt32(LPCWSTR text, LONG* value)
{
    return ::VarI4FromStr(const_cast<LPOLESTR>(text), kNumberLocale, kNumberFlags, value);
}

HRESULT WriteInt32(LONG value, CString& text)
{
    CComBSTR converted;
    const HRESULT hr = ::VarBstrFromI4(value, kNumberLocale, kNumberFlags, &converted);
    if (SUCCEEDED(hr))
        text = CString(converted, static_cast<int>(converted.Length()));
    return hr;
}

} // namespace qn::text
