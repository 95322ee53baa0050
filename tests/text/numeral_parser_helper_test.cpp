// The numeral evaluation helper: the integer and real type decisions with
// their limits, the range errors, the texts and the deep copy.
#include <QNNumeral.h>

#include "Literals.h"
#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>

namespace {

using Helper = CQNUtility::CNumeralParserHelper;

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
TEST(NumeralHelper, DecidesEveryLiteral)
{
    for (const qntest::Literal& c : qntest::kLiterals) {
        const Helper h = Decide(c.text);
        EXPECT_EQ(h.Error(), c.error) << c.text;
        EXPECT_EQ(h.GetDataType(), c.type) << c.text;
        EXPECT_EQ(h.m_lIntegerValue, c.value) << c.text;
    }
    // Zero written with 38 decimals is a float, with 39 a double.
    EXPECT_EQ(Decide("0." + std::string(38, '0')).GetDataType(), QNDT_FLOAT);
    EXPECT_EQ(Decide("0." + std::string(39, '0')).GetDataType(), QNDT_DOUBLE);
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


} // namespace
