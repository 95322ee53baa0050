// Number conversion between the user's form and the internal form, and type
// detection of user-form text. One row per call: the member (through an
// adapter that reads its input from text and writes its output as text), the
// locale it needs ('.' for the default en_US run, ',' for the text.de_DE run,
// 0 for any), the result code and the output, which starts as "keep" (a
// failed read leaves its number at 99).
#include <QNUtility.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

using Adapter = HRESULT (*)(LPCWSTR, CString&);

template <class T>
CString Shown(T value)
{
    wchar_t text[40];
    swprintf(text, 40, L"%.17g", static_cast<double>(value));
    return text;
}
template <class T, HRESULT (*F)(T, CString&)>
HRESULT Write(LPCWSTR in, CString& out) { return F(static_cast<T>(wcstod(in, nullptr)), out); }
template <class T, HRESULT (*F)(LPCWSTR, T*)>
HRESULT Read(LPCWSTR in, CString& out)
{
    T value = T(99);
    const HRESULT hr = F(in, &value);
    out = Shown(value);
    return hr;
}
template <class T, HRESULT (*F)(LPCWSTR, T*)>
HRESULT ReadToNull(LPCWSTR in, CString&) { return F(in, nullptr); }
HRESULT Format(LPCWSTR in, CString& out) { return out = CQNUtility::LocaleFormat(wcstol(in, nullptr, 10)), S_OK; }
HRESULT Detect(LPCWSTR in, CString& out)
{
    static const wchar_t* const names[] = {L"number", L"bool", L"int8", L"char", L"int16", L"int32",
                                           L"int64", L"float", L"double", L"invalid"};
    LONG value = -1;
    testing::internal::CaptureStderr();
    const QNDataType type = CQNUtility::ParserAndGetDataType(in, &value);
    const bool number = CQNUtility::IsNumberOnly(in);
    testing::internal::GetCapturedStderr();
    out = CString(names[type]) + L" " + Shown(value) + (number ? L" number" : L"");
    return S_OK;
}

constexpr Adapter FloatInternal = Write<float, CQNUtility::FloatToStrInternal>,
                  DoubleInternal = Write<double, CQNUtility::DoubleToStrInternal>,
                  IntInternal = Write<int, CQNUtility::IntToStrInternal>,
                  ShortInternal = Write<short, CQNUtility::ShortToStrInternal>,
                  FloatUI = Write<float, CQNUtility::FloatToStrUI>, DoubleUI = Write<double, CQNUtility::DoubleToStrUI>,
                  IntUI = Write<int, CQNUtility::IntToStrUI>,
                  ReadDouble = Read<double, CQNUtility::StrInternalToDouble>,
                  ReadFloat = Read<float, CQNUtility::StrInternalToFloat>,
                  ReadInt = Read<int, CQNUtility::StrInternalToInt>,
                  ReadShort = Read<short, CQNUtility::StrInternalToShort>,
                  ReadDoubleUI = Read<double, CQNUtility::StrToDoubleUI>,
                  ReadFloatUI = Read<float, CQNUtility::StrToFloatUI>, ReadIntUI = Read<int, CQNUtility::StrToIntUI>,
                  ReadShortUI = Read<short, CQNUtility::StrToShortUI>,
                  ReadExt = Read<double, CQNUtility::StrToDoubleUIExt>, ToInternal = CQNUtility::NumStrUIToStr,
                  ToUser = CQNUtility::StrToNumStrUI;

