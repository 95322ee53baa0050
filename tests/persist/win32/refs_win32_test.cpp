// The tag server as a host would build it in C: a table of 55 function
// pointers whose 55th entry is the operation. This pins the binary contract
// (slot, calling convention, platform strings from oleaut32) independently of
// how IKESTTagServer is declared in the header.
#include <QNRefObjList.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CTagServer {
    void* const* vtable; // first, as COM lays out an object
    LONG refs = 1;
    int wrongCalls = 0;
    HRESULT result = S_OK;
    std::vector<std::wstring> tags;
    std::vector<std::wstring> owners;
};

HRESULT STDMETHODCALLTYPE QueryInterfaceSlot(CTagServer* self, REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown))
        return E_NOINTERFACE;
    *ppv = self;
    ++self->refs;
    return S_OK;
}
ULONG STDMETHODCALLTYPE AddRefSlot(CTagServer* self) { return static_cast<ULONG>(++self->refs); }
ULONG STDMETHODCALLTYPE ReleaseSlot(CTagServer* self) { return static_cast<ULONG>(--self->refs); }
HRESULT STDMETHODCALLTYPE WrongSlot(CTagServer* self)
{
    ++self->wrongCalls;
    return E_UNEXPECTED;
}
// The 55th method: tag identifier and owner as platform strings.
HRESULT STDMETHODCALLTYPE ClearSlot(CTagServer* self, BSTR tag, BSTR owner)
{
    // oleaut32 knows their lengths: they are real platform strings.
    self->tags.emplace_back(tag, ::SysStringLen(tag));
    self->owners.emplace_back(owner, ::SysStringLen(owner));
    return self->result;
}

struct Table {
    void* slots[55];
    Table()
    {
        slots[0] = reinterpret_cast<void*>(&QueryInterfaceSlot);
        slots[1] = reinterpret_cast<void*>(&AddRefSlot);
        slots[2] = reinterpret_cast<void*>(&ReleaseSlot);
        for (int i = 3; i < 54; ++i)
            slots[i] = reinterpret_cast<void*>(&WrongSlot);
        slots[54] = reinterpret_cast<void*>(&ClearSlot);
    }
};

TEST(CRefObjListWin32, CallsThe55thMethodOfAHostTable)
{
    static const Table table;
    struct Case {
        const char* name;
        HRESULT server;
        HRESULT result;
        size_t calls;
    };
    const Case cases[] = {
        {"control", S_OK, S_OK, 2},
        {"S_FALSE is done", S_FALSE, S_OK, 2},
        {"error passed through at once", static_cast<HRESULT>(0x80040200L), static_cast<HRESULT>(0x80040200L), 1},
    };
    for (const Case& c : cases) {
        CTagServer server{table.slots};
        server.result = c.server;
        {
            CRefObjList list;
            list.Initialize(reinterpret_cast<IKESTTagServer*>(&server));
            EXPECT_EQ(server.refs, 2) << c.name;
            list.AddTagID(CString(L"Boiler.Temperature"));
            list.AddTagID(CString(L"Boiler.Pressure"));
            EXPECT_EQ(list.ClearRefInfo(CString(L"Screen 1/Gauge \u00B0C")), c.result) << c.name;
        }
        EXPECT_EQ(server.refs, 1) << c.name;
        EXPECT_EQ(server.wrongCalls, 0) << c.name;
        ASSERT_EQ(server.tags.size(), c.calls) << c.name;
        for (size_t i = 0; i < c.calls; ++i) {
            EXPECT_TRUE(server.tags[i] == L"Boiler.Temperature" || server.tags[i] == L"Boiler.Pressure");
            EXPECT_EQ(server.owners[i], L"Screen 1/Gauge \u00B0C");
        }
    }
}

} // namespace
