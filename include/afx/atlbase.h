// The ATL smart pointers and strings the library uses: CComPtr (a counted
// interface reference), CComQIPtr (one obtained by QueryInterface), CComBSTR
// (an owned platform string) and, in the Windows build, CComVariant (an owned
// VARIANT). Header-only.
//
// Taking the address of a CComPtr or CComBSTR (for an out-parameter) first
// releases what it holds, so that an out-parameter can never leak a reference.
#pragma once

#include <QNPlatform.h>
#include <afx/afx.h>

#include <memory>
#include <type_traits>
#include <utility>

// ---------------------------------------------------------------------------
// CComPtr

template <class T> class CComPtr {
public:
    CComPtr() noexcept : p(nullptr) {}
    CComPtr(T* lp) noexcept : p(lp)
    {
        if (p)
            p->AddRef();
    }
    CComPtr(const CComPtr& lp) noexcept : CComPtr(lp.p) {}
    CComPtr(CComPtr&& lp) noexcept : p(lp.p) { lp.p = nullptr; }
    ~CComPtr() { Release(); }

    T* operator=(T* lp) noexcept
    {
        if (lp != p) {
            if (lp)
                lp->AddRef();
            T* old = p;
            p = lp;
            if (old)
                old->Release();
        }
        return p;
    }
    T* operator=(const CComPtr& lp) noexcept { return *this = lp.p; }
    T* operator=(CComPtr&& lp) noexcept
    {
        if (this != std::addressof(lp)) {
            T* old = p;
            p = lp.p;
            lp.p = nullptr;
            if (old)
                old->Release();
        }
        return p;
    }

    operator T*() const noexcept { return p; }
    T& operator*() const { return *p; }
    T* operator->() const noexcept { return p; }
    // For out-parameters: releases what is held, then hands out the slot.
    T** operator&() noexcept
    {
        Release();
        return &p;
    }
    bool operator!() const noexcept { return p == nullptr; }
    bool operator==(T* pT) const noexcept { return p == pT; }
    bool operator!=(T* pT) const noexcept { return p != pT; }
    bool operator<(T* pT) const noexcept { return p < pT; }

    // Drops the reference (if any).
    void Release() noexcept
    {
        T* old = p;
        if (old) {
            p = nullptr;
            old->Release();
        }
    }
    // Takes over a reference without adding one.
    void Attach(T* p2) noexcept
    {
        if (p)
            p->Release();
        p = p2;
    }
    // Hands the reference over to the caller.
    T* Detach() noexcept
    {
        T* pt = p;
        p = nullptr;
        return pt;
    }
    // A new reference for the caller in *ppT; E_POINTER when ppT is null.
    HRESULT CopyTo(T** ppT) const noexcept
    {
        if (!ppT)
            return E_POINTER;
        *ppT = p;
        if (p)
            p->AddRef();
        return S_OK;
    }
    template <class Q> HRESULT QueryInterface(Q** pp) const noexcept
    {
        if (!pp)
            return E_POINTER;
        if (!p) {
            *pp = nullptr;
            return E_POINTER;
        }
        return p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(pp));
    }
    // TRUE when both are the same COM object (compared by their IUnknown).
    bool IsEqualObject(IUnknown* pOther) const noexcept
    {
        if (!p && !pOther)
            return true;
        if (!p || !pOther)
            return false;
        CComPtr<IUnknown> mine, other;
        p->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&mine));
        pOther->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&other));
        return mine.p && mine.p == other.p;
    }
#ifdef _WIN32
    HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter = nullptr, DWORD dwClsContext = CLSCTX_ALL) noexcept
    {
        Release();
        return ::CoCreateInstance(rclsid, pUnkOuter, dwClsContext, __uuidof(T), reinterpret_cast<void**>(&p));
    }
#endif

    T* p;
};

// ---------------------------------------------------------------------------
// CComQIPtr: holds the T interface of whatever object it is given (null when
// the object does not have it).

