// Language and locale selection: the forced language, the language of a
// module's extension, and the class of the user's locale (run under each user
// locale of tests.cmake; QN_TEST_LOCALE names it).
#include <QNConfiguration.h>
#include <QNUtilityClass.h>

#include "support/win32/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(Language, ForcedLanguage)
{
    InstallationSandbox sandbox;
    const wchar_t configuration[] = L"SOFTWARE\\Varnholt\\Quillon\\Configuration";
    const struct {
        const wchar_t* stored; // null: no value
        const wchar_t* text;
        ULONG lcid;
    } cases[] = {
        // The capacity (19 characters) is checked with the other values in configuration_test.cpp.
        {nullptr, L"", 0x0409},   {L"jpn", L"jpn", 0x0411}, // read as stored, compared upper-cased
        {L"Fra", L"Fra", 0x040C}, {L"DEU", L"DEU", 0x0407},   {L"ita", L"ita", 0x0410}, {L"ESP", L"ESP", 0x040A},
        {L"ENU", L"ENU", 0x0409}, {L"DEU ", L"DEU ", 0x0409}, {L"", L"", 0x0409},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : L"(none)");
        RegistrySandbox::MakeKey(HKEY_LOCAL_MACHINE, configuration);
        if (c.stored)
            RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, configuration, L"ForceLanguage", c.stored);
        CString text(L"old");
        CQNUtility::GetForceLanguage(text);
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(CQNUtility::GetLocaleFromForceLanguage(), c.lcid);
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnholt");
    }
}

TEST(Language, ModuleLocaleFromExtension)
{
    const std::pair<const wchar_t*, ULONG> cases[] = {
        {L"C:\\App\\Brand.fra", 0x040C}, {L"C:\\App\\Brand.Jpn", 0x0411}, {L"C:\\App\\Brand.dll", 0x0409},
        {L"C:\\App\\Brand", 0x0409},     {L"C:\\App.old\\Brand", 0x0409}, {L"Brand.DEU.x", 0x0409},
        {L"Brand.", 0x0409},             {nullptr, 0x0409},
    };
    for (const auto& [path, lcid] : cases)
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
    const struct {
        const char* locale;
        int first, second;
    } expected[] = {{"en_US", 2, 3}, {"de_DE", 2, 3}, {"ja_JP", 3, 4}, {"zh_HK", 1, 1}};
    for (const auto& e : expected) {
        if (name.rfind(e.locale, 0) != 0)
            continue;
        int first = 0, second = 0;
        CQNUtility::GetUserDefaultLocaleAndSystemLanguage(first, second);
        EXPECT_EQ(std::make_pair(first, second), std::make_pair(e.first, e.second));
        return;
    }
    GTEST_SKIP() << "no expectation for " << name;
}

} // namespace
