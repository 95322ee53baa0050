// Direct reading of the common literal shapes, ahead of the numeral parser.
//
// Type detection runs on every keystroke of a property field and on every
// constant of a loaded project, and nearly every text it sees is one of a few
// shapes: a decimal, hexadecimal or octal integer with an optional 'L', a real
// with an optional exponent and 'F' or 'D', "true" or "false", or a character
// constant, with white space around it. ScanCommonLiteral reads those shapes in
// one pass over the text, with no allocation, and decides exactly what the
// parser and its helper decide for the same text: the data type, the helper's
// integer value (saturated, negated after a minus sign) and the line and column
// the parse stops at. It answers only for texts the parser accepts without a
// range error; anything else (a syntax error, a range error, a real longer
// than kMaxRealText) it leaves to the parser, which also writes the diagnostic.
//
// The decisions are the helper's own, on the same texts: the integer digits as
// written (hexadecimal ones upper-cased) against kIntegerLimits, and the
// mantissa normalised with the helper's steps (including their quirks: "0.05"
// becomes "0.5" with exponent -1) against the real limits. Header-only, so the
// tests and the fuzz target compare it with the parser directly.
#pragma once

#include <QNNumeral.h>

#include "common/AsciiText.h"
#include "text/NumeralLimits.h"

#include <cstdint>

