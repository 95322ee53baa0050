// qnutil commands of the fonts, menus and windows:
//   fonts [--charset NAME]   the font catalogue as the editor lists it, one
//                            description a line, optionally of one character set.
#include "Command.h"

#include <QNUtility.h>

#include <cwctype>
#include <optional>

namespace {

constexpr wchar_t kFonts[] = L"fonts";

struct CharsetName {
    const wchar_t* name;
    unsigned char charset;
};

// The character sets the catalogue holds, by their platform names and a
// readable alias.
constexpr CharsetName kCharsets[] = {
    {L"ANSI", 0},       {L"WESTERN", 0},    {L"SYMBOL", 2},      {L"SHIFTJIS", 128}, {L"HANGUL", 129},
    {L"GB2312", 134},   {L"CHINESEBIG5", 136}, {L"BIG5", 136},  {L"RUSSIAN", 204},  {L"CYRILLIC", 204},
};

// A name of the table (any case) or a number 0 to 255.
std::optional<unsigned char> ParseCharset(const std::wstring& text)
{
    std::wstring upper;
    for (wchar_t c : text)
        upper += (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c;
    for (const CharsetName& n : kCharsets) {
        if (upper == n.name)
            return n.charset;
    }
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    unsigned value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + unsigned(c - L'0');
    }
    if (value > 255)
        return std::nullopt;
    return static_cast<unsigned char>(value);
}

int RunFonts(std::span<const std::wstring> args)
{
    std::optional<unsigned char> only;
    if (args.size() == 2 && args[0] == L"--charset") {
        only = ParseCharset(args[1]);
        if (!only)
            return qnutil::Fail(kFonts, L"unknown character set '" + args[1] +
                                            L"' (ANSI, SYMBOL, SHIFTJIS, HANGUL, GB2312, CHINESEBIG5, RUSSIAN or a number)",
                                2);
    } else if (!args.empty()) {
        return qnutil::Usage(kFonts);
    }
    const CHMIFontList* list = CQNUtility::GetFontList();
    std::wstring text;
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        const CHMIFont& font = list->GetNext(pos);
        if (only && font.Charset() != *only)
            continue;
        text += std::wstring(font.Description() ? font.Description() : L"") + L"\n";
    }
    qnutil::Out(text);
    CQNUtility::DeleteFontList();
    return 0;
}

const qnutil::Registration fonts{kFonts, L"[--charset NAME]", L"the font catalogue, one description a line",
                                 RunFonts};

} // namespace
