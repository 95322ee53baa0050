// Load and unload of the library: its application object, module state and
// place in the chain of extension modules.
#include <QNFrame.h>

#include <gtest/gtest.h>

#include <string>

namespace {

HMODULE Library() { return ::GetModuleHandleW(L"QNUtility.dll"); }

TEST(Library, ApplicationObjectBelongsToTheLibraryState)
{
    AFX_MODULE_STATE* library = AfxGetStaticModuleState();
    ASSERT_NE(library, nullptr);
    EXPECT_TRUE(library->m_bDLL);
    EXPECT_EQ(library->m_hCurrentInstanceHandle, Library());
    EXPECT_EQ(library->m_hCurrentResourceHandle, Library());
    ASSERT_NE(library->m_pCurrentWinApp, nullptr);
    EXPECT_NE(dynamic_cast<CQNUtilityApp*>(library->m_pCurrentWinApp), nullptr);
    EXPECT_EQ(library->m_pCurrentWinApp->m_pszAppName, nullptr); // constructed with no name
    EXPECT_EQ(library->m_pCurrentWinApp->m_hInstance, Library());
}

TEST(Library, HostStateIsCurrentAndUntouched)
{
    EXPECT_EQ(AfxGetModuleState(), AfxGetAppModuleState());
    EXPECT_EQ(AfxGetInstanceHandle(), ::GetModuleHandleW(nullptr));
    EXPECT_EQ(AfxGetApp(), nullptr); // this host has no application object
    {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        EXPECT_EQ(AfxGetResourceHandle(), Library());
        EXPECT_NE(AfxGetApp(), nullptr);
    }
    EXPECT_EQ(AfxGetModuleState(), AfxGetAppModuleState());
}

TEST(Library, JoinsTheExtensionChain)
{
    bool found = false;
    for (CDynLinkLibrary* link = CDynLinkLibrary::GetChainHead(); link; link = link->m_pNextDLL)
        found = found || (link->m_hModule == Library() && link->m_hResource == Library());
    EXPECT_TRUE(found);
    // A lookup the host's own module cannot answer is found in the library.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION), Library());
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(4711), RT_DIALOG), nullptr);
}

TEST(Library, ChainLinksComeAndGo)
{
    CDynLinkLibrary* head = CDynLinkLibrary::GetChainHead();
    {
        CDynLinkLibrary extra(::GetModuleHandleW(nullptr), ::GetModuleHandleW(nullptr));
        int count = 0;
        bool last = false;
        for (CDynLinkLibrary* link = CDynLinkLibrary::GetChainHead(); link; link = link->m_pNextDLL) {
            ++count;
            last = link == &extra && !link->m_pNextDLL;
        }
        EXPECT_TRUE(last) << "a new module joins at the end";
        EXPECT_GE(count, 2);
    }
    EXPECT_EQ(CDynLinkLibrary::GetChainHead(), head);
    for (CDynLinkLibrary* link = CDynLinkLibrary::GetChainHead(); link; link = link->m_pNextDLL)
        EXPECT_NE(link->m_hModule, ::GetModuleHandleW(nullptr));
}

TEST(Library, SecondCopyLoadsAndUnloadsCleanly)
{
    // A copy under another name is a separate module: its start-up and
    // shut-down run in full.
    wchar_t path[MAX_PATH] = {};
    ASSERT_TRUE(::GetModuleFileNameW(Library(), path, MAX_PATH));
    std::wstring copy(path);
    copy = copy.substr(0, copy.find_last_of(L'\\') + 1) + L"QNUtilityCopy.dll";
    ASSERT_TRUE(::CopyFileW(path, copy.c_str(), FALSE));
    for (int round = 0; round < 3; ++round) {
        HMODULE second = ::LoadLibraryW(copy.c_str());
        ASSERT_NE(second, nullptr) << "round " << round;
        EXPECT_NE(second, Library());
        using CrcFn = __int64 (*)(const void*, int);
        auto crc = reinterpret_cast<CrcFn>(reinterpret_cast<void*>(::GetProcAddress(second, "_ZN10CQNUtility11GenerateCRCEPKvi")));
        ASSERT_NE(crc, nullptr);
        EXPECT_EQ(static_cast<uint64_t>(crc("123456789", 9)), 0x62EC59E3F1A4F00Aull);
        EXPECT_TRUE(::FreeLibrary(second));
        EXPECT_EQ(::GetModuleHandleW(L"QNUtilityCopy.dll"), nullptr);
    }
    ::DeleteFileW(copy.c_str());
}

} // namespace
