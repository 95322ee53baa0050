// CResourceScope: switching the resource module in force, and the search for a
// language module "<folder of the executable>\<module>.<language>".
#include <QNConfiguration.h>
#include <QNFrame.h>
#include <QNRegistry.h>

#include <afx/afxwin.h>

#include <cwchar>

namespace {

struct ModulePath {
    wchar_t drive[3 + 1] = {};
    wchar_t dir[256 + 1] = {};
    wchar_t name[256 + 1] = {};

    HMODULE Load(LPCWSTR extension) const
    {
        wchar_t path[MAX_PATH * 2 + 512];
        const int n = _snwprintf(path, sizeof path / sizeof path[0], L"%ls%ls%ls.%ls", drive, dir, name, extension);
        if (n < 0 || n >= int(sizeof path / sizeof path[0]))
            return nullptr;
        return ::LoadLibraryW(path);
    }
};

// Reads "ForceLanguage" (at most 512 bytes); false when the key or value is
// missing, is no text or is longer.
bool ReadForcedLanguage(CString& language)
{
    SECRegistry key;
    if (FAILED(key.Open(HKEY_LOCAL_MACHINE, QN_REGKEY_CONFIGURATION, KEY_READ)))
        return false;
    return SUCCEEDED(key.QueryString(QN_REGVAL_FORCE_LANGUAGE, language, 512));
}

// The locale's three-letter language abbreviation, or false when it has none.
bool AbbreviatedLanguageName(LCID lcid, wchar_t (&abbreviation)[16])
{
    return ::GetLocaleInfoW(lcid, LOCALE_SABBREVLANGNAME, abbreviation, 16) > 0 && abbreviation[0] != L'\0';
}

HMODULE FindLanguageModule(LPCWSTR moduleName)
{
    wchar_t exePath[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(nullptr, exePath, MAX_PATH);
    ModulePath path;
    wchar_t ext[256 + 1] = {};
    _wsplitpath_s(exePath, path.drive, path.dir, path.name, ext);
    if (moduleName) {
        wcsncpy(path.name, moduleName, 255);
        path.name[255] = L'\0';
    }

    CString forced;
    if (ReadForcedLanguage(forced)) {
        if (HMODULE module = path.Load(forced))
            return module;
    }

    const LCID user = ::GetUserDefaultLCID();
    wchar_t abbreviation[16];
    if (!AbbreviatedLanguageName(user, abbreviation))
        return nullptr;
    if (HMODULE module = path.Load(abbreviation))
        return module;

    // Same sort identifier and primary language, no sublanguage.
    const LCID neutral = user & 0x000F03FF;
    if (!AbbreviatedLanguageName(neutral, abbreviation))
        return nullptr;
    if (HMODULE module = path.Load(abbreviation))
        return module;

    return path.Load(L"ENU");
}

} // namespace

CResourceScope::CResourceScope(HINSTANCE hResource) : m_hPrevResource(AfxGetResourceHandle()), m_bFreeOnExit(0)
{
    if (hResource)
        AfxSetResourceHandle(hResource);
}

CResourceScope::CResourceScope(LPCWSTR lpszModuleName) : m_hPrevResource(AfxGetResourceHandle()), m_bFreeOnExit(1)
{
    if (HMODULE module = FindLanguageModule(lpszModuleName)) {
        AfxSetResourceHandle(module);
    } else {
        m_hPrevResource = nullptr;
        m_bFreeOnExit = 0;
    }
}

CResourceScope::~CResourceScope()
{
    // The module in force at the end of the scope is the one this scope loaded
    // when scopes nest properly.
    HINSTANCE inForce = AfxGetResourceHandle();
    if (m_hPrevResource)
        AfxSetResourceHandle(m_hPrevResource);
    if (m_bFreeOnExit && inForce)
        ::FreeLibrary(inForce);
}
