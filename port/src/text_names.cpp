// Native bodies of the type-detection and name platform services: the ASCII
// classification of Windows, the letters of the common scripts, no locale.
#include "common/AsciiText.h"
#include "text/NamePlatform.h"

namespace qn::text {

bool g_failNameClassification = false;

namespace {

// CT_CTYPE1 of the ASCII characters, as Windows gives them.
WORD AsciiType(WCHAR ch)
{
    if (qn::ascii::IsUpper(ch))
        return C1_UPPER | C1_ALPHA | C1_DEFINED | (ch <= 'F' ? C1_XDIGIT : 0);
    if (qn::ascii::IsLower(ch))
        return C1_LOWER | C1_ALPHA | C1_DEFINED | (ch <= 'f' ? C1_XDIGIT : 0);
    if (qn::ascii::IsDigit(ch))
        return C1_DIGIT | C1_XDIGIT | C1_DEFINED;
    if (ch == ' ')
        return C1_SPACE | C1_BLANK | C1_DEFINED;
    if (ch == '\t')
        return C1_SPACE | C1_BLANK | C1_CNTRL | C1_DEFINED;
    if (ch >= '\n' && ch <= '\r')
        return C1_SPACE | C1_CNTRL | C1_DEFINED;
    if (ch < 0x20 || ch == 0x7F)
        return C1_CNTRL | C1_DEFINED;
    return C1_PUNCT | C1_DEFINED;
}

struct Range {
    WCHAR first, last;
};

// Letters of the scripts a tag name is likely to be written in.
constexpr Range kLetters[] = {
    {0x00AA, 0x00AA}, {0x00B5, 0x00B5}, {0x00BA, 0x00BA}, {0x00C0, 0x00D6}, {0x00D8, 0x00F6},
    {0x00F8, 0x024F}, // Latin-1 letters, Latin Extended-A and -B
    {0x0386, 0x0386}, {0x0388, 0x03FF}, // Greek
    {0x0400, 0x0481}, {0x048A, 0x052F}, // Cyrillic
    {0x0531, 0x0556}, {0x0561, 0x0587}, // Armenian
    {0x05D0, 0x05EA}, // Hebrew
    {0x0620, 0x064A}, // Arabic
    {0x1E00, 0x1FFF}, // Latin Extended Additional, Greek Extended
    {0x3041, 0x3096}, {0x30A1, 0x30FA}, // Hiragana, Katakana
    {0x4E00, 0x9FFF}, // CJK unified ideographs
    {0xAC00, 0xD7A3}, // Hangul syllables
};

WORD Type(WCHAR ch)
{
    if (ch < 0x80)
        return AsciiType(ch);
    for (const Range& range : kLetters) {
        if (ch >= range.first && ch <= range.last)
            return C1_ALPHA | C1_DEFINED;
    }
    return ch == 0x00A0 ? C1_SPACE | C1_BLANK | C1_DEFINED : C1_PUNCT | C1_DEFINED;
}

} // namespace

bool ClassifyCharacters(LPCWSTR text, int count, WORD* types)
{
    if (g_failNameClassification || !text || !types || count < 0)
        return false;
    for (int i = 0; i < count; ++i)
        types[i] = Type(text[i]);
    return true;
}

bool NumberTextToInternal(LPCWSTR userText, CString& internal)
{
    internal = userText;
    return true;
}

} // namespace qn::text
