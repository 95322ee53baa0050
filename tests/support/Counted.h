// The one counted COM object of the tests: it implements IUnknown for an
// interface, counts references and queries, and never deletes itself, so a
// test owns it as a plain object and sees every AddRef matched by a Release.
#pragma once

#include <QNPlatform.h>

namespace qntest {

// `Interface` derives from IUnknown; `iid` is the one interface it answers
// besides IUnknown. References start at `initial` (1: the test's own).
template <class Interface, const IID* iid = &IID_IUnknown> class Counted : public Interface {
public:
    explicit Counted(LONG initial = 1) : m_refs(initial) {}
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;
    virtual ~Counted() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        ++m_queries;
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, *iid))
            return E_NOINTERFACE;
        *ppv = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--m_refs); }

    LONG Refs() const { return m_refs; }
    int Queries() const { return m_queries; }

private:
    LONG m_refs;
    int m_queries = 0;
};

} // namespace qntest
