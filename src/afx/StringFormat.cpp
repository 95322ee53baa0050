// CString::Format: the printf subset of the framework's Unicode build, written
// without the C runtime's printf and without locale, so that a format gives the
// same text natively and on Windows. Floating-point digits come from
// std::to_chars (shortest-exact conversion, no locale).
#include <afx/afx.h>

#include "common/AsciiText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <new>
#include <string>
#include <system_error>

namespace {

using WideText = std::basic_string<WCHAR>;

// Floating-point precision beyond this is cut: the digits past it are zeros
// or noise, and the format argument must not decide how much memory we take.
constexpr int kMaxFloatPrecision = 400;

struct FormatField {
    bool left = false;   // '-'
    bool plus = false;   // '+'
    bool space = false;  // ' '
    bool alt = false;    // '#'
    bool zero = false;   // '0'
    int width = 0;
    int precision = -1; // -1: none given
};

enum class Size { Default, Char, Short, Long, LongLong, Ptr, Int32 };

class Formatter {
public:
    Formatter(WideText& out, va_list* args) : m_out(out), m_args(args) {}

    void Run(LPCWSTR format)
    {
        const WCHAR* p = format;
        while (*p) {
            if (*p != '%') {
                m_out.push_back(*p++);
                continue;
            }
            const WCHAR* start = p++;
            FormatField field;
            for (;; ++p) {
                if (*p == '-')
                    field.left = true;
                else if (*p == '+')
                    field.plus = true;
                else if (*p == ' ')
                    field.space = true;
                else if (*p == '#')
                    field.alt = true;
                else if (*p == '0')
                    field.zero = true;
                else
                    break;
            }
            if (*p == '*') {
                ++p;
                const int w = va_arg(*m_args, int);
                if (w < 0) {
                    field.left = true;
                    field.width = w == INT32_MIN ? INT32_MAX : -w;
                } else {
                    field.width = w;
                }
            } else {
                field.width = ReadNumber(p);
            }
            if (*p == '.') {
                ++p;
                if (*p == '*') {
                    ++p;
                    const int prec = va_arg(*m_args, int);
                    field.precision = prec < 0 ? -1 : prec;
                } else {
                    field.precision = ReadNumber(p);
                }
            }
            const Size size = ReadSize(p);
            const WCHAR conversion = *p;
            if (conversion == 0) {
                m_out.append(start, p); // a lone '%' at the end stands as written
                break;
            }
            ++p;
            if (!Convert(conversion, field, size))
                m_out.append(start, p);
        }
    }

private:
    // Digits of a width or precision; absurd values are cut to the largest int.
    static int ReadNumber(const WCHAR*& p)
    {
        long long n = 0;
        while (qn::ascii::IsDigit(*p)) {
            n = n * 10 + (*p++ - '0');
            if (n > INT32_MAX)
                n = INT32_MAX;
        }
        return static_cast<int>(n);
    }

    static Size ReadSize(const WCHAR*& p)
    {
        switch (*p) {
        case 'h':
            ++p;
            if (*p == 'h') {
                ++p;
                return Size::Char;
            }
            return Size::Short;
        case 'l':
            ++p;
            if (*p == 'l') {
                ++p;
                return Size::LongLong;
            }
            return Size::Long;
        case 'L':
        case 'j':
            ++p;
            return Size::LongLong;
        case 'z':
        case 't':
            ++p;
            return Size::Ptr;
        case 'I':
            if (p[1] == '6' && p[2] == '4') {
                p += 3;
                return Size::LongLong;
            }
            if (p[1] == '3' && p[2] == '2') {
                p += 3;
                return Size::Int32;
            }
            ++p;
            return Size::Ptr;
        default:
            return Size::Default;
        }
    }

    bool Convert(WCHAR conversion, const FormatField& field, Size size)
    {
        switch (conversion) {
        case 'd':
        case 'i':
            FormatSigned(field, ReadSigned(size));
            return true;
        case 'u':
            FormatUnsigned(field, ReadUnsigned(size), 10, false, nullptr);
            return true;
        case 'o':
            FormatUnsigned(field, ReadUnsigned(size), 8, false, nullptr);
            return true;
        case 'x':
            FormatUnsigned(field, ReadUnsigned(size), 16, false, nullptr);
            return true;
        case 'X':
            FormatUnsigned(field, ReadUnsigned(size), 16, true, nullptr);
            return true;
        case 'c':
        case 'C': {
            const int value = va_arg(*m_args, int);
            const bool narrow = size == Size::Short || size == Size::Char || (conversion == 'C' && size != Size::Long);
            const WCHAR ch = narrow ? static_cast<WCHAR>(static_cast<unsigned char>(value)) : static_cast<WCHAR>(value);
            Pad(field, WideText(1, ch));
            return true;
        }
        case 's':
        case 'S': {
            const bool narrow = size == Size::Short || size == Size::Char || (conversion == 'S' && size != Size::Long);
            if (narrow)
                FormatNarrowString(field, va_arg(*m_args, const char*));
            else
                FormatWideString(field, va_arg(*m_args, const WCHAR*));
            return true;
        }
        case 'p': {
            const auto value = reinterpret_cast<uintptr_t>(va_arg(*m_args, void*));
            FormatField pointerField;
            pointerField.left = field.left;
            pointerField.width = field.width;
            pointerField.precision = static_cast<int>(sizeof(void*) * 2);
            FormatUnsigned(pointerField, value, 16, true, nullptr);
            return true;
        }
        case 'n':
            (void)va_arg(*m_args, void*); // never written through: a format must not store
            return true;
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
            FormatFloat(field, conversion, va_arg(*m_args, double));
            return true;
        case '%':
            m_out.push_back('%');
            return true;
        default:
            return false;
        }
    }

