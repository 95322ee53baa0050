// Character classes and integer text of the fixed ASCII forms (keys, colour
// fields, grammar literals). No locale plays a part: only the ASCII letters
// and digits are classified or folded, whatever the character type.
#pragma once

#include <charconv>
#include <climits>
#include <cstddef>
#include <cstdint>

namespace qn::ascii {

template <class Ch> constexpr bool IsDigit(Ch ch) { return ch >= '0' && ch <= '9'; }
template <class Ch> constexpr bool IsOctalDigit(Ch ch) { return ch >= '0' && ch <= '7'; }
template <class Ch> constexpr bool IsUpper(Ch ch) { return ch >= 'A' && ch <= 'Z'; }
template <class Ch> constexpr bool IsLower(Ch ch) { return ch >= 'a' && ch <= 'z'; }
template <class Ch> constexpr bool IsLetter(Ch ch) { return IsUpper(ch) || IsLower(ch); }
// The white space that the C runtime's conversions skip: blank, \t \n \v \f \r.
template <class Ch> constexpr bool IsCSpace(Ch ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

template <class Ch> constexpr Ch ToLower(Ch ch) { return IsUpper(ch) ? static_cast<Ch>(ch - 'A' + 'a') : ch; }
template <class Ch> constexpr Ch ToUpper(Ch ch) { return IsLower(ch) ? static_cast<Ch>(ch - 'a' + 'A') : ch; }

// The value of a hexadecimal digit in either case, or -1.
template <class Ch> constexpr int HexDigitValue(Ch ch)
{
    if (IsDigit(ch))
        return static_cast<int>(ch - '0');
    if (ch >= 'a' && ch <= 'f')
        return static_cast<int>(ch - 'a' + 10);
    if (ch >= 'A' && ch <= 'F')
        return static_cast<int>(ch - 'A' + 10);
    return -1;
}
template <class Ch> constexpr bool IsHexDigit(Ch ch) { return HexDigitValue(ch) >= 0; }

// The C runtime's decimal text-to-int32 conversion (atoi, strtol base 10):
// leading white space, an optional sign, digits up to the first non-digit; 0
// without digits; out of range saturates to the nearest limit. *end, when
// given, points after the last digit read (at `text` when none was).
template <class Ch> int32_t ParseInt32(const Ch* text, const Ch** end = nullptr)
{
    const Ch* p = text;
    while (IsCSpace(*p))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    const Ch* const first = p;
    while (*p == '0')
        ++p;
    // Narrowed to the digits that matter: more than 10 significant digits are
    // out of range whatever they are.
    char digits[11];
    size_t count = 0;
    bool tooLong = false;
    for (; IsDigit(*p); ++p) {
        if (count < sizeof digits)
            digits[count++] = static_cast<char>(*p);
        else
            tooLong = true;
    }
    if (end)
        *end = p == first ? text : p;
    long long magnitude = 0;
    if (tooLong || std::from_chars(digits, digits + count, magnitude).ec != std::errc())
        magnitude = count ? static_cast<long long>(INT32_MAX) + 1 : 0;
    const long long value = negative ? -magnitude : magnitude;
    return static_cast<int32_t>(value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value);
}

// The decimal text of a 32-bit value: a minus sign for negative numbers, no
// leading zeros. Returns the end of the text written into `buffer` (no
// terminator is added); 11 characters always suffice.
inline char* FormatInt32(int32_t value, char (&buffer)[11])
{
    return std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
}

} // namespace qn::ascii
