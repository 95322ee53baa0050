// SECRegistry: the owned registry key. The interface and its rules are
// described in QNRegistry.h.
#include <QNRegistry.h>

#include <cwchar>
#include <new>
#include <vector>

namespace {

inline HRESULT FromStatus(LONG status) { return HRESULT_FROM_WIN32(static_cast<unsigned long>(status)); }

const HRESULT kNoKey = HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
const HRESULT kWrongType = HRESULT_FROM_WIN32(ERROR_UNSUPPORTED_TYPE);

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// A zero-filled buffer of `chars` characters; false when it cannot be had
// (a caller's capacity, or a size the registry reports, may be huge).
bool Allocate(std::vector<WCHAR>& buffer, size_t chars) noexcept
{
    try {
        buffer.assign(chars, 0);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// The longest names the platform allows, in characters, terminator excluded.
constexpr DWORD kMaxValueName = 16383;
constexpr DWORD kMaxKeyName = 255;

// The text in the first `bytes` bytes of `data`, up to its first zero
// character; an odd last byte is no character.
CString TextOf(const WCHAR* data, DWORD bytes)
{
    const size_t chars = bytes / sizeof(WCHAR);
    return CString(data, static_cast<int>(wcsnlen(data, chars)));
}

} // namespace

SECRegistry& SECRegistry::operator=(SECRegistry&& other) noexcept
{
    if (this != &other)
        Attach(other.Detach());
    return *this;
}

HRESULT SECRegistry::Open(HKEY hParent, LPCWSTR lpszSubKey, REGSAM samDesired)
{
    if (!hParent)
        return E_INVALIDARG;
    HKEY key = nullptr;
    const LONG status = ::RegOpenKeyExW(hParent, lpszSubKey, 0, samDesired, &key);
    if (status != ERROR_SUCCESS)
        return FromStatus(status);
    Attach(key);
    return S_OK;
}

HRESULT SECRegistry::Create(HKEY hParent, LPCWSTR lpszSubKey, REGSAM samDesired, DWORD* pdwDisposition)
{
    if (!hParent)
        return E_INVALIDARG;
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG status = ::RegCreateKeyExW(hParent, lpszSubKey ? lpszSubKey : L"", 0, nullptr,
                                          REG_OPTION_NON_VOLATILE, samDesired, nullptr, &key, &disposition);
    if (status != ERROR_SUCCESS)
        return FromStatus(status);
    Attach(key);
    if (pdwDisposition)
        *pdwDisposition = disposition;
    return S_OK;
}

void SECRegistry::Close() noexcept
{
    if (m_hKey) {
        ::RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

HKEY SECRegistry::Detach() noexcept
{
    HKEY key = m_hKey;
    m_hKey = nullptr;
    return key;
}

void SECRegistry::Attach(HKEY hKey) noexcept
{
    if (hKey != m_hKey)
        Close();
    m_hKey = hKey;
}

HRESULT SECRegistry::QueryString(LPCWSTR lpszName, CString& strValue, DWORD cbCapacity) const
{
    strValue.Empty();
    if (!m_hKey)
        return kNoKey;
    // security: the value and its size come from the registry. The platform
    // writes at most cbCapacity bytes; the buffer has zero characters more so
    // that a value stored without a terminator still ends inside it.
    std::vector<WCHAR> buffer;
    if (!Allocate(buffer, cbCapacity / sizeof(WCHAR) + 2))
        return E_OUTOFMEMORY;
    DWORD type = 0;
    DWORD size = cbCapacity;
    const LONG status =
        ::RegQueryValueExW(m_hKey, lpszName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status != ERROR_SUCCESS)
        return FromStatus(status);
    if (!IsTextType(type))
        return kWrongType;
    strValue = TextOf(buffer.data(), size < cbCapacity ? size : cbCapacity);
    return S_OK;
}

HRESULT SECRegistry::QueryString(LPCWSTR lpszName, CString& strValue) const
{
    strValue.Empty();
    if (!m_hKey)
        return kNoKey;
    // The value may grow between asking for its size and reading it: ask again
    // a few times, then give up with the platform's answer.
    LONG status = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        status = ::RegQueryValueExW(m_hKey, lpszName, nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS)
            break;
        if (!IsTextType(type))
            return kWrongType;
        // security: size comes from the registry; the platform never writes
        // more than the size it is given.
        std::vector<WCHAR> buffer;
        if (!Allocate(buffer, size / sizeof(WCHAR) + 2))
            return E_OUTOFMEMORY;
        status = ::RegQueryValueExW(m_hKey, lpszName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status == ERROR_SUCCESS) {
            if (!IsTextType(type))
                return kWrongType;
            strValue = TextOf(buffer.data(), size);
            return S_OK;
        }
    }
    return FromStatus(status);
}

HRESULT SECRegistry::QueryDWORD(LPCWSTR lpszName, DWORD& dwValue) const
{
    if (!m_hKey)
        return kNoKey;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG status = ::RegQueryValueExW(m_hKey, lpszName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (status == ERROR_MORE_DATA) // longer than four bytes: no REG_DWORD
        return kWrongType;
    if (status != ERROR_SUCCESS)
        return FromStatus(status);
    if (type != REG_DWORD || size != sizeof value)
        return kWrongType;
    dwValue = value;
    return S_OK;
}

HRESULT SECRegistry::QueryValue(LPCWSTR lpszName, DWORD* pdwType, void* pData, DWORD* pcbData) const
{
    if (!m_hKey)
        return kNoKey;
    if (pData && !pcbData)
        return E_POINTER;
    return FromStatus(::RegQueryValueExW(m_hKey, lpszName, nullptr, pdwType, static_cast<BYTE*>(pData), pcbData));
}

HRESULT SECRegistry::SetString(LPCWSTR lpszName, LPCWSTR lpszValue)
{
    if (!m_hKey)
        return kNoKey;
    const WCHAR* text = lpszValue ? lpszValue : L"";
    const size_t bytes = (wcslen(text) + 1) * sizeof(WCHAR);
    if (bytes > 0xFFFFFFFFu)
        return E_INVALIDARG;
    return FromStatus(
        ::RegSetValueExW(m_hKey, lpszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(bytes)));
}

HRESULT SECRegistry::SetDWORD(LPCWSTR lpszName, DWORD dwValue)
{
    if (!m_hKey)
        return kNoKey;
    return FromStatus(
        ::RegSetValueExW(m_hKey, lpszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof dwValue));
}

HRESULT SECRegistry::DeleteValue(LPCWSTR lpszName)
{
    if (!m_hKey)
        return kNoKey;
    return FromStatus(::RegDeleteValueW(m_hKey, lpszName));
}

HRESULT SECRegistry::DeleteSubKey(LPCWSTR lpszSubKey)
{
    if (!m_hKey)
        return kNoKey;
    // An empty name would delete the key itself (the platform's reading);
    // that is not what "a subkey" asks for.
    if (!lpszSubKey || !*lpszSubKey)
        return E_INVALIDARG;
    return FromStatus(::RegDeleteKeyW(m_hKey, lpszSubKey));
}

HRESULT SECRegistry::EnumValue(DWORD dwIndex, CString& strName, DWORD* pdwType) const
{
    if (!m_hKey)
        return kNoKey;
    CString name;
    DWORD chars = kMaxValueName + 1;
    DWORD type = 0;
    const LONG status = ::RegEnumValueW(m_hKey, dwIndex, name.GetBuffer(static_cast<int>(chars)), &chars, nullptr,
                                        &type, nullptr, nullptr);
    if (status != ERROR_SUCCESS) {
        name.ReleaseBuffer(0);
        return FromStatus(status);
    }
    name.ReleaseBuffer(static_cast<int>(chars));
    strName = name;
    if (pdwType)
        *pdwType = type;
    return S_OK;
}

HRESULT SECRegistry::EnumKey(DWORD dwIndex, CString& strName) const
{
    if (!m_hKey)
        return kNoKey;
    CString name;
    DWORD chars = kMaxKeyName + 1;
    const LONG status = ::RegEnumKeyExW(m_hKey, dwIndex, name.GetBuffer(static_cast<int>(chars)), &chars, nullptr,
                                        nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) {
        name.ReleaseBuffer(0);
        return FromStatus(status);
    }
    name.ReleaseBuffer(static_cast<int>(chars));
    strName = name;
    return S_OK;
}
