// Configuration store: every text value of the registry table with its key and
// capacity, the template list over a real Templates.ini, the export folder,
// the allowable name length and the brand texts.
#include <QNConfiguration.h>
#include <QNFrame.h>
#include <QNUtilityClass.h>

#include "support/win32/RegistrySandbox.h"
#include "support/win32/TempTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

namespace {

const HKEY kLM = HKEY_LOCAL_MACHINE;
const wchar_t kInstall[] = L"SOFTWARE\\Varnholt\\Quillon\\Install";
const wchar_t kConfiguration[] = L"SOFTWARE\\Varnholt\\Quillon\\Configuration";
const wchar_t kSettings[] = L"SOFTWARE\\Varnholt\\Quillon\\Settings";

class Configuration : public ::testing::Test {
protected:
    InstallationSandbox m_sandbox;
    static void Clear()
    {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnholt");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Varnholt");
    }
};

CString Read(const std::function<void(CString&)>& read)
{
    CString text(L"<unchanged>");
    read(text);
    return text;
}

TEST_F(Configuration, EveryTextValueReadsWithinItsCapacity)
{
    const struct {
        const wchar_t* key;
        const wchar_t* value;
        size_t capacity; // bytes
        std::function<void(CString&)> read;
        const wchar_t* withoutKey;
    } reads[] = {
        {kInstall, L"WbPath", 520, [](CString& s) { EXPECT_EQ(CQNUtility::GetWBPath(s), S_OK); }, nullptr},
        {kConfiguration, L"Runtime Root", 520, [](CString& s) { fxhGetConfigurationStringValue(L"Runtime Root", s); }, L""},
        {kConfiguration, L"Templates Dir", 520, [](CString& s) { fxhGetConfigurationStringValue(L"Templates Dir", s); }, L""},
        {kConfiguration, L"ForceLanguage", 40, [](CString& s) { CQNUtility::GetForceLanguage(s); }, L""},
    };
    for (const auto& r : reads) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(r.value)));
        if (r.withoutKey) {
            EXPECT_STREQ(Read(r.read), r.withoutKey);
        } else {
            CString path(L"<unchanged>");
            EXPECT_EQ(CQNUtility::GetWBPath(path), E_FAIL);
            EXPECT_STREQ(path, L"<unchanged>");
        }
        EXPECT_FALSE(RegistrySandbox::KeyExists(kLM, r.key)) << "the library never creates a key";
        RegistrySandbox::MakeKey(kLM, r.key);
        EXPECT_STREQ(Read(r.read), L"") << "missing value";
        const size_t longest = r.capacity / 2 - 1; // characters that fit beside the terminator
        RegistrySandbox::SetText(kLM, r.key, r.value, std::wstring(longest, L'a'));
        EXPECT_EQ(Read(r.read), CString(std::wstring(longest, L'a').c_str())) << "fills the capacity";
        RegistrySandbox::SetText(kLM, r.key, r.value, std::wstring(longest + 1, L'a'));
        EXPECT_STREQ(Read(r.read), L"") << "one character over the capacity";
        Clear();
    }
}

TEST_F(Configuration, TemplatesFromTheListFile)
{
    TempTree tree;
    CString name(L"="), file(L"="), page(L"=");
    EXPECT_EQ(fxGetTemplateInformation(1, name, file, page), 0) << "no folder: \\Templates.ini";
    RegistrySandbox::SetText(kLM, kConfiguration, L"Templates Dir", tree.Root());
    const std::string longest(511 - 4, 'p');
    ASSERT_TRUE(TempTree::WriteFile(tree / L"Templates.ini", "[Templates]\r\n1=Conveyor line;conveyor.tpl;conveyor.htm\r\n"
                                                             "2=Tank;tank.tpl\r\n3=no semicolon\r\n4=N;f;" +
                                                                 longest + "\r\n5=N;f;" + longest + "qqq\r\n"
                                                                 "[Other]\r\n6=Elsewhere;x.tpl\r\n"));
    const std::wstring page511(longest.begin(), longest.end()); // 511 characters in all: read whole
    const struct {
        int number;
        int result;
        std::wstring fields; // name|file|page
    } cases[] = {
        {0, 1, L"Empty Project||Blank.htm"}, // built in, whatever the file holds
        {1, 1, L"Conveyor line|conveyor.tpl|conveyor.htm"},
        {2, 1, L"Tank|tank.tpl|NoDocumentation.htm"},
        {3, 0, L"=|=|="}, // the strings stay as they were
        {4, 1, L"N|f|" + page511},
        {5, 1, L"N|f|" + page511}, // cut to 511 characters
        {6, 0, L"=|=|="},          // another section
        {7, 0, L"=|=|="},
    };
    for (const auto& c : cases) {
        name = file = page = L"=";
        EXPECT_EQ(fxGetTemplateInformation(c.number, name, file, page), c.result) << c.number;
        EXPECT_EQ(std::wstring(name) + L"|" + std::wstring(file) + L"|" + std::wstring(page), c.fields) << c.number;
    }
}

TEST_F(Configuration, AllowableNameLengthFollowsRootDir)
{
    const wchar_t tollmark[] = L"SOFTWARE\\Varnholt\\Quillon\\Tollmark";
    EXPECT_EQ(fxGetAllowableFilenameLength(), 0) << "no key";
    RegistrySandbox::SetText(kLM, tollmark, L"RootDir", L"C:\\Projects");
    EXPECT_EQ(fxGetAllowableFilenameLength(), 110);
    RegistrySandbox::SetText(kLM, tollmark, L"RootDir", std::wstring(255, L'r'));
    EXPECT_EQ(fxGetAllowableFilenameLength(), 0) << "over 510 bytes";
}

