// Objects on COM streams with real in-process objects (tests/fixtures/comserver):
// KESTOleLoadFromStream with class translation, KESTReadFromStream and
// KESTSaveToStream; every result code, and faults at every offset through the
// loaders' harness.
#include <QNStream.h>
#include <QNUtilityClass.h>
#include <afx/atlbase.h>
#include <fixtures/comserver/ComServer.h>
#include <support/FaultSweep.h>

#include <gtest/gtest.h>

namespace {

using qntest::Bytes;
using qntest::ReadFault;
using qntest::TestStream;
using Bytes8 = std::vector<unsigned char>;

const HRESULT kEndOfStream = static_cast<HRESULT>(0x80070026);
void* const kUntouched = reinterpret_cast<void*>(static_cast<uintptr_t>(0x5A5A));
HMODULE g_server = nullptr;

// Registers comserver.dll for the run of the program, as regsvr32 would.
class ComServerEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        wchar_t path[MAX_PATH] = {};
        std::wstring server(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
        g_server = ::LoadLibraryW((server.substr(0, server.find_last_of(L"\\/") + 1) + L"comserver.dll").c_str());
        ASSERT_NE(g_server, nullptr) << "comserver.dll is built beside the tests";
        ASSERT_EQ(Call("DllRegisterServer"), S_OK);
    }
    void TearDown() override
    {
        EXPECT_EQ(Call("DllUnregisterServer"), S_OK);
        ::CoUninitialize();
    }
    static LONG Call(const char* name)
    {
        return reinterpret_cast<LONG(WINAPI*)()>(reinterpret_cast<void*>(::GetProcAddress(g_server, name)))();
    }
};
const testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new ComServerEnvironment);

LONG LiveObjects() { return ComServerEnvironment::Call("FixtureLiveObjects"); }

class TranslationOn {
public:
    TranslationOn() { CQNUtility::CLSIDEnabled(1); }
    ~TranslationOn() { CQNUtility::CLSIDEnabled(0); }
};

Bytes8 Object(const CLSID& clsid, std::initializer_list<LONG> values = {})
{
    Bytes bytes;
    bytes.Raw(Bytes8(reinterpret_cast<const unsigned char*>(&clsid), reinterpret_cast<const unsigned char*>(&clsid + 1)));
    for (LONG value : values)
        bytes.U32(static_cast<ULONG>(value));
    return bytes;
}

// The class of a loaded object and the bytes it saves (its data).
std::pair<CLSID, Bytes8> Probe(IUnknown* object)
{
    CComQIPtr<IPersistStream> persist(object);
    CLSID clsid = CLSID_NULL;
    TestStream saved;
    if (persist && SUCCEEDED(persist->GetClassID(&clsid)))
        persist->Save(&saved, FALSE);
    return {clsid, saved.Data()};
}

