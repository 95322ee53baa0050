// Directory chains and folder copies on the Win32 file APIs.
#include <QNUtilityClass.h>
#include <afx/afxfind.h>

#include <cstdlib>
#include <cwchar>

namespace {

bool IsSeparator(WCHAR c) { return c == L'\\' || c == L'/'; }

bool IsDirectory(LPCWSTR path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The full form of `path` without trailing separators ("C:\A\..\B\" ->
// "C:\B", "C:\" -> "C:"); empty when the platform cannot make one.
CString FullPathWithoutSeparator(const CString& path)
{
    CString full;
    const DWORD room = ::GetFullPathNameW(path, 0, nullptr, nullptr);
    if (room == 0)
        return full;
    const DWORD written = ::GetFullPathNameW(path, room, full.GetBuffer(static_cast<int>(room)), nullptr);
    full.ReleaseBuffer(written > 0 && written < room ? static_cast<int>(written) : 0);
    while (!full.IsEmpty() && IsSeparator(full[full.GetLength() - 1]))
        full = full.Left(full.GetLength() - 1);
    return full;
}

bool SameCaseless(LPCWSTR a, LPCWSTR b, int length)
{
    return ::CompareStringOrdinal(a, length, b, length, TRUE) == CSTR_EQUAL;
}

// TRUE when `inner` names `outer` itself or a path below it. Copying a folder
// into itself would find its own copy again and again.
bool IsSameOrInside(const CString& inner, const CString& outer)
{
    const CString fullInner = FullPathWithoutSeparator(inner);
    const CString fullOuter = FullPathWithoutSeparator(outer);
    const int n = fullOuter.GetLength();
    if (n == 0 || fullInner.GetLength() < n || !SameCaseless(fullInner, fullOuter, n))
        return false;
    return fullInner.GetLength() == n || IsSeparator(fullInner[n]);
}

} // namespace

int ForceDirectoriesW(LPCWSTR lpszPath)
{
    // The platform's path limits: MAX_PATH with the terminator, a directory
    // part of _MAX_DIR with its terminator.
    if (!lpszPath || std::wcslen(lpszPath) >= MAX_PATH)
        return FALSE;
    const DWORD attributes = ::GetFileAttributesW(lpszPath);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;

    WCHAR drive[_MAX_DRIVE];
    WCHAR directory[_MAX_DIR];
    if (::_wsplitpath_s(lpszPath, drive, _MAX_DRIVE, directory, _MAX_DIR, nullptr, 0, nullptr, 0) != 0)
        return FALSE;
    // A bare name or a missing bare drive has nothing to be created in.
    if (directory[0] == 0)
        return FALSE;
    WCHAR parent[MAX_PATH];
    if (::_wmakepath_s(parent, MAX_PATH, drive, directory, nullptr, nullptr) != 0)
        return FALSE;
    size_t parentLength = std::wcslen(parent);
    if (parentLength > 0 && IsSeparator(parent[parentLength - 1]))
        parent[--parentLength] = 0;
    // The parent is always shorter than the path; this keeps the recursion finite
    // for any text the split may meet.
    if (parentLength >= std::wcslen(lpszPath) || !ForceDirectoriesW(parent))
        return FALSE;
    if (::CreateDirectoryW(lpszPath, nullptr))
        return TRUE;
    // A path that ends in a separator names the directory that the parent step
    // has just made; it exists, which is what the caller asked for.
    return IsDirectory(lpszPath);
}

int ForceDirectoriesA(LPCSTR lpszPath)
{
    if (!lpszPath)
        return FALSE;
    return ForceDirectoriesW(CString(lpszPath));
}

BOOL CQNUtility::CopyFolder(CString strSource, CString strDestination)
{
    if (IsSameOrInside(strDestination, strSource))
        return FALSE;
    if (!ForceDirectoriesW(strDestination))
        return FALSE;
    // An empty source names no folder (its pattern would search the drive's
    // root): there is nothing to copy.
    if (strSource.IsEmpty())
        return TRUE;

    CString pattern;
    pattern.Format(L"%s\\*.*", static_cast<LPCWSTR>(strSource));
    CFileFind finder;
    BOOL more = finder.FindFile(pattern);
    while (more) {
        more = finder.FindNextFile();
        const CString name = finder.GetFileName();
        CString from;
        CString to;
        from.Format(L"%s\\%s", static_cast<LPCWSTR>(strSource), static_cast<LPCWSTR>(name));
        to.Format(L"%s\\%s", static_cast<LPCWSTR>(strDestination), static_cast<LPCWSTR>(name));
        if (finder.IsDirectory()) {
            if (finder.IsDots())
                continue;
            if (!CopyFolder(from, to))
                return FALSE;
        } else if (!::CopyFileW(from, to, FALSE)) {
            return FALSE;
        }
    }
    return TRUE;
}
