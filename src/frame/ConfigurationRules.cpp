// The platform-neutral rules of the configuration and language functions.
#include "frame/ConfigurationRules.h"

namespace qn::frame {

namespace {

constexpr WCHAR kSemicolon = u';';

bool IsSeparator(WCHAR ch) { return ch == u'\\' || ch == u'/'; }

bool Equals(const WCHAR* text, size_t length, const char* ascii)
{
    size_t i = 0;
    for (; i < length && ascii[i]; ++i) {
        if (text[i] != static_cast<WCHAR>(ascii[i]))
            return false;
    }
    return i == length && ascii[i] == '\0';
}

struct Abbreviation {
    const char* text;
    ULONG lcid;
};

// Compared in this order; the first match wins.
constexpr Abbreviation kAbbreviations[] = {
    {"ENU", 0x0409}, {"JPN", 0x0411}, {"FRA", 0x040C}, {"DEU", 0x0407}, {"ITA", 0x0410}, {"ESP", 0x040A},
};
constexpr ULONG kDefaultLocale = 0x0409;

// The project path around the name, without the root folder:
// "\Local\Quillon\" + name + "\" + name + ".SwxCF".
constexpr int kProjectPathFixed = 15 + 1 + 6;
constexpr int kPathLimit = 259;

struct LocaleClass {
    ULONG lcid;
    int first;
    int second;
};

constexpr LocaleClass kLocaleClasses[] = {
    {0x0411, 3, 4}, // Japanese
    {0x0412, 4, 5}, // Korean
    {0x0404, 1, 2}, // Chinese (Taiwan)
    {0x0804, 1, 1}, // Chinese (People's Republic)
    {0x0C04, 1, 1}, // Chinese (Hong Kong)
    {0x1004, 1, 1}, // Chinese (Singapore)
    {0x1404, 1, 1}, // Chinese (Macao)
};
constexpr LocaleClass kOtherLocales = {0, 2, 3};

const WCHAR* Find(const WCHAR* first, const WCHAR* last, WCHAR ch)
{
    for (; first != last; ++first) {
        if (*first == ch)
            return first;
    }
    return nullptr;
}

} // namespace

const UINT kBrandStringIds[20] = {10050, 10051, 10052, 10053, 10061, 10062, 10054, 10055, 10056, 10057,
                                  10058, 10064, 10059, 10060, 10063, 10066, 10065, 3708,  3709,  3710};

bool SplitTemplateLine(const WCHAR* text, size_t length, TemplateLine& line)
{
    if (!text)
        return false;
    const WCHAR* end = text + length;
    const WCHAR* first = Find(text, end, kSemicolon);
    if (!first || first + 1 == end)
        return false;
    line = TemplateLine{};
    line.name = {0, static_cast<size_t>(first - text)};
    const WCHAR* rest = first + 1;
    const WCHAR* second = Find(rest, end, kSemicolon);
    if (!second) {
        line.file = {static_cast<size_t>(rest - text), static_cast<size_t>(end - rest)};
        return true;
    }
    line.file = {static_cast<size_t>(rest - text), static_cast<size_t>(second - rest)};
    line.page = {static_cast<size_t>(second + 1 - text), static_cast<size_t>(end - (second + 1))};
    line.hasPage = true;
    return true;
}

ULONG LocaleFromLanguageAbbreviation(const WCHAR* text, size_t length)
{
    if (!text)
        return kDefaultLocale;
    for (const Abbreviation& entry : kAbbreviations) {
        if (Equals(text, length, entry.text))
            return entry.lcid;
    }
    return kDefaultLocale;
}

int AllowableNameLength(size_t rootLength)
{
    // The name appears twice; three characters are kept in reserve.
    if (rootLength > static_cast<size_t>(kPathLimit))
        return 0;
    const int room = kPathLimit - (static_cast<int>(rootLength) + kProjectPathFixed);
    const int length = room / 2 - 3; // truncates towards zero
    return length < 0 ? 0 : length;
}

void ClassifyUserLocale(ULONG lcid, int& first, int& second)
{
    LocaleClass match = kOtherLocales;
    for (const LocaleClass& entry : kLocaleClasses) {
        if (entry.lcid == lcid) {
            match = entry;
            break;
        }
    }
    first = match.first;
    second = match.second;
}

size_t FolderLength(const WCHAR* path, size_t length)
{
    if (!path)
        return 0;
    const size_t drive = (length >= 2 && path[1] == u':') ? 2 : 0;
    for (size_t i = length; i > drive; --i) {
        if (IsSeparator(path[i - 1]))
            return i;
    }
    return drive;
}

TextRange ExtensionOf(const WCHAR* path, size_t length)
{
    const size_t name = FolderLength(path, length);
    for (size_t i = length; i > name; --i) {
        if (path[i - 1] == u'.')
            return {i - 1, length - (i - 1)};
    }
    return {length, 0};
}

} // namespace qn::frame
