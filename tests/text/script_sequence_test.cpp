// MakeNextSequenceName in both forms, with the sequence state it keeps.
#include <QNUtility.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <climits>

#ifdef QN_NATIVE
#include "text/SequencePlatform.h"
#endif

namespace {

void SetState(const WCHAR* nameBase, const WCHAR* numberBase, int increment, int maxLength)
{
    CQNUtility::m_cstrNameBase = nameBase;
    CQNUtility::m_cstrNumberBase = numberBase;
    CQNUtility::m_nIncrement = increment;
    CQNUtility::m_nMaxNameLength = maxLength;
}

// A row with a name starts a sequence; a row without one (null) continues the
// stored one. Each row checks the name and the state left behind.
TEST(SequenceName, StartsAndContinuesSequences)
{
    const struct {
        const WCHAR* name;
        int increment, maxLength;
        const WCHAR* expected;
    } cases[] = {
        {_T("Switch08"), 1, 32, _T("Switch09")}, {_T("Lamp"), 1, 32, _T("Lamp01")},
        {_T("Lamp"), 5, 32, _T("Lamp05")}, {nullptr, 0, 0, _T("Lamp10")}, {nullptr, 0, 0, _T("Lamp15")},
        {_T("Lamp"), 123, 32, _T("Lamp123")}, {_T("Tank099"), 1, 32, _T("Tank100")}, {nullptr, 0, 0, _T("Tank101")},
        {_T("Tank9"), 1, 32, _T("Tank10")}, {_T("A1234567"), 1, 8, _T("A1234568")},
        {_T("AB9999"), 1, 6, _T("A10000")}, {nullptr, 0, 0, _T("A10001")}, {_T("AB9999"), 1, 3, _T("10000")},
        {_T("Item 7"), 1, 32, _T("Item 8")}, {_T("007"), 1, 32, _T("008")}, {_T("A1"), 0, 32, _T("A1")},
        // Counting down keeps the width; a sign takes one of its places.
        {_T("X10"), -1, 32, _T("X09")}, {_T("X5"), -10, 32, _T("X-5")}, {_T("X005"), -10, 32, _T("X-05")},
        {_T("N5"), INT_MIN, 32, _T("N-2147483643")},
        // Without digits the name base makes room for two digits.
        {_T("Motor"), 1, 4, _T("Mo01")}, {_T("Lamp"), 1, 6, _T("Lamp01")},
        {_T("Lamp"), 1, 7, _T("Lamp01")}, {_T("Lamp"), 1, 1, _T("01")},
        {_T("Lamp"), -3, 32, _T("Lamp-3")}, {_T(""), 1, 32, _T("01")}, {_T("9"), 1, 0, _T("10")},
        // Beyond 32 bits the number is carried on in decimal text.
        {_T("Tag2147483647"), 1, 32, _T("Tag2147483648")},
        {_T("T99999999999999999999999999"), 1, 40, _T("T100000000000000000000000000")},
        {_T("T10000000000"), -1, 40, _T("T09999999999")}, {_T("T4294967296"), INT_MIN, 40, _T("T2147483648")},
        {_T("T4294967296"), INT_MAX, 40, _T("T6442450943")},
        {_T("Tag00000000000000000005"), 1, 40, _T("Tag00000000000000000006")},
#ifdef _WIN32
        // Digits of other scripts are classified as digits and folded to '0'..'9'.
        {L"Tank\x0663", 1, 32, L"Tank4"}, {L"Tank\xFF19", 1, 32, L"Tank10"},
        {L"Pump\x0966\x0967", 1, 32, L"Pump02"}, {L"Mix\x0661\x0039", 1, 32, L"Mix20"},
#endif
    };
    SetState(_T(""), _T(""), 0, 0);
    for (const auto& c : cases) {
        CString name = c.name ? c.name : _T("ignored");
        EXPECT_EQ(S_OK, c.name ? CQNUtility::MakeNextSequenceName(name, c.increment, c.maxLength)
                               : CQNUtility::MakeNextSequenceName(name));
        SCOPED_TRACE(ToUtf8ForTest(c.expected, -1));
        EXPECT_EQ(CString(c.expected), name);
        EXPECT_EQ(CQNUtility::m_cstrNameBase + CQNUtility::m_cstrNumberBase, name); // the state kept
        if (c.name) {
            EXPECT_EQ(c.increment, CQNUtility::m_nIncrement);
            EXPECT_EQ(c.maxLength, CQNUtility::m_nMaxNameLength);
        }
    }
}

TEST(SequenceName, ContinuesFromAnyStoredState)
{
    const struct {
        const WCHAR* nameBase;
        const WCHAR* numberBase;
        int increment, maxLength;
        const WCHAR* expected;
        const WCHAR* nameBaseAfter;
    } cases[] = {
        {_T("Q"), _T(""), 3, 32, _T("Q3"), _T("Q")}, {_T("Q"), _T("-3"), 1, 32, _T("Q-2"), _T("Q")},
        {_T("Q"), _T("007"), 1, 32, _T("Q008"), _T("Q")},
        {_T("Q"), _T("99999999999"), 1, 32, _T("Q100000000000"), _T("Q")},
        {_T("Q"), _T("-99999999999"), 1, 32, _T("Q-99999999998"), _T("Q")},
        {_T("Q"), _T("-2147483648"), -1, 32, _T("Q-2147483649"), _T("Q")},
        {_T("Q"), _T("abc"), 4, 32, _T("Q004"), _T("Q")},
        {_T("A"), _T("99999"), 1, 6, _T("100000"), _T("")}, // the cut name base stays cut
        {_T("ABC"), _T("99"), 1, 4, _T("A100"), _T("A")},
    };
    for (const auto& c : cases) {
        SetState(c.nameBase, c.numberBase, c.increment, c.maxLength);
        CString name = _T("ignored");
        EXPECT_EQ(S_OK, CQNUtility::MakeNextSequenceName(name));
        EXPECT_EQ(CString(c.expected), name) << ToUtf8ForTest(c.numberBase, -1);
        EXPECT_EQ(CString(c.nameBaseAfter), CQNUtility::m_cstrNameBase) << ToUtf8ForTest(c.numberBase, -1);
    }
    SetState(_T(""), _T(""), 0, 0);
}

#ifdef QN_NATIVE
TEST(SequenceName, ClassificationFailureIsUnexpectedAndLeavesTheName)
{
    SetState(_T(""), _T(""), 0, 0);
    qn::text::g_failDigitClassification = true;
    CString name = _T("Tag1");
    const HRESULT hr = CQNUtility::MakeNextSequenceName(name, 7, 20);
    qn::text::g_failDigitClassification = false;
    EXPECT_EQ(E_UNEXPECTED, hr);
    EXPECT_EQ(CString(_T("Tag1")), name);
    EXPECT_EQ(7, CQNUtility::m_nIncrement); // stored before the classification
    EXPECT_EQ(20, CQNUtility::m_nMaxNameLength);
    EXPECT_TRUE(CQNUtility::m_cstrNameBase.IsEmpty());
}
#endif

} // namespace
