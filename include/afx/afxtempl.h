// The framework's collection templates: CArray (growable array), CList (doubly
// linked list with nodes carved from blocks) and CMap (hash map with separate
// chaining, associations carved from blocks), and the element helpers they
// share. Header-only: each module instantiates what it uses.
//
// Elements are made and copied the framework's way: default construction, then
// assignment. Allocation failure raises CMemoryException.
#pragma once

#include <afx/afx.h>

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

// ---------------------------------------------------------------------------
// Element helpers (customisation points, as in the framework)

// Hash of a map key. The default shifts integers and pointers right by 4; other
// key types specialise it, e.g. `template <> UINT AFXAPI HashKey<const GUID&>(const GUID& key);`.
template <class ARG_KEY> inline UINT AFXAPI HashKey(ARG_KEY key)
{
    using Key = std::remove_cv_t<std::remove_reference_t<ARG_KEY>>;
    if constexpr (std::is_pointer_v<Key>) {
        return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key) >> 4);
    } else {
        static_assert(std::is_integral_v<Key> || std::is_enum_v<Key>,
                      "specialise HashKey for this key type");
        return static_cast<UINT>(static_cast<UINT_PTR>(key) >> 4);
    }
}

// Text keys: the framework's multiply-by-33 hash over the characters.
template <> inline UINT AFXAPI HashKey<LPCWSTR>(LPCWSTR key)
{
    UINT hash = 0;
    if (key) {
        while (*key)
            hash = (hash << 5) + hash + static_cast<UINT>(*key++);
    }
    return hash;
}
template <> inline UINT AFXAPI HashKey<const CString&>(const CString& key) { return HashKey<LPCWSTR>(key); }

template <class TYPE, class ARG_TYPE> inline BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

// Blocks of elements. A chain of blocks is freed all at once; the elements in
// it are constructed and destroyed by the collection.
struct CPlex {
    CPlex* pNext;

    void* data() { return this + 1; }

    // Adds a block of nMax elements of cbElement bytes at the head of the
    // chain. Raises CMemoryException when it cannot.
    static CPlex* Create(CPlex*& pHead, UINT_PTR nMax, UINT_PTR cbElement)
    {
        if (nMax == 0 || cbElement == 0 || nMax > (static_cast<UINT_PTR>(-1) - sizeof(CPlex)) / cbElement)
            AfxThrowMemoryException();
        void* raw = ::operator new(sizeof(CPlex) + nMax * cbElement, std::nothrow);
        if (!raw)
            AfxThrowMemoryException();
        CPlex* block = static_cast<CPlex*>(raw);
        block->pNext = pHead;
        pHead = block;
        return block;
    }

    // Frees this block and every block after it.
    void FreeDataChain()
    {
        CPlex* block = this;
        while (block) {
            CPlex* next = block->pNext;
            ::operator delete(static_cast<void*>(block));
            block = next;
        }
    }
};

