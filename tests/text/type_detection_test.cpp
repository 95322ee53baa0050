// Data type detection, the last parser error, and the name checks.
#include <QNNumeral.h>
#include <QNResult.h>
#include <QNUtilityClass.h>

#include "Literals.h"
#include "support/AfxTestPrint.h"
#ifdef QN_NATIVE
#include "text/NamePlatform.h"
#endif

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CString Text(const std::u16string& text)
{
    return CString(reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()));
}

// Detection with the parser's diagnostic line captured.
QNDataType Detect(const CString& text, LONG* value, std::string* diagnostic = nullptr)
{
    testing::internal::CaptureStderr();
    const QNDataType type = CQNUtility::ParserAndGetDataType(text, value);
    const std::string written = testing::internal::GetCapturedStderr();
    if (diagnostic)
        *diagnostic = written;
    return type;
}

// Every literal: its type, or QNDT_INVALID with the error kept; the value as
// the helper saturated it.
TEST(DetectType, DecidesTypeAndValue)
{
    struct Case {
        std::u16string text;
        QNDataType type;
        LONG value;
        int lastError; // -1: left as it was
    };
    std::vector<Case> cases = {
        {u"x", QNDT_INVALID, 0, 0},
        {u"", QNDT_INVALID, 0, 0},
        {u"1,5", QNDT_INVALID, 0, 0}, // '.' is this locale's separator
        {std::u16string(u"12\0x", 4), QNDT_INT8, 12, -1}, // the text ends at an embedded NUL
    };
    for (const qntest::Literal& c : qntest::kLiterals) {
        const std::string text(c.text);
        cases.push_back({std::u16string(text.begin(), text.end()), c.error ? QNDT_INVALID : c.type, c.value,
                         c.error ? c.error : -1});
    }
    for (const Case& c : cases) {
        CQNUtility::m_nLastParserError = -1;
        LONG value = 12345;
        EXPECT_EQ(Detect(Text(c.text), &value), c.type);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(CQNUtility::GetLastParserError(), c.lastError);
        EXPECT_EQ(Detect(Text(c.text), nullptr), c.type);
    }
}

TEST(DetectType, SyntaxErrorsWriteTheDiagnosticLine)
{
    std::string line;
    EXPECT_EQ(Detect(_T("12x"), nullptr, &line), QNDT_INVALID);
    EXPECT_EQ(line, "Unexpected 'x', line 1, column 3\n");
    EXPECT_EQ(Detect(_T("2147483648"), nullptr, &line), QNDT_INVALID);
    EXPECT_EQ(line, "");
}

TEST(DetectType, NumberOnlyMeansIntegerOrReal)
{
    const struct {
        LPCWSTR text;
        bool number;
    } cases[] = {
        {_T("0x10"), true}, {_T("1e5"), true},   {_T("-7"), true},  {_T("017"), true},    {_T("9L"), true},
        {_T("5."), true},   {_T("true"), false}, {_T("'a'"), false}, {_T("abc"), false}, {_T(""), false},
        {_T("99999999999"), false},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(CQNUtility::IsNumberOnly(c.text), c.number);
        testing::internal::GetCapturedStderr();
    }
}

// --- Names -----------------------------------------------------------------------

TEST(ValidName, ChecksLengthCharactersAndUnderscore)
{
    const struct {
        std::u16string name;
        HRESULT result;
    } cases[] = {
        {u"Tag1", S_OK},
        {u"a_b", S_OK},
        {u"a", S_OK},
        {u"x__9_", S_OK},
        {std::u16string(32, u'a'), S_OK},
        {u"\u00C4rger1", S_OK},   // letters of other scripts count
        {u"\u0416\u0443\u043A", S_OK},
        {u"", QN_E_TOOSHORT},
        {std::u16string(33, u'a'), QN_E_TOOLONG},
        {u"_" + std::u16string(32, u'a'), QN_E_TOOLONG}, // length first
        {u"_a", QN_E_LEADINGUNDERSCORE},
        {u"_", QN_E_LEADINGUNDERSCORE},
        {u"_" + std::u16string(31, u'a'), QN_E_LEADINGUNDERSCORE},
        {u"__a", QN_E_INVALIDCHAR},
        {u"_1", QN_E_INVALIDCHAR}, // characters before the underscore
        {u"1a", QN_E_INVALIDCHAR},
        {u"a-b", QN_E_INVALIDCHAR},
        {u"a b", QN_E_INVALIDCHAR},
        {u"a.b", QN_E_INVALIDCHAR},
        {u"a\u00B7", QN_E_INVALIDCHAR},
        {std::u16string(u"a\0b", 3), QN_E_INVALIDCHAR},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CQNUtility::IsValidName(Text(c.name)), c.result) << ToUtf8ForTest(Text(c.name), int(c.name.size()));
}

TEST(ValidName, EnglishFileNamesAreAsciiLettersAndDigits)
{
    const struct {
        std::u16string name;
        HRESULT result;
    } cases[] = {
        {u"Report2", S_OK},
        {u"a", S_OK},
        {u"Z9z", S_OK},
        {u"", QN_E_TOOSHORT},
        {std::u16string(33, u'b'), QN_E_TOOLONG},
        {u"2Report", QN_E_INVALIDCHAR},
        {u"my-file", QN_E_INVALIDCHAR}, // passes the ASCII check, not the name check
        {u"-", QN_E_INVALIDCHAR},
        {u"a.b", QN_E_INVALIDCHAR},
        {u"a_b", QN_E_INVALIDCHAR},
        {u"_a", QN_E_INVALIDCHAR},
        {u"\u00C4rger", QN_E_INVALIDCHAR},
        {std::u16string(33, u'\u00C4'), QN_E_INVALIDCHAR}, // characters before the length here
    };
    for (const auto& c : cases) {
        CString name = Text(c.name);
        EXPECT_EQ(CQNUtility::IsValidEnglishFilename(name), c.result);
        EXPECT_EQ(name, Text(c.name));
    }
}

#ifdef QN_NATIVE
TEST(ValidName, ClassificationFailureIsEFail)
{
    qn::text::g_failNameClassification = true;
    const HRESULT valid = CQNUtility::IsValidName(_T("Tag"));
    const HRESULT tooLong = CQNUtility::IsValidName(CString(_T('a'), 33));
    qn::text::g_failNameClassification = false;
    EXPECT_EQ(valid, E_FAIL);
    EXPECT_EQ(tooLong, QN_E_TOOLONG); // the length is checked before classifying
}
#endif

TEST(IsASCII, EveryCharacterBelow128)
{
    const struct {
        std::u16string text;
        bool ascii;
    } cases[] = {
        {u"", true}, {u"abc", true}, {std::u16string(u"\x7F\0z", 3), true},
        {u"abc\u0080", false}, {u"\u00E9abc", false}, {u"a\uFFFFc", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(!!CQNUtility::IsASCII(Text(c.text)), c.ascii) << ToUtf8ForTest(Text(c.text), int(c.text.size()));
}

} // namespace
