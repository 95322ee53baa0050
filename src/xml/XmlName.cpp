// Name and character checks of the XML helpers.
#include "xml/XmlName.h"

namespace qn::xml {

namespace {

struct CodeRange {
    char32_t first;
    char32_t last;
};

// NameStartChar without ':'.
constexpr CodeRange kNameStart[] = {
    {U'A', U'Z'},         {U'_', U'_'},         {U'a', U'z'},         {0xC0, 0xD6},         {0xD8, 0xF6},
    {0xF8, 0x2FF},        {0x370, 0x37D},       {0x37F, 0x1FFF},      {0x200C, 0x200D},     {0x2070, 0x218F},
    {0x2C00, 0x2FEF},     {0x3001, 0xD7FF},     {0xF900, 0xFDCF},     {0xFDF0, 0xFFFD},     {0x10000, 0xEFFFF},
};
// What NameChar adds to NameStartChar.
constexpr CodeRange kNameMore[] = {
    {U'-', U'.'}, {U'0', U'9'}, {0xB7, 0xB7}, {0x300, 0x36F}, {0x203F, 0x2040},
};

template <size_t N> bool InRanges(const CodeRange (&ranges)[N], char32_t c)
{
    for (const CodeRange& r : ranges) {
        if (c >= r.first && c <= r.last)
            return true;
    }
    return false;
}

bool IsHighSurrogate(WCHAR c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WCHAR c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The code point at text[i], moving i past it; U+FFFF (never valid anywhere
// in XML) for an unpaired surrogate.
char32_t Next(const WCHAR* text, size_t length, size_t& i)
{
    const WCHAR c = text[i++];
    if (IsHighSurrogate(c)) {
        if (i < length && IsLowSurrogate(text[i])) {
            const WCHAR low = text[i++];
            return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
        }
        return 0xFFFF;
    }
    if (IsLowSurrogate(c))
        return 0xFFFF;
    return c;
}

bool IsXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

bool IsElementName(const WCHAR* name, size_t length)
{
    if (!name || length == 0)
        return false;
    size_t i = 0;
    if (!InRanges(kNameStart, Next(name, length, i)))
        return false;
    while (i < length) {
        const char32_t c = Next(name, length, i);
        if (!InRanges(kNameStart, c) && !InRanges(kNameMore, c))
            return false;
    }
    return true;
}

bool IsCharacterText(const WCHAR* text, size_t length)
{
    if (!text)
        return length == 0;
    for (size_t i = 0; i < length;) {
        if (!IsXmlChar(Next(text, length, i)))
            return false;
    }
    return true;
}

bool IsCDataText(const WCHAR* text, size_t length)
{
    if (!IsCharacterText(text, length))
        return false;
    for (size_t i = 0; i + 2 < length; ++i) {
        if (text[i] == ']' && text[i + 1] == ']' && text[i + 2] == '>')
            return false;
    }
    return true;
}

} // namespace qn::xml