template <class T> class CComQIPtr : public CComPtr<T> {
public:
    CComQIPtr() noexcept = default;
    CComQIPtr(T* lp) noexcept : CComPtr<T>(lp) {}
    CComQIPtr(const CComQIPtr& lp) noexcept : CComPtr<T>(lp.p) {}
    CComQIPtr(const CComPtr<T>& lp) noexcept : CComPtr<T>(lp.p) {}
    template <class Q, class = std::enable_if_t<!std::is_same_v<Q, T> && std::is_base_of_v<IUnknown, Q>>>
    CComQIPtr(Q* lp) noexcept
    {
        Query(lp);
    }
    template <class Q, class = std::enable_if_t<!std::is_same_v<Q, T> && std::is_base_of_v<IUnknown, Q>>>
    CComQIPtr(const CComPtr<Q>& lp) noexcept
    {
        Query(lp.p);
    }

    T* operator=(T* lp) noexcept { return CComPtr<T>::operator=(lp); }
    T* operator=(const CComQIPtr& lp) noexcept { return CComPtr<T>::operator=(lp.p); }
    T* operator=(const CComPtr<T>& lp) noexcept { return CComPtr<T>::operator=(lp.p); }
    template <class Q, class = std::enable_if_t<!std::is_same_v<Q, T> && std::is_base_of_v<IUnknown, Q>>>
    T* operator=(Q* lp) noexcept
    {
        CComQIPtr fresh(lp);
        return CComPtr<T>::operator=(std::move(fresh));
    }

private:
    void Query(IUnknown* lp) noexcept
    {
        if (lp)
            lp->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&this->p));
    }
};

// ---------------------------------------------------------------------------
// CComBSTR: owns one BSTR. Construction and assignment raise CMemoryException
// when the string cannot be allocated; Append* return E_OUTOFMEMORY instead.

class CComBSTR {
public:
    CComBSTR() noexcept : m_str(nullptr) {}
    CComBSTR(LPCOLESTR pSrc) : m_str(nullptr)
    {
        if (pSrc)
            m_str = Checked(::SysAllocString(pSrc));
    }
    // nSize characters from pSrc (zeros when pSrc is null).
    CComBSTR(int nSize, LPCOLESTR pSrc = nullptr) : m_str(nullptr)
    {
        if (nSize >= 0)
            m_str = Checked(::SysAllocStringLen(pSrc, static_cast<UINT>(nSize)));
    }
    CComBSTR(const CComBSTR& src) : m_str(src.Copy()) {}
    CComBSTR(CComBSTR&& src) noexcept : m_str(src.m_str) { src.m_str = nullptr; }
    CComBSTR(const CString& src) : m_str(src.AllocSysString()) {}
    ~CComBSTR() { ::SysFreeString(m_str); }

    CComBSTR& operator=(const CComBSTR& src)
    {
        if (m_str != src.m_str) {
            BSTR fresh = src.Copy();
            ::SysFreeString(m_str);
            m_str = fresh;
        }
        return *this;
    }
    CComBSTR& operator=(CComBSTR&& src) noexcept
    {
        if (this != std::addressof(src)) {
            ::SysFreeString(m_str);
            m_str = src.m_str;
            src.m_str = nullptr;
        }
        return *this;
    }
    CComBSTR& operator=(LPCOLESTR pSrc)
    {
        if (pSrc != m_str) {
            BSTR fresh = pSrc ? Checked(::SysAllocString(pSrc)) : nullptr;
            ::SysFreeString(m_str);
            m_str = fresh;
        }
        return *this;
    }

    operator BSTR() const noexcept { return m_str; }
    // For out-parameters: frees what is held, then hands out the slot.
    BSTR* operator&() noexcept
    {
        Empty();
        return &m_str;
    }
    bool operator!() const noexcept { return m_str == nullptr; }

    unsigned int Length() const noexcept { return ::SysStringLen(m_str); }
    unsigned int ByteLength() const noexcept { return ::SysStringByteLen(m_str); }

    // A new copy for the caller (null for a null string); raises CMemoryException.
    BSTR Copy() const
    {
        if (!m_str)
            return nullptr;
        return Checked(::SysAllocStringByteLen(reinterpret_cast<const char*>(m_str), ::SysStringByteLen(m_str)));
    }
    HRESULT CopyTo(BSTR* pbstr) const
    {
        if (!pbstr)
            return E_POINTER;
        *pbstr = nullptr;
        if (!m_str)
            return S_OK;
        *pbstr = ::SysAllocStringByteLen(reinterpret_cast<const char*>(m_str), ::SysStringByteLen(m_str));
        return *pbstr ? S_OK : E_OUTOFMEMORY;
    }
    void Attach(BSTR src) noexcept
    {
        if (m_str != src) {
            ::SysFreeString(m_str);
            m_str = src;
        }
    }
    BSTR Detach() noexcept
    {
        BSTR s = m_str;
        m_str = nullptr;
        return s;
    }
    void Empty() noexcept
    {
        ::SysFreeString(m_str);
        m_str = nullptr;
    }

