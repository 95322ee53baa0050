// Number conversion between the user's form and the internal form. The suites
// check the user locale they run under and skip when it is not theirs: the
// default run has a '.' locale (en_US), the text.de_DE run a ',' locale and
// only the *GermanLocale* suites.
#include <QNUtility.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace {

WCHAR UserDecimalSeparator()
{
    WCHAR separator[5] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 5);
    return separator[0];
}

#define REQUIRE_DECIMAL_SEPARATOR(ch)                                                         \
    do {                                                                                      \
        if (UserDecimalSeparator() != (ch))                                                   \
            GTEST_SKIP() << "needs a user locale with '" << char(ch) << "' as decimal separator"; \
    } while (0)

const CString kKeep = L"keep";

// The to-text members, as one signature for the tables.
struct ToTextCase {
    const char* name;
    HRESULT (*convert)(CString&);
    const wchar_t* expected;
};

void CheckToText(const ToTextCase* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        CString out = kKeep;
        EXPECT_EQ(S_OK, cases[i].convert(out)) << cases[i].name;
        EXPECT_EQ(CString(cases[i].expected), out) << cases[i].name;
    }
}

// The from-text members, reading into a double for the tables.
struct FromTextCase {
    const char* name;
    HRESULT (*convert)(LPCWSTR, double*);
    const wchar_t* text;
    HRESULT expectedResult;
    double expected; // when the result is success
};

template <class T, HRESULT (*F)(LPCWSTR, T*)>
HRESULT ReadAs(LPCWSTR text, double* out)
{
    T value = T(99);
    const HRESULT hr = F(text, &value);
    *out = static_cast<double>(value);
    return hr;
}

constexpr auto StrToFloatUI = ReadAs<float, CQNUtility::StrToFloatUI>;
constexpr auto StrInternalToFloat = ReadAs<float, CQNUtility::StrInternalToFloat>;
constexpr auto StrToDoubleUI = ReadAs<double, CQNUtility::StrToDoubleUI>;
constexpr auto StrInternalToDouble = ReadAs<double, CQNUtility::StrInternalToDouble>;
constexpr auto StrToIntUI = ReadAs<int, CQNUtility::StrToIntUI>;
constexpr auto StrInternalToInt = ReadAs<int, CQNUtility::StrInternalToInt>;
constexpr auto StrToShortUI = ReadAs<short, CQNUtility::StrToShortUI>;
constexpr auto StrInternalToShort = ReadAs<short, CQNUtility::StrInternalToShort>;
constexpr auto StrToDoubleUIExt = ReadAs<double, CQNUtility::StrToDoubleUIExt>;

void CheckFromText(const FromTextCase* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const FromTextCase& c = cases[i];
        double value = 0;
        EXPECT_EQ(c.expectedResult, c.convert(c.text, &value)) << c.name;
        // On failure the output keeps its old value (99).
        EXPECT_DOUBLE_EQ(SUCCEEDED(c.expectedResult) ? c.expected : 99.0, value) << c.name;
    }
}

// The separator exchange in both directions, and the grouped integers.
struct ExchangeCase {
    HRESULT (*convert)(LPCWSTR, CString&);
    const wchar_t* text;
    HRESULT expectedResult;
    const wchar_t* expected; // the output afterwards; it starts as "keep"
};
constexpr auto ToInternal = CQNUtility::NumStrUIToStr;
constexpr auto ToUser = CQNUtility::StrToNumStrUI;

void CheckExchange(const ExchangeCase* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        CString out = kKeep;
        EXPECT_EQ(cases[i].expectedResult, cases[i].convert(cases[i].text, out)) << i;
        EXPECT_EQ(CString(cases[i].expected), out) << i;
    }
}

void CheckLocaleFormat(std::initializer_list<std::pair<LONG, const wchar_t*>> cases)
{
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.second), CQNUtility::LocaleFormat(c.first)) << c.first;
}

