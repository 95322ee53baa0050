// The limits the numeral helper judges a literal against, shared by the helper
// and by the direct reading of common literals (NumeralFastPath.h), which must
// decide exactly as the helper does.
#pragma once

#include <QNPlatform.h>

namespace qn::numeral {

struct IntegerLimit {
    int length;
    LPCWSTR limit;
};

// One row per radix and sign: the limits of 64, 8, 16 and 32 bits. Decimal and
// octal literals are judged as signed values of each width, hexadecimal ones
// without a minus sign as unsigned bit patterns. The digits are compared as
// text, upper case.
struct IntegerLimits {
    int radix;
    bool minus;
    IntegerLimit bits64, bits8, bits16, bits32;
};

inline constexpr IntegerLimits kIntegerLimits[] = {
    {10, false, {19, _T("9223372036854775807")}, {3, _T("127")}, {5, _T("32767")}, {10, _T("2147483647")}},
    {10, true, {19, _T("9223372036854775808")}, {3, _T("128")}, {5, _T("32768")}, {10, _T("2147483648")}},
    {8, false, {22, _T("1777777777777777777777")}, {3, _T("377")}, {6, _T("177777")}, {11, _T("37777777777")}},
    {8, true, {22, _T("1000000000000000000000")}, {3, _T("200")}, {6, _T("100000")}, {11, _T("20000000000")}},
    {16, false, {16, _T("FFFFFFFFFFFFFFFF")}, {2, _T("FF")}, {4, _T("FFFF")}, {8, _T("FFFFFFFF")}},
    {16, true, {16, _T("8000000000000000")}, {2, _T("80")}, {4, _T("8000")}, {8, _T("80000000")}},
};

// The range of a real, on its mantissa normalised to one digit before the dot
// and compared as text: single precision from 1.1754e-38 to 3.4028e38, double
// precision from 4.94065645841246544e-324 to 1.79769313486231570e308.
inline constexpr int kFloatMaxExponent = 38;
inline constexpr LPCWSTR kFloatMaxMantissa = _T("3.4028");
inline constexpr LPCWSTR kFloatMinMantissa = _T("1.1754");
inline constexpr int kDoubleMaxExponent = 308;
inline constexpr int kDoubleMinExponent = -324;
inline constexpr LPCWSTR kDoubleMaxMantissa = _T("1.79769313486231570");
inline constexpr LPCWSTR kDoubleMinMantissa = _T("4.94065645841246544");

// An exponent text of more than this many characters ('-' included) is out of
// range without being read.
inline constexpr int kMaxExponentText = 4;

} // namespace qn::numeral
