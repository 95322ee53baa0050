// A directory tree under the temporary folder that lives as long as the
// object, with helpers to make files and read them back (Windows tests).
#pragma once

#include <QNPlatform.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempTree {
public:
    TempTree()
    {
        static unsigned serial = 0;
        std::error_code ignored;
        m_root = (std::filesystem::temp_directory_path(ignored) /
                  (L"qn" + std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(++serial)))
                     .wstring();
        std::filesystem::remove_all(m_root, ignored);
        std::filesystem::create_directory(m_root, ignored);
    }
    ~TempTree()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::wstring& Root() const { return m_root; }
    std::wstring operator/(const std::wstring& relative) const { return m_root + L"\\" + relative; }

    static bool WriteFile(const std::wstring& path, const std::string& content)
    {
        std::ofstream file(std::filesystem::path(path), std::ios::binary);
        return file && file.write(content.data(), static_cast<std::streamsize>(content.size())) && file.flush();
    }
    // The file's bytes, or "<missing>" when it cannot be read.
    static std::string ReadFile(const std::wstring& path)
    {
        std::ifstream file(std::filesystem::path(path), std::ios::binary);
        return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
    }
    static bool IsDirectory(const std::wstring& path)
    {
        std::error_code ignored;
        return std::filesystem::is_directory(path, ignored);
    }
    static bool Exists(const std::wstring& path)
    {
        std::error_code ignored;
        return std::filesystem::exists(path, ignored);
    }

private:
    std::wstring m_root;
};
