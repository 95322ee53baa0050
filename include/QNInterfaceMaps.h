// Maps that hold counted references to COM objects, keyed by a string or by a
// signed 32-bit number.
//
// The map owns one reference to each object it stores (taken by SetAt, given
// back by RemoveKey, RemoveAll and the destructor). Lookup and GetNextAssoc hand
// out a new reference that the caller releases. Values are never null:
// storing a null pointer under a new key is outside the contract; Lookup,
// GetNextAssoc, RemoveAll and the destructor skip null values.
#pragma once

#include <QNPlatform.h>
#include <afx/afxcoll.h>
#include <afx/afxstr.h>

class QN_API CMapStringToInterface : public CMapStringToPtr {
public:
    CMapStringToInterface();
    // Releases every stored object.
    ~CMapStringToInterface() override;

    // Stores pUnk under the key with a reference of its own; the object that
    // the key held before is released after the new one is stored.
    void SetAt(CString key, IUnknown* pUnk);
    // Non-zero if found: *ppUnk gets the object with a new reference. Not
    // found: 0 and *ppUnk unchanged.
    BOOL Lookup(CString key, IUnknown** ppUnk);
    // Non-zero if an entry was removed (its object released).
    BOOL RemoveKey(CString key);
    // Releases every stored object and empties the map.
    void RemoveAll();
    // Steps the iteration as the base map does; *ppUnk gets the entry's object
    // with a new reference.
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, IUnknown** ppUnk) const;
};

// Keys are held as their decimal text ("-1", "0", "2147483647"); the map
// behaves as a map from numbers.
class QN_API CMapLongToInterface : public CMapStringToPtr {
public:
    CMapLongToInterface();
    ~CMapLongToInterface() override;

    void SetAt(LONG key, IUnknown* pUnk);
    BOOL Lookup(LONG key, IUnknown** ppUnk);
    BOOL RemoveKey(LONG key);
    void RemoveAll();
    // The key comes back from its text with the usual decimal conversion.
    void GetNextAssoc(POSITION& rNextPosition, LONG& rKey, IUnknown** ppUnk) const;
};
