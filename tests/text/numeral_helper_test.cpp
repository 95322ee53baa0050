// The numeral evaluation helper: the integer and real type decisions with
// their limits, the range errors, the texts and the deep copy.
#include <QNNumeral.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>

namespace {

using Helper = CQNUtility::CNumeralParserHelper;

struct Decision {
    const char* text;
    QNDataType type;
    int error;
};

// Runs the library's parser and returns the helper that decided.
Helper Decide(const std::string& text)
{
    std::u16string wide(text.begin(), text.end());
    Helper helper;
    EXPECT_EQ(ParseNumeral(reinterpret_cast<const WCHAR*>(wide.c_str()), helper), QN_NUMERAL_SUCCESS) << text;
    return helper;
}

// Decimal and octal integers are judged as signed values, hexadecimal ones by
// the digits written; reals fit single or double precision.
TEST(NumeralHelper, TypeDecisionsAtEveryLimit)
{
    const std::string zeros38 = "0." + std::string(38, '0');
    const std::string zeros39 = "0." + std::string(39, '0');
    const Decision cases[] = {
        {"0", QNDT_INT8, 0},
        {"127", QNDT_INT8, 0},
        {"128", QNDT_INT16, 0},
        {"-128", QNDT_INT8, 0},
        {"-129", QNDT_INT16, 0},
        {"32767", QNDT_INT16, 0},
        {"32768", QNDT_INT32, 0},
        {"-32768", QNDT_INT16, 0},
        {"-32769", QNDT_INT32, 0},
        {"2147483647", QNDT_INT32, 0},
        {"2147483648", QNDT_INT64, QN_ERR_OUTOFRANGE},
        {"-2147483648", QNDT_INT32, 0},
        {"-2147483649", QNDT_INT64, QN_ERR_OUTOFRANGE},
        {"2147483648L", QNDT_INT64, 0},
        {"-1l", QNDT_INT64, 0},
        {"9223372036854775807L", QNDT_INT64, 0},
        {"9223372036854775808L", QNDT_INT64, QN_ERR_OUTOFRANGE},
        {"-9223372036854775808L", QNDT_INT64, 0},
        {"-9223372036854775809L", QNDT_INT64, QN_ERR_OUTOFRANGE},
        {"9223372036854775808", QNDT_INT64, QN_ERR_OUTOFRANGE},
        {"0xFF", QNDT_INT8, 0},
        {"0xff", QNDT_INT8, 0},
        {"0x100", QNDT_INT16, 0},
        {"0x0FF", QNDT_INT16, 0},
        {"0x00FF", QNDT_INT16, 0},
        {"0xFFFF", QNDT_INT16, 0},
        {"0x10000", QNDT_INT32, 0},
        {"0xFFFFFFFF", QNDT_INT32, 0},
        {"0x100000000", QNDT_INT64, QN_ERR_OUTOFRANGE},
        {"0x100000000L", QNDT_INT64, 0},
        {"0xFFFFFFFFFFFFFFFFL", QNDT_INT64, 0},
        {"0x0FFFFFFFFFFFFFFFFL", QNDT_INT64, QN_ERR_OUTOFRANGE},
        {"-0x80", QNDT_INT8, 0},
        {"-0x81", QNDT_INT16, 0},
        {"-0x8000", QNDT_INT16, 0},
        {"-0x8001", QNDT_INT32, 0},
        {"-0x80000000", QNDT_INT32, 0},
        {"-0x80000001", QNDT_INT64, QN_ERR_OUTOFRANGE},
        {"-0x8000000000000000L", QNDT_INT64, 0},
        {"-0x8000000000000001L", QNDT_INT64, QN_ERR_OUTOFRANGE},
        {"0377", QNDT_INT8, 0},
        {"0400", QNDT_INT16, 0},
        {"0177777", QNDT_INT16, 0},
        {"0200000", QNDT_INT32, 0},
        {"037777777777", QNDT_INT32, 0},
        {"040000000000", QNDT_INT64, QN_ERR_OUTOFRANGE},
        {"-0200", QNDT_INT8, 0},
        {"-0201", QNDT_INT16, 0},
        {"-020000000000", QNDT_INT32, 0},
        {"01777777777777777777777L", QNDT_INT64, 0},
        {"02000000000000000000000L", QNDT_INT64, QN_ERR_OUTOFRANGE},
        {"-01000000000000000000000L", QNDT_INT64, 0},
        {"-01000000000000000000001L", QNDT_INT64, QN_ERR_OUTOFRANGE},
        {"1.5", QNDT_FLOAT, 0},
        {"1.5d", QNDT_FLOAT, 0},
        {"-0.5", QNDT_FLOAT, 0},
        {"3.4028e38", QNDT_FLOAT, 0},
        {"340.28e36", QNDT_FLOAT, 0},
        {"1.1754e-38", QNDT_FLOAT, 0},
        {"0.011754e-36", QNDT_FLOAT, 0},
        {"3.40282e38", QNDT_DOUBLE, 0},
        {"340.282e36", QNDT_DOUBLE, 0},
        {"1e39", QNDT_DOUBLE, 0},
        {"1e-39", QNDT_DOUBLE, 0},
        {"1.1753e-38", QNDT_DOUBLE, 0},
        {"3.40282e38f", QNDT_DOUBLE, QN_ERR_OUTOFRANGE},
        {"1e-39F", QNDT_DOUBLE, QN_ERR_OUTOFRANGE},
        {"1.8e308", QNDT_DOUBLE, QN_ERR_OUTOFRANGE},
        {"1.7976931348623157e308", QNDT_DOUBLE, 0},
        {"1.79769313486231571e308", QNDT_DOUBLE, QN_ERR_OUTOFRANGE},
        {"1e309", QNDT_DOUBLE, QN_ERR_OUTOFRANGE},
        {"4.94065645841246544e-324", QNDT_DOUBLE, 0},
        {"4.95e-324", QNDT_DOUBLE, 0},
        {"4.9e-324", QNDT_DOUBLE, QN_ERR_OUTOFRANGE}, // a prefix of the limit sorts below it
        {"1e-325", QNDT_DOUBLE, QN_ERR_OUTOFRANGE},
        {"1e-1234", QNDT_FLOAT, QN_ERR_OUTOFRANGE},
        {"1e00001", QNDT_FLOAT, QN_ERR_OUTOFRANGE},
        {"1e-999", QNDT_DOUBLE, QN_ERR_OUTOFRANGE},
        {"0e400", QNDT_DOUBLE, QN_ERR_OUTOFRANGE},
        {zeros38.c_str(), QNDT_FLOAT, 0},
        {zeros39.c_str(), QNDT_DOUBLE, 0},
    };
    for (const Decision& c : cases) {
        const Helper h = Decide(c.text);
        EXPECT_EQ(h.Error(), c.error) << c.text;
        EXPECT_EQ(h.GetDataType(), c.type) << c.text;
    }
}

TEST(NumeralHelper, IntegerValueIsSaturatedAndSigned)
{
    const struct {
        const char* text;
        LONG value;
    } cases[] = {
        {"-25", -25},          {"0x7FFFFFFF", 2147483647}, {"0x80000000", 2147483647}, {"99999999999", 2147483647},
        {"-2147483648", -2147483647}, {"0177", 127},       {"1.5", 0},                 {"true", 0},
        {"'a'", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decide(c.text).m_lIntegerValue, c.value) << c.text;
}

// --- The members one by one ------------------------------------------------------

TEST(NumeralHelper, SettersCollectTheTextsAndResetTheNumber)
{
    Helper h;
    EXPECT_EQ(h.NumberAppend('1'), &h.m_bstrNumber);
    h.NumberAppend('2');
    h.m_bMinusSign = true;
    h.SetDataType(QNDT_INT8);
    h.SetIntegerPart();
    EXPECT_EQ(h.m_bstrIntegerPart, _T("12"));
    EXPECT_TRUE(h.m_bstrNumber.IsEmpty());
    EXPECT_EQ(h.GetDataType(), QNDT_UNKNOWN);
    EXPECT_FALSE(h.m_bMinusSign);

    h.NumberAppend('5');
    h.SetFloat(h.GetIntegerPart(), h.GetNumber());
    EXPECT_EQ(h.m_bstrReal, _T("12.5"));
    EXPECT_TRUE(h.m_bstrNumber.IsEmpty());

    h.NumberAppend('7');
    h.SetExponent('+', h.GetNumber());
    EXPECT_EQ(h.m_bstrExponent, _T("-7")); // the sign argument is not looked at
    h.NumberAppend('8');
    h.SetExponent(h.GetNumber());
    EXPECT_EQ(h.m_bstrExponent, _T("8"));

    h.SetNumber(h.GetReal());
    EXPECT_EQ(h.m_bstrNumber, _T("12.5"));
    h.SetReal(h.GetNumber());
    EXPECT_EQ(h.m_bstrReal, _T("12.5"));
    EXPECT_TRUE(h.m_bstrNumber.IsEmpty());
    h.SetReal(h.GetReal()); // its own text: kept
    EXPECT_EQ(h.m_bstrReal, _T("12.5"));
    h.SetNumber(nullptr);
    EXPECT_TRUE(h.m_bstrNumber.IsEmpty());
}

TEST(NumeralHelper, SignAndErrorFlags)
{
    Helper h;
    h.SetIntegerValue(40000);
    h.SetMinusSign();
    EXPECT_TRUE(h.m_bMinusSign);
    EXPECT_EQ(h.m_lIntegerValue, -40000);
    h.ReportError(QN_ERR_OUTOFRANGE);
    EXPECT_EQ(h.Error(), QN_ERR_OUTOFRANGE);
    EXPECT_FALSE(h.m_bMinusSign);
    h.SyntaxError();
    EXPECT_EQ(h.Error(), QN_ERR_OUTOFRANGE);
    h.SetIntegerValue(-2147483647 - 1);
    h.SetMinusSign(); // no positive counterpart: wraps, never traps
    EXPECT_EQ(h.m_lIntegerValue, -2147483647 - 1);
}

TEST(NumeralHelper, IntegerDecisionConsumesTheNumber)
{
    Helper h;
    h.SetNumberType(2); // a radix without limits
    h.NumberAppend('1');
    EXPECT_EQ(h.IntegerLiteral(), QNDT_INT64);
    EXPECT_EQ(h.Error(), 0);
    EXPECT_TRUE(h.m_bstrNumber.IsEmpty());

    Helper empty;
    empty.SetNumberType(10);
    EXPECT_EQ(empty.IntegerLiteral(), QNDT_INT8);
}

TEST(NumeralHelper, RealDecisionConsumesTheTexts)
{
    Helper h = Decide("12.5e-3");
    EXPECT_TRUE(h.m_bstrNumber.IsEmpty());
    EXPECT_TRUE(h.m_bstrIntegerPart.IsEmpty());
    EXPECT_TRUE(h.m_bstrReal.IsEmpty());
    EXPECT_TRUE(h.m_bstrExponent.IsEmpty());

    // A five-character exponent ends the decision at once: the texts stay.
    Helper longExponent;
    longExponent.m_bstrReal = _T("1");
    longExponent.m_bstrExponent = _T("-1234");
    longExponent.m_bstrNumber = _T("-1234D");
    EXPECT_EQ(longExponent.FloatLiteral(), QNDT_FLOAT);
    EXPECT_EQ(longExponent.Error(), QN_ERR_OUTOFRANGE);
    EXPECT_TRUE(longExponent.m_bstrNumber.IsEmpty());
    EXPECT_EQ(longExponent.m_bstrReal, _T("1"));

    Helper fresh; // nothing collected: a zero-size mantissa is neither range's end
    EXPECT_EQ(fresh.FloatLiteral(), QNDT_FLOAT);
    EXPECT_EQ(fresh.Error(), 0);
}

TEST(NumeralHelper, CopiesAreDeep)
{
    Helper h;
    h.NumberAppend('4');
    h.m_bstrIntegerPart = _T("12");
    h.m_bstrReal = _T("12.5");
    h.m_bstrExponent = _T("-3");
    h.SetNumberType(16);
    h.SetDataType(QNDT_INT16);
    h.SetIntegerValue(-9);
    h.ReportError(QN_ERR_OUTOFRANGE);

    const Helper copy(h);
    Helper assigned;
    assigned.m_bstrReal = _T("old");
    assigned = h;
    for (const Helper* other : std::initializer_list<const Helper*>{&copy, &assigned}) {
        EXPECT_EQ(other->m_bstrNumber, _T("4"));
        EXPECT_EQ(other->m_bstrIntegerPart, _T("12"));
        EXPECT_EQ(other->m_bstrReal, _T("12.5"));
        EXPECT_EQ(other->m_bstrExponent, _T("-3"));
        EXPECT_EQ(other->m_nNumberType, 16);
        EXPECT_EQ(other->GetDataType(), QNDT_INT16);
        EXPECT_EQ(other->m_lIntegerValue, -9);
        EXPECT_EQ(other->Error(), QN_ERR_OUTOFRANGE);
        // Each text has a block of its own.
        EXPECT_NE(static_cast<LPCWSTR>(other->m_bstrNumber), static_cast<LPCWSTR>(h.m_bstrNumber));
        EXPECT_NE(static_cast<LPCWSTR>(other->m_bstrReal), static_cast<LPCWSTR>(h.m_bstrReal));
    }
    h.NumberAppend('2');
    EXPECT_EQ(copy.m_bstrNumber, _T("4"));
    assigned = assigned;
    EXPECT_EQ(assigned.m_bstrReal, _T("12.5"));
}

// Property: for any decimal integer of up to 25 digits, with or without a
// minus sign and the suffix, the type is the narrowest signed width that holds
// the value (the suffix asks for 64 bits), and 20 digits are always too many.
TEST(NumeralHelper, DecimalTypeMatchesTheValue)
{
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (int round = 0; round < 3000; ++round) {
        const int length = 1 + static_cast<int>(next() % 25);
        std::string digits(1, static_cast<char>('1' + next() % 9));
        for (int i = 1; i < length; ++i)
            digits += static_cast<char>('0' + next() % 10);
        if (next() % 3 == 0) // many short ones: the 8- and 16-bit limits
            digits.resize(std::min<size_t>(digits.size(), 1 + next() % 3));
        const bool minus = next() % 2;
        const bool suffix = next() % 4 == 0;
        unsigned __int128 value = 0;
        for (char d : digits)
            value = value * 10 + static_cast<unsigned>(d - '0');
        const auto fits = [&](int bits) {
            const unsigned __int128 max = (static_cast<unsigned __int128>(1) << (bits - 1)) - (minus ? 0 : 1);
            return value <= max;
        };
        QNDataType type = QNDT_INT64;
        int error = 0;
        if (digits.size() > 19 || !fits(64))
            error = QN_ERR_OUTOFRANGE;
        else if (suffix)
            type = QNDT_INT64;
        else if (fits(8))
            type = QNDT_INT8;
        else if (fits(16))
            type = QNDT_INT16;
        else if (fits(32))
            type = QNDT_INT32;
        else
            error = QN_ERR_OUTOFRANGE;
        const std::string text = (minus ? "-" : "") + digits + (suffix ? "L" : "");
        const Helper h = Decide(text);
        ASSERT_EQ(h.Error(), error) << text;
        ASSERT_EQ(h.GetDataType(), type) << text;
    }
}

} // namespace
