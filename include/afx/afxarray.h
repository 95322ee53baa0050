// CArray: the framework's growable array. Included through afxtempl.h.
//
// Elements are made and copied the framework's way: default construction, then
// assignment. Allocation failure raises CMemoryException.
#pragma once

#include <afx/afx.h>

#include <cstddef>
#include <new>
#include <utility>

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
