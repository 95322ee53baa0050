// Native bodies of the sequence-naming platform services: ASCII digits and
// plain decimal integers, the same on every machine.
#include "common/AsciiText.h"
#include "text/SequencePlatform.h"

#include <climits>

namespace qn::text {

bool g_failDigitClassification = false;

bool FindTrailingDigits(LPCWSTR name, int length, int* digitsStart)
{
    if (g_failDigitClassification)
        return false;
    int start = length;
    while (start > 0 && qn::ascii::IsDigit(name[start - 1]))
        --start;
    *digitsStart = start;
    return true;
}

void FoldDigits(CString&) {}

HRESULT ReadInt32(LPCWSTR text, LONG* value)
{
    if (!text)
        return DISP_E_TYPEMISMATCH;
    const bool negative = *text == u'-';
    const WCHAR* p = negative ? text + 1 : text;
    if (*p == 0)
        return DISP_E_TYPEMISMATCH;
    long long magnitude = 0;
    bool overflow = false;
    for (; *p; ++p) {
        if (!qn::ascii::IsDigit(*p))
            return DISP_E_TYPEMISMATCH;
        if (!overflow)
            magnitude = magnitude * 10 + (*p - u'0');
        // Keep reading to tell an overflow from a text that is no number.
        if (magnitude > static_cast<long long>(INT_MAX) + 1)
            overflow = true;
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (overflow || signedValue > INT_MAX || signedValue < INT_MIN)
        return DISP_E_OVERFLOW;
    *value = static_cast<LONG>(signedValue);
    return S_OK;
}

HRESULT WriteInt32(LONG value, CString& text)
{
    char digits[11];
    char* const end = qn::ascii::FormatInt32(value, digits);
    text = CString(digits, static_cast<int>(end - digits));
    return S_OK;
}

} // namespace qn::text
