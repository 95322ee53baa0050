// SECRegistry: an owned registry key (Windows only).
//
// An SECRegistry holds at most one open key and closes it exactly once: when
// it is closed, re-opened, assigned over, or destroyed. It can be moved (the
// source is left holding no key) but not copied.
//
// Opening never creates anything: Open fails with the platform's code when the
// key does not exist. Only Create makes keys, and the library itself never
// calls it; it is there for hosts and installers.
//
// Every member that can fail returns the platform's error in result-code form,
// HRESULT_FROM_WIN32(error): for example 0x80070002 for a missing key or value
// (ERROR_FILE_NOT_FOUND), 0x80070005 for access denied, 0x800700EA for a value
// longer than the capacity asked for (ERROR_MORE_DATA), 0x80070103 at the end
// of an enumeration (ERROR_NO_MORE_ITEMS). Members used on an object that
// holds no key return 0x80070006 (ERROR_INVALID_HANDLE) without calling the
// platform; a text read whose buffer cannot be allocated returns E_OUTOFMEMORY.
//
// Text reads with a capacity behave exactly like the platform's read into a
// zero-filled buffer of that many bytes: a value longer than the capacity is
// not read and gives the empty text. A value stored without its terminator is
// read whole when the platform delivers it (some implementations, Wine among
// them, count a terminator for it); this class always supplies one. Text is
// taken up to its first zero character. Only the text types (REG_SZ, REG_EXPAND_SZ,
// unexpanded, and REG_MULTI_SZ, whose first string is taken) are read as text;
// other types give 0x8007065E (ERROR_UNSUPPORTED_TYPE). Every failed text read
// leaves the output empty.
//
//   SECRegistry key;
//   if (SUCCEEDED(key.Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnholt\\Quillon\\Install", KEY_READ))) {
//       CString path;
//       key.QueryString(L"WbPath", path, 520);   // empty on any failure
//   }
#pragma once

#include <QNPlatform.h>

#ifdef _WIN32
#include <afx/afxstr.h>

class QN_API SECRegistry {
public:
    // Construction
    SECRegistry() noexcept : m_hKey(nullptr) {}
    // Takes ownership of an open key (null for none).
    explicit SECRegistry(HKEY hKey) noexcept : m_hKey(hKey) {}
    ~SECRegistry() { Close(); }

    SECRegistry(SECRegistry&& other) noexcept : m_hKey(other.Detach()) {}
    SECRegistry& operator=(SECRegistry&& other) noexcept;
    SECRegistry(const SECRegistry&) = delete;
    SECRegistry& operator=(const SECRegistry&) = delete;

    // Opening and closing
    // Opens the existing key `lpszSubKey` (null or empty: `hParent` itself)
    // under `hParent` with exactly the access `samDesired`. On success the key
    // held before is closed and the new one held; on failure the object keeps
    // what it held. E_INVALIDARG when hParent is null.
    HRESULT Open(HKEY hParent, LPCWSTR lpszSubKey, REGSAM samDesired);
    // Opens the key, creating it (and missing keys above it) when it does not
    // exist. *pdwDisposition, when given, gets REG_CREATED_NEW_KEY or
    // REG_OPENED_EXISTING_KEY. Ownership as for Open.
    HRESULT Create(HKEY hParent, LPCWSTR lpszSubKey, REGSAM samDesired, DWORD* pdwDisposition = nullptr);
    // Closes the key if one is held. Safe to call any number of times.
    void Close() noexcept;
    // Gives up ownership: returns the key (null if none) without closing it.
    HKEY Detach() noexcept;
    // Closes what is held and takes ownership of `hKey`.
    void Attach(HKEY hKey) noexcept;

    bool IsOpen() const noexcept { return m_hKey != nullptr; }
    // The key, still owned by this object.
    HKEY GetHandle() const noexcept { return m_hKey; }

    // Reading values (null or empty name: the key's default value)
    // Text of at most `cbCapacity` bytes, terminator included if stored (see
    // the header comment). The output is empty on failure.
    HRESULT QueryString(LPCWSTR lpszName, CString& strValue, DWORD cbCapacity) const;
    // Text of any length.
    HRESULT QueryString(LPCWSTR lpszName, CString& strValue) const;
    // A REG_DWORD value; ERROR_UNSUPPORTED_TYPE for any other type or size.
    // The output is unchanged on failure.
    HRESULT QueryDWORD(LPCWSTR lpszName, DWORD& dwValue) const;
    // The platform's read as it stands: up to *pcbData bytes into pData
    // (either may be null to ask for the type or size only); *pcbData gets the
    // value's size, also when it was too large (ERROR_MORE_DATA).
    HRESULT QueryValue(LPCWSTR lpszName, DWORD* pdwType, void* pData, DWORD* pcbData) const;

    // Writing values (needs KEY_SET_VALUE)
    // Stores `lpszValue` (null counts as empty) as REG_SZ with its terminator.
    HRESULT SetString(LPCWSTR lpszName, LPCWSTR lpszValue);
    HRESULT SetDWORD(LPCWSTR lpszName, DWORD dwValue);
    HRESULT DeleteValue(LPCWSTR lpszName);
    // Deletes the subkey `lpszSubKey`, which must have no subkeys of its own.
    HRESULT DeleteSubKey(LPCWSTR lpszSubKey);

    // Enumeration (needs KEY_QUERY_VALUE or KEY_ENUMERATE_SUB_KEYS). Indexes
    // run from 0; past the last, ERROR_NO_MORE_ITEMS. The order is the
    // platform's; keys or values changed during an enumeration may be missed.
    // The name of value `dwIndex` (empty for the default value) and its type.
    HRESULT EnumValue(DWORD dwIndex, CString& strName, DWORD* pdwType = nullptr) const;
    // The name of subkey `dwIndex`.
    HRESULT EnumKey(DWORD dwIndex, CString& strName) const;

private:
    HKEY m_hKey;
};
#endif
