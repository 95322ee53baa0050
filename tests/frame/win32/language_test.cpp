// Language selection: CResourceScope's handle form and the language-module
// search of its name form (against the fixture modules beside this program),
// the forced language, the language of a module's extension, and the class of
// the user's locale (run under each user locale of tests.cmake).
#include <QNConfiguration.h>
#include <QNFrame.h>
#include <QNUtilityClass.h>

#include "support/win32/LanguageModules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace qntest;

// The module found (or none) for the user's language and the forced one; the
// scope frees what it loaded, and changes nothing when it finds nothing. Rows
// run under their user language (English by default, German in frame.de_DE).
TEST(ResourceScope, NameFormSearchOrder)
{
    InstallationSandbox sandbox;
    const std::wstring tooLong(300, L'A'); // more than 512 bytes: not read
    const struct {
        WORD user;
        const wchar_t* forced;
        const wchar_t* module; // null: the program's own name
        const wchar_t* expect; // language of the module loaded, or "" for none
    } cases[] = {
        {LANG_ENGLISH, nullptr, L"Brand", L"ENU"},    {LANG_ENGLISH, L"FRA", L"Brand", L"FRA"},
        {LANG_ENGLISH, L"DEU", L"Brand", L"DEU"},     {LANG_ENGLISH, L"XYZ", L"Brand", L"ENU"},
        {LANG_ENGLISH, tooLong.c_str(), L"Brand", L"ENU"}, {LANG_ENGLISH, L"DEU", L"Fallback", L"ENU"},
        {LANG_ENGLISH, L"DEU", L"OnlyDeu", L"DEU"},   {LANG_ENGLISH, nullptr, L"OnlyDeu", L""},
        {LANG_ENGLISH, L"FRA", L"Missing", L""},      {LANG_ENGLISH, nullptr, nullptr, L"ENU"},
        {LANG_GERMAN, nullptr, L"Brand", L"DEU"},     {LANG_GERMAN, L"XYZ", L"Brand", L"DEU"},
        {LANG_GERMAN, nullptr, L"Fallback", L"ENU"},  {LANG_GERMAN, nullptr, L"OnlyDeu", L"DEU"},
        {LANG_GERMAN, nullptr, L"Missing", L""},
    };
    ASSERT_TRUE(::CopyFileW(BesideProgram(L"Brand.ENU").c_str(), ProgramPath(L".ENU").c_str(), FALSE));
    const HINSTANCE before = AfxGetResourceHandle();
    for (const auto& c : cases) {
        if (!UserLanguageIs(c.user))
            continue;
        SCOPED_TRACE(std::string(c.module ? "module" : "program") + " forced " + (c.forced ? "yes" : "no"));
        ForceLanguage(c.forced);
        const std::wstring loaded = c.module ? BesideProgram(c.module + std::wstring(L".") + c.expect)
                                             : ProgramPath(std::wstring(L".") + c.expect);
        {
            CResourceScope scope(c.module);
            EXPECT_EQ(ModuleLanguage(AfxGetResourceHandle()), c.expect);
            EXPECT_EQ(scope.m_hPrevResource, *c.expect ? before : nullptr);
            EXPECT_EQ(scope.m_bFreeOnExit, *c.expect ? 1 : 0);
            EXPECT_EQ(IsLoaded(loaded), *c.expect != 0);
        }
        EXPECT_EQ(AfxGetResourceHandle(), before);
        EXPECT_FALSE(IsLoaded(loaded)) << "the scope frees the module it loaded";
    }
    ::DeleteFileW(ProgramPath(L".ENU").c_str());
}

