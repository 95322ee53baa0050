// The portable rules of the font catalogue.
#include "ui/FontCatalogue.h"

namespace qn::ui {

namespace {

constexpr unsigned kCatalogueCharsets[] = {0, 2, 128, 129, 134, 136, 204};
constexpr unsigned kShiftJis = 128;

bool HasDescription(const CHMIFont& font) { return font.Description() && font.Description()[0] != 0; }

bool TextEquals(const WCHAR* a, const WCHAR* b) { return CompareOrdinal(a, b) == 0; }

} // namespace

bool IsCatalogueCharset(unsigned charset)
{
    for (unsigned listed : kCatalogueCharsets) {
        if (listed == charset)
            return true;
    }
    return false;
}

bool IsCatalogueFont(const WCHAR* fullName, unsigned charset)
{
    static const WCHAR kSmallFonts[] = {'S', 'm', 'a', 'l', 'l', ' ', 'F', 'o', 'n', 't', 's', 0};
    if (!IsCatalogueCharset(charset))
        return false;
    if (!fullName)
        return true;
    if (charset == kShiftJis && TextEquals(fullName, kSmallFonts))
        return false;
    return fullName[0] != '@';
}

int CompareOrdinal(const WCHAR* a, const WCHAR* b)
{
    static const WCHAR kEmpty[] = {0};
    if (!a)
        a = kEmpty;
    if (!b)
        b = kEmpty;
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    // Code units compare unsigned, as wcscmp does with a 16-bit wchar_t.
    return static_cast<int>(static_cast<unsigned short>(*a)) - static_cast<int>(static_cast<unsigned short>(*b));
}

bool InsertSorted(CHMIFontList& list, CHMIFont& font)
{
    const bool newHasDescription = HasDescription(font);
    POSITION pos = list.GetHeadPosition();
    while (pos) {
        const POSITION here = pos;
        CHMIFont& record = list.GetNext(pos);
        if (record == font)
            return false;
        if (!HasDescription(record))
            continue;
        if (!newHasDescription || CompareOrdinal(font.Description(), record.Description()) < 0) {
            list.InsertBefore(here, font);
            return true;
        }
    }
    list.AddTail(font);
    return true;
}

int MulDivRounded(int value, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    long long a = value;
    long long d = denominator;
    if (d < 0) {
        a = -a;
        d = -d;
    }
    const long long product = a * numerator;
    const long long half = d / 2;
    const long long result = product >= 0 ? (product + half) / d : (product - half) / d;
    if (result > 2147483647LL || result < -2147483647LL)
        return -1;
    return static_cast<int>(result);
}

} // namespace qn::ui
