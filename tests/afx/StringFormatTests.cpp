// CString::Format: one table of formats and their texts, the same on every platform.
#include <afx/afx.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <cmath>
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

struct Row {
    CString actual;
    LPCWSTR expected;
};

void CheckRows(const Row* rows, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        EXPECT_EQ(CString(rows[i].expected), rows[i].actual);
    }
}

TEST(CStringFormat, Integers)
{
    const LONG minusOne = -1;
    const Row rows[] = {
        {Fmt(_T("%d"), 42), _T("42")},
        {Fmt(_T("%i|%d"), -7, 0), _T("-7|0")},
        {Fmt(_T("%d"), std::numeric_limits<int>::min()), _T("-2147483648")},
        {Fmt(_T("%u"), 4294967295u), _T("4294967295")},
        {Fmt(_T("%5d|%-5d|%05d"), 42, 42, -42), _T("   42|42   |-0042")},
        {Fmt(_T("%+d|% d|%+d"), 5, 5, -5), _T("+5| 5|-5")},
        {Fmt(_T("%.3d|%.0d|%5.3d"), 7, 0, -7), _T("007|| -007")},
        {Fmt(_T("%08.3d"), 7), _T("     007")}, // '0' gives way to a precision
        {Fmt(_T("%x|%X|%#x|%#X|%#x"), 255, 255, 255, 255, 0), _T("ff|FF|0xff|0XFF|0")},
        {Fmt(_T("%o|%#o|%#o"), 8, 8, 0), _T("10|010|0")},
        {Fmt(_T("%#08x"), 255), _T("0x0000ff")},
        {Fmt(_T("%ld|%lu|%lx"), minusOne, 4000000000ul, 0xABCDul), _T("-1|4000000000|abcd")},
        {Fmt(_T("%I64d|%I64u"), -9000000000ll, 18446744073709551615ull), _T("-9000000000|18446744073709551615")},
        {Fmt(_T("%lld|%llu|%llX"), -1ll, 1ull << 40, 0xFEDCBA9876543210ull),
         _T("-1|1099511627776|FEDCBA9876543210")},
        {Fmt(_T("%hd|%hu|%hhd"), 70000, 70000, 300), _T("4464|4464|44")},
        {Fmt(_T("%*d|%-*d|%.*d"), 4, 1, 3, 2, 3, 3), _T("   1|2  |003")},
        {Fmt(_T("%*d|%.*d"), -4, 1, -1, 5), _T("1   |5")}, // negative width: left; negative precision: none
    };
    CheckRows(rows, sizeof rows / sizeof rows[0]);
}

TEST(CStringFormat, TextAndCharacters)
{
    const WCHAR wide[] = {'w', 0x00E9, 0};
    const Row rows[] = {
        {Fmt(_T("[%s]"), _T("abc")), _T("[abc]")},
        {Fmt(_T("[%ls|%S|%hs]"), wide, "na", "rrow"), _T("[w\u00E9|na|rrow]")},
        {Fmt(_T("[%5s|%-5s|%.2s]"), _T("ab"), _T("ab"), _T("abcdef")), _T("[   ab|ab   |ab]")},
        {Fmt(_T("[%.0s|%.0S|%.1s]"), _T("ab"), "ab", _T("ab")), _T("[||a]")},
        {Fmt(_T("[%s|%S]"), static_cast<LPCWSTR>(nullptr), static_cast<const char*>(nullptr)), _T("[(null)|(null)]")},
        {Fmt(_T("%S"), "\xE9"), _T("\u00E9")}, // narrow text unit by unit (Latin-1)
        {Fmt(_T("%c%c%3c%-3c|"), 'a', 0x00E9, 'b', 'c'), _T("a\u00E9  bc  |")},
        {Fmt(_T("%C%hc%lc"), 'x', 'y', 0x263A), _T("xy\u263A")},
        {Fmt(_T("100%%|%%d")), _T("100%|%d")},
        {Fmt(_T("%k|%y"), 1), _T("%k|%y")}, // conversions outside the list stand as written
        {Fmt(_T("tail %")), _T("tail %")},
        {Fmt(_T("%n|%d"), static_cast<int*>(nullptr), 3), _T("|3")},
        {Fmt(_T("")), _T("")},
    };
    CheckRows(rows, sizeof rows / sizeof rows[0]);

    // A precision stops the read: the text need not be terminated there.
    const WCHAR unterminated[] = {'x', 'y', 'z'};
    EXPECT_EQ(CString(_T("xy")), Fmt(_T("%.2s"), unterminated));
}