// Scopes of both forms nest and restore in order; lookups search the module in
// force first; the handle form never loads or frees, a null handle changes nothing.
TEST(ResourceScope, NestedScopesOfBothForms)
{
    InstallationSandbox sandbox;
    const HINSTANCE before = AfxGetResourceHandle();
    HMODULE english = ::LoadLibraryW(BesideProgram(L"Brand.ENU").c_str());
    ASSERT_NE(english, nullptr);
    {
        ForceLanguage(L"DEU");
        CResourceScope outer(L"Brand");
        const HINSTANCE outerModule = AfxGetResourceHandle();
        EXPECT_EQ(ModuleLanguage(outerModule), L"DEU");
        {
            CResourceScope byHandle(english);
            EXPECT_EQ(byHandle.m_hPrevResource, outerModule);
            EXPECT_EQ(byHandle.m_bFreeOnExit, 0);
            {
                ForceLanguage(L"FRA");
                CResourceScope inner(L"Brand");
                EXPECT_EQ(inner.m_hPrevResource, english);
                CResourceScope none(static_cast<HINSTANCE>(nullptr));
                EXPECT_EQ(none.m_hPrevResource, AfxGetResourceHandle());
                CString text;
                ASSERT_TRUE(text.LoadString(1));
                EXPECT_EQ(text, _T("FRA"));
                EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(1), RT_STRING), AfxGetResourceHandle());
            }
            EXPECT_EQ(AfxGetResourceHandle(), english);
            EXPECT_FALSE(IsLoaded(BesideProgram(L"Brand.FRA")));
        }
        EXPECT_EQ(AfxGetResourceHandle(), outerModule);
        EXPECT_TRUE(IsLoaded(BesideProgram(L"Brand.ENU")));
    }
    EXPECT_EQ(AfxGetResourceHandle(), before);
    EXPECT_FALSE(IsLoaded(BesideProgram(L"Brand.DEU")));
    ::FreeLibrary(english);
}

// The abbreviations and the extension of a path are checked in configuration_rules_test.cpp.
TEST(Language, ForcedLanguageAndModuleExtensions)
{
    InstallationSandbox sandbox;
    for (const auto& [stored, lcid] : {std::pair{L"", 0x0409ul}, {L"jpn", 0x0411ul}, {nullptr, 0x0409ul}}) {
        ForceLanguage(stored);
        EXPECT_EQ(CQNUtility::GetLocaleFromForceLanguage(), lcid) << (stored ? stored : L"(none)");
    }
    const std::pair<const wchar_t*, ULONG> paths[] = {
        {L"C:\\App\\Brand.fra", 0x040C}, {L"C:\\App.old\\Brand", 0x0409}, {nullptr, 0x0409},
    };
    for (const auto& [path, lcid] : paths)
        EXPECT_EQ(CQNUtility::GetModuleLocaleFromExt(path), lcid) << (path ? path : L"(null)");
    HMODULE french = ::LoadLibraryW(L"Brand.FRA");
    ASSERT_NE(french, nullptr);
    EXPECT_EQ(CQNUtility::GetModuleLocaleFromExt(french), 0x040Cu);
    ::FreeLibrary(french);
    EXPECT_EQ(CQNUtility::GetModuleLocaleFromExt(static_cast<HINSTANCE>(nullptr)), 0x0409u) << "the program, .exe";
    EXPECT_EQ(CQNUtility::GetModuleLocaleFromExt(reinterpret_cast<HINSTANCE>(0x10)), 0u) << "no module";
}

TEST(Language, UserLocaleClass)
{
    const char* locale = std::getenv("QN_TEST_LOCALE");
    const std::string name = locale ? locale : "en_US.UTF-8";
    const std::pair<std::string, std::pair<int, int>> expected[] = {
        {"en_US", {2, 3}}, {"de_DE", {2, 3}}, {"ja_JP", {3, 4}}, {"zh_HK", {1, 1}}};
    for (const auto& [prefix, classes] : expected) {
        if (name.rfind(prefix, 0) != 0)
            continue;
        std::pair<int, int> got;
        CQNUtility::GetUserDefaultLocaleAndSystemLanguage(got.first, got.second);
        EXPECT_EQ(got, classes);
        return;
    }
    GTEST_SKIP() << "no expectation for " << name;
}

} // namespace
