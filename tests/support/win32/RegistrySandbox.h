// Registry state for one test. A RegistrySandbox moves a subtree aside for its
// lifetime, so the test starts without it; at the end it deletes whatever the
// test left there and puts the saved subtree back. The helpers write values
// with the platform's calls directly, never through the code under test.
#pragma once

#include <QNPlatform.h>

#include <string>

class RegistrySandbox {
public:
    RegistrySandbox(HKEY root, const wchar_t* path) : m_root(root), m_path(path)
    {
        static unsigned serial = 0;
        m_backup = L"Software\\QNTestBackup\\" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                   std::to_wstring(++serial);
        HKEY source = nullptr;
        if (::RegOpenKeyExW(m_root, m_path.c_str(), 0, KEY_READ, &source) == ERROR_SUCCESS) {
            HKEY backup = nullptr;
            ::RegCreateKeyExW(HKEY_CURRENT_USER, m_backup.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &backup,
                              nullptr);
            m_saved = ::RegCopyTreeW(source, nullptr, backup) == ERROR_SUCCESS;
            ::RegCloseKey(backup);
            ::RegCloseKey(source);
            ::RegDeleteTreeW(m_root, m_path.c_str());
        }
    }
    ~RegistrySandbox()
    {
        ::RegDeleteTreeW(m_root, m_path.c_str());
        if (m_saved) {
            HKEY target = nullptr;
            HKEY backup = nullptr;
            ::RegCreateKeyExW(m_root, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr);
            ::RegOpenKeyExW(HKEY_CURRENT_USER, m_backup.c_str(), 0, KEY_READ, &backup);
            ::RegCopyTreeW(backup, nullptr, target);
            ::RegCloseKey(backup);
            ::RegCloseKey(target);
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_backup.c_str());
    }
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // Creates the key (and the keys above it).
    static void MakeKey(HKEY root, const wchar_t* path)
    {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS)
            ::RegCloseKey(key);
    }
    // Stores raw bytes of a type, creating the key.
    static void SetRaw(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type, const void* data,
                       DWORD bytes)
    {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes);
        ::RegCloseKey(key);
    }
    // Stores a REG_SZ with its terminator, creating the key.
    static void SetText(HKEY root, const wchar_t* path, const wchar_t* name, const std::wstring& text)
    {
        SetRaw(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    static bool KeyExists(HKEY root, const wchar_t* path)
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }

private:
    HKEY m_root;
    std::wstring m_path;
    std::wstring m_backup;
    bool m_saved = false;
};

// The installation's registry trees, moved aside for one test.
struct InstallationSandbox {
    RegistrySandbox machine{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnholt"};
    RegistrySandbox user{HKEY_CURRENT_USER, L"SOFTWARE\\Varnholt"};
};