const struct Row {
    wchar_t locale;
    Adapter call;
    LPCWSTR in;
    HRESULT result;
    LPCWSTR out;
} kRows[] = {
    // The internal form, whatever the user's locale.
    {0, FloatInternal, L"1.5", S_OK, L"1.5"}, {0, DoubleInternal, L"-1234567.25", S_OK, L"-1234567.25"},
    {0, DoubleInternal, L"0.30000000000000004", S_OK, L"0.3"}, {0, IntInternal, L"2147483647", S_OK, L"2147483647"},
    {0, IntInternal, L"-2147483648", S_OK, L"-2147483648"}, {0, ShortInternal, L"-32768", S_OK, L"-32768"},
    {0, ReadDouble, L"-2.5e3", S_OK, L"-2500"}, {0, ReadDouble, L"1,234.5", S_OK, L"1234.5"},
    {0, ReadDouble, L"1e400", DISP_E_OVERFLOW, L"99"}, {0, ReadDouble, L"abc", DISP_E_TYPEMISMATCH, L"99"},
    {0, ReadDouble, L"", DISP_E_TYPEMISMATCH, L"99"}, {0, ReadDouble, nullptr, DISP_E_TYPEMISMATCH, L"99"},
    {0, ReadFloat, L"0.25", S_OK, L"0.25"}, {0, ReadFloat, L"1e39", DISP_E_OVERFLOW, L"99"},
    {0, ReadInt, L"-7", S_OK, L"-7"}, {0, ReadInt, L"2147483648", DISP_E_OVERFLOW, L"99"},
    {0, ReadInt, L"x1", DISP_E_TYPEMISMATCH, L"99"}, {0, ReadShort, L"12", S_OK, L"12"},
    {0, ReadShort, L"40000", DISP_E_OVERFLOW, L"99"}, {0, ReadShortUI, L"-40000", DISP_E_OVERFLOW, L"99"},
    {0, ReadIntUI, L"true", DISP_E_TYPEMISMATCH, L"99"}, {0, ReadFloatUI, L"1e39", DISP_E_OVERFLOW, L"99"},
    {0, ReadIntUI, L"42", S_OK, L"42"}, {0, ReadToNull<double, CQNUtility::StrToDoubleUI>, L"1", E_POINTER, L"keep"},
    {0, ReadToNull<float, CQNUtility::StrInternalToFloat>, L"1", E_POINTER, L"keep"},
    {0, ReadToNull<int, CQNUtility::StrToIntUI>, L"1", E_POINTER, L"keep"},
    {0, ReadToNull<short, CQNUtility::StrInternalToShort>, L"1", E_POINTER, L"keep"},
    {0, ReadToNull<double, CQNUtility::StrToDoubleUIExt>, L"1", E_POINTER, L"keep"},
    // The integer literals of the numeral grammar, through their 32-bit value.
    {0, ReadExt, L"0x10", S_OK, L"16"}, {0, ReadExt, L"0x1F", S_OK, L"31"}, {0, ReadExt, L"-0x10", S_OK, L"-16"},
    {0, ReadExt, L"017", S_OK, L"15"}, {0, ReadExt, L"-5", S_OK, L"-5"},
    {0, ReadExt, L"3000000000L", S_OK, L"2147483647"}, {0, ReadExt, L"true", DISP_E_TYPEMISMATCH, L"99"},
    {0, ReadExt, L"'a'", DISP_E_TYPEMISMATCH, L"99"}, {0, ReadExt, nullptr, DISP_E_TYPEMISMATCH, L"99"},
    {0, ToInternal, L"abc", E_FAIL, L"keep"}, {0, ToInternal, nullptr, E_FAIL, L"keep"},
    {0, ToInternal, L"15", S_FALSE, L"15"}, {0, ToUser, L"7", S_FALSE, L"7"}, {0, ToUser, nullptr, S_FALSE, L""},
    {0, Format, L"0", S_OK, L"0"}, {0, Format, L"-42", S_OK, L"-42"},
    // A user locale with '.' as decimal separator and ',' for groups.
    {'.', FloatUI, L"1.5", S_OK, L"1.5"}, {'.', DoubleUI, L"-1234567.25", S_OK, L"-1234567.25"},
    {'.', IntUI, L"-42", S_OK, L"-42"}, {'.', ReadDoubleUI, L"2.5", S_OK, L"2.5"},
    {'.', ReadDoubleUI, L"1,5", S_OK, L"15"}, {'.', ReadDoubleUI, L" 7 ", S_OK, L"7"},
    {'.', ReadFloatUI, L"0.5", S_OK, L"0.5"}, {'.', ReadShortUI, L"-32768", S_OK, L"-32768"},
    {'.', ReadExt, L"2.5", S_OK, L"2.5"}, {'.', ReadExt, L"1e3", S_OK, L"1000"},
    {'.', ToInternal, L"1.5", S_OK, L"1.5"},
    {'.', ToInternal, L"1,5", S_FALSE, L"1,5"}, // a number here (grouping), but no separator
    {'.', ToUser, L"2.25", S_OK, L"2.25"},
    {'.', ToUser, L"a.b", E_FAIL, L"a.b"}, // replaced first, then found to be no number
    {'.', Format, L"1234567", S_OK, L"1,234,567"}, {'.', Format, L"-1000", S_OK, L"-1,000"},
    {'.', Format, L"999", S_OK, L"999"}, {'.', Format, L"2147483647", S_OK, L"2,147,483,647"},
    {'.', Format, L"-2147483648", S_OK, L"-2,147,483,648"}, {'.', Detect, L"1,5", S_OK, L"invalid 0"},
    // A user locale with ',' as decimal separator and '.' for groups.
    {',', FloatUI, L"1.5", S_OK, L"1,5"}, {',', DoubleUI, L"-1234567.25", S_OK, L"-1234567,25"},
    {',', ReadDoubleUI, L"1,5", S_OK, L"1.5"}, {',', ReadDoubleUI, L"2.25", S_OK, L"225"},
    {',', ReadFloatUI, L"0,5", S_OK, L"0.5"},
    {',', ReadDouble, L"1.5", S_OK, L"1.5"}, // the internal form ignores the user
    {',', ReadExt, L"2,5", S_OK, L"2.5"}, {',', ToInternal, L"1,5", S_OK, L"1.5"},
    {',', ToInternal, L"-3,75", S_OK, L"-3.75"}, {',', ToInternal, L"abc", E_FAIL, L"keep"},
    {',', ToUser, L"2.25", S_OK, L"2,25"}, {',', ToUser, L"-3.75", S_OK, L"-3,75"},
    {',', ToUser, L"a.b", E_FAIL, L"a,b"}, {',', Format, L"1234567", S_OK, L"1.234.567"},
    {',', Format, L"-1000", S_OK, L"-1.000"}, {',', Detect, L"1,5", S_OK, L"float 0 number"},
    {',', Detect, L"-12,5e-3", S_OK, L"float 0 number"}, {',', Detect, L"3,40282e38", S_OK, L"double 0 number"},
    {',', Detect, L"42", S_OK, L"int8 42 number"},
    {',', Detect, L"0x1F", S_OK, L"int8 31 number"}, // no number in the locale: parsed as it stands
    {',', Detect, L"'a'", S_OK, L"char 0"}, {',', Detect, L"true", S_OK, L"bool 0"},
    {',', Detect, L"1,5f", S_OK, L"invalid 0"}, // not converted, and ',' is no part of a literal
};

void RunRows(wchar_t separator)
{
    wchar_t user[5] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, user, 5);
    if (user[0] != separator)
        GTEST_SKIP() << "needs a user locale with '" << char(separator) << "' as decimal separator";
    for (const Row& row : kRows) {
        if (row.locale && row.locale != separator)
            continue;
        CString out = L"keep";
        SCOPED_TRACE(row.in ? ToUtf8ForTest(row.in, -1) : "null");
        EXPECT_EQ(row.call(row.in, out), row.result);
        EXPECT_STREQ(out, row.out);
    }
}

TEST(NumberConversionDotLocale, EveryRow) { RunRows(L'.'); }
TEST(NumberConversionGermanLocale, EveryRow) { RunRows(L','); }

} // namespace