// ---------------------------------------------------------------------------
// CArray

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject {
public:
    CArray() = default;
    ~CArray() override { Release(); }

    // Attributes
    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }

    // Sets the number of elements (new ones are default-constructed, dropped
    // ones destroyed). nGrowBy >= 0 sets how many elements each growth adds
    // at least (0: an eighth of the size, from 4 to 1024); -1 keeps it.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        if (nNewSize < 0)
            nNewSize = 0;
        if (nNewSize == 0) {
            Release();
            return;
        }
        if (nNewSize <= m_nMaxSize) {
            for (INT_PTR i = m_nSize; i < nNewSize; ++i)
                ::new (static_cast<void*>(m_pData + i)) TYPE;
            for (INT_PTR i = nNewSize; i < m_nSize; ++i)
                m_pData[i].~TYPE();
            m_nSize = nNewSize;
            return;
        }
        INT_PTR growBy = m_nGrowBy;
        if (growBy == 0) {
            growBy = m_nSize / 8;
            growBy = growBy < 4 ? 4 : (growBy > 1024 ? 1024 : growBy);
        }
        INT_PTR newMax = m_pData ? m_nMaxSize + growBy : growBy;
        if (newMax < nNewSize)
            newMax = nNewSize;
        Reallocate(newMax);
        for (INT_PTR i = m_nSize; i < nNewSize; ++i)
            ::new (static_cast<void*>(m_pData + i)) TYPE;
        m_nSize = nNewSize;
    }

    // Operations
    void FreeExtra()
    {
        if (m_nSize == m_nMaxSize)
            return;
        if (m_nSize == 0) {
            Release();
            return;
        }
        Reallocate(m_nSize);
    }
    void RemoveAll() { SetSize(0, -1); }

    // Element access (positions in [0, GetSize()), not checked, as in the framework)
    const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[nIndex]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_pData[nIndex]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[nIndex] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[nIndex]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_pData[nIndex]; }
    const TYPE& operator[](INT_PTR nIndex) const { return m_pData[nIndex]; }
    TYPE& operator[](INT_PTR nIndex) { return m_pData[nIndex]; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    // Growing the array
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            return;
        if (nIndex >= m_nSize) {
            TYPE copy = newElement; // the element may live in this array
            SetSize(nIndex + 1, -1);
            m_pData[nIndex] = copy;
            return;
        }
        m_pData[nIndex] = newElement;
    }
    INT_PTR Add(ARG_TYPE newElement)
    {
        const INT_PTR index = m_nSize;
        SetAtGrow(index, newElement);
        return index;
    }
    // Appends a copy of src (which may be this array); returns the first new index.
    INT_PTR Append(const CArray& src)
    {
        const INT_PTR oldSize = m_nSize;
        const INT_PTR count = src.m_nSize;
        SetSize(m_nSize + count, -1);
        for (INT_PTR i = 0; i < count; ++i)
            m_pData[oldSize + i] = src.m_pData[i];
        return oldSize;
    }
    void Copy(const CArray& src)
    {
        if (this == &src)
            return;
        SetSize(src.m_nSize, -1);
        for (INT_PTR i = 0; i < m_nSize; ++i)
            m_pData[i] = src.m_pData[i];
    }

    // Inserts nCount copies of newElement at nIndex (past the end: the gap
    // is filled with default elements).
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0)
            return;
        TYPE copy = newElement; // the element may live in this array
        const INT_PTR oldSize = m_nSize;
        if (nIndex >= oldSize) {
            SetSize(nIndex + nCount, -1);
        } else {
            SetSize(oldSize + nCount, -1);
            for (INT_PTR i = oldSize - 1; i >= nIndex; --i)
                m_pData[i + nCount] = std::move(m_pData[i]);
        }
        for (INT_PTR i = 0; i < nCount; ++i)
            m_pData[nIndex + i] = copy;
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        if (!pNewArray || pNewArray->m_nSize == 0 || nStartIndex < 0)
            return;
        if (pNewArray == this) {
            CArray copy;
            copy.Copy(*this);
            InsertAt(nStartIndex, &copy);
            return;
        }
        InsertAt(nStartIndex, pNewArray->m_pData[0], pNewArray->m_nSize);
        for (INT_PTR i = 1; i < pNewArray->m_nSize; ++i)
            m_pData[nStartIndex + i] = pNewArray->m_pData[i];
    }
    // Removes nCount elements from nIndex on (cut at the end of the array).
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0 || nIndex >= m_nSize)
            return;
        if (nCount > m_nSize - nIndex)
            nCount = m_nSize - nIndex;
        for (INT_PTR i = nIndex; i + nCount < m_nSize; ++i)
            m_pData[i] = std::move(m_pData[i + nCount]);
        SetSize(m_nSize - nCount, -1);
    }

protected:
    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = 0;

