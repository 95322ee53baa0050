// Type detection reads the user's form: under a user locale with ',' as the
// decimal separator a real is typed with ','. Runs in the text.de_DE run and
// skips itself under any other locale.
#include <QNUtility.h>

#include <gtest/gtest.h>

namespace {

TEST(DetectTypeGermanLocale, CommaIsTheDecimalSeparator)
{
    WCHAR separator[5] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 5);
    if (separator[0] != L',')
        GTEST_SKIP() << "needs a user locale with ',' as decimal separator";

    const struct {
        LPCWSTR text;
        QNDataType type;
        LONG value;
    } cases[] = {
        {L"1,5", QNDT_FLOAT, 0},
        {L"-12,5e-3", QNDT_FLOAT, 0},
        {L"3,40282e38", QNDT_DOUBLE, 0},
        {L"42", QNDT_INT8, 42},
        {L"0x1F", QNDT_INT8, 31}, // no number in the locale: parsed as it stands
        {L"'a'", QNDT_CHAR, 0},
        {L"true", QNDT_BOOL, 0},
        {L"1,5f", QNDT_INVALID, 0}, // not converted, and ',' is no part of a literal
    };
    for (const auto& c : cases) {
        LONG value = -1;
        testing::internal::CaptureStderr();
        EXPECT_EQ(CQNUtility::ParserAndGetDataType(c.text, &value), c.type);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(value, c.value);
    }
    EXPECT_TRUE(CQNUtility::IsNumberOnly(L"1,5"));
}

} // namespace
