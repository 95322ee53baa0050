// CResourceScope: the handle form, and the language-module search of the name
// form against the fixture modules built beside this program (each holds
// string 1 = its own language: Brand.ENU/.DEU/.FRA, OnlyDeu.DEU, Fallback.ENU).
#include <QNFrame.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const wchar_t kConfigurationKey[] = L"SOFTWARE\\Varnholt\\Quillon\\Configuration";

std::wstring ModuleLanguage(HINSTANCE module)
{
    wchar_t text[16] = {};
    if (!module || ::LoadStringW(module, 1, text, 16) <= 0)
        return L"";
    return text;
}

bool IsLoaded(const wchar_t* fileName) { return ::GetModuleHandleW(fileName) != nullptr; }

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// Sets (or removes, with null) "ForceLanguage" for the life of the object and
// puts back what was there before.
class ForcedLanguage {
public:
    explicit ForcedLanguage(const wchar_t* language)
    {
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kConfigurationKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                          nullptr);
        DWORD size = sizeof m_saved;
        m_hadValue = ::RegQueryValueExW(m_key, L"ForceLanguage", nullptr, &m_type, m_saved, &size) == ERROR_SUCCESS;
        m_savedSize = size;
        if (language)
            ::RegSetValueExW(m_key, L"ForceLanguage", 0, REG_SZ, reinterpret_cast<const BYTE*>(language),
                             DWORD((wcslen(language) + 1) * sizeof(wchar_t)));
        else
            ::RegDeleteValueW(m_key, L"ForceLanguage");
    }
    ~ForcedLanguage()
    {
        if (m_hadValue)
            ::RegSetValueExW(m_key, L"ForceLanguage", 0, m_type, m_saved, m_savedSize);
        else
            ::RegDeleteValueW(m_key, L"ForceLanguage");
        ::RegCloseKey(m_key);
    }
    ForcedLanguage(const ForcedLanguage&) = delete;
    ForcedLanguage& operator=(const ForcedLanguage&) = delete;

private:
    HKEY m_key = nullptr;
    bool m_hadValue = false;
    DWORD m_type = 0;
    BYTE m_saved[1024] = {};
    DWORD m_savedSize = 0;
};

bool UserLocaleIs(WORD primaryLanguage) { return PRIMARYLANGID(LANGIDFROMLCID(::GetUserDefaultLCID())) == primaryLanguage; }

// --- The handle form ----------------------------------------------------------

TEST(ResourceScopeByHandle, NullHandleChangesNothing)
{
    const HINSTANCE before = AfxGetResourceHandle();
    {
        CResourceScope scope(static_cast<HINSTANCE>(nullptr));
        EXPECT_EQ(scope.m_hPrevResource, before);
        EXPECT_EQ(scope.m_bFreeOnExit, 0);
        EXPECT_EQ(AfxGetResourceHandle(), before);
    }
    EXPECT_EQ(AfxGetResourceHandle(), before);
}

TEST(ResourceScopeByHandle, SwitchesAndRestoresWithoutFreeing)
{
    const std::wstring path = ProgramFolder() + L"Brand.FRA";
    HMODULE module = ::LoadLibraryW(path.c_str());
    ASSERT_NE(module, nullptr);
    const HINSTANCE before = AfxGetResourceHandle();
    {
        CResourceScope scope(module);
        EXPECT_EQ(AfxGetResourceHandle(), module);
        EXPECT_EQ(ModuleLanguage(AfxGetResourceHandle()), L"FRA");
    }
    EXPECT_EQ(AfxGetResourceHandle(), before);
    EXPECT_TRUE(IsLoaded(path.c_str())); // the handle form never frees
    ::FreeLibrary(module);
    EXPECT_FALSE(IsLoaded(path.c_str()));
}

// --- The name form: the search order ------------------------------------------

struct SearchCase {
    const char* label;
    const wchar_t* forced;  // "ForceLanguage", or null for no value
    const wchar_t* module;  // module name asked for
    const wchar_t* expect;  // language of the module loaded, or "" for none
};

void CheckSearch(const SearchCase& c)
{
    SCOPED_TRACE(c.label);
    ForcedLanguage forced(c.forced);
    const HINSTANCE before = AfxGetResourceHandle();
    std::wstring loadedPath;
    {
        CResourceScope scope(c.module);
        EXPECT_EQ(ModuleLanguage(AfxGetResourceHandle()), c.expect);
        if (*c.expect) {
            EXPECT_EQ(scope.m_hPrevResource, before);
            EXPECT_EQ(scope.m_bFreeOnExit, 1);
            EXPECT_NE(AfxGetResourceHandle(), before);
            loadedPath = ProgramFolder() + c.module + L"." + c.expect;
            EXPECT_TRUE(IsLoaded(loadedPath.c_str()));
        } else {
            // Nothing found: nothing changes, nothing to restore or free.
            EXPECT_EQ(scope.m_hPrevResource, nullptr);
            EXPECT_EQ(scope.m_bFreeOnExit, 0);
            EXPECT_EQ(AfxGetResourceHandle(), before);
        }
    }
    EXPECT_EQ(AfxGetResourceHandle(), before);
    if (!loadedPath.empty()) {
        EXPECT_FALSE(IsLoaded(loadedPath.c_str())) << "the scope frees the module it loaded";
    }
}