private:
    void Release()
    {
        for (INT_PTR i = 0; i < m_nSize; ++i)
            m_pData[i].~TYPE();
        ::operator delete(static_cast<void*>(m_pData));
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    }

    // Moves the elements into room for newMax; raises CMemoryException (with
    // the array unchanged) when that room cannot be had.
    void Reallocate(INT_PTR newMax)
    {
        if (newMax <= 0 || static_cast<size_t>(newMax) > static_cast<size_t>(-1) / sizeof(TYPE))
            AfxThrowMemoryException();
        TYPE* fresh = static_cast<TYPE*>(::operator new(static_cast<size_t>(newMax) * sizeof(TYPE), std::nothrow));
        if (!fresh)
            AfxThrowMemoryException();
        for (INT_PTR i = 0; i < m_nSize; ++i) {
            ::new (static_cast<void*>(fresh + i)) TYPE;
            fresh[i] = std::move(m_pData[i]);
            m_pData[i].~TYPE();
        }
        ::operator delete(static_cast<void*>(m_pData));
        m_pData = fresh;
        m_nMaxSize = newMax;
    }
};

// ---------------------------------------------------------------------------
// CList

template <class TYPE, class ARG_TYPE = const TYPE&> class CList : public CObject {
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    // Nodes are carved from blocks of nBlockSize nodes; freed nodes go to a
    // free list and the blocks are freed when the list becomes empty.
    explicit CList(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
    ~CList() override { RemoveAll(); }

    // Attributes
    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // Head and tail (the list must not be empty)
    TYPE& GetHead() { return m_pNodeHead->data; }
    const TYPE& GetHead() const { return m_pNodeHead->data; }
    TYPE& GetTail() { return m_pNodeTail->data; }
    const TYPE& GetTail() const { return m_pNodeTail->data; }

    TYPE RemoveHead()
    {
        CNode* node = m_pNodeHead;
        TYPE value = node->data;
        m_pNodeHead = node->pNext;
        if (m_pNodeHead)
            m_pNodeHead->pPrev = nullptr;
        else
            m_pNodeTail = nullptr;
        FreeNode(node);
        return value;
    }
    TYPE RemoveTail()
    {
        CNode* node = m_pNodeTail;
        TYPE value = node->data;
        m_pNodeTail = node->pPrev;
        if (m_pNodeTail)
            m_pNodeTail->pNext = nullptr;
        else
            m_pNodeHead = nullptr;
        FreeNode(node);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement)
    {
        CNode* node = NewNode(nullptr, m_pNodeHead, newElement);
        if (m_pNodeHead)
            m_pNodeHead->pPrev = node;
        else
            m_pNodeTail = node;
        m_pNodeHead = node;
        return ToPosition(node);
    }
    POSITION AddTail(ARG_TYPE newElement)
    {
        CNode* node = NewNode(m_pNodeTail, nullptr, newElement);
        if (m_pNodeTail)
            m_pNodeTail->pNext = node;
        else
            m_pNodeHead = node;
        m_pNodeTail = node;
        return ToPosition(node);
    }
    // Copies of another list's elements, in order, before the head / after the tail.
    void AddHead(const CList* pNewList)
    {
        if (!pNewList)
            return;
        const INT_PTR count = pNewList->m_nCount; // the list may be this one
        POSITION pos = pNewList->GetTailPosition();
        for (INT_PTR i = 0; i < count; ++i)
            AddHead(pNewList->GetPrev(pos));
    }
    void AddTail(const CList* pNewList)
    {
        if (!pNewList)
            return;
        const INT_PTR count = pNewList->m_nCount; // the list may be this one
        POSITION pos = pNewList->GetHeadPosition();
        for (INT_PTR i = 0; i < count; ++i)
            AddTail(pNewList->GetNext(pos));
    }

    void RemoveAll()
    {
        for (CNode* node = m_pNodeHead; node; node = node->pNext)
            node->data.~TYPE();
        m_nCount = 0;
        m_pNodeHead = m_pNodeTail = m_pNodeFree = nullptr;
        if (m_pBlocks)
            m_pBlocks->FreeDataChain();
        m_pBlocks = nullptr;
    }

    // Iteration: GetNext/GetPrev return the element at rPosition and move it
    // on (to null after the last element).
    POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* node = ToNode(rPosition);
        rPosition = ToPosition(node->pNext);
        return node->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        CNode* node = ToNode(rPosition);
        rPosition = ToPosition(node->pNext);
        return node->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* node = ToNode(rPosition);
        rPosition = ToPosition(node->pPrev);
        return node->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        CNode* node = ToNode(rPosition);
        rPosition = ToPosition(node->pPrev);
        return node->data;
    }

    // Access at a position (which must be one of this list's)
    TYPE& GetAt(POSITION position) { return ToNode(position)->data; }
    const TYPE& GetAt(POSITION position) const { return ToNode(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { ToNode(pos)->data = newElement; }
    void RemoveAt(POSITION position)
    {
        CNode* node = ToNode(position);
        if (node == m_pNodeHead)
            m_pNodeHead = node->pNext;
        else
            node->pPrev->pNext = node->pNext;
        if (node == m_pNodeTail)
            m_pNodeTail = node->pPrev;
        else
            node->pNext->pPrev = node->pPrev;
        FreeNode(node);
    }

    // Insertion next to a position; a null position inserts at the head
    // (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        if (!position)
            return AddHead(newElement);
        CNode* old = ToNode(position);
        CNode* node = NewNode(old->pPrev, old, newElement);
        if (old->pPrev)
            old->pPrev->pNext = node;
        else
            m_pNodeHead = node;
        old->pPrev = node;
        return ToPosition(node);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        if (!position)
            return AddTail(newElement);
        CNode* old = ToNode(position);
        CNode* node = NewNode(old, old->pNext, newElement);
        if (old->pNext)
            old->pNext->pPrev = node;
        else
            m_pNodeTail = node;
        old->pNext = node;
        return ToPosition(node);
    }

    // Searching: the first match after startAfter (from the head when null),
    // or null; the node at a zero-based index, or null when out of range.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        CNode* node = startAfter ? ToNode(startAfter)->pNext : m_pNodeHead;
        for (; node; node = node->pNext) {
            if (CompareElements<TYPE, std::remove_cv_t<std::remove_reference_t<ARG_TYPE>>>(&node->data, &searchValue))
                return ToPosition(node);
        }
        return nullptr;
    }
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* node = m_pNodeHead;
        while (nIndex--)
            node = node->pNext;
        return ToPosition(node);
    }

