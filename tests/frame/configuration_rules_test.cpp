// The platform-neutral configuration rules: template lines, the allowable
// name length, the locale classes, path parts.
#include "frame/ConfigurationRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace qn::frame;
using Text = std::u16string;

Text Part(const Text& text, TextRange range) { return text.substr(range.first, range.count); }
const WCHAR* W(const Text& text) { return reinterpret_cast<const WCHAR*>(text.data()); }

TEST(ConfigurationRules, TemplateLines)
{
    // Fields: name|file|page, "" for a line that is refused; no page: "-".
    const std::pair<Text, Text> cases[] = {
        {u"Conveyor line;conveyor.tpl;conveyor.htm", u"Conveyor line|conveyor.tpl|conveyor.htm"},
        {u"Tank;tank.tpl", u"Tank|tank.tpl|-"},
        {u"A;b;c;d", u"A|b|c;d"}, // the page keeps any further semicolon
        {u";file", u"|file|-"},
        {u"A;;", u"A||"},
        {u"no semicolon", u""},
        {u"ends after it;", u""},
        {u"", u""},
    };
    for (const auto& [line, expect] : cases) {
        TemplateLine parts;
        const bool ok = SplitTemplateLine(W(line), line.size(), parts);
        const Text got = ok ? Part(line, parts.name) + u"|" + Part(line, parts.file) + u"|" +
                                  (parts.hasPage ? Part(line, parts.page) : u"-")
                            : u"";
        EXPECT_EQ(got, expect) << testing::PrintToString(line);
    }
    TemplateLine parts; // only `length` characters count
    EXPECT_FALSE(SplitTemplateLine(W(u"Name;file"), 5, parts));
}

TEST(ConfigurationRules, AllowableNameLength)
{
    // "RootDir" C:\Projects (11 characters): 33 in all, (259 - 33) / 2 - 3.
    const std::pair<size_t, int> cases[] = {{11, 110}, {0, 115}, {12, 109}, {13, 109}, {228, 1},
                                            {230, 0},  {231, 0}, {259, 0},  {100000, 0}};
    for (const auto& [root, length] : cases)
        EXPECT_EQ(AllowableNameLength(root), length) << root;
}

TEST(ConfigurationRules, UserLocaleClasses)
{
    const struct {
        ULONG lcid;
        int first, second;
    } cases[] = {
        {0x0411, 3, 4}, {0x0412, 4, 5}, {0x0404, 1, 2}, {0x0804, 1, 1}, {0x0C04, 1, 1}, {0x1004, 1, 1},
        {0x1404, 1, 1}, {0x0409, 2, 3}, {0x0004, 2, 3}, {0x10411, 2, 3}, // another sort order is another locale
    };
    for (const auto& c : cases) {
        int first = -1, second = -1;
        ClassifyUserLocale(c.lcid, first, second);
        EXPECT_EQ(std::make_pair(first, second), std::make_pair(c.first, c.second)) << std::hex << c.lcid;
    }
}

TEST(ConfigurationRules, PathParts)
{
    // path, folder, extension
    const Text cases[][3] = {
        {u"C:\\Out\\list.csv", u"C:\\Out\\", u".csv"},
        {u"C:\\App.old\\Brand", u"C:\\App.old\\", u""}, // a folder's dot is no extension
        {u"C:/a/b.tar.gz", u"C:/a/", u".gz"},
        {u"C:list.txt", u"C:", u".txt"},
        {u"list", u"", u""},
        {u"\\\\server\\share\\x.", u"\\\\server\\share\\", u"."},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        const Text& path = c[0];
        EXPECT_EQ(path.substr(0, FolderLength(W(path), path.size())), c[1]) << testing::PrintToString(path);
        EXPECT_EQ(Part(path, ExtensionOf(W(path), path.size())), c[2]) << testing::PrintToString(path);
    }
}

} // namespace
