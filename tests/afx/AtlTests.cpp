// CComPtr, CComQIPtr and CComBSTR over a counted test object, and run-time
// class information of the framework's objects.
#include <afx/afx.h>
#include <afx/atlbase.h>

#include "support/AfxTestPrint.h"
#include "support/Counted.h"

#include <gtest/gtest.h>

namespace {

// A COM object on the stack with IPersist and IUnknown.
class CountedObject final : public qntest::Counted<IPersist, &IID_IPersist> {
public:
    CountedObject() : Counted(0) {}
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override
    {
        *pClassID = GUID_NULL;
        return S_OK;
    }
};

TEST(CComPtrTest, CountsEveryReference)
{
    CountedObject object;
    {
        CComPtr<IPersist> a(&object);
        EXPECT_EQ(1, object.Refs());
        CComPtr<IPersist> b = a;
        EXPECT_EQ(2, object.Refs());
        CComPtr<IPersist> c(std::move(b));
        EXPECT_EQ(2, object.Refs());
        EXPECT_TRUE(!b);
        c = a; // same object: no change
        EXPECT_EQ(2, object.Refs());
        c = nullptr;
        EXPECT_EQ(1, object.Refs());

        IPersist* copy = nullptr;
        EXPECT_EQ(S_OK, a.CopyTo(&copy));
        EXPECT_EQ(2, object.Refs());
        copy->Release();
        EXPECT_EQ(E_POINTER, a.CopyTo(nullptr));

        IPersist* detached = a.Detach();
        EXPECT_EQ(1, object.Refs());
        CComPtr<IPersist> attached;
        attached.Attach(detached);
        EXPECT_EQ(1, object.Refs());
        EXPECT_TRUE(attached == &object);

        CComPtr<IPersist> out(&object);
        EXPECT_EQ(2, object.Refs());
        IPersist** slot = &out; // an out-parameter slot releases what it held
        EXPECT_EQ(1, object.Refs());
        EXPECT_EQ(nullptr, *slot);

        CComPtr<IUnknown> unknown;
        EXPECT_EQ(S_OK, attached.QueryInterface(&unknown));
        EXPECT_EQ(2, object.Refs());
        EXPECT_TRUE(attached.IsEqualObject(unknown));
        CountedObject other;
        EXPECT_FALSE(attached.IsEqualObject(&other));
        EXPECT_EQ(0, other.Refs());
    }
    EXPECT_EQ(0, object.Refs());
}

TEST(CComQIPtrTest, QueriesForItsInterface)
{
    CountedObject object;
    {
        IUnknown* unknown = &object;
        CComQIPtr<IPersist> persist(unknown);
        EXPECT_EQ(1, object.Queries());
        ASSERT_TRUE(persist != nullptr);
        EXPECT_EQ(1, object.Refs());
        CLSID id;
        EXPECT_EQ(S_OK, persist->GetClassID(&id));

        CComQIPtr<IPersist> same(persist.p); // the same interface: no query
        EXPECT_EQ(1, object.Queries());
        EXPECT_EQ(2, object.Refs());

        CComQIPtr<IStream> stream(unknown); // not supported: null, nothing held
        EXPECT_TRUE(!stream);
        EXPECT_EQ(2, object.Refs());

        CComPtr<IUnknown> held(unknown);
        CComQIPtr<IPersist> fromPtr(held);
        EXPECT_EQ(4, object.Refs());
        fromPtr = static_cast<IUnknown*>(nullptr);
        EXPECT_EQ(3, object.Refs());
        CComQIPtr<IPersist> none(static_cast<IUnknown*>(nullptr));
        EXPECT_TRUE(!none);
    }
    EXPECT_EQ(0, object.Refs());
}

TEST(CComBSTRTest, OwnsOneString)
{
    CComBSTR empty;
    EXPECT_TRUE(!empty);
    EXPECT_EQ(0u, empty.Length());
    EXPECT_TRUE(empty == static_cast<LPCOLESTR>(nullptr));
    EXPECT_TRUE(empty == _T("")); // null and empty read alike

    CComBSTR text(_T("abc"));
    EXPECT_EQ(3u, text.Length());
    EXPECT_EQ(6u, text.ByteLength());
    CComBSTR copy = text;
    EXPECT_NE(copy.m_str, text.m_str);
    EXPECT_TRUE(copy == text);

    EXPECT_EQ(S_OK, copy.Append(_T("de")));
    EXPECT_EQ(S_OK, copy.Append(text));
    copy += _T("!");
    EXPECT_TRUE(copy == _T("abcdeabc!"));
    EXPECT_EQ(E_INVALIDARG, copy.Append(nullptr, 2));
    EXPECT_EQ(E_INVALIDARG, copy.Append(_T("x"), -1));
    EXPECT_EQ(S_OK, copy.Append(static_cast<LPCOLESTR>(nullptr)));

    const WCHAR embedded[] = {'a', 0, 'b'};
    CComBSTR sized(3, embedded);
    EXPECT_EQ(3u, sized.Length());
    EXPECT_FALSE(sized == _T("a")); // whole lengths compared
    CComBSTR zeros(2);
    EXPECT_EQ(2u, zeros.Length());
    EXPECT_EQ(0, zeros.m_str[1]);

    BSTR out = nullptr;
    EXPECT_EQ(S_OK, text.CopyTo(&out));
    EXPECT_EQ(3u, ::SysStringLen(out));
    ::SysFreeString(out);
    EXPECT_EQ(E_POINTER, text.CopyTo(nullptr));

    BSTR* slot = &text; // an out-parameter slot frees what it held
    EXPECT_EQ(nullptr, *slot);
    *slot = ::SysAllocString(_T("new"));
    EXPECT_TRUE(text == _T("new"));
    BSTR detached = text.Detach();
    EXPECT_TRUE(!text);
    text.Attach(detached);
    EXPECT_TRUE(text == _T("new"));

    CComBSTR fromString(CString(_T("from CString")));
    EXPECT_EQ(12u, fromString.Length());
    fromString = text;
    EXPECT_TRUE(fromString == _T("new"));
    fromString = static_cast<LPCOLESTR>(nullptr);
    EXPECT_TRUE(!fromString);
}

// --- Run-time class information ----------------------------------------------------

class CBaseThing : public CObject {
    DECLARE_DYNCREATE(CBaseThing)
public:
    int marker = 42;
};
IMPLEMENT_DYNCREATE(CBaseThing, CObject)

class CDerivedThing : public CBaseThing {
    DECLARE_DYNAMIC(CDerivedThing)
};
IMPLEMENT_DYNAMIC(CDerivedThing, CBaseThing)

TEST(RuntimeClassTest, KindsAndDynamicCreation)
{
    CDerivedThing derived;
    CBaseThing base;
    EXPECT_TRUE(derived.IsKindOf(RUNTIME_CLASS(CBaseThing)));
    EXPECT_TRUE(derived.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(base.IsKindOf(RUNTIME_CLASS(CDerivedThing)));
    EXPECT_FALSE(base.IsKindOf(nullptr));
    EXPECT_STREQ("CDerivedThing", derived.GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(static_cast<int>(sizeof(CDerivedThing)), derived.GetRuntimeClass()->m_nObjectSize);
    EXPECT_FALSE(derived.IsSerializable());

    CObject* made = RUNTIME_CLASS(CBaseThing)->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CBaseThing)));
    EXPECT_EQ(42, static_cast<CBaseThing*>(made)->marker);
    delete made;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CDerivedThing)->CreateObject());

    // The exceptions' classes come from the library and match across modules.
    CFileException fileError;
    EXPECT_TRUE(fileError.IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_FALSE(fileError.IsKindOf(RUNTIME_CLASS(CMemoryException)));
    bool caughtAsBase = false;
    try {
        AfxThrowMemoryException();
    } catch (CException* e) {
        caughtAsBase = e->IsKindOf(RUNTIME_CLASS(CMemoryException));
        WCHAR text[32];
        EXPECT_TRUE(e->GetErrorMessage(text, 32));
        EXPECT_EQ(CString(_T("Out of memory.")), CString(text));
        e->Delete();
    }
    EXPECT_TRUE(caughtAsBase);
}

} // namespace
