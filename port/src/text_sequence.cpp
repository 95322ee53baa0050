// Native bodies of the sequence-naming platform services: ASCII digits and
// plain decimal integers, the same on every machine.
#include "text/SequencePlatform.h"

#include <climits>

#ifndef DISP_E_TYPEMISMATCH
#define DISP_E_TYPEMISMATCH _HRESULT_TYPEDEF_(0x80020005L)
#endif

namespace qn::text {

bool g_failDigitClassification = false;

bool FindTrailingDigits(LPCWSTR name, int length, int* digitsStart)
{
    if (g_failDigitClassification)
        return false;
    int start = length;
    while (start > 0 && name[start - 1] >= u'0' && name[start - 1] <= u'9')
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
        if (*p < u'0' || *p > u'9')
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
    WCHAR buffer[12];
    WCHAR* end = buffer + 12;
    WCHAR* p = end;
    long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    do {
        *--p = static_cast<WCHAR>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        *--p = u'-';
    text = CString(p, static_cast<int>(end - p));
    return S_OK;
}

} // namespace qn::text
