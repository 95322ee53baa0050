// The platform-neutral configuration rules: template lines, the allowable
// name length, the language abbreviations, the locale classes, path parts.
#include "frame/ConfigurationRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace qn::frame;
using Text = std::u16string;

Text Part(const Text& text, TextRange range) { return text.substr(range.first, range.count); }
const WCHAR* W(const Text& text) { return reinterpret_cast<const WCHAR*>(text.data()); }

TEST(ConfigurationRules, TemplateLinesAndPathParts)
{
    // Fields: name|file|page, "" for a line that is refused; no page: "-".
    const std::pair<Text, Text> lines[] = {
        {u"Conveyor line;conveyor.tpl;conveyor.htm", u"Conveyor line|conveyor.tpl|conveyor.htm"},
        {u"Tank;tank.tpl", u"Tank|tank.tpl|-"}, {u"A;b;c;d", u"A|b|c;d"}, // the page keeps further semicolons
        {u";file", u"|file|-"}, {u"A;;", u"A||"}, {u"no semicolon", u""}, {u"ends after it;", u""}, {u"", u""},
    };
    for (const auto& [line, expect] : lines) {
        TemplateLine parts;
        const bool ok = SplitTemplateLine(W(line), line.size(), parts);
        EXPECT_EQ(ok ? Part(line, parts.name) + u"|" + Part(line, parts.file) + u"|" +
                           (parts.hasPage ? Part(line, parts.page) : u"-")
                     : u"",
                  expect) << testing::PrintToString(line);
    }
    TemplateLine parts; // only `length` characters count
    EXPECT_FALSE(SplitTemplateLine(W(u"Name;file"), 5, parts));

    const Text paths[][3] = { // path, folder, extension
        {u"C:\\Out\\list.csv", u"C:\\Out\\", u".csv"}, {u"C:\\App.old\\Brand", u"C:\\App.old\\", u""},
        {u"C:/a/b.tar.gz", u"C:/a/", u".gz"}, {u"C:list.txt", u"C:", u".txt"}, {u"list", u"", u""},
        {u"\\\\server\\share\\x.", u"\\\\server\\share\\", u"."}, {u"", u"", u""},
    };
    for (const auto& c : paths) {
        EXPECT_EQ(c[0].substr(0, FolderLength(W(c[0]), c[0].size())), c[1]) << testing::PrintToString(c[0]);
        EXPECT_EQ(Part(c[0], ExtensionOf(W(c[0]), c[0].size())), c[2]) << testing::PrintToString(c[0]);
    }
}

TEST(ConfigurationRules, NumbersAndLocales)
{
    const std::pair<Text, ULONG> abbreviations[] = { // upper case (the callers convert), exactly
        {u"ENU", 0x0409}, {u"JPN", 0x0411}, {u"FRA", 0x040C}, {u"DEU", 0x0407}, {u"ITA", 0x0410}, {u"ESP", 0x040A},
        {u"DEU ", 0x0409}, {u"DE", 0x0409}, {u"DEUX", 0x0409}, {u"", 0x0409}, {u"jpn", 0x0409},
    };
    for (const auto& [text, lcid] : abbreviations)
        EXPECT_EQ(LocaleFromLanguageAbbreviation(W(text), text.size()), lcid) << testing::PrintToString(text);
    EXPECT_EQ(LocaleFromLanguageAbbreviation(nullptr, 0), 0x0409u);
    // "RootDir" C:\Projects (11 characters): 33 in all, (259 - 33) / 2 - 3.
    const std::pair<size_t, int> lengths[] = {{11, 110}, {0, 115}, {12, 109}, {13, 109}, {228, 1},
                                              {230, 0},  {231, 0}, {259, 0},  {100000, 0}};
    for (const auto& [root, length] : lengths)
        EXPECT_EQ(AllowableNameLength(root), length) << root;
    const struct {
        ULONG lcid;
        int first, second;
    } locales[] = {
        {0x0411, 3, 4}, {0x0412, 4, 5}, {0x0404, 1, 2}, {0x0804, 1, 1}, {0x0C04, 1, 1}, {0x1004, 1, 1},
        {0x1404, 1, 1}, {0x0409, 2, 3}, {0x0004, 2, 3}, {0x10411, 2, 3}, // another sort order is another locale
    };
    for (const auto& c : locales) {
        int first = -1, second = -1;
        ClassifyUserLocale(c.lcid, first, second);
        EXPECT_EQ(std::make_pair(first, second), std::make_pair(c.first, c.second)) << std::hex << c.lcid;
    }
}

} // namespace
