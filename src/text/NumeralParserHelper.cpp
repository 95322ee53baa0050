// CQNUtility::CNumeralParserHelper: the texts of a literal and the decision of
// its data type. The type follows the characters written, not the value: the
// digits are compared as text against the limits of each width.
#include <QNNumeral.h>
#include <QNResult.h>

#include <afx/afx.h>

#include "common/AsciiText.h"
#include "text/NumeralLimits.h"

namespace {

using Helper = CQNUtility::CNumeralParserHelper;

// Room reserved when the number starts, so that a literal of ordinary length
// is collected in one block.
constexpr int kNumberReserve = 24;

// A copy with a block of its own (CString copies share their block otherwise).
CString DeepCopy(const CString& text) { return CString(static_cast<LPCWSTR>(text), text.GetLength()); }

// Upper case of the digits and letters of a number: ASCII only, no locale.
CString AsciiUpper(const CString& text)
{
    CString upper = DeepCopy(text);
    const int length = upper.GetLength();
    for (int i = 0; i < length; ++i) {
        upper.SetAt(i, qn::ascii::ToUpper(upper.GetAt(i)));
    }
    return upper;
}

using qn::numeral::IntegerLimit;
using qn::numeral::IntegerLimits;
using qn::numeral::kIntegerLimits;

// t fits the limit: fewer characters, or as many and not greater (ordinal).
bool Fits(const CString& t, const IntegerLimit& limit)
{
    return t.GetLength() < limit.length || (t.GetLength() == limit.length && t.Compare(limit.limit) <= 0);
}

// The decimal value of an exponent text of at most four characters: an
// optional '-' and digits.
int ExponentValue(const CString& text)
{
    int i = 0;
    const bool negative = text.GetAt(0) == '-';
    if (negative)
        i = 1;
    int value = 0;
    for (; i < text.GetLength(); ++i) {
        const WCHAR ch = text.GetAt(i);
        if (!qn::ascii::IsDigit(ch))
            break;
        value = value * 10 + (ch - '0');
    }
    return negative ? -value : value;
}

} // namespace

// --- Construction ---------------------------------------------------------------

// The radix and the type are always written before they are read; they start
// defined all the same, so that a copy never reads an indeterminate value.
Helper::CNumeralParserHelper()
    : m_nNumberType(0), m_eDataType(QNDT_UNKNOWN), m_bMinusSign(false), m_nError(0), m_lIntegerValue(0)
{
}

Helper::CNumeralParserHelper(const CNumeralParserHelper& other)
    : m_bstrNumber(DeepCopy(other.m_bstrNumber)),
      m_nNumberType(other.m_nNumberType),
      m_bstrIntegerPart(DeepCopy(other.m_bstrIntegerPart)),
      m_bstrReal(DeepCopy(other.m_bstrReal)),
      m_bstrExponent(DeepCopy(other.m_bstrExponent)),
      m_eDataType(other.m_eDataType),
      m_bMinusSign(other.m_bMinusSign),
      m_nError(other.m_nError),
      m_lIntegerValue(other.m_lIntegerValue)
{
}

Helper& Helper::operator=(const CNumeralParserHelper& other)
{
    if (this == &other)
        return *this;
    m_bstrNumber = DeepCopy(other.m_bstrNumber);
    m_nNumberType = other.m_nNumberType;
    m_bstrIntegerPart = DeepCopy(other.m_bstrIntegerPart);
    m_bstrReal = DeepCopy(other.m_bstrReal);
    m_bstrExponent = DeepCopy(other.m_bstrExponent);
    m_eDataType = other.m_eDataType;
    m_bMinusSign = other.m_bMinusSign;
    m_nError = other.m_nError;
    m_lIntegerValue = other.m_lIntegerValue;
    return *this;
}

Helper::~CNumeralParserHelper() = default;

// --- Collecting the texts -------------------------------------------------------

void Helper::ResetNumber()
{
    m_bstrNumber.Empty();
    m_eDataType = QNDT_UNKNOWN;
    m_bMinusSign = false;
}

CString* Helper::NumberAppend(WCHAR ch)
{
    try {
        if (m_bstrNumber.IsEmpty()) {
            m_bstrNumber.GetBuffer(kNumberReserve);
            m_bstrNumber.ReleaseBuffer(0);
        }
        m_bstrNumber += ch;
    } catch (CMemoryException* e) {
        // The character is dropped; the number keeps what it had.
        e->Delete();
    }
    return &m_bstrNumber;
}

void Helper::SetNumber(const CString* pText)
{
    if (pText != &m_bstrNumber)
        m_bstrNumber = pText ? *pText : CString();
}

void Helper::SetIntegerPart()
{
    m_bstrIntegerPart = m_bstrNumber;
    ResetNumber();
}

void Helper::SetFloat(const CString* pIntegerPart, const CString* pFraction)
{
    CString real = pIntegerPart ? *pIntegerPart : CString();
    real += _T('.');
    if (pFraction)
        real += *pFraction;
    m_bstrReal = real;
    ResetNumber();
}

