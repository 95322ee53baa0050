// The next name of a numbered sequence ("Switch08" -> "Switch09"), with the
// sequence kept in CQNUtility's static state between calls.
//
// Numbers beyond 32 bits: a run of trailing digits whose value does not fit a
// 32-bit integer, or a sum that leaves the 32-bit range, is carried on in
// decimal text of any length, so "Tag99999999999" is followed by
// "Tag100000000000" and the sequence never wraps or stalls. Digits of other
// scripts are folded to '0'..'9' first; digits that still cannot be read
// count as 0.
#include <QNUtilityClass.h>

#include "common/AsciiText.h"
#include "text/SequencePlatform.h"

#include <climits>
#include <string>

using qn::text::FindTrailingDigits;
using qn::text::FoldDigits;
using qn::text::ReadInt32;
using qn::text::WriteInt32;

namespace {

// A decimal magnitude as ASCII digits, most significant first, no leading zeros ("0" for zero).
using Magnitude = std::string;

Magnitude MagnitudeOf(unsigned long long value) { return std::to_string(value); }

int CompareMagnitudes(const Magnitude& a, const Magnitude& b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a.compare(b) > 0 ? 1 : 0);
}

Magnitude AddMagnitudes(const Magnitude& a, const Magnitude& b)
{
    Magnitude sum;
    int carry = 0;
    for (size_t i = 0; i < a.size() || i < b.size() || carry; ++i) {
        int digit = carry;
        if (i < a.size())
            digit += a[a.size() - 1 - i] - '0';
        if (i < b.size())
            digit += b[b.size() - 1 - i] - '0';
        sum.push_back(char('0' + digit % 10));
        carry = digit / 10;
    }
    return Magnitude(sum.rbegin(), sum.rend());
}

// a - b for a >= b.
Magnitude SubtractMagnitudes(const Magnitude& a, const Magnitude& b)
{
    Magnitude difference;
    int borrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int digit = (a[a.size() - 1 - i] - '0') - borrow;
        if (i < b.size())
            digit -= b[b.size() - 1 - i] - '0';
        borrow = digit < 0;
        difference.push_back(char('0' + (digit + 10) % 10));
    }
    while (difference.size() > 1 && difference.back() == '0')
        difference.pop_back();
    return Magnitude(difference.rbegin(), difference.rend());
}

// A decimal text: an optional '-' and at least one digit '0'..'9'. Splits it
// into sign and magnitude.
bool ParseDecimal(const CString& text, bool* negative, Magnitude* magnitude)
{
    const int length = text.GetLength();
    int i = 0;
    *negative = length > 0 && text[0] == _T('-');
    if (*negative)
        ++i;
    if (i == length)
        return false;
    magnitude->clear();
    for (; i < length; ++i) {
        const WCHAR c = text[i];
        if (!qn::ascii::IsDigit(c))
            return false;
        if (!magnitude->empty() || c != _T('0'))
            magnitude->push_back(char(c));
    }
    if (magnitude->empty())
        magnitude->push_back('0');
    return true;
}

CString DecimalText(bool negative, const Magnitude& magnitude)
{
    CString text;
    if (negative && magnitude != "0")
        text += _T('-');
    for (const char c : magnitude)
        text += WCHAR(c);
    return text;
}

// The decimal text plus the increment, at any length.
CString AddBeyond32Bits(bool negative, const Magnitude& magnitude, int increment)
{
    const bool incrementNegative = increment < 0;
    const Magnitude step =
        MagnitudeOf(incrementNegative ? 0ULL - static_cast<unsigned long long>(increment) : unsigned(increment));
    if (negative == incrementNegative)
        return DecimalText(negative, AddMagnitudes(magnitude, step));
    if (CompareMagnitudes(magnitude, step) >= 0)
        return DecimalText(negative, SubtractMagnitudes(magnitude, step));
    return DecimalText(incrementNegative, SubtractMagnitudes(step, magnitude));
}