namespace qn::numeral {

// What a successful parse of the text leaves behind.
struct CommonLiteral {
    QNDataType type;
    LONG value; // the helper's m_lIntegerValue
    int line;   // the position GetNumeralParserMessage reports, from 1
    int column;
};

// Mantissa texts up to this length are normalised in a buffer on the stack;
// longer reals go to the parser.
inline constexpr int kMaxRealText = 40;

namespace fast {

enum : uint8_t {
    kDigit = 1,  // '0'..'9'
    kOctal = 2,  // '0'..'7'
    kHex = 4,    // '0'..'9', 'A'..'F', 'a'..'f'
    kBlank = 8,  // what the parser skips around a literal: space, tab, FF, LF, CR
    kNoStep = 16 // a character that does not move the column: CR and FF (LF starts a line)
};

constexpr uint8_t ClassOf(int ch)
{
    uint8_t flags = 0;
    if (qn::ascii::IsDigit(ch))
        flags |= kDigit;
    if (qn::ascii::IsOctalDigit(ch))
        flags |= kOctal;
    if (qn::ascii::IsHexDigit(ch))
        flags |= kHex;
    if (ch == ' ' || ch == '\t' || ch == '\f' || ch == '\n' || ch == '\r')
        flags |= kBlank;
    if (ch == '\r' || ch == '\f')
        flags |= kNoStep;
    return flags;
}

struct ClassTable {
    uint8_t flags[128];
    constexpr ClassTable() : flags()
    {
        for (int ch = 0; ch < 128; ++ch)
            flags[ch] = ClassOf(ch);
    }
};
inline constexpr ClassTable kClasses;
static_assert(kClasses.flags[int{'7'}] == (kDigit | kOctal | kHex) && kClasses.flags[int{'f'}] == kHex &&
                  kClasses.flags[int{'\r'}] == (kBlank | kNoStep) && kClasses.flags[int{'x'}] == 0,
              "character classes of the direct reading");

inline bool Is(WCHAR ch, uint8_t flag) { return ch < 128 && (kClasses.flags[ch] & flag); }

// The parser's saturation at the largest 32-bit integer.
inline int32_t Accumulate(int32_t value, int radix, int32_t digit)
{
    const int64_t next = int64_t{value} * radix + digit;
    return next > 2147483647 ? 2147483647 : static_cast<int32_t>(next);
}

// Steps over blanks the way the parser counts them: LF starts a line, CR and
// FF leave the column alone, everything else moves it by one.
inline const WCHAR* SkipBlanks(const WCHAR* p, int& line, int& column)
{
    for (; Is(*p, kBlank); ++p) {
        if (*p == '\n') {
            ++line;
            column = 1;
        } else if (!Is(*p, kNoStep)) {
            ++column;
        }
    }
    return p;
}


// The helper's Fits on the digits [digits, digits + count), upper-cased.
inline bool Fits(const WCHAR* digits, int count, const IntegerLimit& limit)
{
    if (count != limit.length)
        return count < limit.length;
    for (int i = 0; i < count; ++i) {
        const WCHAR ch = qn::ascii::ToUpper(digits[i]);
        if (ch != limit.limit[i])
            return ch < limit.limit[i];
    }
    return true;
}

// The helper's IntegerLiteral; false for a range error.
inline bool IntegerType(int radix, bool minus, const WCHAR* digits, int count, bool suffix, QNDataType& type)
{
    const int row = (radix == 10 ? 0 : radix == 8 ? 2 : 4) + (minus ? 1 : 0);
    const IntegerLimits& limits = kIntegerLimits[row];
    if (!Fits(digits, count, limits.bits64))
        return false;
    if (Fits(digits, count, limits.bits8))
        type = suffix ? QNDT_INT64 : QNDT_INT8;
    else if (Fits(digits, count, limits.bits16))
        type = suffix ? QNDT_INT64 : QNDT_INT16;
    else if (Fits(digits, count, limits.bits32))
        type = suffix ? QNDT_INT64 : QNDT_INT32;
    else if (suffix)
        type = QNDT_INT64;
    else
        return false;
    return true;
}

// CString::Compare of the mantissa with a limit: ordinal, then by length.
inline int CompareMantissa(const WCHAR* m, int length, LPCWSTR limit)
{
    int i = 0;
    for (; i < length && limit[i]; ++i) {
        if (m[i] != limit[i])
            return m[i] < limit[i] ? -1 : 1;
    }
    if (i < length)
        return 1;
    return limit[i] ? -1 : 0;
}

// The helper's FloatLiteral on the mantissa text m (length characters, in a
// buffer with room for one more) and the exponent's value; false for a range
// error.
inline bool RealType(WCHAR* m, int length, int e, bool suffixF, QNDataType& type)
{
    // Leading zeros count as orders of magnitude: "0.00123" -> "1.23", e - 3.
    while (m[0] == '0' && length > 3) {
        m[1] = m[2];
        m[2] = '.';
        ++m;
        --length;
        --e;
    }
    int dot = -1;
    for (int i = 0; i < length; ++i) {
        if (m[i] == '.') {
            dot = i;
            break;
        }
    }
    if (dot > 1) {
        e += dot - 1;
        for (int i = dot; i > 1; --i)
            m[i] = m[i - 1];
        m[1] = '.';
    } else if (dot < 0) {
        e += length - 1;
        for (int i = length; i > 1; --i)
            m[i] = m[i - 1];
        m[1] = '.';
        ++length;
    }

    QNDataType result = QNDT_FLOAT;
    bool error = false;
    if (e > kFloatMaxExponent || (e == kFloatMaxExponent && CompareMantissa(m, length, kFloatMaxMantissa) > 0) ||
        e < -kFloatMaxExponent || (e == -kFloatMaxExponent && CompareMantissa(m, length, kFloatMinMantissa) < 0)) {
        result = QNDT_DOUBLE;
        error = true;
    }
    if (error && !suffixF) {
        error = e > kDoubleMaxExponent ||
                (e == kDoubleMaxExponent && CompareMantissa(m, length, kDoubleMaxMantissa) > 0) ||
                e < kDoubleMinExponent ||
                (e == kDoubleMinExponent && CompareMantissa(m, length, kDoubleMinMantissa) < 0);
    }
    type = result;
    return !error;
}

// A real from its integer digits on: [intBegin, p) are the integer part's
// digits ("0" or no leading zero), and *p is '.', 'E' or 'e'.
inline const WCHAR* ScanReal(const WCHAR* intBegin, const WCHAR* p, QNDataType& type)
{
    const WCHAR* const intEnd = p;
    const WCHAR* fracBegin = p;
    const WCHAR* fracEnd = p;
    if (*p == '.') {
        fracBegin = ++p;
        while (Is(*p, kDigit))
            ++p;
        fracEnd = p;
    }
    int e = 0;
    if (*p == 'E' || *p == 'e') {
        ++p;
        const bool negative = *p == '-';
        if (*p == '+' || *p == '-')
            ++p;
        const WCHAR* const expBegin = p;
        while (Is(*p, kDigit))
            ++p;
        const int digits = static_cast<int>(p - expBegin);
        if (digits == 0 || digits + (negative ? 1 : 0) > kMaxExponentText)
            return nullptr;
        for (const WCHAR* d = expBegin; d != p; ++d)
            e = e * 10 + (*d - '0');
        if (negative)
            e = -e;
    }
    // 'D', written or not, acts as no suffix; only 'F' matters.
    const bool suffixF = *p == 'F' || *p == 'f';
    if (suffixF || *p == 'D' || *p == 'd')
        ++p;

    // The mantissa as the helper holds it: "12.5" with a fraction, else the
    // integer digits alone ("12." and "12e3" both give "12").
    const int intLength = static_cast<int>(intEnd - intBegin);
    const int fracLength = static_cast<int>(fracEnd - fracBegin);
    const int length = fracLength ? intLength + 1 + fracLength : intLength;
    if (length > kMaxRealText)
        return nullptr;
    WCHAR m[kMaxRealText + 1];
    for (int i = 0; i < intLength; ++i)
        m[i] = intBegin[i];
    if (fracLength) {
        m[intLength] = '.';
        for (int i = 0; i < fracLength; ++i)
            m[intLength + 1 + i] = fracBegin[i];
    }
    return RealType(m, length, e, suffixF, type) ? p : nullptr;
}

// A number from its first digit; null where the parser is to decide.
inline const WCHAR* ScanNumber(const WCHAR* p, bool minus, CommonLiteral& result)
{
    const WCHAR* digits = p;
    int radix = 10;
    int32_t value = 0;
    if (*p == '0') {
        ++p;
        if (*p == 'x' || *p == 'X') {
            digits = ++p;
            radix = 16;
            for (; Is(*p, kHex); ++p)
                value = Accumulate(value, 16, qn::ascii::HexDigitValue(*p));
            if (p == digits)
                return nullptr;
        } else if (Is(*p, kOctal)) {
            // The '0' that marks an octal literal is not one of its digits.
            digits = p;
            radix = 8;
            if (*p == '0')
                return nullptr; // "00" is no literal
            for (; Is(*p, kOctal); ++p)
                value = Accumulate(value, 8, *p - '0');
        } else if (*p == '.' || *p == 'E' || *p == 'e') {
            return ScanReal(digits, p, result.type);
        }
    } else {
        for (; Is(*p, kDigit); ++p)
            value = Accumulate(value, 10, *p - '0');
        if (*p == '.' || *p == 'E' || *p == 'e')
            return ScanReal(digits, p, result.type);
    }
    const int count = static_cast<int>(p - digits);
    const bool suffix = *p == 'L' || *p == 'l';
    if (suffix)
        ++p;
    if (!IntegerType(radix, minus, digits, count, suffix, result.type))
        return nullptr;
    result.value = minus ? static_cast<LONG>(0u - static_cast<uint32_t>(value)) : value;
    return p;
}

// A character constant from its opening apostrophe. The only error its parse
// can record, an octal escape above 255, goes to the parser.
inline const WCHAR* ScanCharacter(const WCHAR* p, int& column)
{
    ++p;
    const WCHAR element = *p;
    if (element == 0 || element == '\'' || element == '\n' || element == '\r')
        return nullptr;
    ++p;
    if (element == '\\') {
        const WCHAR escape = *p++;
        switch (escape) {
        case 'b': case 'f': case 'n': case 'r': case 't': case '\\': case '"': case '\'':
            break;
        case 'u': case 'U': {
            const WCHAR* const hexBegin = p;
            while (p - hexBegin < 4 && Is(*p, kHex))
                ++p;
            if (p == hexBegin)
                return nullptr;
            break;
        }
        default: {
            if (!Is(escape, kOctal))
                return nullptr;
            int octal = escape - '0';
            int count = 1;
            for (; count < 3 && Is(*p, kOctal); ++count, ++p)
                octal = octal * 8 + (*p - '0');
            if (count == 3 && octal > 255)
                return nullptr;
            break;
        }
        }
    } else if (element == '\f') {
        --column; // a form feed is read without moving the column
    }
    return *p == '\'' ? p + 1 : nullptr;
}

inline bool IsKeyword(const WCHAR* p, const char* spelling)
{
    for (; *spelling; ++p, ++spelling) {
        if (*p != static_cast<WCHAR>(*spelling))
            return false;
    }
    return true;
}

} // namespace fast

// Reads a NUL-terminated text (null reads as empty) of one of the common
// shapes; false where the parser must decide.
inline bool ScanCommonLiteral(LPCWSTR text, CommonLiteral& result)
{
    using namespace fast;
    if (!text)
        return false;
    result.line = 1;
    result.column = 1;
    result.value = 0;
    const WCHAR* p = SkipBlanks(text, result.line, result.column);
    const WCHAR* const begin = p;
    int column = result.column;
    if (Is(*p, kDigit)) {
        p = ScanNumber(p, false, result);
    } else if (*p == '-' && Is(p[1], kDigit)) {
        p = ScanNumber(p + 1, true, result);
    } else if (*p == '\'') {
        result.type = QNDT_CHAR;
        p = ScanCharacter(p, column);
    } else if (IsKeyword(p, "true")) {
        result.type = QNDT_BOOL;
        p += 4;
    } else if (IsKeyword(p, "false")) {
        result.type = QNDT_BOOL;
        p += 5;
    } else {
        return false;
    }
    if (!p)
        return false;
    result.column = column + static_cast<int>(p - begin);
    // Blanks and the end of text: a keyword is not followed by a word character.
    p = SkipBlanks(p, result.line, result.column);
    return *p == 0;
}

// Type detection's front: ScanCommonLiteral, and on success the module's
// parser state set as the accepting parse would leave it (no message, the
// final line and column). False where the parser is to run.
bool DetectCommonLiteral(LPCWSTR text, QNDataType& type, LONG& value);

} // namespace qn::numeral