void Helper::SetReal(const CString* pText)
{
    if (pText != &m_bstrReal)
        m_bstrReal = pText ? *pText : CString();
    ResetNumber();
}

void Helper::SetExponent(const CString* pText)
{
    if (pText != &m_bstrExponent)
        m_bstrExponent = pText ? *pText : CString();
    ResetNumber();
}

void Helper::SetExponent(WCHAR /*chSign*/, const CString* pText)
{
    CString exponent(_T('-'));
    if (pText)
        exponent += *pText;
    m_bstrExponent = exponent;
    ResetNumber();
}

void Helper::SetMinusSign()
{
    m_bMinusSign = true;
    // Wraps for the one value without a positive counterpart (never produced
    // by the parser, whose values are saturated at 2147483647).
    m_lIntegerValue = static_cast<LONG>(0u - static_cast<ULONG>(m_lIntegerValue));
}

// --- Decisions ------------------------------------------------------------------

QNDataType Helper::IntegerLiteral()
{
    CString t = AsciiUpper(m_bstrNumber);
    m_bstrNumber.Empty();
    bool suffix = false;
    if (t.GetLength() > 0 && t.GetAt(t.GetLength() - 1) == 'L') {
        t = t.Left(t.GetLength() - 1);
        suffix = true;
    }
    const IntegerLimits* row = nullptr;
    for (const IntegerLimits& candidate : kIntegerLimits) {
        if (candidate.radix == m_nNumberType && candidate.minus == m_bMinusSign)
            row = &candidate;
    }
    if (!row)
        return QNDT_INT64;
    if (!Fits(t, row->bits64)) {
        m_nError = QN_ERR_OUTOFRANGE;
        return QNDT_INT64;
    }
    if (Fits(t, row->bits8))
        return suffix ? QNDT_INT64 : QNDT_INT8;
    if (Fits(t, row->bits16))
        return suffix ? QNDT_INT64 : QNDT_INT16;
    if (Fits(t, row->bits32))
        return suffix ? QNDT_INT64 : QNDT_INT32;
    if (!suffix)
        m_nError = QN_ERR_OUTOFRANGE;
    return QNDT_INT64;
}

QNDataType Helper::FloatLiteral()
{
    QNDataType result = QNDT_FLOAT;
    const CString number = AsciiUpper(m_bstrNumber);
    m_bstrNumber.Empty();
    // 'D', written or not, acts as no suffix; only 'F' matters.
    const bool suffixF = number.GetLength() > 0 && number.GetAt(number.GetLength() - 1) == 'F';

    // The mantissa m and the exponent e, normalised below to one digit before
    // the dot ("123.456" -> "1.23456" with e + 2).
    CString m = DeepCopy(m_bstrReal);
    int e = 0;
    if (!m_bstrExponent.IsEmpty()) {
        // security: more than four characters could overflow; it is out of range anyway.
        if (m_bstrExponent.GetLength() > qn::numeral::kMaxExponentText) {
            m_nError = QN_ERR_OUTOFRANGE;
            return QNDT_FLOAT;
        }
        e = ExponentValue(m_bstrExponent);
    }
    // Leading zeros count as orders of magnitude: "0.00123" -> "1.23", e - 3.
    while (m.GetAt(0) == '0' && m.GetLength() > 3) {
        m = CString(m.GetAt(2)) + _T(".") + m.Mid(3);
        --e;
    }
    // An empty mantissa (a helper used without a parse) is left as it is.
    const int dot = m.Find(_T('.'));
    if (dot > 1) {
        e += dot - 1;
        m = CString(m.GetAt(0)) + _T(".") + m.Mid(1, dot - 1) + m.Mid(dot + 1);
    } else if (dot < 0 && !m.IsEmpty()) {
        e += m.GetLength() - 1;
        m = CString(m.GetAt(0)) + _T(".") + m.Mid(1);
    }

    using namespace qn::numeral;
    if (e > kFloatMaxExponent || (e == kFloatMaxExponent && m.Compare(kFloatMaxMantissa) > 0) ||
        e < -kFloatMaxExponent || (e == -kFloatMaxExponent && m.Compare(kFloatMinMantissa) < 0)) {
        result = QNDT_DOUBLE;
        m_nError = QN_ERR_OUTOFRANGE;
    }
    if (m_nError == QN_ERR_OUTOFRANGE && !suffixF) {
        result = QNDT_DOUBLE;
        m_nError = 0;
        if (e > kDoubleMaxExponent || (e == kDoubleMaxExponent && m.Compare(kDoubleMaxMantissa) > 0) ||
            e < kDoubleMinExponent || (e == kDoubleMinExponent && m.Compare(kDoubleMinMantissa) < 0))
            m_nError = QN_ERR_OUTOFRANGE;
    }
    m_bstrNumber.Empty();
    m_bstrIntegerPart.Empty();
    m_bstrReal.Empty();
    m_bstrExponent.Empty();
    return result;
}
