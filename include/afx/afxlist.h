// CList: the framework's doubly linked list, nodes carved from blocks.
// Included through afxtempl.h.
//
// Elements are made and copied the framework's way: default construction, then
// assignment. Allocation failure raises CMemoryException.
#pragma once

#include <afx/afxplex.h>

#include <new>
#include <type_traits>

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