TEST(CStringFormat, Pointers)
{
    const auto* p = reinterpret_cast<void*>(static_cast<uintptr_t>(0x12AB));
    if (sizeof(void*) == 8)
        EXPECT_EQ(CString(_T("00000000000012AB")), Fmt(_T("%p"), p));
    else
        EXPECT_EQ(CString(_T("000012AB")), Fmt(_T("%p"), p));
    EXPECT_EQ(CString(_T("0000000000000000")).Left(int(sizeof(void*) * 2)), Fmt(_T("%p"), nullptr));
}

TEST(CStringFormat, FloatingPoint)
{
    const double inf = std::numeric_limits<double>::infinity();
    const Row rows[] = {
        {Fmt(_T("%f"), 3.14159), _T("3.141590")},
        {Fmt(_T("%.2f|%.0f|%#.0f"), 2.675, 2.5, 3.0), _T("2.67|2|3.")}, // exact binary value; ties to even
        {Fmt(_T("%.3f"), -0.0005), _T("-0.001")},
        {Fmt(_T("%f"), -0.0), _T("-0.000000")},
        {Fmt(_T("%10.3f|%-10.3f|%010.3f"), 3.14159, 3.14159, -3.14159), _T("     3.142|3.142     |-00003.142")},
        {Fmt(_T("%+.1f|% .1f"), 1.0, 1.0), _T("+1.0| 1.0")},
        {Fmt(_T("%.1f"), 1e20), _T("100000000000000000000.0")},
        {Fmt(_T("%e|%E"), 12345.678, 0.00012), _T("1.234568e+04|1.200000E-04")},
        {Fmt(_T("%.2e|%.0e|%#.0e"), 1e-300, 5e10, 5e10), _T("1.00e-300|5e+10|5.e+10")},
        {Fmt(_T("%g|%g|%g|%g"), 100000.0, 1000000.0, 0.0001, 0.00001), _T("100000|1e+06|0.0001|1e-05")},
        {Fmt(_T("%g|%G|%g"), 3.14159265, 1e-10, 0.0), _T("3.14159|1E-10|0")},
        {Fmt(_T("%.3g|%.0g|%#g|%#.3g"), 1234.5, 123.0, 1.5, 1.0), _T("1.23e+03|1e+02|1.50000|1.00")},
        {Fmt(_T("%g|%g|%g"), 123456.0, 1234567.0, 999999.5), _T("123456|1.23457e+06|1e+06")},
        {Fmt(_T("%g|%g|%g"), 9.9999996, 0.000099999996, 0.000099999), _T("10|0.0001|9.9999e-05")},
        {Fmt(_T("%.1g|%.2g|%#.2g|%.0g|%G"), 0.95, 99.5, 0.0001, 0.5, 1e100), _T("0.9|1e+02|0.00010|0.5|1E+100")},
        {Fmt(_T("%.10g"), 0.1), _T("0.1")},
        {Fmt(_T("%.17g"), 0.1), _T("0.10000000000000001")},
        {Fmt(_T("%f|%F|%5f|%f"), inf, -inf, inf, std::nan("")), _T("inf|-INF|  inf|nan")},
        {Fmt(_T("%08.2f"), inf), _T("     inf")}, // no zero padding for infinity
        {Fmt(_T("%.*f"), 3, 1.0), _T("1.000")},
        {Fmt(_T("%f"), static_cast<double>(1.5f)), _T("1.500000")},
        {Fmt(_T("%d %.1f %s"), 1, 2.25, _T("x")), _T("1 2.2 x")},
    };
    CheckRows(rows, sizeof rows / sizeof rows[0]);
}

TEST(CStringFormat, AppendFormatAndReplaceOfFormat)
{
    CString s(_T("n="));
    s.AppendFormat(_T("%d;"), 1);
    s.AppendFormat(_T("%s"), _T("two"));
    EXPECT_EQ(CString(_T("n=1;two")), s);
    s.Format(_T("%d"), 3);
    EXPECT_EQ(CString(_T("3")), s);
    s.Format(static_cast<LPCWSTR>(nullptr));
    EXPECT_TRUE(s.IsEmpty());

    // CString arguments pass as their characters.
    const CString name(_T("name"));
    s.Format(_T("[%s|%d|%5s]"), name, 7, CString(_T("ab")));
    EXPECT_EQ(CString(_T("[name|7|   ab]")), s);
    s.AppendFormat(_T("%s"), name);
    EXPECT_EQ(CString(_T("[name|7|   ab]name")), s);

    CString wide;
    wide.Format(_T("%2000d|"), 1); // a wide field grows the text as needed
    EXPECT_EQ(2001, wide.GetLength());
    EXPECT_EQ('1', wide[1999]);
}

} // namespace
