// The checks that keep a changed document saveable: names, text, character data.
#include "xml/XmlName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Units = std::u16string;

struct NameCase {
    Units text;
    bool name;  // IsElementName
    bool chars; // IsCharacterText
    bool cdata; // IsCDataText
};

const NameCase kCases[] = {
    {u"Spacing", true, true, true},
    {u"_a-b.c9", true, true, true},
    {u"\u00E4\u4E2D\u00B7", true, true, true},      // letters of other scripts, middle dot inside
    {u"\U00010000x", true, true, true},             // a name start above the basic plane
    {u"", false, true, true},
    {u"9a", false, true, true},
    {u"-a", false, true, true},
    {u".a", false, true, true},
    {u"\u00B7a", false, true, true},                // middle dot may not start a name
    {u"a:b", false, true, true},                    // no prefixes
    {u"a b", false, true, true},
    {u"a\u00D7", false, true, true},                // multiplication sign
    {Units(u"a\0b", 3), false, false, false},       // embedded zero
    {u"a\u0001", false, false, false},
    {u"tab\tcr\rlf\n", false, true, true},
    {Units(1, char16_t(0xD800)) + u"a", false, false, false}, // unpaired high surrogate
    {u"a" + Units(1, char16_t(0xDC00)), false, false, false}, // unpaired low surrogate
    {u"\uFFFE", false, false, false},
    {u"\uFFFD", true, true, true},                  // the last name start of the basic plane
    {u"x]]>y", false, true, false},
    {u"]]", false, true, true},
    {u"]]>", false, true, false},
};

TEST(XmlName, NamesCharactersAndCharacterData)
{
    for (const NameCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "case of " << c.text.size() << " units, first "
                                        << (c.text.empty() ? 0 : int(c.text[0])));
        const auto* units = reinterpret_cast<const WCHAR*>(c.text.data());
        EXPECT_EQ(qn::xml::IsElementName(units, c.text.size()), c.name);
        EXPECT_EQ(qn::xml::IsCharacterText(units, c.text.size()), c.chars);
        EXPECT_EQ(qn::xml::IsCDataText(units, c.text.size()), c.cdata);
    }
    EXPECT_FALSE(qn::xml::IsElementName(nullptr, 0));
    EXPECT_TRUE(qn::xml::IsCharacterText(nullptr, 0));
}

} // namespace
