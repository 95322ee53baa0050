// CMap: the framework's hash map with separate chaining, associations carved
// from blocks. Included through afxtempl.h.
//
// Keys and values are made and copied the framework's way: default
// construction, then assignment. Allocation failure raises CMemoryException.
#pragma once

#include <afx/afxplex.h>

#include <new>

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject {
protected:
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue; // the full hash of the key
        KEY key;
        VALUE value;
    };

public:
    // Associations are carved from blocks of nBlockSize; the table has 17
    // buckets until InitHashTable says otherwise.
    explicit CMap(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
    ~CMap() override { RemoveAll(); }

    // Attributes
    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        UINT hash;
        CAssoc* assoc = GetAssocAt(key, hash);
        if (!assoc)
            return FALSE;
        rValue = assoc->value;
        return TRUE;
    }

    // The value for key, added (default-constructed) when the key is new.
    VALUE& operator[](ARG_KEY key)
    {
        UINT hash;
        if (CAssoc* assoc = GetAssocAt(key, hash))
            return assoc->value;
        if (!m_pHashTable)
            AllocTable(m_nHashTableSize);
        CAssoc* assoc = NewAssoc(key);
        assoc->nHashValue = hash;
        CAssoc*& bucket = m_pHashTable[hash % m_nHashTableSize];
        assoc->pNext = bucket;
        bucket = assoc;
        return assoc->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (!m_pHashTable)
            return FALSE;
        CAssoc** link = &m_pHashTable[HashKey<ARG_KEY>(key) % m_nHashTableSize];
        for (CAssoc* assoc = *link; assoc; link = &assoc->pNext, assoc = assoc->pNext) {
            if (CompareElements(&assoc->key, &key)) {
                *link = assoc->pNext;
                FreeAssoc(assoc);
                return TRUE;
            }
        }
        return FALSE;
    }

    void RemoveAll()
    {
        if (m_pHashTable) {
            for (UINT i = 0; i < m_nHashTableSize; ++i) {
                for (CAssoc* assoc = m_pHashTable[i]; assoc; assoc = assoc->pNext) {
                    assoc->key.~KEY();
                    assoc->value.~VALUE();
                }
            }
            delete[] m_pHashTable;
            m_pHashTable = nullptr;
        }
        m_nCount = 0;
        m_pFreeList = nullptr;
        if (m_pBlocks)
            m_pBlocks->FreeDataChain();
        m_pBlocks = nullptr;
    }

    // Iteration in bucket order; the position is null after the last entry.
    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        if (!m_pHashTable) {
            rNextPosition = nullptr;
            return;
        }
        CAssoc* assoc = reinterpret_cast<CAssoc*>(rNextPosition);
        if (rNextPosition == BEFORE_START_POSITION) {
            assoc = nullptr;
            for (UINT i = 0; i < m_nHashTableSize && !assoc; ++i)
                assoc = m_pHashTable[i];
        }
        if (!assoc) { // a position that is not one of this map's
            rNextPosition = nullptr;
            return;
        }
        CAssoc* next = assoc->pNext;
        for (UINT i = assoc->nHashValue % m_nHashTableSize + 1; !next && i < m_nHashTableSize; ++i)
            next = m_pHashTable[i];
        rNextPosition = reinterpret_cast<POSITION>(next);
        rKey = assoc->key;
        rValue = assoc->value;
    }

    // Sets the number of buckets (a prime a little above the expected count
    // is best); bAllocNow makes the table at once rather than on first use.
    // Entries already in the map are rehashed into the new table.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE)
    {
        if (hashSize == 0)
            return;
        if (m_nCount == 0) {
            delete[] m_pHashTable;
            m_pHashTable = nullptr;
            m_nHashTableSize = hashSize;
            if (bAllocNow)
                AllocTable(hashSize);
            return;
        }
        CAssoc** fresh = new (std::nothrow) CAssoc*[hashSize]();
        if (!fresh)
            AfxThrowMemoryException();
        for (UINT i = 0; i < m_nHashTableSize; ++i) {
            for (CAssoc* assoc = m_pHashTable[i]; assoc;) {
                CAssoc* next = assoc->pNext;
                CAssoc*& bucket = fresh[assoc->nHashValue % hashSize];
                assoc->pNext = bucket;
                bucket = assoc;
                assoc = next;
            }
        }
        delete[] m_pHashTable;
        m_pHashTable = fresh;
        m_nHashTableSize = hashSize;
    }

protected:
    void AllocTable(UINT hashSize)
    {
        m_pHashTable = new (std::nothrow) CAssoc*[hashSize]();
        if (!m_pHashTable)
            AfxThrowMemoryException();
        m_nHashTableSize = hashSize;
    }

    CAssoc* NewAssoc(ARG_KEY key)
    {
        if (!m_pFreeList) {
            CPlex* block = CPlex::Create(m_pBlocks, static_cast<UINT_PTR>(m_nBlockSize), sizeof(CAssoc));
            CAssoc* assocs = static_cast<CAssoc*>(block->data());
            for (INT_PTR i = m_nBlockSize - 1; i >= 0; --i) {
                assocs[i].pNext = m_pFreeList;
                m_pFreeList = &assocs[i];
            }
        }
        CAssoc* assoc = m_pFreeList;
        ::new (static_cast<void*>(&assoc->key)) KEY;
        ::new (static_cast<void*>(&assoc->value)) VALUE;
        try {
            assoc->key = key;
        } catch (...) {
            assoc->key.~KEY();
            assoc->value.~VALUE();
            throw;
        }
        m_pFreeList = m_pFreeList->pNext;
        ++m_nCount;
        return assoc;
    }
    void FreeAssoc(CAssoc* assoc)
    {
        assoc->key.~KEY();
        assoc->value.~VALUE();
        assoc->pNext = m_pFreeList;
        m_pFreeList = assoc;
        --m_nCount;
        if (m_nCount == 0)
            RemoveAll(); // the last entry gone: give the blocks back
    }
    // The association of key or null; hash receives the key's full hash.
    CAssoc* GetAssocAt(ARG_KEY key, UINT& hash) const
    {
        hash = HashKey<ARG_KEY>(key);
        if (!m_pHashTable)
            return nullptr;
        for (CAssoc* assoc = m_pHashTable[hash % m_nHashTableSize]; assoc; assoc = assoc->pNext) {
            if (assoc->nHashValue == hash && CompareElements(&assoc->key, &key))
                return assoc;
        }
        return nullptr;
    }

    CAssoc** m_pHashTable = nullptr;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
    CAssoc* m_pFreeList = nullptr;
    CPlex* m_pBlocks = nullptr;
    INT_PTR m_nBlockSize;
};