TEST(ObjectLoad, Outcomes)
{
    const auto stored = Object(CLSID_FixtureWidgetStored, {3});
    const auto current = Object(CLSID_FixtureWidget, {3});
    const struct {
        const char* name;
        bool translate;
        Bytes8 bytes;
        const IID* riid;
        HRESULT expected;
        const CLSID* created; // class of the object handed back; null: none
        bool outUntouched;    // *ppvObj keeps what the caller had in it
        size_t position;      // where the stream stands afterwards
    } cases[] = {
        {"stored class, translated", true, stored, &IID_IUnknown, S_OK, &CLSID_FixtureWidget, false, 20},
        {"stored class as IDispatch", true, stored, &IID_IDispatch, S_OK, &CLSID_FixtureWidget, false, 20},
        {"current class, translated", true, current, &IID_IUnknown, S_OK, &CLSID_FixtureWidget, false, 20},
        {"current class, not translated", false, current, &IID_IUnknown, S_OK, &CLSID_FixtureWidget, false, 20},
        {"stored class, not translated", false, stored, &IID_IUnknown, REGDB_E_CLASSNOTREG, nullptr, false, 16},
        {"all-zero identifier", true, Object(CLSID_NULL), &IID_IUnknown, S_OK, nullptr, false, 16},
        {"empty stream", true, {}, &IID_IUnknown, kEndOfStream, nullptr, true, 0},
        {"class not registered", true, Object(CLSID_FixtureUnregistered), &IID_IUnknown, REGDB_E_CLASSNOTREG,
         nullptr, true, 16},
        {"class without IPersistStream", true, Object(CLSID_FixtureNoPersist), &IID_IUnknown, E_NOINTERFACE,
         nullptr, true, 16},
        {"interface the object lacks", true, current, &IID_IStorage, E_NOINTERFACE, nullptr, false, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestStream stream(c.bytes);
        void* out = kUntouched;
        CQNUtility::CLSIDEnabled(c.translate);
        const HRESULT hr = CQNUtility::KESTOleLoadFromStream(&stream, *c.riid, &out);
        CQNUtility::CLSIDEnabled(0);
        EXPECT_EQ(hr, c.expected);
        EXPECT_EQ(stream.Position(), c.position);
        if (c.outUntouched) {
            EXPECT_EQ(out, kUntouched);
        } else if (c.created) {
            ASSERT_NE(out, nullptr);
            CComPtr<IUnknown> object;
            object.Attach(static_cast<IUnknown*>(out)); // every riid here derives from IUnknown
            EXPECT_EQ(Probe(object), std::make_pair(*c.created, Bytes8{3, 0, 0, 0}));
        } else if (c.translate) {
            EXPECT_EQ(out, nullptr);
        }
        EXPECT_EQ(LiveObjects(), 0) << "a failed load releases what it created";
        EXPECT_EQ(stream.References(), 0);
    }
    TestStream stream(current);
    TranslationOn on;
    EXPECT_EQ(CQNUtility::KESTOleLoadFromStream(&stream, IID_IUnknown, nullptr), E_POINTER);
    stream.InjectFault(qntest::StreamFault::ReadFail, 8, STG_E_ACCESSDENIED);
    void* out = kUntouched;
    EXPECT_EQ(CQNUtility::KESTOleLoadFromStream(&stream, IID_IUnknown, &out), STG_E_ACCESSDENIED)
        << "only a read fault is the end of a sequence";
    EXPECT_EQ(out, kUntouched);
}

// A host loading its project: objects until the end of the stream, on the
// platform's own memory stream (it reports its end as a short read).
TEST(ObjectLoad, ProjectRoadAndFaults)
{
    const Bytes8 project = Bytes().Raw(Object(CLSID_FixtureWidgetStored, {42})).Raw(Object(CLSID_NULL))
                               .Raw(Object(CLSID_FixtureExtSaver, {5, -99})).Get();
    CComPtr<IStream> platform;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &platform), S_OK);
    ASSERT_EQ(platform->Write(project.data(), static_cast<ULONG>(project.size()), nullptr), S_OK);
    ASSERT_EQ(platform->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr), S_OK);
    TranslationOn on;
    std::vector<std::pair<CLSID, Bytes8>> loaded;
    HRESULT hr = S_OK;
    for (int guard = 0; guard < 5 && hr == S_OK; ++guard) {
        CComPtr<IUnknown> object;
        hr = CQNUtility::KESTOleLoadFromStream(platform, IID_IUnknown, reinterpret_cast<void**>(&object));
        if (hr == S_OK)
            loaded.push_back(Probe(object));
    }
    EXPECT_EQ(hr, kEndOfStream);
    EXPECT_EQ(loaded, (std::vector<std::pair<CLSID, Bytes8>>{{CLSID_FixtureWidget, Bytes().U32(42)},
                                                              {CLSID_NULL, {}},
                                                              {CLSID_FixtureExtSaver, Bytes().U32(0).U32(-99)}}));
    // Faults in the identifier are the end of the stream; in the object's data
    // they fail its load.
    const auto load = [](const Bytes8& bytes, const qntest::Injection& at) {
        TranslationOn on;
        void* out = kUntouched;
        const HRESULT hr = qntest::OnStream(bytes, at, [&](IStream* s) {
            return CQNUtility::KESTOleLoadFromStream(s, IID_IUnknown, &out);
        });
        if (hr == S_OK)
            static_cast<IUnknown*>(out)->Release();
        else
            EXPECT_EQ(out, kUntouched);
        EXPECT_EQ(LiveObjects(), 0);
        return hr;
    };
    auto faults = qntest::StreamFaults(kEndOfStream);
    for (const auto& fault : qntest::StreamFaults(E_FAIL))
        faults.push_back({fault.fault, fault.code, 16});
    qntest::SweepReadFaults({"object", Object(CLSID_FixtureWidgetStored, {7}), load, faults});
}

