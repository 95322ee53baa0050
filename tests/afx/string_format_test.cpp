// CString::Format and AppendFormat: one table of formats and their texts, the
// same on every platform.
#include <afx/afx.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

CString Fmt(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CString s;
    s.FormatV(format, args);
    va_end(args);
    return s;
}

TEST(CStringFormat, Fields)
{
    const double inf = std::numeric_limits<double>::infinity();
    const WCHAR wide[] = {'w', 0x00E9, 0};
    const WCHAR unterminated[] = {'x', 'y', 'z'}; // a precision stops the read
    const LONG minusOne = -1;
    const auto* pointer = reinterpret_cast<void*>(static_cast<uintptr_t>(0x12AB));
    const bool wide64 = sizeof(void*) == 8;
    const struct { CString actual; LPCWSTR expected; } rows[] = {
        {Fmt(_T("%d|%i|%d"), 42, -7, 0), _T("42|-7|0")},
        {Fmt(_T("%d|%u"), std::numeric_limits<int>::min(), 4294967295u), _T("-2147483648|4294967295")},
        {Fmt(_T("%5d|%-5d|%05d|%-05d"), 42, 42, -42, 1), _T("   42|42   |-0042|1    ")},
        {Fmt(_T("%+d|% d|%+d|%+ d"), 5, 5, -5, 5), _T("+5| 5|-5|+5")},
        {Fmt(_T("%.3d|%.0d|%5.3d|%08.3d"), 7, 0, -7, 7), _T("007|| -007|     007")}, // '0' gives way to a precision
        {Fmt(_T("%x|%X|%#x|%#X|%#x"), 255, 255, 255, 255, 0), _T("ff|FF|0xff|0XFF|0")},
        {Fmt(_T("%o|%#o|%#o|%#.3o"), 8, 8, 0, 8), _T("10|010|0|010")},
        {Fmt(_T("%#08x|%#-8x|"), 255, 255), _T("0x0000ff|0xff    |")},
        {Fmt(_T("%ld|%lu|%lx"), minusOne, 4000000000ul, 0xABCDul), _T("-1|4000000000|abcd")},
        {Fmt(_T("%I64d|%I64u|%I32d"), -9000000000ll, 18446744073709551615ull, -3), _T("-9000000000|18446744073709551615|-3")},
        {Fmt(_T("%lld|%llX|%Id|%zu"), -1ll, 0xFEDCBA9876543210ull, INT_PTR(-2), size_t(9)), _T("-1|FEDCBA9876543210|-2|9")},
        {Fmt(_T("%hd|%hu|%hhd|%hhu"), 70000, 70000, 300, 300), _T("4464|4464|44|44")},
        {Fmt(_T("%*d|%-*d|%.*d"), 4, 1, 3, 2, 3, 3), _T("   1|2  |003")},
        {Fmt(_T("%*d|%.*d"), -4, 1, -1, 5), _T("1   |5")}, // negative width: left; negative precision: none
        {Fmt(_T("[%s|%5s|%-5s|%.2s]"), _T("abc"), _T("ab"), _T("ab"), _T("abcdef")), _T("[abc|   ab|ab   |ab]")},
        {Fmt(_T("[%ls|%S|%hs|%.1S]"), wide, "\xE9" "a", "rrow", "xy"), _T("[w\u00E9|\u00E9a|rrow|x]")}, // narrow: Latin-1
        {Fmt(_T("[%.0s|%.0S|%.2s]"), _T("ab"), "ab", unterminated), _T("[||xy]")},
        {Fmt(_T("[%s|%S]"), static_cast<LPCWSTR>(nullptr), static_cast<const char*>(nullptr)), _T("[(null)|(null)]")},
        {Fmt(_T("%c%c%3c%-3c|"), 'a', 0x263A, 'b', 'c'), _T("a\u263A  bc  |")},
        {Fmt(_T("%C%hc%lc%lC"), 'x', 'y', 0x263A, 0x263B), _T("xy\u263A\u263B")},
        {Fmt(_T("100%%|%%d|%k|%y|%"), 1), _T("100%|%d|%k|%y|%")}, // conversions outside the list stand as written
        {Fmt(_T("%n|%d"), static_cast<int*>(nullptr), 3), _T("|3")},
        {Fmt(_T("%p|%-*p|"), pointer, wide64 ? 18 : 10, pointer),
         wide64 ? _T("00000000000012AB|00000000000012AB  |") : _T("000012AB|000012AB  |")},
        {Fmt(_T("%f|%.2f|%.0f|%#.0f"), 3.14159, 2.675, 2.5, 3.0), _T("3.141590|2.67|2|3.")}, // exact value; ties to even
        {Fmt(_T("%.3f|%f"), -0.0005, -0.0), _T("-0.001|-0.000000")},
        {Fmt(_T("%10.3f|%-10.3f|%010.3f"), 3.14159, 3.14159, -3.14159), _T("     3.142|3.142     |-00003.142")},
        {Fmt(_T("%+.1f|% .1f|%.1f"), 1.0, 1.0, 1e20), _T("+1.0| 1.0|100000000000000000000.0")},
        {Fmt(_T("%e|%E"), 12345.678, 0.00012), _T("1.234568e+04|1.200000E-04")},
        {Fmt(_T("%.2e|%.0e|%#.0e"), 1e-300, 5e10, 5e10), _T("1.00e-300|5e+10|5.e+10")},
        {Fmt(_T("%g|%g|%g|%g"), 100000.0, 1000000.0, 0.0001, 0.00001), _T("100000|1e+06|0.0001|1e-05")},
        {Fmt(_T("%g|%G|%g|%g|%.10g"), 3.14159265, 1e-10, 0.0, -2.5, 0.1), _T("3.14159|1E-10|0|-2.5|0.1")},
        {Fmt(_T("%.3g|%.0g|%#g|%#.3g"), 1234.5, 123.0, 1.5, 1.0), _T("1.23e+03|1e+02|1.50000|1.00")},
        {Fmt(_T("%g|%g|%g"), 123456.0, 1234567.0, 999999.5), _T("123456|1.23457e+06|1e+06")},
        {Fmt(_T("%g|%g|%g"), 9.9999996, 0.000099999996, 0.000099999), _T("10|0.0001|9.9999e-05")},
        {Fmt(_T("%.1g|%.2g|%#.2g|%.0g|%G"), 0.95, 99.5, 0.0001, 0.5, 1e100), _T("0.9|1e+02|0.00010|0.5|1E+100")},
        {Fmt(_T("%#.0g|%#g|%g|%g|%#g"), 5e10, 1e-5, 1.5e-5, 100.0, 0.0), _T("5.e+10|1.00000e-05|1.5e-05|100|0.00000")},
        {Fmt(_T("%f|%F|%5f|%f|%+F"), inf, -inf, inf, std::nan(""), std::nan("")), _T("inf|-INF|  inf|nan|NAN")},
        {Fmt(_T("%08.2f|%-5f|"), inf, -inf), _T("     inf|-inf |")}, // no zero padding for infinity
        {Fmt(_T("%d %.1f %s %.*f"), 1, 2.25, _T("x"), 3, 1.0), _T("1 2.2 x 1.000")},
        {[] { CString s(_T("n=")); s.AppendFormat(_T("%d;"), 1); s.AppendFormat(_T("%s"), _T("two")); return s; }(), _T("n=1;two")},
        {[] { CString s(_T("x")); s.Format(static_cast<LPCWSTR>(nullptr)); return s; }(), _T("")},
        {[] { CString s(_T("ab")); s.Format(_T("[%s|%d|%5s]"), CString(_T("name")), 7, s); return s; }(), _T("[name|7|   ab]")},
        {[] { CString s(_T("ab")); s.AppendFormat(_T("%s"), s); return s; }(), _T("abab")}, // CString arguments pass as their characters
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i)
        EXPECT_EQ(CString(rows[i].expected), rows[i].actual) << "row " << i;
    EXPECT_EQ(402, Fmt(_T("%.500f"), 1.0).GetLength()); // precision cut at 400 digits
    EXPECT_EQ(2001, Fmt(_T("%2000d|"), 1).GetLength()); // a wide field grows the text as needed
}

} // namespace