    HRESULT Append(LPCOLESTR lpsz, int nLen)
    {
        if (nLen < 0)
            return E_INVALIDARG;
        if (!lpsz && nLen > 0)
            return E_INVALIDARG;
        const UINT oldLen = Length();
        if (static_cast<unsigned long long>(oldLen) + static_cast<unsigned>(nLen) > 0x3FFFFFFFull)
            return E_OUTOFMEMORY;
        BSTR fresh = ::SysAllocStringLen(nullptr, oldLen + static_cast<UINT>(nLen));
        if (!fresh)
            return E_OUTOFMEMORY;
        for (UINT i = 0; i < oldLen; ++i)
            fresh[i] = m_str[i];
        for (int i = 0; i < nLen; ++i)
            fresh[oldLen + static_cast<UINT>(i)] = lpsz[i];
        ::SysFreeString(m_str);
        m_str = fresh;
        return S_OK;
    }
    HRESULT Append(LPCOLESTR lpsz)
    {
        int n = 0;
        if (lpsz) {
            while (lpsz[n])
                ++n;
        }
        return Append(lpsz, n);
    }
    HRESULT Append(const CComBSTR& bstrSrc) { return AppendBSTR(bstrSrc.m_str); }
    HRESULT AppendBSTR(BSTR p) { return Append(p, static_cast<int>(::SysStringLen(p))); }
    CComBSTR& operator+=(const CComBSTR& bstrSrc)
    {
        if (FAILED(Append(bstrSrc)))
            AfxThrowMemoryException();
        return *this;
    }
    CComBSTR& operator+=(LPCOLESTR pszSrc)
    {
        if (FAILED(Append(pszSrc)))
            AfxThrowMemoryException();
        return *this;
    }

    // Equal texts (a null and an empty string are equal).
    bool operator==(const CComBSTR& other) const noexcept { return Equal(m_str, Length(), other.m_str, other.Length()); }
    bool operator!=(const CComBSTR& other) const noexcept { return !(*this == other); }
    bool operator==(LPCOLESTR psz) const noexcept
    {
        UINT n = 0;
        if (psz) {
            while (psz[n])
                ++n;
        }
        return Equal(m_str, Length(), psz, n);
    }
    bool operator!=(LPCOLESTR psz) const noexcept { return !(*this == psz); }

    BSTR m_str;

private:
    static BSTR Checked(BSTR b)
    {
        if (!b)
            AfxThrowMemoryException();
        return b;
    }
    static bool Equal(const OLECHAR* a, UINT aLen, const OLECHAR* b, UINT bLen) noexcept
    {
        if (aLen != bLen)
            return false;
        for (UINT i = 0; i < aLen; ++i) {
            if (a[i] != b[i])
                return false;
        }
        return true;
    }
};

// ---------------------------------------------------------------------------
// CComVariant (Windows build: the VARIANT type and its functions are oleaut32's)

#ifdef _WIN32
class CComVariant : public tagVARIANT {
public:
    CComVariant() noexcept { ::VariantInit(this); }
    ~CComVariant() { Clear(); }

    CComVariant(const VARIANT& varSrc)
    {
        ::VariantInit(this);
        InternalCopy(&varSrc);
    }
    CComVariant(const CComVariant& varSrc)
    {
        ::VariantInit(this);
        InternalCopy(&varSrc);
    }
    CComVariant(LPCOLESTR lpszSrc)
    {
        ::VariantInit(this);
        *this = lpszSrc;
    }
    CComVariant(bool bSrc) noexcept
    {
        ::VariantInit(this);
        vt = VT_BOOL;
        boolVal = bSrc ? VARIANT_TRUE : VARIANT_FALSE;
    }
    CComVariant(int nSrc, VARTYPE vtSrc = VT_I4) noexcept
    {
        ::VariantInit(this);
        vt = vtSrc == VT_INT ? VT_INT : VT_I4;
        intVal = nSrc;
    }
    CComVariant(BYTE nSrc) noexcept
    {
        ::VariantInit(this);
        vt = VT_UI1;
        bVal = nSrc;
    }
    CComVariant(short nSrc) noexcept
    {
        ::VariantInit(this);
        vt = VT_I2;
        iVal = nSrc;
    }
    CComVariant(unsigned short nSrc) noexcept
    {
        ::VariantInit(this);
        vt = VT_UI2;
        uiVal = nSrc;
    }
    CComVariant(long nSrc, VARTYPE vtSrc = VT_I4) noexcept
    {
        ::VariantInit(this);
        vt = vtSrc == VT_ERROR ? VT_ERROR : VT_I4;
        lVal = nSrc;
    }
    CComVariant(unsigned int nSrc, VARTYPE vtSrc = VT_UI4) noexcept
    {
        ::VariantInit(this);
        vt = vtSrc == VT_UINT ? VT_UINT : VT_UI4;
        uintVal = nSrc;
    }
    CComVariant(unsigned long nSrc) noexcept
    {
        ::VariantInit(this);
        vt = VT_UI4;
        ulVal = nSrc;
    }
    CComVariant(LONGLONG nSrc) noexcept
    {
        ::VariantInit(this);
        vt = VT_I8;
        llVal = nSrc;
    }
    CComVariant(ULONGLONG nSrc) noexcept
    {
        ::VariantInit(this);
        vt = VT_UI8;
        ullVal = nSrc;
    }
    CComVariant(float fltSrc) noexcept
    {
        ::VariantInit(this);
        vt = VT_R4;
        fltVal = fltSrc;
    }
    CComVariant(double dblSrc, VARTYPE vtSrc = VT_R8) noexcept
    {
        ::VariantInit(this);
        vt = vtSrc == VT_DATE ? VT_DATE : VT_R8;
        dblVal = dblSrc;
    }
    CComVariant(CY cySrc) noexcept
    {
        ::VariantInit(this);
        vt = VT_CY;
        cyVal = cySrc;
    }
    CComVariant(IDispatch* pSrc) noexcept
    {
        ::VariantInit(this);
        vt = VT_DISPATCH;
        pdispVal = pSrc;
        if (pSrc)
            pSrc->AddRef();
    }
    CComVariant(IUnknown* pSrc) noexcept
    {
        ::VariantInit(this);
        vt = VT_UNKNOWN;
        punkVal = pSrc;
        if (pSrc)
            pSrc->AddRef();
    }

