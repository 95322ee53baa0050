// Load and unload of the library (its application object, module state and
// place in the chain of extension modules) and GenerateKey.
#include <QNFrame.h>
#include <QNUtilityClass.h>
#include <support/UtilityAccess.h>
#include <support/win32/LanguageModules.h>

#include <gtest/gtest.h>

#include <string>

namespace {

HMODULE Library() { return ::GetModuleHandleW(L"QNUtility.dll"); }

TEST(Library, StateOfTheLibraryAndOfTheHost)
{
    AFX_MODULE_STATE* library = AfxGetStaticModuleState();
    ASSERT_TRUE(library && library->m_bDLL);
    EXPECT_EQ(library->m_hCurrentInstanceHandle, Library());
    EXPECT_EQ(library->m_hCurrentResourceHandle, Library());
    ASSERT_NE(dynamic_cast<CQNUtilityApp*>(library->m_pCurrentWinApp), nullptr);
    EXPECT_EQ(library->m_pCurrentWinApp->m_pszAppName, nullptr); // constructed with no name
    EXPECT_EQ(library->m_pCurrentWinApp->m_hInstance, Library());
    // The host's state is current and untouched (this host has no application object).
    EXPECT_EQ(AfxGetModuleState(), AfxGetAppModuleState());
    EXPECT_EQ(AfxGetInstanceHandle(), ::GetModuleHandleW(nullptr));
    EXPECT_EQ(AfxGetApp(), nullptr);
    // The library is in the extension chain: a lookup the host cannot answer is found there.
    bool found = false;
    for (CDynLinkLibrary* link = CDynLinkLibrary::GetChainHead(); link; link = link->m_pNextDLL)
        found = found || (link->m_hModule == Library() && link->m_hResource == Library());
    EXPECT_TRUE(found);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION), Library());
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(4711), RT_DIALOG), nullptr);
}

TEST(Library, SecondCopyLoadsAndUnloadsCleanly)
{
    // A copy under another name is a separate module: start-up and shut-down run in full.
    const std::wstring copy = qntest::BesideProgram(L"QNUtilityCopy.dll");
    ASSERT_TRUE(::CopyFileW(qntest::BesideProgram(L"QNUtility.dll").c_str(), copy.c_str(), FALSE));
    for (int round = 0; round < 3; ++round) {
        HMODULE second = ::LoadLibraryW(copy.c_str());
        ASSERT_TRUE(second && second != Library()) << "round " << round;
        using CrcFn = __int64 (*)(const void*, int);
        auto crc = reinterpret_cast<CrcFn>(reinterpret_cast<void*>(::GetProcAddress(second, "_ZN10CQNUtility11GenerateCRCEPKvi")));
        ASSERT_NE(crc, nullptr);
        EXPECT_EQ(static_cast<uint64_t>(crc("123456789", 9)), 0x62EC59E3F1A4F00Aull);
        EXPECT_TRUE(::FreeLibrary(second));
        EXPECT_EQ(::GetModuleHandleW(L"QNUtilityCopy.dll"), nullptr);
    }
    ::DeleteFileW(copy.c_str());
}

// The key: computer name, "ddmmyy" date picture (the "mm" passes through),
// "HHmmss" time picture; the string is overwritten.
TEST(GenerateKey, Layout)
{
    const struct {
        const wchar_t* computer;
        SYSTEMTIME when; // year, month, day of week, day, hour, minute, second, ms
        const wchar_t* key;
    } cases[] = {
        {L"PANEL7", {2026, 12, 0, 4, 9, 5, 3, 0}, L"PANEL704mm26090503"},
        {L"A", {2000, 1, 0, 31, 23, 59, 59, 0}, L"A31mm00235959"},
        {L"STATION-15-CHARS", {1999, 7, 0, 1, 0, 0, 0, 0}, L"STATION-15-CHARS01mm99000000"},
        {L"", {2026, 2, 0, 28, 12, 30, 0, 0}, L"28mm26123000"},
    };
    for (const auto& c : cases) {
        CString key(_T("previous content"));
        CQNUtilityTestAccess::BuildKey(key, c.computer, c.when);
        EXPECT_STREQ(static_cast<LPCWSTR>(key), c.key);
    }
    // The real one reads this computer's name and the local clock.
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(::GetComputerNameW(name, &size));
    SYSTEMTIME before, after;
    CString key, expected;
    do { // again when the second moves meanwhile
        ::GetLocalTime(&before);
        EXPECT_EQ(CQNUtility::GenerateKey(key), S_OK);
        ::GetLocalTime(&after);
    } while (before.wSecond != after.wSecond);
    CQNUtilityTestAccess::BuildKey(expected, name, before);
    EXPECT_EQ(key, expected);
}

} // namespace
