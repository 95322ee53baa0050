// CFileFind: the framework's directory search over FindFirstFileW and
// FindNextFileW (Windows only).
//
//   CFileFind finder;
//   BOOL more = finder.FindFile(L"C:\\Data\\*.*");
//   while (more) {
//       more = finder.FindNextFile();   // makes the next entry current
//       ... finder.GetFileName(), finder.IsDirectory() ...
//   }
//
// FindFile only starts the search; each FindNextFile makes the next entry the
// current one and returns FALSE when that entry is the last, so the loop above
// visits every entry once. The search handle is closed by Close, by the next
// FindFile and by the destructor.
#pragma once

#ifndef _WIN32
#error "afxfind.h is Windows-only"
#endif

#include <afx/afx.h>

class QN_API CFileFind : public CObject {
    DECLARE_DYNAMIC(CFileFind)
public:
    CFileFind() = default;
    ~CFileFind() override;

    // Operations
    // Starts a search for `pstrName` (a path with wildcards; null means
    // "*.*" in the current directory). TRUE when at least one entry matches.
    BOOL FindFile(LPCTSTR pstrName = nullptr, DWORD dwUnused = 0);
    // Makes the next entry current. FALSE when there was none, or when the
    // entry it made current is the last one (that entry is still readable).
    BOOL FindNextFile();
    void Close();

    // Attributes of the current entry (empty texts and FALSE before the first
    // FindNextFile and after Close)
    CString GetFileName() const;
    // The search's directory joined with the entry's name.
    CString GetFilePath() const;
    // The directory searched, as a full path.
    CString GetRoot() const;
    // TRUE when the entry has all the FILE_ATTRIBUTE_* bits of dwMask.
    BOOL MatchesMask(DWORD dwMask) const;
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    // TRUE for the directory entries "." and "..".
    BOOL IsDots() const;

private:
    HANDLE m_hContext = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_found = {}; // the current entry
    WIN32_FIND_DATAW m_next = {};  // the entry FindNextFile makes current
    BOOL m_bHaveFound = FALSE;
    BOOL m_bHaveNext = FALSE;
    CString m_strRoot;
};
