// Configuration store: every text value of the registry table with its key and
// capacity, the template list over a real Templates.ini, the export folder,
// the allowable name length and the brand texts.
#include <QNConfiguration.h>
#include <QNFrame.h>
#include <QNUtilityClass.h>

#include "support/win32/LanguageModules.h"
#include "support/win32/TempTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

const HKEY kLM = HKEY_LOCAL_MACHINE, kCU = HKEY_CURRENT_USER;
const wchar_t kInstall[] = L"SOFTWARE\\Varnholt\\Quillon\\Install";
const wchar_t kConfiguration[] = L"SOFTWARE\\Varnholt\\Quillon\\Configuration";
const wchar_t kSettings[] = L"SOFTWARE\\Varnholt\\Quillon\\Settings";

void Clear()
{
    ::RegDeleteTreeW(kLM, L"SOFTWARE\\Varnholt");
    ::RegDeleteTreeW(kCU, L"SOFTWARE\\Varnholt");
}

CString ReadValue(const wchar_t* value) // "E_FAIL" and what was there, for a failure
{
    CString text(L"<unchanged>");
    if (!wcscmp(value, L"WbPath"))
        return CQNUtility::GetWBPath(text) == S_OK ? text : L"E_FAIL " + text;
    !wcscmp(value, L"ForceLanguage") ? CQNUtility::GetForceLanguage(text) : fxhGetConfigurationStringValue(value, text);
    return text;
}

TEST(Configuration, TextValuesWithinTheirCapacity)
{
    InstallationSandbox sandbox;
    const struct {
        const wchar_t* key;
        const wchar_t* value;
        size_t capacity; // characters beside the terminator
        const wchar_t* withoutKey;
    } values[] = {
        {kInstall, L"WbPath", 259, L"E_FAIL <unchanged>"}, {kConfiguration, L"Runtime Root", 259, L""},
        {kConfiguration, L"Templates Dir", 259, L""}, {kConfiguration, L"ForceLanguage", 19, L""},
    };
    for (const auto& v : values) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(v.value)));
        EXPECT_STREQ(ReadValue(v.value), v.withoutKey);
        EXPECT_FALSE(RegistrySandbox::KeyExists(kLM, v.key)) << "the library never creates a key";
        RegistrySandbox::MakeKey(kLM, v.key);
        EXPECT_STREQ(ReadValue(v.value), L"") << "missing value";
        RegistrySandbox::SetText(kLM, v.key, v.value, std::wstring(v.capacity, L'a'));
        EXPECT_EQ(ReadValue(v.value), CString(std::wstring(v.capacity, L'a').c_str())) << "fills the capacity";
        RegistrySandbox::SetText(kLM, v.key, v.value, std::wstring(v.capacity + 1, L'a'));
        EXPECT_STREQ(ReadValue(v.value), L"") << "one character over the capacity";
        Clear();
    }
    const wchar_t tollmark[] = L"SOFTWARE\\Varnholt\\Quillon\\Tollmark";
    EXPECT_EQ(fxGetAllowableFilenameLength(), 0) << "no key";
    RegistrySandbox::SetText(kLM, tollmark, L"RootDir", L"C:\\Projects");
    EXPECT_EQ(fxGetAllowableFilenameLength(), 110);
    RegistrySandbox::SetText(kLM, tollmark, L"RootDir", std::wstring(255, L'r'));
    EXPECT_EQ(fxGetAllowableFilenameLength(), 0) << "over 510 bytes";
}

TEST(Configuration, TemplatesFromTheListFile)
{
    InstallationSandbox sandbox;
    TempTree tree;
    CString name(L"="), file(L"="), page(L"=");
    EXPECT_EQ(fxGetTemplateInformation(1, name, file, page), 0) << "no folder: \\Templates.ini";
    RegistrySandbox::SetText(kLM, kConfiguration, L"Templates Dir", tree.Root());
    const std::string longest(507, 'p'); // "N;f;" and this: 511 characters, read whole
    ASSERT_TRUE(TempTree::WriteFile(tree / L"Templates.ini",
                                    "[Templates]\r\n1=Conveyor line;conveyor.tpl;conveyor.htm\r\n2=Tank;tank.tpl\r\n"
                                    "3=no semicolon\r\n4=N;f;" + longest + "\r\n5=N;f;" + longest +
                                        "qqq\r\n[Other]\r\n6=Elsewhere;x.tpl\r\n"));
    const std::wstring page511(longest.begin(), longest.end());
    const std::pair<int, std::wstring> cases[] = {
        {0, L"Empty Project||Blank.htm"}, // built in, whatever the file holds
        {1, L"Conveyor line|conveyor.tpl|conveyor.htm"}, {2, L"Tank|tank.tpl|NoDocumentation.htm"},
        {3, L""}, {4, L"N|f|" + page511}, {5, L"N|f|" + page511}, // cut to 511 characters
        {6, L""}, {7, L""}, // another section; no such line: the strings stay as they were
    };
    for (const auto& [number, fields] : cases) {
        name = file = page = L"=";
        EXPECT_EQ(fxGetTemplateInformation(number, name, file, page), fields.empty() ? 0 : 1) << number;
        EXPECT_EQ(std::wstring(name) + L"|" + std::wstring(file) + L"|" + std::wstring(page),
                  fields.empty() ? L"=|=|=" : fields) << number;
    }
}