// Every member whatever the locale: the internal form and the failure codes.
void CheckInternalForm()
{
    const ToTextCase toText[] = {
        {"float 1.5", [](CString& s) { return CQNUtility::FloatToStrInternal(1.5f, s); }, L"1.5"},
        {"double", [](CString& s) { return CQNUtility::DoubleToStrInternal(-1234567.25, s); }, L"-1234567.25"},
        {"double 0.1+0.2", [](CString& s) { return CQNUtility::DoubleToStrInternal(0.1 + 0.2, s); }, L"0.3"},
        {"int max", [](CString& s) { return CQNUtility::IntToStrInternal(INT_MAX, s); }, L"2147483647"},
        {"int min", [](CString& s) { return CQNUtility::IntToStrInternal(INT_MIN, s); }, L"-2147483648"},
        {"short min", [](CString& s) { return CQNUtility::ShortToStrInternal(SHRT_MIN, s); }, L"-32768"},
    };
    CheckToText(toText, std::size(toText));

    const FromTextCase fromText[] = {
        {"double", StrInternalToDouble, L"1.5", S_OK, 1.5},
        {"double exponent", StrInternalToDouble, L"-2.5e3", S_OK, -2500},
        {"double with grouping", StrInternalToDouble, L"1,234.5", S_OK, 1234.5},
        {"double overflow", StrInternalToDouble, L"1e400", DISP_E_OVERFLOW, 0},
        {"double no number", StrInternalToDouble, L"abc", DISP_E_TYPEMISMATCH, 0},
        {"double empty", StrInternalToDouble, L"", DISP_E_TYPEMISMATCH, 0},
        {"double null", StrInternalToDouble, nullptr, DISP_E_TYPEMISMATCH, 0},
        {"float", StrInternalToFloat, L"0.25", S_OK, 0.25},
        {"float overflow", StrInternalToFloat, L"1e39", DISP_E_OVERFLOW, 0},
        {"int", StrInternalToInt, L"-7", S_OK, -7},
        {"int overflow", StrInternalToInt, L"2147483648", DISP_E_OVERFLOW, 0},
        {"int no number", StrInternalToInt, L"x1", DISP_E_TYPEMISMATCH, 0},
        {"short", StrInternalToShort, L"12", S_OK, 12},
        {"short overflow", StrInternalToShort, L"40000", DISP_E_OVERFLOW, 0},
        {"user short overflow", StrToShortUI, L"-40000", DISP_E_OVERFLOW, 0},
        {"user int no number", StrToIntUI, L"true", DISP_E_TYPEMISMATCH, 0},
        {"user float overflow", StrToFloatUI, L"1e39", DISP_E_OVERFLOW, 0},
    };
    CheckFromText(fromText, std::size(fromText));

    // A null output is refused before the platform sees it.
    EXPECT_EQ(E_POINTER, CQNUtility::StrToDoubleUI(L"1", nullptr));
    EXPECT_EQ(E_POINTER, CQNUtility::StrInternalToFloat(L"1", nullptr));
    EXPECT_EQ(E_POINTER, CQNUtility::StrToIntUI(L"1", nullptr));
    EXPECT_EQ(E_POINTER, CQNUtility::StrInternalToShort(L"1", nullptr));
    EXPECT_EQ(E_POINTER, CQNUtility::StrToDoubleUIExt(L"1", nullptr));

    // The integer literals of the numeral grammar, through their 32-bit value.
    const FromTextCase literals[] = {
        {"hexadecimal", StrToDoubleUIExt, L"0x10", S_OK, 16},
        {"hexadecimal upper", StrToDoubleUIExt, L"0x1F", S_OK, 31},
        {"negative hexadecimal", StrToDoubleUIExt, L"-0x10", S_OK, -16},
        {"octal", StrToDoubleUIExt, L"017", S_OK, 15},
        {"decimal", StrToDoubleUIExt, L"-5", S_OK, -5},
        {"64-bit suffix saturates", StrToDoubleUIExt, L"3000000000L", S_OK, 2147483647},
        {"boolean is no number", StrToDoubleUIExt, L"true", DISP_E_TYPEMISMATCH, 0},
        {"character is no number", StrToDoubleUIExt, L"'a'", DISP_E_TYPEMISMATCH, 0},
        {"no literal", StrToDoubleUIExt, L"abc", DISP_E_TYPEMISMATCH, 0},
        {"null text", StrToDoubleUIExt, nullptr, DISP_E_TYPEMISMATCH, 0},
    };
    CheckFromText(literals, std::size(literals));

    // Not numbers in any locale.
    CString out = kKeep;
    EXPECT_EQ(E_FAIL, CQNUtility::NumStrUIToStr(L"abc", out));
    EXPECT_EQ(E_FAIL, CQNUtility::NumStrUIToStr(nullptr, out));
    EXPECT_EQ(kKeep, out);
    EXPECT_EQ(S_FALSE, CQNUtility::StrToNumStrUI(L"7", out));
    EXPECT_EQ(CString(L"7"), out);
    EXPECT_EQ(S_FALSE, CQNUtility::StrToNumStrUI(nullptr, out));
    EXPECT_EQ(CString(), out);
    EXPECT_EQ(CString(L"0"), CQNUtility::LocaleFormat(0));
}