    long long ReadSigned(Size size)
    {
        switch (size) {
        case Size::Char:
            return static_cast<signed char>(va_arg(*m_args, int));
        case Size::Short:
            return static_cast<short>(va_arg(*m_args, int));
        case Size::LongLong:
            return va_arg(*m_args, long long);
        case Size::Ptr:
            return va_arg(*m_args, intptr_t);
        default: // int, and 'l' as LONG: 32 bits on every platform
            return va_arg(*m_args, int32_t);
        }
    }

    unsigned long long ReadUnsigned(Size size)
    {
        switch (size) {
        case Size::Char:
            return static_cast<unsigned char>(va_arg(*m_args, unsigned int));
        case Size::Short:
            return static_cast<unsigned short>(va_arg(*m_args, unsigned int));
        case Size::LongLong:
            return va_arg(*m_args, unsigned long long);
        case Size::Ptr:
            return va_arg(*m_args, uintptr_t);
        default:
            return va_arg(*m_args, uint32_t);
        }
    }

    void FormatSigned(const FormatField& field, long long value)
    {
        const char* sign = value < 0 ? "-" : field.plus ? "+" : field.space ? " " : nullptr;
        const unsigned long long magnitude =
            value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
        FormatUnsigned(field, magnitude, 10, false, sign);
    }

    void FormatUnsigned(const FormatField& field, unsigned long long value, int base, bool upper, const char* sign)
    {
        char digits[64];
        int n = 0;
        const char* alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
        for (unsigned long long v = value; v; v /= static_cast<unsigned>(base))
            digits[n++] = alphabet[v % static_cast<unsigned>(base)];

        WideText prefix;
        if (sign)
            prefix.push_back(static_cast<WCHAR>(*sign));
        if (field.alt && base == 16 && value != 0) {
            prefix.push_back('0');
            prefix.push_back(upper ? 'X' : 'x');
        }

        WideText body;
        int minDigits = field.precision < 0 ? 1 : field.precision;
        if (field.alt && base == 8 && minDigits <= n)
            minDigits = n + 1; // '#' with octal: the first digit is a 0
        for (int i = n; i < minDigits; ++i)
            body.push_back('0');
        while (n > 0)
            body.push_back(static_cast<WCHAR>(digits[--n]));

        // '0' pads with zeros after the sign, unless a precision was given.
        const bool zeroPad = field.zero && !field.left && field.precision < 0;
        PadNumber(field, prefix, body, zeroPad);
    }

    void FormatWideString(const FormatField& field, const WCHAR* text)
    {
        static const WCHAR kNull[] = {'(', 'n', 'u', 'l', 'l', ')', 0};
        if (!text)
            text = kNull;
        size_t n = 0;
        // Never read past the precision: the text need not be terminated there.
        while ((field.precision < 0 || n < static_cast<size_t>(field.precision)) && text[n])
            ++n;
        Pad(field, WideText(text, n));
    }

    void FormatNarrowString(const FormatField& field, const char* text)
    {
        if (!text)
            text = "(null)";
        WideText wide;
        for (size_t n = 0; (field.precision < 0 || n < static_cast<size_t>(field.precision)) && text[n]; ++n)
            wide.push_back(static_cast<WCHAR>(static_cast<unsigned char>(text[n])));
        Pad(field, wide);
    }

