// A directory tree under the temporary folder that lives as long as the
// object, with helpers to make files and read them back (Windows tests).
#pragma once

#include <QNPlatform.h>

#include <string>

class TempTree {
public:
    TempTree()
    {
        wchar_t base[MAX_PATH];
        ::GetTempPathW(MAX_PATH, base);
        static unsigned serial = 0;
        m_root = std::wstring(base) + L"qn" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                 std::to_wstring(++serial);
        RemoveTree(m_root);
        ::CreateDirectoryW(m_root.c_str(), nullptr);
    }
    ~TempTree() { RemoveTree(m_root); }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::wstring& Root() const { return m_root; }
    std::wstring operator/(const std::wstring& relative) const { return m_root + L"\\" + relative; }

    static bool WriteFile(const std::wstring& path, const std::string& content)
    {
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        const BOOL ok = ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        ::CloseHandle(file);
        return ok && written == content.size();
    }

    // The file's bytes, or "<missing>" when it cannot be read.
    static std::string ReadFile(const std::wstring& path)
    {
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return "<missing>";
        std::string content;
        char chunk[4096];
        DWORD read = 0;
        while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
            content.append(chunk, read);
        ::CloseHandle(file);
        return content;
    }

    static bool IsDirectory(const std::wstring& path)
    {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    static bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    static void RemoveTree(const std::wstring& path)
    {
        WIN32_FIND_DATAW entry;
        HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring child = path + L"\\" + name;
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(child);
                else
                    ::DeleteFileW(child.c_str());
            } while (::FindNextFileW(search, &entry));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(path.c_str());
    }

private:
    std::wstring m_root;
};
