// Configuration store: every text read of the registry table with its key,
// capacity and failure cases; the template list over a real Templates.ini;
// the export folder; the allowable name length; the brand texts.
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

const wchar_t kInstall[] = L"SOFTWARE\\Varnholt\\Quillon\\Install";
const wchar_t kConfiguration[] = L"SOFTWARE\\Varnholt\\Quillon\\Configuration";
const wchar_t kTollmark[] = L"SOFTWARE\\Varnholt\\Quillon\\Tollmark";
const wchar_t kSettings[] = L"SOFTWARE\\Varnholt\\Quillon\\Settings";

class Configuration : public ::testing::Test {
protected:
    InstallationSandbox m_sandbox;
};

// --- Text values: one harness for every value of the table -------------------------

struct TextRead {
    const char* label;
    HKEY root;
    const wchar_t* key;
    const wchar_t* value;
    size_t capacityBytes;
    std::function<CString()> read; // the library's read
    const wchar_t* withoutKey;     // what it gives when the key cannot be opened
};

CString ReadWBPath()
{
    CString text(L"<unchanged>");
    return FAILED(CQNUtility::GetWBPath(text)) ? CString(L"<failed>") : text;
}

CString ReadConfigurationValue(const wchar_t* name)
{
    CString text(L"<unchanged>");
    fxhGetConfigurationStringValue(name, text);
    return text;
}

CString ReadForceLanguage()
{
    CString text(L"<unchanged>");
    CQNUtility::GetForceLanguage(text);
    return text;
}

TEST_F(Configuration, EveryTextValueReadsWithinItsCapacity)
{
    const TextRead reads[] = {
        {"WbPath", HKEY_LOCAL_MACHINE, kInstall, L"WbPath", 520, ReadWBPath, L"<failed>"},
        {"Runtime Root", HKEY_LOCAL_MACHINE, kConfiguration, L"Runtime Root", 520,
         [] { return ReadConfigurationValue(L"Runtime Root"); }, L""},
        {"Templates Dir", HKEY_LOCAL_MACHINE, kConfiguration, L"Templates Dir", 520,
         [] { return ReadConfigurationValue(L"Templates Dir"); }, L""},
        {"ForceLanguage", HKEY_LOCAL_MACHINE, kConfiguration, L"ForceLanguage", 40, ReadForceLanguage, L""},
    };
    for (const TextRead& r : reads) {
        SCOPED_TRACE(r.label);
        const size_t longest = r.capacityBytes / 2 - 1; // characters that fit with the terminator
        // No key: GetWBPath fails and leaves the string; the others read empty.
        EXPECT_STREQ(r.read(), r.withoutKey);
        EXPECT_FALSE(RegistrySandbox::KeyExists(r.root, r.key)) << "the library never creates a key";
        RegistrySandbox::MakeKey(r.root, r.key);
        EXPECT_STREQ(r.read(), L"") << "missing value";
        RegistrySandbox::SetText(r.root, r.key, r.value, L"C:\\Quillon");
        EXPECT_STREQ(r.read(), L"C:\\Quillon");
        RegistrySandbox::SetText(r.root, r.key, r.value, std::wstring(longest, L'a'));
        EXPECT_EQ(r.read().GetLength(), int(longest)) << "fills the capacity";
        RegistrySandbox::SetText(r.root, r.key, r.value, std::wstring(longest + 1, L'a'));
        EXPECT_STREQ(r.read(), L"") << "one character over the capacity";
        ::RegDeleteTreeW(r.root, L"SOFTWARE\\Varnholt");
    }
}

// --- Templates ----------------------------------------------------------------------