    void FormatFloat(const FormatField& field, WCHAR conversion, double value)
    {
        const bool upper = conversion == 'E' || conversion == 'F' || conversion == 'G';
        const bool negative = std::signbit(value);
        const char* sign = negative ? "-" : field.plus ? "+" : field.space ? " " : nullptr;
        WideText prefix;
        if (sign)
            prefix.push_back(static_cast<WCHAR>(*sign));

        if (!std::isfinite(value)) {
            const bool nan = std::isnan(value);
            const char* word = nan ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
            if (nan)
                prefix.clear();
            PadNumber(field, prefix, WideText(word, word + 3), false);
            return;
        }

        int precision = field.precision < 0 ? 6 : field.precision;
        if (precision > kMaxFloatPrecision)
            precision = kMaxFloatPrecision;
        const double magnitude = std::fabs(value);

        std::string digits;
        switch (conversion) {
        case 'f':
        case 'F':
            digits = ToChars(magnitude, std::chars_format::fixed, precision);
            if (field.alt && precision == 0)
                digits.push_back('.');
            break;
        case 'e':
        case 'E':
            digits = ToChars(magnitude, std::chars_format::scientific, precision);
            if (field.alt && precision == 0)
                digits.insert(digits.find('e'), 1, '.');
            break;
        default: { // g, G
            const int p = precision == 0 ? 1 : precision;
            const std::string sci = ToChars(magnitude, std::chars_format::scientific, p - 1);
            const int exponent = magnitude == 0 ? 0 : std::stoi(sci.substr(sci.find('e') + 1));
            if (exponent < p && exponent >= -4)
                digits = ToChars(magnitude, std::chars_format::fixed, p - 1 - exponent);
            else
                digits = sci;
            if (!field.alt)
                StripTrailingZeros(digits);
            else if (digits.find('.') == std::string::npos)
                digits.insert(digits.find('e') == std::string::npos ? digits.size() : digits.find('e'), 1, '.');
            break;
        }
        }

        WideText body;
        for (char c : digits)
            body.push_back(static_cast<WCHAR>(upper && c == 'e' ? 'E' : c));
        PadNumber(field, prefix, body, field.zero && !field.left);
    }

    static std::string ToChars(double value, std::chars_format format, int precision)
    {
        // 309 integer digits of the largest double, the point, the precision
        // and an exponent fit in this.
        std::string buffer(static_cast<size_t>(precision) + 330, '\0');
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
        if (result.ec != std::errc())
            return std::string("0");
        buffer.resize(static_cast<size_t>(result.ptr - buffer.data()));
        return buffer;
    }

    // %g without '#': no trailing zeros in the fraction and no bare point.
    static void StripTrailingZeros(std::string& digits)
    {
        const size_t point = digits.find('.');
        if (point == std::string::npos)
            return;
        size_t end = digits.find('e');
        const std::string exponent = end == std::string::npos ? std::string() : digits.substr(end);
        if (end == std::string::npos)
            end = digits.size();
        size_t last = end;
        while (last > point + 1 && digits[last - 1] == '0')
            --last;
        if (last == point + 1)
            last = point;
        digits = digits.substr(0, last) + exponent;
    }

    void PadNumber(const FormatField& field, const WideText& prefix, const WideText& body, bool zeroPad)
    {
        const size_t len = prefix.size() + body.size();
        const size_t fill = static_cast<size_t>(field.width) > len ? static_cast<size_t>(field.width) - len : 0;
        if (field.left) {
            m_out += prefix;
            m_out += body;
            m_out.append(fill, ' ');
        } else if (zeroPad) {
            m_out += prefix;
            m_out.append(fill, '0');
            m_out += body;
        } else {
            m_out.append(fill, ' ');
            m_out += prefix;
            m_out += body;
        }
    }

    void Pad(const FormatField& field, const WideText& text) { PadNumber(field, WideText(), text, false); }

    WideText& m_out;
    va_list* m_args;
};

void FormatInto(WideText& out, LPCWSTR format, va_list argList)
{
    if (!format)
        return;
    va_list args;
    va_copy(args, argList);
    try {
        Formatter(out, &args).Run(format);
    } catch (const std::bad_alloc&) {
        va_end(args);
        AfxThrowMemoryException();
    } catch (const std::length_error&) {
        va_end(args);
        AfxThrowMemoryException();
    }
    va_end(args);
}

} // namespace

void CString::FormatV(LPCWSTR lpszFormat, va_list argList)
{
    WideText out;
    FormatInto(out, lpszFormat, argList);
    if (out.size() > static_cast<size_t>(INT32_MAX / 2))
        AfxThrowMemoryException();
    *this = CString(out.data(), static_cast<int>(out.size()));
}

void CString::Format(LPCWSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    try {
        FormatV(lpszFormat, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void CString::AppendFormatV(LPCWSTR lpszFormat, va_list argList)
{
    WideText out;
    FormatInto(out, lpszFormat, argList);
    if (out.size() > static_cast<size_t>(INT32_MAX / 2))
        AfxThrowMemoryException();
    *this += CString(out.data(), static_cast<int>(out.size()));
}

void CString::AppendFormat(LPCWSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    try {
        AppendFormatV(lpszFormat, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}
