// CMapStringToInterface and CMapLongToInterface: counted COM references in a
// map from strings to pointers.
#include <QNInterfaceMaps.h>

#include "common/AsciiText.h"

namespace {

// Allocation block of the base map's entries.
constexpr INT_PTR kBlockSize = 10;

// SetAt: reference the new object, store it, then release what the key held.
// If storing fails (the base map raises the memory exception), the reference
// just taken is given back before the exception goes on.
void StoreCounted(CMapStringToPtr& map, LPCWSTR key, IUnknown* pUnk)
{
    void* previous = nullptr;
    const BOOL held = map.CMapStringToPtr::Lookup(key, previous);
    if (pUnk)
        pUnk->AddRef();
    try {
        map.CMapStringToPtr::SetAt(key, pUnk);
    } catch (CMemoryException*) {
        if (pUnk)
            pUnk->Release();
        throw;
    }
    if (held && previous)
        static_cast<IUnknown*>(previous)->Release();
}

BOOL LookupCounted(const CMapStringToPtr& map, LPCWSTR key, IUnknown** ppUnk)
{
    void* value = nullptr;
    if (!map.CMapStringToPtr::Lookup(key, value))
        return FALSE;
    IUnknown* pUnk = static_cast<IUnknown*>(value);
    if (pUnk)
        pUnk->AddRef();
    if (ppUnk)
        *ppUnk = pUnk;
    else if (pUnk)
        pUnk->Release();
    return TRUE;
}

BOOL RemoveCounted(CMapStringToPtr& map, LPCWSTR key)
{
    void* value = nullptr;
    if (!map.CMapStringToPtr::Lookup(key, value))
        return FALSE;
    map.CMapStringToPtr::RemoveKey(key);
    if (value)
        static_cast<IUnknown*>(value)->Release();
    return TRUE;
}

// One walk with the base iteration, releasing each value that is not null,
// then the base map is emptied.
void RemoveAllCounted(CMapStringToPtr& map)
{
    CString key;
    void* value = nullptr;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        map.CMapStringToPtr::GetNextAssoc(pos, key, value);
        if (value)
            static_cast<IUnknown*>(value)->Release();
    }
    map.CMapStringToPtr::RemoveAll();
}

void NextCounted(const CMapStringToPtr& map, POSITION& pos, CString& key, IUnknown** ppUnk)
{
    void* value = nullptr;
    map.CMapStringToPtr::GetNextAssoc(pos, key, value);
    IUnknown* pUnk = static_cast<IUnknown*>(value);
    if (pUnk)
        pUnk->AddRef();
    if (ppUnk)
        *ppUnk = pUnk;
    else if (pUnk)
        pUnk->Release();
}

// The key text of a number: base 10, a minus sign for negative numbers, no
// leading zeros. Formed as narrow text and widened, as the framework does; the
// digits and the sign are the same in every code page.
CString KeyText(LONG key)
{
    char digits[11];
    char* const end = qn::ascii::FormatInt32(key, digits);
    return CString(digits, static_cast<int>(end - digits));
}

// The usual decimal text-to-long conversion: leading white space, an optional
// sign, digits up to the first non-digit; 0 without digits; out of range
// clamps to the nearest limit. LONG is 32 bits on every build.
LONG KeyNumber(const CString& text) { return qn::ascii::ParseInt32(static_cast<LPCWSTR>(text)); }

} // namespace

// --- CMapStringToInterface --------------------------------------------------------

CMapStringToInterface::CMapStringToInterface() : CMapStringToPtr(kBlockSize) {}

CMapStringToInterface::~CMapStringToInterface() { RemoveAllCounted(*this); }

void CMapStringToInterface::SetAt(CString key, IUnknown* pUnk) { StoreCounted(*this, key, pUnk); }

BOOL CMapStringToInterface::Lookup(CString key, IUnknown** ppUnk) { return LookupCounted(*this, key, ppUnk); }

BOOL CMapStringToInterface::RemoveKey(CString key) { return RemoveCounted(*this, key); }

void CMapStringToInterface::RemoveAll() { RemoveAllCounted(*this); }

void CMapStringToInterface::GetNextAssoc(POSITION& rNextPosition, CString& rKey, IUnknown** ppUnk) const
{
    NextCounted(*this, rNextPosition, rKey, ppUnk);
}

// --- CMapLongToInterface ----------------------------------------------------------

CMapLongToInterface::CMapLongToInterface() : CMapStringToPtr(kBlockSize) {}

CMapLongToInterface::~CMapLongToInterface() { RemoveAllCounted(*this); }

void CMapLongToInterface::SetAt(LONG key, IUnknown* pUnk) { StoreCounted(*this, KeyText(key), pUnk); }

BOOL CMapLongToInterface::Lookup(LONG key, IUnknown** ppUnk) { return LookupCounted(*this, KeyText(key), ppUnk); }

BOOL CMapLongToInterface::RemoveKey(LONG key) { return RemoveCounted(*this, KeyText(key)); }

void CMapLongToInterface::RemoveAll() { RemoveAllCounted(*this); }

void CMapLongToInterface::GetNextAssoc(POSITION& rNextPosition, LONG& rKey, IUnknown** ppUnk) const
{
    CString text;
    NextCounted(*this, rNextPosition, text, ppUnk);
    rKey = KeyNumber(text);
}
