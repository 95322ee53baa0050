// GenerateKey: computer name, "ddmmyy" date picture, "HHmmss" time picture.
#include <QNUtilityClass.h>
#include <support/UtilityAccess.h>

#include <gtest/gtest.h>

#include <cwchar>

namespace {

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

TEST(GenerateKey, Layout)
{
    struct Case {
        const wchar_t* computer;
        SYSTEMTIME when;
        const wchar_t* key;
    };
    const Case cases[] = {
        {L"PANEL7", At(2026, 12, 4, 9, 5, 3), L"PANEL704mm26090503"},
        {L"A", At(2000, 1, 31, 23, 59, 59), L"A31mm00235959"},
        {L"STATION-15-CHARS", At(1999, 7, 1, 0, 0, 0), L"STATION-15-CHARS01mm99000000"},
        {L"", At(2026, 2, 28, 12, 30, 0), L"28mm26123000"},
    };
    for (const Case& c : cases) {
        CString key(_T("previous content is overwritten"));
        CQNUtilityTestAccess::BuildKey(key, c.computer, c.when);
        EXPECT_STREQ(static_cast<LPCWSTR>(key), c.key);
    }
}

TEST(GenerateKey, UsesThisComputerAndTheClock)
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(::GetComputerNameW(name, &size));
    // Retry when the clock's second moves between the two readings.
    for (int attempt = 0; attempt < 5; ++attempt) {
        SYSTEMTIME before;
        ::GetLocalTime(&before);
        CString key(_T("old"));
        EXPECT_EQ(CQNUtility::GenerateKey(key), S_OK);
        SYSTEMTIME after;
        ::GetLocalTime(&after);
        if (before.wSecond != after.wSecond)
            continue;
        wchar_t expected[64];
        swprintf(expected, 64, L"%ls%02umm%02u%02u%02u%02u", name, before.wDay, before.wYear % 100, before.wHour,
                 before.wMinute, before.wSecond);
        EXPECT_STREQ(static_cast<LPCWSTR>(key), expected);
        return;
    }
    FAIL() << "the clock kept moving";
}

} // namespace