TEST_F(Configuration, TemplatesFromTheListFile)
{
    TempTree tree;
    RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kConfiguration, L"Templates Dir", tree.Root());
    const std::string longest(511 - 4, 'p'), tooLong(600, 'q');
    ASSERT_TRUE(TempTree::WriteFile(tree / L"Templates.ini",
                                    "[Templates]\r\n"
                                    "1=Conveyor line;conveyor.tpl;conveyor.htm\r\n"
                                    "2=Tank;tank.tpl\r\n"
                                    "3=A;b;c;d\r\n"
                                    "4=no semicolon\r\n"
                                    "5=ends after it;\r\n"
                                    "6=N;f;" + longest + "\r\n"
                                    "7=N;f;" + tooLong + "\r\n"
                                    "[Other]\r\n8=Elsewhere;x.tpl\r\n"));
    struct Case {
        int number;
        int result;
        const wchar_t* name;
        const wchar_t* file;
        std::wstring page;
    };
    const Case cases[] = {
        {0, 1, L"Empty Project", L"", L"Blank.htm"}, // built in, whatever the file holds
        {1, 1, L"Conveyor line", L"conveyor.tpl", L"conveyor.htm"},
        {2, 1, L"Tank", L"tank.tpl", L"NoDocumentation.htm"},
        {3, 1, L"A", L"b", L"c;d"},
        {4, 0, L"=", L"=", L"="},
        {5, 0, L"=", L"=", L"="},
        {6, 1, L"N", L"f", std::wstring(longest.begin(), longest.end())},  // 511 characters: read whole
        {7, 1, L"N", L"f", std::wstring(511 - 4, L'q')},                    // cut to 511 characters
        {8, 0, L"=", L"=", L"="},                                           // not in the section
        {-1, 0, L"=", L"=", L"="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        CString name(L"="), file(L"="), page(L"=");
        EXPECT_EQ(fxGetTemplateInformation(c.number, name, file, page), c.result);
        EXPECT_STREQ(name, c.name);
        EXPECT_STREQ(file, c.file);
        EXPECT_STREQ(page, c.page.c_str());
    }
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnholt");
    CString name(L"="), file(L"="), page(L"=");
    EXPECT_EQ(fxGetTemplateInformation(1, name, file, page), 0) << "no folder: \\Templates.ini";
}

// --- Allowable name length ----------------------------------------------------------

TEST_F(Configuration, AllowableNameLengthFollowsRootDir)
{
    EXPECT_EQ(fxGetAllowableFilenameLength(), 0) << "no key";
    RegistrySandbox::MakeKey(HKEY_LOCAL_MACHINE, kTollmark);
    EXPECT_EQ(fxGetAllowableFilenameLength(), 0) << "no value";
    RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kTollmark, L"RootDir", L"C:\\Projects");
    EXPECT_EQ(fxGetAllowableFilenameLength(), 110);
    RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kTollmark, L"RootDir", std::wstring(240, L'r'));
    EXPECT_EQ(fxGetAllowableFilenameLength(), 0) << "below zero";
    RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kTollmark, L"RootDir", std::wstring(255, L'r'));
    EXPECT_EQ(fxGetAllowableFilenameLength(), 0) << "over 510 bytes";
}

// --- Export folder ------------------------------------------------------------------

struct ExportCase {
    const char* label;
    const wchar_t* user;   // "BackUpLanguageDir", null for none ("<tree>" is the temporary folder)
    const wchar_t* backup; // "BackUp", null for none
    ULONG bufferBytes;
    HRESULT expect;
    const wchar_t* text; // what the buffer holds
};

TEST_F(Configuration, ExportFolder)
{
    TempTree tree;
    const std::wstring folder = tree.Root();
    const std::wstring stored = folder + L"\\"; // as SetExportDir stores it
    const ExportCase cases[] = {
        {"neither value", nullptr, nullptr, 520, S_FALSE, L""},
        {"user folder exists", folder.c_str(), L"D:\\Backup", 520, S_OK, folder.c_str()},
        {"trailing separator: not found, BackUp wins", stored.c_str(), L"D:\\Backup", 520, S_OK, L"D:\\Backup"},
        {"trailing separator, no BackUp: the user value stays", stored.c_str(), nullptr, 520, S_OK, stored.c_str()},
        {"missing folder, BackUp too long: the user value stays", L"C:\\NoSuchDir", L"D:\\LongerThanTheBuffer", 30, S_OK, L"C:\\NoSuchDir"},
        {"only BackUp", nullptr, L"D:\\Backup", 520, S_OK, L"D:\\Backup"},
        {"empty user value", L"", L"D:\\Backup", 520, S_OK, L"D:\\Backup"},
        {"BackUp one character too long", nullptr, L"D:\\Backup1", 20, S_FALSE, L""},
    };
    wchar_t cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    for (const ExportCase& c : cases) {
        SCOPED_TRACE(c.label);
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnholt");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Varnholt");
        if (c.user)
            RegistrySandbox::SetText(HKEY_CURRENT_USER, kSettings, L"BackUpLanguageDir", c.user);
        if (c.backup)
            RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kConfiguration, L"BackUp", c.backup);
        wchar_t buffer[300];
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        ULONG bytes = c.bufferBytes;
        EXPECT_EQ(CQNUtility::GetExportDir(buffer, &bytes), c.expect);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(buffer[c.bufferBytes / 2 - 1], L'\0') << "zero-filled to the end";
        EXPECT_EQ(buffer[c.bufferBytes / 2], L'#') << "nothing past the buffer";
        if (c.expect == S_OK) {
            EXPECT_EQ(bytes, (wcslen(c.text) + 1) * 2) << "the size of the value read";
        }
        if (c.expect == S_OK && c.text == folder.c_str()) {
            wchar_t now[MAX_PATH] = {};
            ::GetCurrentDirectoryW(MAX_PATH, now);
            EXPECT_STREQ(now, folder.c_str()) << "the folder becomes the current directory";
        }
        ::SetCurrentDirectoryW(cwd);
    }
    wchar_t untouched[4] = {L'#', L'#', L'#', L'#'};
    ULONG bytes = 8;
    EXPECT_EQ(CQNUtility::GetExportDir(untouched, nullptr), E_POINTER);
    EXPECT_EQ(untouched[0], L'#');
    EXPECT_EQ(CQNUtility::GetExportDir(nullptr, &bytes), E_POINTER);
    EXPECT_EQ(bytes, 8u);
}

