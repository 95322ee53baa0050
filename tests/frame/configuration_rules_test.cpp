// The platform-neutral configuration rules: template lines, language
// abbreviations, the allowable name length, the locale classes, path parts.
#include "frame/ConfigurationRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Text = std::basic_string<WCHAR>;
using namespace qn::frame;

Text Part(const Text& text, TextRange range) { return text.substr(range.first, range.count); }

TEST(ConfigurationRules, TemplateLines)
{
    struct Case {
        const char16_t* line;
        bool ok;
        const char16_t* name;
        const char16_t* file;
        const char16_t* page; // null: no page given
    };
    const Case cases[] = {
        {u"Conveyor line;conveyor.tpl;conveyor.htm", true, u"Conveyor line", u"conveyor.tpl", u"conveyor.htm"},
        {u"Tank;tank.tpl", true, u"Tank", u"tank.tpl", nullptr},
        {u"A;b;c;d", true, u"A", u"b", u"c;d"}, // the page keeps any further semicolon
        {u";file", true, u"", u"file", nullptr},
        {u"A;;", true, u"A", u"", u""},
        {u"no semicolon", false, nullptr, nullptr, nullptr},
        {u"ends after it;", false, nullptr, nullptr, nullptr},
        {u"", false, nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const Text line(reinterpret_cast<const WCHAR*>(c.line));
        SCOPED_TRACE(testing::PrintToString(std::u16string(c.line)));
        TemplateLine parts;
        ASSERT_EQ(SplitTemplateLine(line.data(), line.size(), parts), c.ok);
        if (!c.ok)
            continue;
        EXPECT_EQ(Part(line, parts.name), Text(reinterpret_cast<const WCHAR*>(c.name)));
        EXPECT_EQ(Part(line, parts.file), Text(reinterpret_cast<const WCHAR*>(c.file)));
        EXPECT_EQ(parts.hasPage, c.page != nullptr);
        if (c.page) {
            EXPECT_EQ(Part(line, parts.page), Text(reinterpret_cast<const WCHAR*>(c.page)));
        }
    }
    // Only `length` characters count: a semicolon past them is not seen.
    const Text cut(reinterpret_cast<const WCHAR*>(u"Name;file;page"));
    TemplateLine parts;
    EXPECT_FALSE(SplitTemplateLine(cut.data(), 5, parts));
    ASSERT_TRUE(SplitTemplateLine(cut.data(), 9, parts));
    EXPECT_FALSE(parts.hasPage);
}

TEST(ConfigurationRules, LanguageAbbreviations)
{
    const struct {
        const char16_t* text;
        ULONG lcid;
    } cases[] = {
        {u"ENU", 0x0409}, {u"JPN", 0x0411}, {u"FRA", 0x040C}, {u"DEU", 0x0407}, {u"ITA", 0x0410},
        {u"ESP", 0x040A}, {u"jpn", 0x0409}, {u"DEU ", 0x0409}, {u"DE", 0x0409},  {u"", 0x0409},
        {u"DEUX", 0x0409},
    };
    for (const auto& c : cases) {
        const Text text(reinterpret_cast<const WCHAR*>(c.text));
        EXPECT_EQ(LocaleFromLanguageAbbreviation(text.data(), text.size()), c.lcid)
            << testing::PrintToString(std::u16string(c.text));
    }
}

TEST(ConfigurationRules, AllowableNameLength)
{
    const struct {
        size_t root;
        int length;
    } cases[] = {
        {11, 110}, // C:\Projects: 33 characters in all, (259 - 33) / 2 - 3
        {0, 115},  {12, 109}, {13, 109}, {231, 0}, {230, 0}, {228, 1}, {259, 0}, {100000, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AllowableNameLength(c.root), c.length) << c.root;
}

TEST(ConfigurationRules, UserLocaleClasses)
{
    const struct {
        ULONG lcid;
        int first, second;
    } cases[] = {
        {0x0411, 3, 4}, {0x0412, 4, 5}, {0x0404, 1, 2}, {0x0804, 1, 1}, {0x0C04, 1, 1}, {0x1004, 1, 1},
        {0x1404, 1, 1}, {0x0409, 2, 3}, {0x0407, 2, 3}, {0x0004, 2, 3}, {0x10411, 2, 3},
    };
    for (const auto& c : cases) {
        int first = -1, second = -1;
        ClassifyUserLocale(c.lcid, first, second);
        EXPECT_EQ(first, c.first) << std::hex << c.lcid;
        EXPECT_EQ(second, c.second) << std::hex << c.lcid;
    }
}

TEST(ConfigurationRules, PathParts)
{
    const struct {
        const char16_t* path;
        const char16_t* folder;
        const char16_t* extension;
    } cases[] = {
        {u"C:\\Out\\list.csv", u"C:\\Out\\", u".csv"},
        {u"C:\\App\\Brand.fra", u"C:\\App\\", u".fra"},
        {u"C:\\App.old\\Brand", u"C:\\App.old\\", u""}, // a folder's dot is no extension
        {u"C:/a/b.tar.gz", u"C:/a/", u".gz"},
        {u"C:list.txt", u"C:", u".txt"},
        {u"list", u"", u""},
        {u"\\\\server\\share\\x.", u"\\\\server\\share\\", u"."},
        {u"C:\\Out\\", u"C:\\Out\\", u""},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        const Text path(reinterpret_cast<const WCHAR*>(c.path));
        SCOPED_TRACE(testing::PrintToString(std::u16string(c.path)));
        EXPECT_EQ(path.substr(0, FolderLength(path.data(), path.size())), Text(reinterpret_cast<const WCHAR*>(c.folder)));
        EXPECT_EQ(Part(path, ExtensionOf(path.data(), path.size())), Text(reinterpret_cast<const WCHAR*>(c.extension)));
    }
}

} // namespace