CString Int32Text(LONG value)
{
    CString text;
    if (FAILED(WriteInt32(value, text)))
        text = DecimalText(value < 0, MagnitudeOf(value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                            : static_cast<unsigned long long>(value)));
    return text;
}

// The text of the number in `number` plus `increment`.
CString NextNumber(const CString& number, int increment)
{
    CString digits = number;
    FoldDigits(digits);
    LONG value = 0;
    if (SUCCEEDED(ReadInt32(digits, &value))) {
        const long long sum = static_cast<long long>(value) + increment;
        if (sum >= INT_MIN && sum <= INT_MAX)
            return Int32Text(static_cast<LONG>(sum));
        return DecimalText(sum < 0, MagnitudeOf(sum < 0 ? 0ULL - static_cast<unsigned long long>(sum)
                                                        : static_cast<unsigned long long>(sum)));
    }
    bool negative = false;
    Magnitude magnitude;
    if (ParseDecimal(digits, &negative, &magnitude))
        return AddBeyond32Bits(negative, magnitude, increment);
    // Digits that cannot be read count as 0.
    return Int32Text(increment);
}

// printf's "%0<width>d" applied to a number text: zeros after the sign up to
// `width` characters in all.
CString PadWithZeros(const CString& number, int width)
{
    const int missing = width - number.GetLength();
    if (missing <= 0)
        return number;
    const bool negative = !number.IsEmpty() && number[0] == _T('-');
    const int signLength = negative ? 1 : 0;
    return number.Left(signLength) + CString(_T('0'), missing) + number.Mid(signLength);
}

// `text` cut to `count` characters; a count below 0 leaves nothing.
CString LeftClamped(const CString& text, long long count)
{
    if (count <= 0)
        return CString();
    if (count >= text.GetLength())
        return text;
    return text.Left(static_cast<int>(count));
}

} // namespace

// Steps the stored number by the stored increment, keeping its width, and cuts
// the stored name base so that the name fits the greatest length.
static void AdvanceSequence(CString& nameBase, CString& numberBase, int increment, int maxLength)
{
    const int width = numberBase.GetLength();
    CString next = NextNumber(numberBase, increment);
    if (next.GetLength() < width)
        next = PadWithZeros(next, width);
    numberBase = next;
    if (static_cast<long long>(nameBase.GetLength()) + next.GetLength() > maxLength)
        nameBase = LeftClamped(nameBase, static_cast<long long>(maxLength) - next.GetLength());
}

HRESULT CQNUtility::MakeNextSequenceName(CString& strName, int nIncrement, int nMaxLength)
{
    m_nIncrement = nIncrement;
    m_nMaxNameLength = nMaxLength;

    // An empty name has nothing to classify (and some platforms refuse a
    // classification of no characters): it has no trailing digits.
    const int length = strName.GetLength();
    int digitsStart = length;
    if (length > 0 && !FindTrailingDigits(strName, length, &digitsStart))
        return E_UNEXPECTED;
    m_cstrNameBase = strName.Left(digitsStart);
    m_cstrNumberBase = strName.Mid(digitsStart);

    if (!m_cstrNumberBase.IsEmpty()) {
        AdvanceSequence(m_cstrNameBase, m_cstrNumberBase, nIncrement, nMaxLength);
    } else {
        if (static_cast<long long>(m_cstrNameBase.GetLength()) + 2 >= nMaxLength)
            m_cstrNameBase = LeftClamped(m_cstrNameBase, static_cast<long long>(nMaxLength) - 2);
        m_cstrNumberBase.Format(_T("%02d"), nIncrement);
    }
    strName = m_cstrNameBase + m_cstrNumberBase;
    return S_OK;
}

HRESULT CQNUtility::MakeNextSequenceName(CString& strName)
{
    AdvanceSequence(m_cstrNameBase, m_cstrNumberBase, m_nIncrement, m_nMaxNameLength);
    strName = m_cstrNameBase + m_cstrNumberBase;
    return S_OK;
}