protected:
    static POSITION ToPosition(CNode* node) { return reinterpret_cast<POSITION>(node); }
    static CNode* ToNode(POSITION position) { return reinterpret_cast<CNode*>(position); }

    CNode* NewNode(CNode* pPrev, CNode* pNext, ARG_TYPE newElement)
    {
        if (!m_pNodeFree) {
            // A new block: its nodes go onto the free list, first node first out.
            CPlex* block = CPlex::Create(m_pBlocks, static_cast<UINT_PTR>(m_nBlockSize), sizeof(CNode));
            CNode* nodes = static_cast<CNode*>(block->data());
            for (INT_PTR i = m_nBlockSize - 1; i >= 0; --i) {
                nodes[i].pNext = m_pNodeFree;
                m_pNodeFree = &nodes[i];
            }
        }
        CNode* node = m_pNodeFree;
        ::new (static_cast<void*>(&node->data)) TYPE;
        try {
            node->data = newElement;
        } catch (...) {
            node->data.~TYPE();
            throw;
        }
        m_pNodeFree = m_pNodeFree->pNext;
        node->pPrev = pPrev;
        node->pNext = pNext;
        ++m_nCount;
        return node;
    }
    void FreeNode(CNode* node)
    {
        node->data.~TYPE();
        node->pNext = m_pNodeFree;
        m_pNodeFree = node;
        --m_nCount;
        if (m_nCount == 0)
            RemoveAll(); // the last element gone: give the blocks back
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
    CNode* m_pNodeFree = nullptr;
    CPlex* m_pBlocks = nullptr;
    INT_PTR m_nBlockSize;
};

// ---------------------------------------------------------------------------
// CMap

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
