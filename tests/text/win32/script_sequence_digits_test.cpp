// Sequence names whose trailing digits belong to other scripts: the platform
// classifies them as digits, and they are folded to '0'..'9' before they are read.
#include <QNUtility.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

namespace {

TEST(SequenceNameDigits, DigitsOfOtherScriptsAreFoldedAndRead)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"Tank\x0663", L"Tank4"},            // Arabic-Indic three
        {L"Tank\xFF19", L"Tank10"},           // fullwidth nine
        {L"Pump\x0966\x0967", L"Pump02"},     // Devanagari zero one
        {L"Mix\x0661\x0039", L"Mix20"},       // Arabic-Indic one, ASCII nine
    };
    for (const Case& c : cases) {
        CString name = c.name;
        ASSERT_EQ(S_OK, CQNUtility::MakeNextSequenceName(name, 1, 32));
        EXPECT_EQ(CString(c.expected), name) << ToUtf8ForTest(c.name, -1);
    }
}

} // namespace
