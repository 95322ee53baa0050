// Language and locale selection: the forced language, the language of a
// module's extension and the classification of the user's locale.
#include <QNConfiguration.h>
#include <QNUtilityClass.h>

#include "frame/ConfigurationRules.h"
#include "frame/win32/ConfigurationStore.h"

#include <cwchar>

namespace {

ULONG LocaleOfAbbreviation(CString text)
{
    text.MakeUpper();
    return qn::frame::LocaleFromLanguageAbbreviation(text, static_cast<size_t>(text.GetLength()));
}

} // namespace

void CQNUtility::GetForceLanguage(CString& strLanguage)
{
    // Full access, as the installation's own tools ask for it: a user who may
    // not write the key reads no forced language.
    strLanguage = qn::frame::ReadConfigurationText(HKEY_LOCAL_MACHINE, QN_REGKEY_CONFIGURATION,
                                                   QN_REGVAL_FORCE_LANGUAGE, QN_REGCAP_FORCE_LANGUAGE, KEY_ALL_ACCESS);
}

ULONG CQNUtility::GetLocaleFromForceLanguage()
{
    CString language;
    GetForceLanguage(language);
    return LocaleOfAbbreviation(language);
}

ULONG CQNUtility::GetModuleLocaleFromExt(HINSTANCE hModule)
{
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameW(hModule, path, MAX_PATH);
    if (length == 0)
        return 0;
    return GetModuleLocaleFromExt(path);
}

ULONG CQNUtility::GetModuleLocaleFromExt(LPCWSTR lpszPath)
{
    if (!lpszPath)
        return LocaleOfAbbreviation(CString());
    const size_t length = wcslen(lpszPath);
    const qn::frame::TextRange extension = qn::frame::ExtensionOf(lpszPath, length);
    if (extension.count == 0)
        return LocaleOfAbbreviation(CString());
    // Without the dot; at most 255 characters of the extension are looked at.
    const size_t count = extension.count - 1 < 254 ? extension.count - 1 : 254;
    return LocaleOfAbbreviation(CString(lpszPath + extension.first + 1, static_cast<int>(count)));
}

void CQNUtility::GetUserDefaultLocaleAndSystemLanguage(int& nFirst, int& nSecond)
{
    nFirst = -1;
    nSecond = -1;
    qn::frame::ClassifyUserLocale(::GetUserDefaultLCID(), nFirst, nSecond);
}