    CComVariant& operator=(const CComVariant& varSrc)
    {
        if (this != &varSrc)
            InternalCopy(&varSrc);
        return *this;
    }
    CComVariant& operator=(const VARIANT& varSrc)
    {
        if (static_cast<VARIANT*>(this) != &varSrc)
            InternalCopy(&varSrc);
        return *this;
    }
    // A text: VT_BSTR, or VT_ERROR with E_OUTOFMEMORY when it cannot be copied.
    CComVariant& operator=(LPCOLESTR lpszSrc)
    {
        BSTR fresh = lpszSrc ? ::SysAllocString(lpszSrc) : nullptr;
        Clear();
        vt = VT_BSTR;
        bstrVal = fresh;
        if (lpszSrc && !fresh) {
            vt = VT_ERROR;
            scode = E_OUTOFMEMORY;
        }
        return *this;
    }

    // Equal type and value (VarCmp rules for the scalar types).
    bool operator==(const CComVariant& varSrc) const noexcept
    {
        if (this == &varSrc)
            return true;
        if (vt != varSrc.vt)
            return false;
        if (vt == VT_EMPTY || vt == VT_NULL)
            return true;
        return ::VarCmp(const_cast<VARIANT*>(static_cast<const VARIANT*>(this)),
                        const_cast<VARIANT*>(static_cast<const VARIANT*>(&varSrc)), LOCALE_USER_DEFAULT, 0) ==
               static_cast<HRESULT>(VARCMP_EQ);
    }
    bool operator!=(const CComVariant& varSrc) const noexcept { return !(*this == varSrc); }

    HRESULT Clear() noexcept { return ::VariantClear(this); }
    HRESULT Copy(const VARIANT* pSrc) noexcept { return ::VariantCopy(this, const_cast<VARIANT*>(pSrc)); }
    // Takes over *pSrc (which is left VT_EMPTY).
    HRESULT Attach(VARIANT* pSrc) noexcept
    {
        if (!pSrc)
            return E_INVALIDARG;
        const HRESULT hr = Clear();
        if (FAILED(hr))
            return hr;
        *static_cast<VARIANT*>(this) = *pSrc;
        pSrc->vt = VT_EMPTY;
        return S_OK;
    }
    // Hands the value over to *pDest (whose old value is cleared).
    HRESULT Detach(VARIANT* pDest) noexcept
    {
        if (!pDest)
            return E_POINTER;
        const HRESULT hr = ::VariantClear(pDest);
        if (FAILED(hr))
            return hr;
        *pDest = *static_cast<VARIANT*>(this);
        vt = VT_EMPTY;
        return S_OK;
    }
    HRESULT ChangeType(VARTYPE vtNew, const VARIANT* pSrc = nullptr) noexcept
    {
        VARIANT* source = const_cast<VARIANT*>(pSrc ? pSrc : static_cast<VARIANT*>(this));
        return ::VariantChangeType(this, source, 0, vtNew);
    }

private:
    // Copies the source; a failed copy leaves VT_ERROR with the failure code.
    void InternalCopy(const VARIANT* pSrc) noexcept
    {
        const HRESULT hr = Copy(pSrc);
        if (FAILED(hr)) {
            vt = VT_ERROR;
            scode = hr;
        }
    }
};
#endif
