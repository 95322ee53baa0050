// The language modules built beside the test programs (tests/fixtures/langmodules:
// Brand.ENU/.DEU/.FRA, OnlyDeu.DEU, Fallback.ENU; string 1 of each is its own
// language) and the registry value that forces a language.
#pragma once

#include "support/win32/RegistrySandbox.h"

#include <string>

namespace qntest {

// String 1 of a module: the language of a fixture module, "" for none.
inline std::wstring ModuleLanguage(HINSTANCE module)
{
    wchar_t text[16] = {};
    return module && ::LoadStringW(module, 1, text, 16) > 0 ? text : L"";
}

inline bool IsLoaded(const std::wstring& path) { return ::GetModuleHandleW(path.c_str()) != nullptr; }

// The program's own path with its extension replaced, and a file beside it.
inline std::wstring ProgramPath(const std::wstring& extension)
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring own(path);
    return own.substr(0, own.find_last_of(L'.')) + extension;
}
inline std::wstring BesideProgram(const std::wstring& file)
{
    const std::wstring own = ProgramPath(L"");
    return own.substr(0, own.find_last_of(L'\\') + 1) + file;
}

inline bool UserLanguageIs(WORD primaryLanguage)
{
    return PRIMARYLANGID(LANGIDFROMLCID(::GetUserDefaultLCID())) == primaryLanguage;
}

// Sets "ForceLanguage" (or removes it, for null); meant inside an InstallationSandbox.
inline void ForceLanguage(const wchar_t* language)
{
    const wchar_t key[] = L"SOFTWARE\\Varnholt\\Quillon\\Configuration";
    if (language)
        RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, key, L"ForceLanguage", language);
    else
        ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key, L"ForceLanguage");
}

} // namespace qntest