// KESTReadFromStream: the variant's type and value, or the code, and where the
// stream stands afterwards; a variant the test clears must be safe to clear.
struct Read {
    HRESULT result;
    VARTYPE type;
    Bytes8 value;   // the value's bytes (for VT_BSTR the text's; for objects the data they save)
    size_t position;
    bool operator==(const Read&) const = default;
    friend void PrintTo(const Read& r, std::ostream* os)
    {
        *os << std::hex << r.result << " vt " << r.type << std::dec << ", " << r.value.size() << " bytes, at " << r.position;
    }
};

Read ReadVariant(IStream* stream, size_t valueSize)
{
    CComVariant var(L"previous");
    const HRESULT hr = CQNUtility::KESTReadFromStream(var, stream);
    ULARGE_INTEGER position = {};
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &position);
    Bytes8 value;
    if (var.vt == VT_BSTR && var.bstrVal)
        value.assign(reinterpret_cast<BYTE*>(var.bstrVal), reinterpret_cast<BYTE*>(var.bstrVal) + ::SysStringByteLen(var.bstrVal));
    else if (var.vt == VT_UNKNOWN || var.vt == VT_DISPATCH)
        value = var.punkVal ? Probe(var.punkVal).second : Bytes8{};
    else
        value.assign(reinterpret_cast<BYTE*>(&var.llVal), reinterpret_cast<BYTE*>(&var.llVal) + valueSize);
    const VARTYPE type = var.vt;
    var.Clear(); // whatever the type the stream named, the variant is safe to clear
    EXPECT_EQ(LiveObjects(), 0);
    return {hr, type, value, static_cast<size_t>(position.QuadPart)};
}

Bytes8 Text(VARTYPE type, const wchar_t* text)
{
    return Bytes().U16(type).U32(std::wcslen(text) * 2 + 2).Utf16(text).U16(0);
}

