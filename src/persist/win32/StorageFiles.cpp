// Compound storage files: a copy that keeps the root class identifier, and the
// renaming pass that normalises the letter case of the ".SwxCF" extension.
#include <QNStream.h>
#include <afx/afxfind.h>
#include <afx/atlbase.h>

#include <iterator>
#include <vector>

namespace {

constexpr WCHAR kStorageExtension[] = L".SwxCF";
constexpr int kStorageExtensionLength = static_cast<int>(std::size(kStorageExtension)) - 1;

// TRUE when the file at `path` exists under exactly the name `name`.
bool NameOnDiskIs(const CString& path, const CString& name)
{
    CFileFind search;
    if (!search.FindFile(path))
        return false;
    search.FindNextFile();
    return name == search.GetFileName();
}

// Some file systems (Wine's among them) report success for a rename that
// changes only the letter case and keep the old name. Going through a unique
// temporary name of the same folder changes it; if the second step fails, the
// file gets its old name back.
void RenameThroughTemporary(const CString& directory, const CString& path, const CString& renamed)
{
    WCHAR temporary[MAX_PATH] = {};
    if (!::GetTempFileNameW(directory, L"qn", 0, temporary))
        return;
    if (!::MoveFileExW(path, temporary, MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileW(temporary);
        return;
    }
    if (!::MoveFileW(temporary, renamed))
        ::MoveFileW(temporary, path);
}

} // namespace

int CopyStorageFile(LPCWSTR lpszSource, LPCWSTR lpszDestination, int bFailIfExists, IStorage* pSource)
{
    CComPtr<IStorage> opened;
    if (!pSource) {
        if (FAILED(::StgOpenStorage(lpszSource, nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                    &opened)))
            return 0;
        pSource = opened;
    }

    STATSTG stat = {};
    if (FAILED(pSource->Stat(&stat, STATFLAG_NONAME)))
        return 0;

    DWORD mode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
    if (bFailIfExists) {
        mode |= STGM_FAILIFTHERE;
    } else {
        mode |= STGM_CREATE;
        if (lpszDestination && ::GetFileAttributesW(lpszDestination) != INVALID_FILE_ATTRIBUTES)
            ::DeleteFileW(lpszDestination);
    }
    CComPtr<IStorage> destination;
    if (FAILED(::StgCreateDocfile(lpszDestination, mode, 0, &destination)))
        return 0;
    // A copy without the source's class would open as a different document.
    if (FAILED(destination->SetClass(stat.clsid)))
        return 0;
    return SUCCEEDED(pSource->CopyTo(0, nullptr, nullptr, destination)) ? 1 : 0;
}

void RenameOldStorageFiles(CString folder)
{
    const CString directory = folder + L"\\";
    const CString pattern = directory + L"*" + kStorageExtension;
    // The names are gathered first, so that no rename happens while the
    // folder is being listed.
    std::vector<CString> names;
    {
        CFileFind search;
        for (BOOL more = search.FindFile(pattern); more;) {
            more = search.FindNextFile();
            names.push_back(search.GetFileName());
        }
    }
    for (const CString& name : names) {
        // The search matched the extension in some letter case; the name keeps
        // everything before it.
        const int stem = name.GetLength() - kStorageExtensionLength;
        if (stem < 0 || name.Mid(stem) == kStorageExtension)
            continue;
        const CString path = directory + name;
        const CString renamedName = name.Left(stem) + kStorageExtension;
        const CString renamed = directory + renamedName;
        ::MoveFileW(path, renamed);
        if (!NameOnDiskIs(renamed, renamedName))
            RenameThroughTemporary(directory, path, renamed);
    }
}
