// The element helpers of the collection templates (customisation points, as in
// the framework) and CPlex, the blocks that CList and CMap carve their nodes
// from. Included through afxtempl.h.
#pragma once

#include <afx/afx.h>

#include <cstddef>
#include <new>
#include <type_traits>

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
