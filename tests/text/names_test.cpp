// The name checks: IsValidName, IsValidEnglishFilename and IsASCII, one row
// per text with the verdict of each.
#include <QNResult.h>
#include <QNUtilityClass.h>

#include "support/AfxTestPrint.h"
#ifdef QN_NATIVE
#include "text/NamePlatform.h"
#endif

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Names, EveryCheckOnEveryText)
{
    const std::u16string a32(32, u'a'), a31(31, u'a');
    const struct {
        std::u16string text;
        HRESULT name, english;
        bool ascii;
    } cases[] = {
        {u"Tag1", S_OK, S_OK, true}, {u"a", S_OK, S_OK, true}, {u"Z9z", S_OK, S_OK, true}, {a32, S_OK, S_OK, true},
        {u"a_b", S_OK, QN_E_INVALIDCHAR, true}, // an underscore inside is judged as a digit
        {u"x__9_", S_OK, QN_E_INVALIDCHAR, true},
        {u"\u00C4rger1", S_OK, QN_E_INVALIDCHAR, false}, // letters of other scripts count
        {u"\u0416\u0443\u043A", S_OK, QN_E_INVALIDCHAR, false}, {u"", QN_E_TOOSHORT, QN_E_TOOSHORT, true},
        {a32 + u"a", QN_E_TOOLONG, QN_E_TOOLONG, true},
        {u"_" + a32, QN_E_TOOLONG, QN_E_INVALIDCHAR, true}, // length first; ASCII check first
        {std::u16string(33, u'\u00C4'), QN_E_TOOLONG, QN_E_INVALIDCHAR, false},
        {u"_a", QN_E_LEADINGUNDERSCORE, QN_E_INVALIDCHAR, true},
        {u"_", QN_E_LEADINGUNDERSCORE, QN_E_INVALIDCHAR, true},
        {u"_" + a31, QN_E_LEADINGUNDERSCORE, QN_E_INVALIDCHAR, true},
        {u"__a", QN_E_INVALIDCHAR, QN_E_INVALIDCHAR, true}, {u"1a", QN_E_INVALIDCHAR, QN_E_INVALIDCHAR, true},
        {u"_1", QN_E_INVALIDCHAR, QN_E_INVALIDCHAR, true}, // characters before the underscore
        {u"a-b", QN_E_INVALIDCHAR, QN_E_INVALIDCHAR, true}, // passes the ASCII check, not the name check
        {u"-", QN_E_INVALIDCHAR, QN_E_INVALIDCHAR, true}, {u"a b", QN_E_INVALIDCHAR, QN_E_INVALIDCHAR, true},
        {u"a.b", QN_E_INVALIDCHAR, QN_E_INVALIDCHAR, true}, {u"a\u00B7", QN_E_INVALIDCHAR, QN_E_INVALIDCHAR, false},
        {u"abc\u0080", QN_E_INVALIDCHAR, QN_E_INVALIDCHAR, false}, {u"\u00E9abc", S_OK, QN_E_INVALIDCHAR, false},
        {u"a\uFFFFc", QN_E_INVALIDCHAR, QN_E_INVALIDCHAR, false},
        {std::u16string(u"a\0b", 3), QN_E_INVALIDCHAR, QN_E_INVALIDCHAR, true},
        {std::u16string(u"\x7F\0z", 3), QN_E_INVALIDCHAR, QN_E_INVALIDCHAR, true},
    };
    for (const auto& c : cases) {
        const CString text(reinterpret_cast<LPCWSTR>(c.text.data()), int(c.text.size()));
        SCOPED_TRACE(ToUtf8ForTest(text, text.GetLength()));
        EXPECT_EQ(CQNUtility::IsValidName(text), c.name);
        CString name = text;
        EXPECT_EQ(CQNUtility::IsValidEnglishFilename(name), c.english);
        EXPECT_EQ(name, text);
        EXPECT_EQ(!!CQNUtility::IsASCII(text), c.ascii);
    }
}

#ifdef QN_NATIVE
TEST(Names, ClassificationFailureIsEFail)
{
    qn::text::g_failNameClassification = true;
    const HRESULT valid = CQNUtility::IsValidName(_T("Tag"));
    const HRESULT tooLong = CQNUtility::IsValidName(CString(_T('a'), 33));
    qn::text::g_failNameClassification = false;
    EXPECT_EQ(valid, E_FAIL);
    EXPECT_EQ(tooLong, QN_E_TOOLONG); // the length is checked before classifying
}
#endif

} // namespace
