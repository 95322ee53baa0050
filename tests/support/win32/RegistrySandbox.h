// Registry state for one test. A RegistrySandbox moves a subtree aside (to a
// backup key under HKCU) for its lifetime, so the test starts without it; at
// the end it deletes what the test left and puts the saved subtree back. The
// helpers write with the platform's calls, never through the code under test.
#pragma once

#include <QNPlatform.h>

#include <memory>
#include <string>
#include <type_traits>

struct RegistryKeyCloser {
    void operator()(HKEY key) const { ::RegCloseKey(key); }
};
using OwnedRegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegistryKeyCloser>;

class RegistrySandbox {
public:
    RegistrySandbox(HKEY root, const wchar_t* path) : m_root(root), m_path(path)
    {
        static unsigned serial = 0;
        m_backup = L"Software\\QNTestBackup\\" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                   std::to_wstring(++serial);
        m_saved = Copy(m_root, m_path, HKEY_CURRENT_USER, m_backup);
        ::RegDeleteTreeW(m_root, m_path.c_str());
    }
    ~RegistrySandbox()
    {
        ::RegDeleteTreeW(m_root, m_path.c_str());
        if (m_saved)
            Copy(HKEY_CURRENT_USER, m_backup, m_root, m_path);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_backup.c_str());
    }
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // Stores raw bytes of a type, creating the key (no name: just the key).
    static void SetRaw(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type, const void* data, DWORD bytes)
    {
        const OwnedRegistryKey key = Open(root, path, true);
        if (key && name)
            ::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes);
    }
    static void MakeKey(HKEY root, const wchar_t* path) { SetRaw(root, path, nullptr, 0, nullptr, 0); }
    // A REG_SZ with its terminator, creating the key.
    static void SetText(HKEY root, const wchar_t* path, const wchar_t* name, const std::wstring& text)
    {
        SetRaw(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    static bool KeyExists(HKEY root, const wchar_t* path) { return Open(root, path, false) != nullptr; }

private:
    static OwnedRegistryKey Open(HKEY root, const wchar_t* path, bool create)
    {
        HKEY key = nullptr;
        const LONG status = create ? ::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
                                   : ::RegOpenKeyExW(root, path, 0, KEY_READ, &key);
        return OwnedRegistryKey(status == ERROR_SUCCESS ? key : nullptr);
    }
    static bool Copy(HKEY fromRoot, const std::wstring& from, HKEY toRoot, const std::wstring& to)
    {
        const OwnedRegistryKey source = Open(fromRoot, from.c_str(), false);
        const OwnedRegistryKey target = source ? Open(toRoot, to.c_str(), true) : nullptr;
        return target && ::RegCopyTreeW(source.get(), nullptr, target.get()) == ERROR_SUCCESS;
    }

    HKEY m_root;
    std::wstring m_path, m_backup;
    bool m_saved = false;
};

// The installation's registry trees, moved aside for one test.
struct InstallationSandbox {
    RegistrySandbox machine{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnholt"};
    RegistrySandbox user{HKEY_CURRENT_USER, L"SOFTWARE\\Varnholt"};
};