TEST_F(Configuration, ExportFolder)
{
    TempTree tree;
    const std::wstring folder = tree.Root(), stored = folder + L"\\"; // as SetExportDir stores it
    const struct {
        const char* label;
        const wchar_t* user;   // "BackUpLanguageDir"
        const wchar_t* backup; // "BackUp"
        ULONG bufferBytes;
        HRESULT expect;
        const wchar_t* text;
    } cases[] = {
        {"neither value", nullptr, nullptr, 520, S_FALSE, L""},
        {"user folder exists", folder.c_str(), L"D:\\B", 520, S_OK, folder.c_str()},
        {"trailing separator: not found, BackUp wins", stored.c_str(), L"D:\\B", 520, S_OK, L"D:\\B"},
        {"not found, no BackUp: the user value stays", stored.c_str(), nullptr, 520, S_OK, stored.c_str()},
        {"BackUp too long: the user value stays", L"C:\\NoSuchDir", L"D:\\LongerThanTheBuffer", 30, S_OK, L"C:\\NoSuchDir"},
        {"empty user value", L"", L"D:\\B", 520, S_OK, L"D:\\B"},
        {"BackUp one character too long", nullptr, L"D:\\Backup1", 20, S_FALSE, L""},
    };
    wchar_t cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Clear();
        if (c.user)
            RegistrySandbox::SetText(HKEY_CURRENT_USER, kSettings, L"BackUpLanguageDir", c.user);
        if (c.backup)
            RegistrySandbox::SetText(kLM, kConfiguration, L"BackUp", c.backup);
        wchar_t buffer[300];
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        ULONG bytes = c.bufferBytes;
        EXPECT_EQ(CQNUtility::GetExportDir(buffer, &bytes), c.expect);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(buffer[c.bufferBytes / 2 - 1], L'\0') << "zero-filled to the end";
        EXPECT_EQ(buffer[c.bufferBytes / 2], L'#') << "nothing past the buffer";
        EXPECT_EQ(bytes, c.expect == S_OK ? (wcslen(c.text) + 1) * 2 : c.bufferBytes) << "the size of the value read";
        wchar_t now[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, now);
        const bool isFolder = c.expect == S_OK && TempTree::IsDirectory(c.text);
        EXPECT_EQ(std::wstring(now), isFolder ? folder : std::wstring(cwd)) << "the folder becomes the current directory";
        ::SetCurrentDirectoryW(cwd);
    }
    wchar_t untouched[4] = {L'#'};
    ULONG bytes = 8;
    EXPECT_EQ(CQNUtility::GetExportDir(untouched, nullptr), E_POINTER);
    EXPECT_EQ(untouched[0], L'#');
    EXPECT_EQ(CQNUtility::GetExportDir(nullptr, &bytes), E_POINTER);
}

TEST_F(Configuration, SetExportDirStoresTheFolder)
{
    EXPECT_EQ(CQNUtility::SetExportDir(L"C:\\Out\\list.csv"), E_FAIL);
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kSettings)) << "the key is never created";
    RegistrySandbox::MakeKey(HKEY_CURRENT_USER, kSettings);
    ASSERT_EQ(CQNUtility::SetExportDir(L"C:\\Out\\list.csv"), S_OK);
    wchar_t value[64] = {};
    DWORD bytes = sizeof value;
    DWORD type = 0;
    ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kSettings, L"BackUpLanguageDir", RRF_RT_ANY, &type, value, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_STREQ(value, L"C:\\Out\\");
    EXPECT_EQ(bytes, 16u) << "stored with its terminator";
}

TEST_F(Configuration, BrandTextsFromTheBrandModule)
{
    const UINT ids[20] = {10050, 10051, 10052, 10053, 10061, 10062, 10054, 10055, 10056, 10057,
                          10058, 10064, 10059, 10060, 10063, 10066, 10065, 3708,  3709,  3710};
    const HINSTANCE before = AfxGetResourceHandle();
    for (const std::wstring language : {L"ENU", L"DEU", L"FRA"}) {
        RegistrySandbox::SetText(kLM, kConfiguration, L"ForceLanguage", language);
        for (int value = 0; value < 20; ++value) {
            CString text(L"old");
            EXPECT_EQ(CQNUtility::GetBrandInfo(static_cast<BrandInfoType>(value), text), S_OK);
            // Brand.FRA lacks the last three texts, and no other module holds them.
            const bool held = language != L"FRA" || ids[value] > 10000;
            EXPECT_EQ(std::wstring(text), held ? language + L" " + std::to_wstring(ids[value]) : L"") << value;
        }
        EXPECT_EQ(AfxGetResourceHandle(), before);
        EXPECT_EQ(::GetModuleHandleW((L"Brand." + language).c_str()), nullptr) << "freed again";
    }
    for (const int value : {20, -1}) {
        CString text(L"old");
        EXPECT_EQ(CQNUtility::GetBrandInfo(static_cast<BrandInfoType>(value), text), S_FALSE);
        EXPECT_STREQ(text, L"old");
    }
    EXPECT_EQ(AfxGetResourceHandle(), before);
    EXPECT_EQ(CQNUtility::CurrentBrand(), 1u);
}

} // namespace
