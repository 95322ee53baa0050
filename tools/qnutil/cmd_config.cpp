// qnutil config: the installation's configuration as the library reads it.
#include "Command.h"

#include <QNUtility.h>

#include <cwchar>

namespace {

using qnutil::Out;

struct Value {
    HKEY root;
    const wchar_t* rootName;
    const wchar_t* key;
    const wchar_t* name;
    DWORD capacity; // bytes, as the library reads it
};

// Every value the library reads, with the capacity of its read. "BackUp" and
// "BackUpLanguageDir" go into the caller's buffer; 520 bytes here.
const Value kValues[] = {
    {HKEY_LOCAL_MACHINE, L"HKLM", QN_REGKEY_INSTALL, QN_REGVAL_WBPATH, QN_REGCAP_PATH},
    {HKEY_LOCAL_MACHINE, L"HKLM", QN_REGKEY_CONFIGURATION, QN_REGVAL_RUNTIME_ROOT, QN_REGCAP_PATH},
    {HKEY_LOCAL_MACHINE, L"HKLM", QN_REGKEY_CONFIGURATION, QN_REGVAL_TEMPLATES_DIR, QN_REGCAP_PATH},
    {HKEY_LOCAL_MACHINE, L"HKLM", QN_REGKEY_CONFIGURATION, QN_REGVAL_BACKUP, QN_REGCAP_PATH},
    {HKEY_LOCAL_MACHINE, L"HKLM", QN_REGKEY_CONFIGURATION, QN_REGVAL_FORCE_LANGUAGE, QN_REGCAP_FORCE_LANGUAGE},
    {HKEY_LOCAL_MACHINE, L"HKLM", QN_REGKEY_TOLLMARK, QN_REGVAL_ROOTDIR, QN_REGCAP_ROOTDIR},
    {HKEY_CURRENT_USER, L"HKCU", QN_REGKEY_SETTINGS, QN_REGVAL_EXPORT_DIR, QN_REGCAP_PATH},
};

std::wstring Hex4(ULONG value)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%04lX", value);
    return text;
}

// "<path>  <text>", or "not set" when the library reads the empty text
// (missing key or value, or longer than the capacity).
void ShowValue(const Value& v)
{
    CString text;
    SECRegistry key;
    const bool opened = SUCCEEDED(key.Open(v.root, v.key, KEY_READ));
    if (opened)
        (void)key.QueryString(v.name, text, v.capacity);
    std::wstring line = std::wstring(v.rootName) + L"\\" + v.key + L"\\" + v.name;
    line.append(line.size() < 64 ? 64 - line.size() : 1, L' ');
    line += text.IsEmpty() ? std::wstring(L"not set") : std::wstring(static_cast<LPCWSTR>(text));
    Out(line + L"\n");
}

int RunConfig(std::span<const std::wstring> args)
{
    if (!args.empty())
        return qnutil::Usage(L"config");
    Out(L"Registry (as the library reads it):\n");
    for (const Value& v : kValues)
        ShowValue(v);

    CString folder;
    fxhGetConfigurationStringValue(QN_REGVAL_TEMPLATES_DIR, folder);
    Out(L"\nTemplates (" + std::wstring(static_cast<LPCWSTR>(folder)) + L"\\Templates.ini):\n");
    // The list ends at the first number the library cannot give.
    for (int number = 0;; ++number) {
        CString name, file, page;
        if (!fxGetTemplateInformation(number, name, file, page))
            break;
        wchar_t head[16];
        std::swprintf(head, 16, L"  %3d  ", number);
        Out(head + std::wstring(static_cast<LPCWSTR>(name)) + L"; file: " +
            (file.IsEmpty() ? std::wstring(L"(none)") : std::wstring(static_cast<LPCWSTR>(file))) +
            L"; page: " + static_cast<LPCWSTR>(page) + L"\n");
    }

    Out(L"\nAllowable project name length: " + std::to_wstring(fxGetAllowableFilenameLength()) + L"\n");
    Out(L"Forced language locale: " + Hex4(CQNUtility::GetLocaleFromForceLanguage()) + L"\n");
    int first = 0, second = 0;
    CQNUtility::GetUserDefaultLocaleAndSystemLanguage(first, second);
    Out(L"User locale class: " + std::to_wstring(first) + L", " + std::to_wstring(second) + L"\n");

    wchar_t exportDir[MAX_PATH] = {};
    ULONG bytes = sizeof exportDir;
    const HRESULT hr = CQNUtility::GetExportDir(exportDir, &bytes);
    Out(L"Export folder: " + (hr == S_OK ? std::wstring(exportDir) : std::wstring(L"none")) + L"\n");
    return 0;
}

const qnutil::Registration config{L"config", L"", L"the installation's configuration as the library reads it",
                                  RunConfig};

} // namespace
