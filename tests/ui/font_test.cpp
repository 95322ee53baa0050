// The font record, the catalogue's order and filter, and the rounding of the
// height conversions (portable rules; the enumeration is tested under Wine).
#include "ui/FontCatalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::u16string Text(BSTR text) { return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : u"<null>"; }
const WCHAR* W(const char16_t* text) { return reinterpret_cast<const WCHAR*>(text); }

TEST(HMIFont, DescriptionCopiesAndEquality)
{
    const struct {
        const char16_t* face;
        const char16_t* script;
        std::u16string description;
    } records[] = {
        {u"Arial", u"Western", u"Arial (Western)"}, {u"Arial", u"", u"Arial"}, {u"Arial", nullptr, u"Arial"},
        {u"", u"Cyrillic", u" (Cyrillic)"},         {nullptr, nullptr, u"<null>"},
    };
    for (const auto& c : records) {
        CHMIFont font(W(c.face), 204, W(c.script), W(u"Orig"));
        CHMIFont copy(font);
        CHMIFont assigned;
        assigned = font;
        assigned = assigned; // self-assignment keeps the strings
        for (const CHMIFont* f : {&font, &copy, &assigned}) {
            EXPECT_EQ(Text(f->Description()), c.description);
            EXPECT_EQ(Text(f->OriginalFace()), u"Orig");
            EXPECT_EQ(f->Charset(), 204);
            EXPECT_TRUE(*f == font);
            EXPECT_TRUE(f == &font || !font.Face() || f->Face() != font.Face()); // deep
        }
    }
    CHMIFont empty;
    EXPECT_EQ(empty.Charset(), 1);
    EXPECT_EQ(Text(empty.Face()) + u"|" + Text(empty.Description()) + u"|" + Text(empty.OriginalFace()), u"||");
    // Equality: face and character set only; one missing face differs.
    EXPECT_TRUE(CHMIFont(W(u"A"), 0, W(u"Western")) == CHMIFont(W(u"A"), 0, W(u"Other")));
    EXPECT_FALSE(CHMIFont(W(u"A"), 0, nullptr) == CHMIFont(W(u"a"), 0, nullptr));
    EXPECT_FALSE(CHMIFont(W(u"A"), 0, nullptr) == CHMIFont(W(u"AB"), 0, nullptr));
    EXPECT_FALSE(CHMIFont(W(u"A"), 0, nullptr) == CHMIFont(W(u"A"), 204, nullptr));
    EXPECT_FALSE(CHMIFont(W(u"A"), 0, nullptr) == CHMIFont(nullptr, 0, nullptr));
    EXPECT_FALSE(CHMIFont(nullptr, 0, nullptr) == CHMIFont(W(u"A"), 0, nullptr));
    EXPECT_TRUE(CHMIFont(nullptr, 0, nullptr) == CHMIFont(nullptr, 0, nullptr));
}

TEST(FontCatalogue, InsertKeepsOrdinalOrderAndDropsDuplicates)
{
    const struct {
        const char16_t* face;
        unsigned charset;
        const char16_t* script;
        bool inserted;
    } input[] = {
        {u"Zeta", 0, u"Western", true}, {u"alpha", 0, u"Western", true}, {u"Face", 0, u"Western", true},
        {u"Face", 204, u"Cyrillic", true}, {u"Face", 0, u"Western", false}, {u"", 0, u"", true},
        {u"Beta", 2, u"Symbol", true},   {u"", 0, u"x", false},
    };
    CHMIFontList list;
    for (const auto& e : input) {
        CHMIFont font(W(e.face), static_cast<unsigned char>(e.charset), W(e.script));
        EXPECT_EQ(qn::ui::InsertSorted(list, font), e.inserted) << e.charset;
    }
    std::u16string order;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        order += Text(list.GetNext(pos).Description()) + u";";
    // Records without a description first; upper case before lower case;
    // Cyrillic before Western for one face.
    EXPECT_EQ(order, u";Beta (Symbol);Face (Cyrillic);Face (Western);Zeta (Western);alpha (Western);");
    EXPECT_GT(qn::ui::CompareOrdinal(W(u"\xFF01"), W(u"a")), 0); // code units compare unsigned

    CQNUtility::m_pFontList = new CHMIFontList(10);
    CQNUtility::m_pFontList->AddTail(list.GetHead());
    EXPECT_EQ(CQNUtility::DeleteFontList(), S_OK);
    EXPECT_EQ(CQNUtility::m_pFontList, nullptr);
    EXPECT_EQ(CQNUtility::DeleteFontList(), S_FALSE);
}

TEST(FontCatalogue, FilterAndRounding)
{
    const struct {
        const char16_t* fullName;
        unsigned charset;
        bool listed;
    } filter[] = {
        {u"Arial", 0, true},          {u"Arial", 1, false},         {u"Arial", 161, false},
        {u"@MS Gothic", 128, false},  {u"Small Fonts", 128, false}, {u"Small Fonts", 0, true},
        {u"Small Fonts x", 128, true}, {u"Font", 2, true},          {u"Font", 129, true},
        {u"Font", 134, true},         {u"Font", 136, true},         {u"Font", 204, true},
    };
    for (const auto& f : filter)
        EXPECT_EQ(qn::ui::IsCatalogueFont(W(f.fullName), f.charset), f.listed) << f.charset;

    const struct {
        int value, numerator, denominator, result;
    } muldiv[] = {
        {8, 96, 72, 11}, {-11, 72, 96, -8}, {0, 96, 72, 0},  {3, 1, 2, 2},    {-3, 1, 2, -2},
        {5, 1, 2, 3},    {-5, 1, 2, -3},    {1, 1, 3, 0},    {2, 1, 3, 1},    {7, 1, 0, -1},
        {7, -1, 2, -4},  {7, 2, -4, -4},    {0x7FFFFFFF, 2, 1, -1}, {-0x7FFFFFFF, 2, 1, -1},
        {0x7FFFFFFF, 1, 1, 0x7FFFFFFF},     {-0x7FFFFFFF, 1, 1, -0x7FFFFFFF},
    };
    for (const auto& m : muldiv)
        EXPECT_EQ(qn::ui::MulDivRounded(m.value, m.numerator, m.denominator), m.result)
            << m.value << "*" << m.numerator << "/" << m.denominator;
}

} // namespace
