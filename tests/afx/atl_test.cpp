// CComPtr, CComQIPtr and CComBSTR over a counted test object (every reference
// taken is given back), and the run-time class information of CObject.
#include <afx/afx.h>
#include <afx/atlbase.h>

#include "support/AfxTestPrint.h"
#include "support/Counted.h"

#include <gtest/gtest.h>

namespace {

class CountedObject final : public qntest::Counted<IPersist, &IID_IPersist> {
public:
    CountedObject() : Counted(0) {}
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override { return *pClassID = GUID_NULL, S_OK; }
};

TEST(CComPtrTest, CountsEveryReference)
{
    CountedObject object, other;
    {
        CComPtr<IPersist> a(&object), b = a;
        CComPtr<IPersist> c(std::move(b)); // b lets go
        c = a;                             // the same object: no change
        EXPECT_EQ(2, object.Refs());
        EXPECT_EQ(E_POINTER, a.CopyTo(nullptr));
        CComPtr<IPersist> attached;
        attached.Attach(c.Detach());
        IPersist** slot = &a; // an out-parameter slot releases what it held
        EXPECT_EQ(nullptr, *slot);
        EXPECT_EQ(1, object.Refs());

        CComPtr<IUnknown> unknown;
        EXPECT_EQ(S_OK, attached.QueryInterface(&unknown));
        EXPECT_TRUE(attached.IsEqualObject(unknown));
        EXPECT_FALSE(attached.IsEqualObject(&other));
        const int queries = object.Queries();
        CComQIPtr<IPersist> persist(unknown.p); // a query
        CComQIPtr<IPersist> same(persist.p);    // the same interface: no query
        CComQIPtr<IStream> stream(unknown.p);   // not supported: null, nothing held
        EXPECT_TRUE(!stream);
        EXPECT_EQ(queries + 2, object.Queries());
        EXPECT_EQ(4, object.Refs());
    }
    EXPECT_EQ(0, object.Refs());
    EXPECT_EQ(0, other.Refs());
}

TEST(CComBSTRTest, OwnsOneStringAndRefusesBadAppends)
{
    CComBSTR empty, text(_T("abc")), copy;
    EXPECT_TRUE(empty == _T("")); // null and empty read alike
    copy = text;
    EXPECT_NE(copy.m_str, text.m_str);
    EXPECT_EQ(S_OK, copy.Append(_T("de")));
    EXPECT_EQ(E_INVALIDARG, copy.Append(nullptr, 2));
    EXPECT_EQ(E_INVALIDARG, copy.Append(_T("x"), -1));
    EXPECT_EQ(S_OK, copy.Append(static_cast<LPCOLESTR>(nullptr)));
    EXPECT_TRUE(copy == _T("abcde"));
    const WCHAR embedded[] = {'a', 0, 'b'};
    EXPECT_FALSE(CComBSTR(3, embedded) == _T("a")); // whole lengths compared
    EXPECT_EQ(E_POINTER, text.CopyTo(nullptr));
    BSTR* slot = &text; // an out-parameter slot frees what it held
    EXPECT_EQ(nullptr, *slot);
}

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
    CFileException fileError; // the library's classes match across modules
    const struct { CObject* object; CRuntimeClass* kind; bool is; } kinds[] = {
        {&derived, RUNTIME_CLASS(CBaseThing), true},   {&derived, RUNTIME_CLASS(CObject), true},
        {&base, RUNTIME_CLASS(CDerivedThing), false},  {&base, nullptr, false},
        {&fileError, RUNTIME_CLASS(CException), true}, {&fileError, RUNTIME_CLASS(CMemoryException), false},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.object->GetRuntimeClass()->m_lpszClassName);
        EXPECT_EQ(k.is, !!k.object->IsKindOf(k.kind));
        EXPECT_EQ(k.is ? k.object : nullptr, AfxDynamicDownCast(k.kind, k.object));
    }
    EXPECT_EQ(nullptr, AfxDynamicDownCast(RUNTIME_CLASS(CObject), nullptr));
    EXPECT_FALSE(derived.IsSerializable());
    CObject* made = RUNTIME_CLASS(CBaseThing)->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(42, static_cast<CBaseThing*>(made)->marker);
    delete made;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CDerivedThing)->CreateObject());
}

} // namespace
