// Configuration store: installation paths, the template list, the export
// folder, the allowable project-name length and the brand texts.
#include <QNConfiguration.h>
#include <QNFrame.h>
#include <QNRegistry.h>
#include <QNUtilityClass.h>

#include <afx/afxfind.h>

#include "frame/ConfigurationRules.h"
#include "frame/win32/ConfigurationStore.h"

#include <cstring>
#include <cwchar>
#include <new>
#include <vector>

using qn::frame::ReadConfigurationText;

namespace {

// The longest template line: 511 characters and the terminator.
constexpr DWORD kTemplateLineChars = 512;

// Reads the folder `name` for GetExportDir into the caller's buffer of
// `capacity` bytes. True when a non-empty text with its terminator fits; the
// buffer then holds it (zero-filled behind it) and *pcbBuffer the value's size.
// Otherwise the buffer and *pcbBuffer are left as they were, so that a failed
// second read keeps what the first one found.
bool ReadExportFolder(const SECRegistry& key, LPCWSTR name, LPWSTR buffer, ULONG capacity, ULONG* pcbBuffer)
{
    const size_t chars = capacity / sizeof(WCHAR);
    // security: the value and its size come from the registry; the platform
    // writes at most `capacity` bytes into a zero-filled copy.
    std::vector<WCHAR> value;
    try {
        value.assign(chars + 1, 0);
    } catch (const std::bad_alloc&) {
        return false; // counts as not read
    }
    DWORD type = 0;
    DWORD size = capacity;
    if (FAILED(key.QueryValue(name, &type, value.data(), &size)))
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    const size_t length = wcsnlen(value.data(), chars);
    if (length == 0 || length == chars) // empty, or no room for the terminator
        return false;
    std::memcpy(buffer, value.data(), capacity);
    *pcbBuffer = size;
    return true;
}

bool FileSystemHas(LPCWSTR path)
{
    CFileFind finder;
    return finder.FindFile(path) != FALSE;
}

} // namespace

// --- Installation paths ---------------------------------------------------------

HRESULT CQNUtility::GetWBPath(CString& strPath)
{
    SECRegistry key;
    if (FAILED(key.Open(HKEY_LOCAL_MACHINE, QN_REGKEY_INSTALL, KEY_READ)))
        return E_FAIL;
    CString text;
    (void)key.QueryString(QN_REGVAL_WBPATH, text, QN_REGCAP_PATH); // a failed read gives the empty text
    strPath = text;
    return S_OK;
}

extern "C" void fxhGetConfigurationStringValue(LPCWSTR lpszValueName, CString& strValue)
{
    strValue.Empty();
    strValue = ReadConfigurationText(HKEY_LOCAL_MACHINE, QN_REGKEY_CONFIGURATION, lpszValueName, QN_REGCAP_PATH);
}

// --- Templates ------------------------------------------------------------------

extern "C" int fxGetTemplateInformation(int nTemplate, CString& strName, CString& strTemplateFile,
                                        CString& strDocumentation)
{
    if (nTemplate == 0) {
        strName = L"Empty Project";
        strTemplateFile.Empty();
        strDocumentation = L"Blank.htm";
        return 1;
    }
    wchar_t key[16];
    _snwprintf(key, sizeof key / sizeof key[0], L"%d", nTemplate);
    CString folder;
    fxhGetConfigurationStringValue(QN_REGVAL_TEMPLATES_DIR, folder);
    const CString file = folder + L"\\Templates.ini";

    wchar_t line[kTemplateLineChars] = {};
    const DWORD length = ::GetPrivateProfileStringW(L"Templates", key, L"", line, kTemplateLineChars, file);
    if (length == 0)
        return 0;
    // The service truncates longer values to the buffer and terminates them.
    qn::frame::TemplateLine parts;
    if (!qn::frame::SplitTemplateLine(line, wcsnlen(line, kTemplateLineChars), parts))
        return 0;
    strName = CString(line + parts.name.first, static_cast<int>(parts.name.count));
    strTemplateFile = CString(line + parts.file.first, static_cast<int>(parts.file.count));
    if (parts.hasPage)
        strDocumentation = CString(line + parts.page.first, static_cast<int>(parts.page.count));
    else
        strDocumentation = L"NoDocumentation.htm";
    return 1;
}

// --- Project name length --------------------------------------------------------

extern "C" int fxGetAllowableFilenameLength()
{
    SECRegistry key;
    if (FAILED(key.Open(HKEY_LOCAL_MACHINE, QN_REGKEY_TOLLMARK, KEY_READ)))
        return 0;
    CString root;
    if (FAILED(key.QueryString(QN_REGVAL_ROOTDIR, root, QN_REGCAP_ROOTDIR)))
        return 0;
    return qn::frame::AllowableNameLength(static_cast<size_t>(root.GetLength()));
}

// --- Export folder --------------------------------------------------------------

HRESULT CQNUtility::GetExportDir(LPWSTR lpszBuffer, ULONG* pcbBuffer)
{
    if (!lpszBuffer || !pcbBuffer)
        return E_POINTER;
    const ULONG capacity = *pcbBuffer;
    std::memset(lpszBuffer, 0, capacity);

    bool found = false;
    {
        SECRegistry key;
        if (SUCCEEDED(key.Open(HKEY_CURRENT_USER, QN_REGKEY_SETTINGS, KEY_READ)))
            found = ReadExportFolder(key, QN_REGVAL_EXPORT_DIR, lpszBuffer, capacity, pcbBuffer);
    }
    // The user's folder is searched for exactly as stored. SetExportDir stores
    // it with a trailing separator, which the platform's search never matches,
    // so "BackUp" is then read whenever it can be.
    if (!found || !FileSystemHas(lpszBuffer)) {
        SECRegistry key;
        if (SUCCEEDED(key.Open(HKEY_LOCAL_MACHINE, QN_REGKEY_CONFIGURATION, KEY_READ)))
            found = ReadExportFolder(key, QN_REGVAL_BACKUP, lpszBuffer, capacity, pcbBuffer) || found;
    }
    if (!found) {
        std::memset(lpszBuffer, 0, capacity);
        return S_FALSE;
    }
    (void)::SetCurrentDirectoryW(lpszBuffer); // the interface ignores its result
    return S_OK;
}

HRESULT CQNUtility::SetExportDir(LPCWSTR lpszPath)
{
    SECRegistry key;
    if (FAILED(key.Open(HKEY_CURRENT_USER, QN_REGKEY_SETTINGS, KEY_SET_VALUE)))
        return E_FAIL;
    const WCHAR* path = lpszPath ? lpszPath : L"";
    const size_t length = wcslen(path);
    const CString folder(path, static_cast<int>(qn::frame::FolderLength(path, length)));
    (void)key.SetString(QN_REGVAL_EXPORT_DIR, folder); // the interface ignores the store's result
    return S_OK;
}

// --- Brand texts ----------------------------------------------------------------

HRESULT CQNUtility::GetBrandInfo(BrandInfoType eInfo, CString& strText)
{
    CResourceScope brand(L"Brand");
    const auto index = static_cast<unsigned>(eInfo);
    if (index >= QN_BRAND_INFO_COUNT)
        return S_FALSE;
    CString text;
    (void)text.LoadString(qn::frame::kBrandStringIds[index]); // no module holds it: the empty text
    strText = text;
    return S_OK;
}

ULONG CQNUtility::CurrentBrand() { return 1; }