TEST_F(Configuration, SetExportDirStoresTheFolder)
{
    EXPECT_EQ(CQNUtility::SetExportDir(L"C:\\Out\\list.csv"), E_FAIL) << "the key is never created";
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kSettings));
    RegistrySandbox::MakeKey(HKEY_CURRENT_USER, kSettings);
    const struct {
        const wchar_t* path;
        const wchar_t* stored;
    } cases[] = {
        {L"C:\\Out\\list.csv", L"C:\\Out\\"},
        {L"C:\\Out\\", L"C:\\Out\\"},
        {L"C:list.csv", L"C:"},
        {L"list.csv", L""},
        {nullptr, L""},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(CQNUtility::SetExportDir(c.path), S_OK);
        wchar_t value[64] = {};
        DWORD bytes = sizeof value;
        DWORD type = 0;
        ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kSettings, L"BackUpLanguageDir", RRF_RT_ANY, &type, value, &bytes),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, DWORD(REG_SZ));
        EXPECT_STREQ(value, c.stored);
        EXPECT_EQ(bytes, (wcslen(c.stored) + 1) * 2) << "stored with its terminator";
    }
}

// --- Brand texts --------------------------------------------------------------------

TEST_F(Configuration, BrandTextsFromTheBrandModule)
{
    // The string identifiers of values 0 to 19.
    const UINT ids[20] = {10050, 10051, 10052, 10053, 10061, 10062, 10054, 10055, 10056, 10057,
                          10058, 10064, 10059, 10060, 10063, 10066, 10065, 3708,  3709,  3710};
    const HINSTANCE before = AfxGetResourceHandle();
    const struct {
        const wchar_t* forced; // "ForceLanguage"
        const wchar_t* language;
    } modules[] = {{L"ENU", L"ENU"}, {L"DEU", L"DEU"}, {L"FRA", L"FRA"}};
    for (const auto& m : modules) {
        RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kConfiguration, L"ForceLanguage", m.forced);
        for (int value = 0; value < 20; ++value) {
            CString text(L"old");
            EXPECT_EQ(CQNUtility::GetBrandInfo(static_cast<BrandInfoType>(value), text), S_OK);
            // Brand.FRA lacks the last three texts: no module holds them.
            const std::wstring expect = (ids[value] < 10000 && std::wstring(m.language) == L"FRA")
                                            ? L""
                                            : std::wstring(m.language) + L" " + std::to_wstring(ids[value]);
            EXPECT_STREQ(text, expect.c_str()) << value;
        }
        EXPECT_EQ(AfxGetResourceHandle(), before);
        EXPECT_EQ(::GetModuleHandleW((std::wstring(L"Brand.") + m.language).c_str()), nullptr) << "freed again";
    }
    for (const int value : {20, -1}) {
        CString text(L"old");
        EXPECT_EQ(CQNUtility::GetBrandInfo(static_cast<BrandInfoType>(value), text), S_FALSE);
        EXPECT_STREQ(text, L"old");
        EXPECT_EQ(AfxGetResourceHandle(), before);
    }
    EXPECT_EQ(CQNUtility::CurrentBrand(), 1u);
}

} // namespace