TEST(VariantRead, Outcomes)
{
    TranslationOn on;
    const Bytes8 a = Bytes8(8, 'a');
    const struct {
        const char* name;
        Bytes8 bytes;
        Read expected;
    } cases[] = {
        {"VT_I8 from 5", Text(VT_I8, L"5"), {S_OK, VT_I8, Bytes().U64(5), 10}},
        {"VT_UI8", Text(VT_UI8, L"4294967296"), {S_OK, VT_UI8, Bytes().U64(4294967296ull), 28}},
        {"VT_BSTR", Text(VT_BSTR, L"AB"), {S_OK, VT_BSTR, {'A', 0, 'B', 0}, 12}},
        {"VT_BSTR, odd count keeps its bytes", Bytes().U16(VT_BSTR).U32(5).U8('A').U8(0).U8('B').U16(0), {S_OK, VT_BSTR, {'A', 0, 'B'}, 11}},
        {"VT_BSTR without text", Bytes().U16(VT_BSTR).U32(0), {S_OK, VT_BSTR, {}, 6}},
        {"VT_EMPTY", Text(VT_EMPTY, L"ignored"), {S_OK, VT_EMPTY, {}, 22}},
        {"VT_NULL", Text(VT_NULL, L""), {S_OK, VT_NULL, {}, 8}},
        {"VT_I8 not a number", Text(VT_I8, L"x"), {DISP_E_TYPEMISMATCH, VT_BSTR, {'x', 0}, 10}},
        {"VT_I8 out of range", Text(VT_I8, L"99999999999999999999"), {DISP_E_OVERFLOW, VT_BSTR, Bytes().Utf16(L"99999999999999999999"), 48}},
        {"count 1 (N - 2 wraps)", Bytes().U16(VT_I8).U32(1).Raw(a), {E_OUTOFMEMORY, VT_I8, Bytes8(8), 6}},
        {"count with the top bit set", Bytes().U16(VT_BSTR).U32(0x80000001u).Raw(a), {E_OUTOFMEMORY, VT_BSTR, {}, 6}},
        {"largest count", Bytes().U16(VT_EMPTY).U32(0xFFFFFFFFu).Raw(a), {E_OUTOFMEMORY, VT_EMPTY, Bytes8(8), 6}},
        {"count 0x7FFFFFFF", Bytes().U16(VT_BSTR).U32(0x7FFFFFFFu).Raw(a), {E_FAIL, VT_BSTR, {}, 14}},
        {"count 2, data short", Bytes().U16(VT_I8).U32(2).U8('a'), {E_FAIL, VT_I8, Bytes8(8), 7}},
        {"VT_UNKNOWN of a stored class", Bytes().U16(VT_UNKNOWN).Raw(Object(CLSID_FixtureWidgetStored, {2})), {S_OK, VT_UNKNOWN, {2, 0, 0, 0}, 22}},
        {"VT_DISPATCH", Bytes().U16(VT_DISPATCH).Raw(Object(CLSID_FixtureWidget, {2})), {S_OK, VT_DISPATCH, {2, 0, 0, 0}, 22}},
        {"VT_UNKNOWN, class not registered", Bytes().U16(VT_UNKNOWN).Raw(Object(CLSID_FixtureUnregistered)), {S_OK, VT_UNKNOWN, {}, 18}},
        {"VT_DISPATCH, object without IDispatch", Bytes().U16(VT_DISPATCH).Raw(Object(CLSID_FixtureExtSaver, {1, 2})), {S_OK, VT_DISPATCH, {}, 26}},
        {"VT_UNKNOWN, no object", Bytes().U16(VT_UNKNOWN).Raw(Object(CLSID_NULL)), {S_OK, VT_UNKNOWN, {}, 18}},
        {"VT_UNKNOWN at the end of the stream", Bytes().U16(VT_UNKNOWN), {S_OK, VT_UNKNOWN, {}, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestStream stream(c.bytes);
        EXPECT_EQ(ReadVariant(&stream, c.expected.value.size()), c.expected);
        EXPECT_EQ(stream.References(), 0);
    }
    // The fixed-size types take their value's bytes and no more.
    const Bytes8 value = {0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0xDD};
    for (const auto& [size, types] : std::initializer_list<std::pair<size_t, std::vector<VARTYPE>>>{
             {1, {VT_I1, VT_UI1}}, {2, {VT_I2, VT_BOOL, VT_UI2}},
             {4, {VT_I4, VT_R4, VT_ERROR, VT_UI4, VT_INT, VT_UINT}}, {8, {VT_R8, VT_CY, VT_DATE}}}) {
        for (VARTYPE type : types) {
            TestStream stream(Bytes().U16(type).Raw(value));
            EXPECT_EQ(ReadVariant(&stream, size), (Read{S_OK, type, Bytes8(value.begin(), value.begin() + size), 2 + size}));
        }
    }
    // Every type the stream may name, with nothing after it.
    for (unsigned type = 0; type <= 0xFFFF; type += (type < 0x100 ? 1 : 0x101)) {
        TestStream stream(Bytes().U16(type));
        const Read got = ReadVariant(&stream, 0);
        EXPECT_EQ(got.result, type == VT_UNKNOWN || type == VT_DISPATCH ? S_OK : E_FAIL) << type;
        EXPECT_EQ(got.type, VARTYPE(type));
    }
}

// Each valid encoding with every fault at every offset: a failing read's own
// code, E_FAIL for the others; a fault in an object's part is no error.
TEST(VariantRead, AgainstFaults)
{
    const auto read = [](const Bytes8& bytes, const qntest::Injection& at) {
        TranslationOn on;
        return qntest::OnStream(bytes, at, [&](IStream* s) { return ReadVariant(s, 0).result; });
    };
    const auto faults = qntest::StreamFaults(E_FAIL, STG_E_READFAULT);
    auto object = faults;
    for (const auto& fault : faults)
        object.push_back({fault.fault, S_OK, 2});
    const qntest::LoadRow rows[] = {
        {"VT_I4", Bytes().U16(VT_I4).U32(77), read, faults},
        {"VT_BSTR", Text(VT_BSTR, L"AB"), read, faults},
        {"VT_I8 as text", Text(VT_I8, L"5"), read, faults},
        {"VT_UNKNOWN", Bytes().U16(VT_UNKNOWN).Raw(Object(CLSID_FixtureWidgetStored, {9})), read, object},
    };
    for (const auto& row : rows)
        qntest::SweepReadFaults(row);
}

TEST(ObjectSave, FormsAndFailingSteps)
{
    TestStream none;
    EXPECT_EQ(KESTSaveToStream(nullptr, &none, 1), OLE_E_BLANK);
    EXPECT_EQ(none.WriteCalls(), 0);
    const struct {
        const char* name;
        CLSID clsid;
        std::initializer_list<LONG> data; // what the object loads
        LONG param;
        HRESULT expected;
        Bytes8 written;
    } cases[] = {
        {"without IExtPersistStream: the platform's form", CLSID_FixtureWidget, {12}, 77, S_OK,
         Object(CLSID_FixtureWidget, {12})},
        {"with IExtPersistStream", CLSID_FixtureExtSaver, {0, 12}, 77, S_OK, Object(CLSID_FixtureExtSaver, {77, 12})},
        {"parameter -1", CLSID_FixtureExtSaver, {0, 12}, -1, S_OK, Object(CLSID_FixtureExtSaver, {-1, 12})},
        {"GetClassID fails", CLSID_FixtureExtSaver, {0, kFailGetClassID}, 3, E_UNEXPECTED, {}},
        {"SaveWithParam fails", CLSID_FixtureExtSaver, {0, kFailSave}, 3, E_UNEXPECTED, Object(CLSID_FixtureExtSaver)},
        {"Save fails (platform form)", CLSID_FixtureWidget, {kFailSave}, 3, E_UNEXPECTED, Object(CLSID_FixtureWidget)},
        {"GetClassID fails (platform form)", CLSID_FixtureWidget, {kFailGetClassID}, 3, E_UNEXPECTED, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes8 stored = Object(c.clsid, c.data);
        CComPtr<IPersistStream> object;
        TestStream source(stored);
        ASSERT_EQ(CQNUtility::KESTOleLoadFromStream(&source, IID_IPersistStream, reinterpret_cast<void**>(&object)), S_OK);
        const auto save = [&](IStream* s) { return KESTSaveToStream(object, s, c.param); };
        TestStream stream;
        EXPECT_EQ(save(&stream), c.expected);
        EXPECT_EQ(stream.Data(), c.written);
        EXPECT_EQ(object->IsDirty(), c.expected == S_OK ? S_FALSE : S_OK) << "saved with its dirty flag cleared";
        EXPECT_EQ(stream.References(), 0);
        if (c.expected == S_OK)
            qntest::SweepWriteFaults({c.name, save, c.written, STG_E_MEDIUMFULL, 0, 16, E_FAIL});
    }
    EXPECT_EQ(LiveObjects(), 0);
}

} // namespace
