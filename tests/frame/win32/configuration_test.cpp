// Configuration store: every text read of the registry table with its key,
// capacity and failure cases; the template list over a real Templates.ini;
// the export folder; the allowable name length; the brand texts.
#include <QNConfiguration.h>
#include <QNFrame.h>
#include <QNUtilityClass.h>

#include "support/win32/RegistrySandbox.h"
#include "support/win32/TempTree.h"

#include <gtest/gtest.h>

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

} // namespace