TEST(Configuration, ExportFolder)
{
    InstallationSandbox sandbox;
    TempTree tree;
    const std::wstring folder = tree.Root(), stored = folder + L"\\"; // as SetExportDir stores it
    const struct {
        const wchar_t* user;   // "BackUpLanguageDir"
        const wchar_t* backup; // "BackUp"
        ULONG bufferBytes;
        HRESULT expect;
        const wchar_t* text;
    } cases[] = {
        {nullptr, nullptr, 520, S_FALSE, L""},
        {folder.c_str(), L"D:\\B", 520, S_OK, folder.c_str()},  // the user folder exists
        {stored.c_str(), L"D:\\B", 520, S_OK, L"D:\\B"},        // not found with its separator: BackUp
        {stored.c_str(), nullptr, 520, S_OK, stored.c_str()},   // not found, no BackUp: the user value
        {L"C:\\NoSuchDir", L"D:\\LongerThanTheBuffer", 30, S_OK, L"C:\\NoSuchDir"}, // BackUp too long
        {L"", L"D:\\B", 520, S_OK, L"D:\\B"},
        {nullptr, L"D:\\Backup1", 20, S_FALSE, L""}, // one character too long
    };
    wchar_t cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        Clear();
        if (c.user)
            RegistrySandbox::SetText(kCU, kSettings, L"BackUpLanguageDir", c.user);
        if (c.backup)
            RegistrySandbox::SetText(kLM, kConfiguration, L"BackUp", c.backup);
        wchar_t buffer[300];
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        ULONG bytes = c.bufferBytes;
        EXPECT_EQ(CQNUtility::GetExportDir(buffer, &bytes), c.expect);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(buffer[c.bufferBytes / 2 - 1], L'\0') << "zero-filled to the end";
        EXPECT_EQ(buffer[c.bufferBytes / 2], L'#') << "nothing past the buffer";
        EXPECT_EQ(bytes, c.expect == S_OK ? (wcslen(c.text) + 1) * 2 : c.bufferBytes) << "the size read";
        wchar_t now[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, now);
        const bool isFolder = c.expect == S_OK && TempTree::IsDirectory(c.text);
        EXPECT_EQ(std::wstring(now), isFolder ? folder : std::wstring(cwd)) << "the folder becomes current";
        ::SetCurrentDirectoryW(cwd);
    }
    ULONG bytes = 8;
    EXPECT_EQ(CQNUtility::GetExportDir(cwd, nullptr), E_POINTER);
    EXPECT_EQ(CQNUtility::GetExportDir(nullptr, &bytes), E_POINTER);

    EXPECT_EQ(CQNUtility::SetExportDir(L"C:\\Out\\list.csv"), E_FAIL);
    EXPECT_FALSE(RegistrySandbox::KeyExists(kCU, kSettings)) << "the key is never created";
    RegistrySandbox::MakeKey(kCU, kSettings);
    ASSERT_EQ(CQNUtility::SetExportDir(L"C:\\Out\\list.csv"), S_OK);
    wchar_t value[64] = {};
    DWORD size = sizeof value; // a REG_SZ with its terminator
    ASSERT_EQ(::RegGetValueW(kCU, kSettings, L"BackUpLanguageDir", RRF_RT_REG_SZ, nullptr, value, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(value, size / 2), std::wstring(L"C:\\Out\\", 8));
}

TEST(Configuration, BrandTextsFromTheBrandModule)
{
    InstallationSandbox sandbox;
    const UINT ids[20] = {10050, 10051, 10052, 10053, 10061, 10062, 10054, 10055, 10056, 10057,
                          10058, 10064, 10059, 10060, 10063, 10066, 10065, 3708,  3709,  3710};
    const HINSTANCE before = AfxGetResourceHandle();
    for (const std::wstring language : {L"ENU", L"DEU", L"FRA"}) {
        qntest::ForceLanguage(language.c_str());
        for (int value = -1; value <= 20; ++value) {
            CString text(L"old");
            const bool known = value >= 0 && value < 20;
            EXPECT_EQ(CQNUtility::GetBrandInfo(static_cast<BrandInfoType>(value), text), known ? S_OK : S_FALSE);
            // Brand.FRA lacks the last three texts, and no other module holds them.
            const bool held = known && (language != L"FRA" || ids[value] > 10000);
            EXPECT_EQ(std::wstring(text), held ? language + L" " + std::to_wstring(ids[value]) : known ? L"" : L"old")
                << value;
        }
        EXPECT_EQ(AfxGetResourceHandle(), before);
        EXPECT_EQ(::GetModuleHandleW((L"Brand." + language).c_str()), nullptr) << "freed again";
    }
    EXPECT_EQ(CQNUtility::CurrentBrand(), 1u);
}

} // namespace