TEST(ResourceScopeByName, SearchOrderEnglishUser)
{
    if (!UserLocaleIs(LANG_ENGLISH))
        GTEST_SKIP() << "runs under an English user locale";
    const std::wstring tooLong(300, L'A'); // more than 512 bytes: not read
    const SearchCase cases[] = {
        {"user locale", nullptr, L"Brand", L"ENU"},
        {"forced language wins", L"FRA", L"Brand", L"FRA"},
        {"forced German", L"DEU", L"Brand", L"DEU"},
        {"forced language missing: user locale", L"XYZ", L"Brand", L"ENU"},
        {"forced value too long: user locale", tooLong.c_str(), L"Brand", L"ENU"},
        {"forced language missing, only ENU", L"DEU", L"Fallback", L"ENU"},
        {"forced language present, no ENU", L"DEU", L"OnlyDeu", L"DEU"},
        {"no module of the user's language", nullptr, L"OnlyDeu", L""},
        {"no module at all", L"FRA", L"Missing", L""},
    };
    for (const SearchCase& c : cases)
        CheckSearch(c);
}

TEST(ResourceScopeByName, SearchOrderGermanUser)
{
    if (!UserLocaleIs(LANG_GERMAN))
        GTEST_SKIP() << "runs under a German user locale (QN_TEST_LOCALE=de_DE.UTF-8)";
    const SearchCase cases[] = {
        {"user locale", nullptr, L"Brand", L"DEU"},
        {"forced language wins", L"FRA", L"Brand", L"FRA"},
        {"forced language missing: user locale", L"XYZ", L"Brand", L"DEU"},
        {"no German module: ENU last", nullptr, L"Fallback", L"ENU"},
        {"only German", nullptr, L"OnlyDeu", L"DEU"},
        {"no module at all", nullptr, L"Missing", L""},
    };
    for (const SearchCase& c : cases)
        CheckSearch(c);
}

TEST(ResourceScopeByName, NullNameUsesTheExecutableName)
{
    if (!UserLocaleIs(LANG_ENGLISH))
        GTEST_SKIP() << "runs under an English user locale";
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring own(exe);
    own = own.substr(0, own.find_last_of(L'.')) + L".ENU";
    ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"Brand.ENU").c_str(), own.c_str(), FALSE));
    ForcedLanguage forced(nullptr);
    {
        CResourceScope scope(static_cast<LPCWSTR>(nullptr));
        EXPECT_EQ(ModuleLanguage(AfxGetResourceHandle()), L"ENU");
        EXPECT_EQ(scope.m_bFreeOnExit, 1);
    }
    EXPECT_FALSE(IsLoaded(own.c_str()));
    ::DeleteFileW(own.c_str());
}

TEST(ResourceScopeByName, NestedScopesRestoreInOrder)
{
    if (!UserLocaleIs(LANG_ENGLISH))
        GTEST_SKIP() << "runs under an English user locale";
    const HINSTANCE before = AfxGetResourceHandle();
    ForcedLanguage none(nullptr);
    {
        CResourceScope outer(L"Brand");
        const HINSTANCE outerModule = AfxGetResourceHandle();
        EXPECT_EQ(ModuleLanguage(outerModule), L"ENU");
        {
            ForcedLanguage forced(L"FRA");
            CResourceScope inner(L"Brand");
            EXPECT_EQ(ModuleLanguage(AfxGetResourceHandle()), L"FRA");
            EXPECT_EQ(inner.m_hPrevResource, outerModule);
        }
        EXPECT_EQ(AfxGetResourceHandle(), outerModule);
        EXPECT_FALSE(IsLoaded((ProgramFolder() + L"Brand.FRA").c_str()));
        EXPECT_TRUE(IsLoaded((ProgramFolder() + L"Brand.ENU").c_str()));
        {
            CResourceScope inner(static_cast<HINSTANCE>(nullptr));
            EXPECT_EQ(AfxGetResourceHandle(), outerModule);
        }
        EXPECT_EQ(AfxGetResourceHandle(), outerModule);
    }
    EXPECT_EQ(AfxGetResourceHandle(), before);
    EXPECT_FALSE(IsLoaded((ProgramFolder() + L"Brand.ENU").c_str()));
}

TEST(ResourceScopeByName, LookupsSearchTheLoadedModuleFirst)
{
    if (!UserLocaleIs(LANG_ENGLISH))
        GTEST_SKIP() << "runs under an English user locale";
    ForcedLanguage forced(L"DEU");
    CResourceScope scope(L"Brand");
    CString text;
    ASSERT_TRUE(text.LoadString(1));
    EXPECT_EQ(text, _T("DEU"));
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(1), RT_STRING), AfxGetResourceHandle());
}

} // namespace