TEST(NumberConversionDotLocale, UserFormUsesDot)
{
    REQUIRE_DECIMAL_SEPARATOR(L'.');
    CheckInternalForm();
    const ToTextCase toText[] = {
        {"float", [](CString& s) { return CQNUtility::FloatToStrUI(1.5f, s); }, L"1.5"},
        {"double", [](CString& s) { return CQNUtility::DoubleToStrUI(-1234567.25, s); }, L"-1234567.25"},
        {"int", [](CString& s) { return CQNUtility::IntToStrUI(-42, s); }, L"-42"},
    };
    CheckToText(toText, std::size(toText));
    const FromTextCase fromText[] = {
        {"double", StrToDoubleUI, L"2.5", S_OK, 2.5},
        {"comma groups", StrToDoubleUI, L"1,5", S_OK, 15},
        {"spaces", StrToDoubleUI, L" 7 ", S_OK, 7},
        {"float", StrToFloatUI, L"0.5", S_OK, 0.5},
        {"int", StrToIntUI, L"42", S_OK, 42},
        {"short", StrToShortUI, L"-32768", S_OK, -32768},
        {"real literal", StrToDoubleUIExt, L"2.5", S_OK, 2.5},
        {"exponent", StrToDoubleUIExt, L"1e3", S_OK, 1000},
    };
    CheckFromText(fromText, std::size(fromText));
}

TEST(NumberConversionDotLocale, SeparatorExchange)
{
    REQUIRE_DECIMAL_SEPARATOR(L'.');
    const ExchangeCase cases[] = {
        {ToInternal, L"1.5", S_OK, L"1.5"},
        {ToInternal, L"15", S_FALSE, L"15"},
        {ToInternal, L"1,5", S_FALSE, L"1,5"}, // a number here (grouping), but no separator
        {ToUser, L"2.25", S_OK, L"2.25"},
        {ToUser, L"a.b", E_FAIL, L"a.b"},      // replaced first, then found to be no number
    };
    CheckExchange(cases, std::size(cases));
    CheckLocaleFormat({{1234567, L"1,234,567"}, {-42, L"-42"}, {999, L"999"}, {-1000, L"-1,000"},
                       {LONG_MAX, L"2,147,483,647"}, {LONG_MIN, L"-2,147,483,648"}});
}

TEST(NumberConversionGermanLocale, UserFormUsesComma)
{
    REQUIRE_DECIMAL_SEPARATOR(L',');
    CheckInternalForm();
    const ToTextCase toText[] = {
        {"float", [](CString& s) { return CQNUtility::FloatToStrUI(1.5f, s); }, L"1,5"},
        {"double", [](CString& s) { return CQNUtility::DoubleToStrUI(-1234567.25, s); }, L"-1234567,25"},
        {"int", [](CString& s) { return CQNUtility::IntToStrUI(-42, s); }, L"-42"},
    };
    CheckToText(toText, std::size(toText));
    const FromTextCase fromText[] = {
        {"double", StrToDoubleUI, L"1,5", S_OK, 1.5},
        {"dot groups", StrToDoubleUI, L"2.25", S_OK, 225},
        {"float", StrToFloatUI, L"0,5", S_OK, 0.5},
        {"int", StrToIntUI, L"42", S_OK, 42},
        {"internal ignores the user", StrInternalToDouble, L"1.5", S_OK, 1.5},
        {"real literal", StrToDoubleUIExt, L"2,5", S_OK, 2.5},
    };
    CheckFromText(fromText, std::size(fromText));
}

TEST(NumberConversionGermanLocale, SeparatorExchange)
{
    REQUIRE_DECIMAL_SEPARATOR(L',');
    const ExchangeCase cases[] = {
        {ToInternal, L"1,5", S_OK, L"1.5"},
        {ToInternal, L"15", S_FALSE, L"15"},
        {ToInternal, L"abc", E_FAIL, L"keep"},
        {ToUser, L"2.25", S_OK, L"2,25"},
        {ToUser, L"7", S_FALSE, L"7"},
        {ToUser, L"a.b", E_FAIL, L"a,b"},
    };
    CheckExchange(cases, std::size(cases));
    CheckLocaleFormat({{1234567, L"1.234.567"}, {-42, L"-42"}, {-1000, L"-1.000"}});

    // The round trip of a user-form number through the internal form.
    CString internal;
    ASSERT_EQ(S_OK, CQNUtility::NumStrUIToStr(L"-3,75", internal));
    CString user;
    ASSERT_EQ(S_OK, CQNUtility::StrToNumStrUI(internal, user));
    EXPECT_EQ(CString(L"-3,75"), user);
}

} // namespace
