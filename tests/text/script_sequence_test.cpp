// MakeNextSequenceName in both forms, with the sequence state it keeps.
#include <QNUtility.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <climits>

#ifdef QN_NATIVE
#include "text/SequencePlatform.h"
#endif

namespace {

class SequenceName : public testing::Test {
protected:
    void SetUp() override { ResetState(); }
    void TearDown() override { ResetState(); }

    static void ResetState()
    {
        CQNUtility::m_cstrNameBase.Empty();
        CQNUtility::m_cstrNumberBase.Empty();
        CQNUtility::m_nIncrement = 0;
        CQNUtility::m_nMaxNameLength = 0;
    }

    static CString Next(const WCHAR* name, int increment, int maxLength)
    {
        CString text = name;
        EXPECT_EQ(S_OK, CQNUtility::MakeNextSequenceName(text, increment, maxLength));
        return text;
    }

    static CString Next()
    {
        CString text = _T("ignored");
        EXPECT_EQ(S_OK, CQNUtility::MakeNextSequenceName(text));
        return text;
    }
};

TEST_F(SequenceName, StartsASequenceFromAName)
{
    struct Case {
        const WCHAR* name;
        int increment;
        int maxLength;
        const WCHAR* expected;
    };
    const Case cases[] = {
        {_T("Switch08"), 1, 32, _T("Switch09")},
        {_T("Lamp"), 1, 32, _T("Lamp01")},
        {_T("Lamp"), 5, 32, _T("Lamp05")},
        {_T("Lamp"), 123, 32, _T("Lamp123")},
        {_T("Tank099"), 1, 32, _T("Tank100")},
        {_T("Tank9"), 1, 32, _T("Tank10")},
        {_T("A1234567"), 1, 8, _T("A1234568")},
        {_T("AB9999"), 1, 6, _T("A10000")},
        {_T("AB9999"), 1, 3, _T("10000")},
        {_T("Item 7"), 1, 32, _T("Item 8")},
        {_T("007"), 1, 32, _T("008")},
        {_T("A1"), 0, 32, _T("A1")},
        // Counting down keeps the width; a sign takes one of its places.
        {_T("X10"), -1, 32, _T("X09")},
        {_T("X5"), -10, 32, _T("X-5")},
        {_T("X005"), -10, 32, _T("X-05")},
        {_T("N5"), INT_MIN, 32, _T("N-2147483643")},
        // Without digits the name base makes room for two digits.
        {_T("Motor"), 1, 4, _T("Mo01")},
        {_T("Lamp"), 1, 6, _T("Lamp01")},
        {_T("Lamp"), 1, 7, _T("Lamp01")},
        {_T("Lamp"), 1, 1, _T("01")},
        {_T("Lamp"), -3, 32, _T("Lamp-3")},
        {_T(""), 1, 32, _T("01")},
        {_T("9"), 1, 0, _T("10")},
        // Beyond 32 bits the number is carried on in decimal text.
        {_T("Tag2147483647"), 1, 32, _T("Tag2147483648")},
        {_T("Tag99999999999"), 1, 32, _T("Tag100000000000")},
        {_T("T99999999999999999999999999"), 1, 40, _T("T100000000000000000000000000")},
        {_T("T10000000000"), -1, 40, _T("T09999999999")},
        {_T("T4294967296"), INT_MIN, 40, _T("T2147483648")},
        {_T("T4294967296"), INT_MAX, 40, _T("T6442450943")},
        {_T("Tag00000000000000000005"), 1, 40, _T("Tag00000000000000000006")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.expected), Next(c.name, c.increment, c.maxLength)) << ToUtf8ForTest(c.name, -1);
}

TEST_F(SequenceName, KeepsTheSequenceInTheSharedState)
{
    EXPECT_EQ(CString(_T("Lamp05")), Next(_T("Lamp"), 5, 32));
    EXPECT_EQ(CString(_T("Lamp")), CQNUtility::m_cstrNameBase);
    EXPECT_EQ(CString(_T("05")), CQNUtility::m_cstrNumberBase);
    EXPECT_EQ(5, CQNUtility::m_nIncrement);
    EXPECT_EQ(32, CQNUtility::m_nMaxNameLength);
    EXPECT_EQ(CString(_T("Lamp10")), Next());
    EXPECT_EQ(CString(_T("Lamp15")), Next());
    EXPECT_EQ(CString(_T("15")), CQNUtility::m_cstrNumberBase);

    // A new first-form call starts a new sequence.
    EXPECT_EQ(CString(_T("Tank100")), Next(_T("Tank099"), 1, 32));
    EXPECT_EQ(CString(_T("Tank101")), Next());
}

TEST_F(SequenceName, ContinuingCutsTheNameBaseAndKeepsTheCut)
{
    EXPECT_EQ(CString(_T("A10000")), Next(_T("AB9999"), 1, 6));
    EXPECT_EQ(CString(_T("A")), CQNUtility::m_cstrNameBase);
    EXPECT_EQ(CString(_T("A10001")), Next());
    CQNUtility::m_cstrNumberBase = _T("99999");
    EXPECT_EQ(CString(_T("100000")), Next());
    EXPECT_EQ(CString(_T("")), CQNUtility::m_cstrNameBase);
}

TEST_F(SequenceName, ContinuingFromAnyStoredNumber)
{
    struct Case {
        const WCHAR* nameBase;
        const WCHAR* numberBase;
        int increment;
        const WCHAR* expected;
    };
    const Case cases[] = {
        {_T("Q"), _T(""), 3, _T("Q3")},
        {_T("Q"), _T("-3"), 1, _T("Q-2")},
        {_T("Q"), _T("007"), 1, _T("Q008")},
        {_T("Q"), _T("99999999999"), 1, _T("Q100000000000")},
        {_T("Q"), _T("-99999999999"), 1, _T("Q-99999999998")},
        {_T("Q"), _T("-2147483648"), -1, _T("Q-2147483649")},
        {_T("Q"), _T("abc"), 4, _T("Q004")},
    };
    for (const Case& c : cases) {
        CQNUtility::m_cstrNameBase = c.nameBase;
        CQNUtility::m_cstrNumberBase = c.numberBase;
        CQNUtility::m_nIncrement = c.increment;
        CQNUtility::m_nMaxNameLength = 32;
        EXPECT_EQ(CString(c.expected), Next()) << ToUtf8ForTest(c.numberBase, -1);
    }
}

#ifdef QN_NATIVE
TEST_F(SequenceName, ClassificationFailureIsUnexpectedAndLeavesTheName)
{
    qn::text::g_failDigitClassification = true;
    CString name = _T("Tag1");
    const HRESULT hr = CQNUtility::MakeNextSequenceName(name, 7, 20);
    qn::text::g_failDigitClassification = false;
    EXPECT_EQ(E_UNEXPECTED, hr);
    EXPECT_EQ(CString(_T("Tag1")), name);
    // The increment and the length were stored before the classification.
    EXPECT_EQ(7, CQNUtility::m_nIncrement);
    EXPECT_EQ(20, CQNUtility::m_nMaxNameLength);
    EXPECT_TRUE(CQNUtility::m_cstrNameBase.IsEmpty());
}
#endif

} // namespace
