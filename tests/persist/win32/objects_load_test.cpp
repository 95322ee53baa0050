// KESTOleLoadFromStream with real in-process COM objects: the project-load road
// with class translation, the end of a sequence of objects, and the result
// code and partial effect of every failing step.
#include "objects_support.h"

#include <gtest/gtest.h>

namespace {

using namespace objtest;
using qntest::Bytes;
using qntest::StreamFault;
using qntest::TestStream;

const HRESULT kEndOfStream = static_cast<HRESULT>(0x80070026);
void* const kUntouched = reinterpret_cast<void*>(static_cast<uintptr_t>(0x5A5A));

// A host loading its project: translation on, objects until the end.
TEST(ObjectLoad, ProjectRoadTranslatesStoredClasses)
{
    TestStream stream(Join({WidgetBytes(CLSID_FixtureWidgetStored, L"Pump 1", 42), GuidBytes(CLSID_NULL),
                            ExtSaverBytes(5, -99), WidgetBytes(CLSID_FixtureWidget, L"", 7)}));
    std::vector<CComPtr<IUnknown>> objects;
    HRESULT hr = S_OK;
    {
        TranslationOn on;
        for (int guard = 0; guard < 10; ++guard) {
            CComPtr<IUnknown> object;
            hr = CQNUtility::KESTOleLoadFromStream(&stream, IID_IUnknown, reinterpret_cast<void**>(&object));
            if (hr != S_OK)
                break;
            objects.push_back(object);
        }
    }
    EXPECT_EQ(hr, kEndOfStream);
    EXPECT_EQ(stream.Position(), stream.Data().size());
    ASSERT_EQ(objects.size(), 4u);

    const Probed pump = Probe(objects[0]);
    EXPECT_EQ(pump.clsid, CLSID_FixtureWidget) << "the stored class is created as its current class";
    EXPECT_EQ(pump.name, L"Pump 1");
    EXPECT_EQ(pump.number, 42);
    EXPECT_EQ(objects[1], nullptr) << "an all-zero identifier is no object";
    EXPECT_EQ(Probe(objects[2]).clsid, CLSID_FixtureExtSaver);
    EXPECT_EQ(Probe(objects[2]).number, -99);
    EXPECT_EQ(Probe(objects[3]).clsid, CLSID_FixtureWidget);
    EXPECT_EQ(Probe(objects[3]).name, L"");

    objects.clear();
    EXPECT_EQ(LiveObjects(), 0);
    EXPECT_EQ(stream.References(), 0);
}

TEST(ObjectLoad, Outcomes)
{
    struct Case {
        const char* name;
        bool translate;
        std::vector<unsigned char> bytes;
        const IID* riid;
        HRESULT expected;
        const CLSID* created;   // class of the object handed back; null: none
        bool outUntouched;      // *ppvObj keeps what the caller had in it
        size_t position;        // where the stream stands afterwards
    };
    const auto stored = WidgetBytes(CLSID_FixtureWidgetStored, L"Valve", 3);
    const auto current = WidgetBytes(CLSID_FixtureWidget, L"Valve", 3);
    const auto truncated = std::vector<unsigned char>(current.begin(), current.end() - 2);
    const Case cases[] = {
        {"stored class, translated", true, stored, &IID_IUnknown, S_OK, &CLSID_FixtureWidget, false, stored.size()},
        {"stored class as IDispatch", true, stored, &IID_IDispatch, S_OK, &CLSID_FixtureWidget, false, stored.size()},
        {"current class, translated", true, current, &IID_IUnknown, S_OK, &CLSID_FixtureWidget, false,
         current.size()},
        {"current class, not translated", false, current, &IID_IUnknown, S_OK, &CLSID_FixtureWidget, false,
         current.size()},
        {"stored class, not translated", false, stored, &IID_IUnknown, REGDB_E_CLASSNOTREG, nullptr, false, 16},
        {"all-zero identifier", true, GuidBytes(CLSID_NULL), &IID_IUnknown, S_OK, nullptr, false, 16},
        {"empty stream", true, {}, &IID_IUnknown, kEndOfStream, nullptr, true, 0},
        {"identifier cut short", true, std::vector<unsigned char>(stored.begin(), stored.begin() + 15),
         &IID_IUnknown, kEndOfStream, nullptr, true, 15},
        {"class not registered", true, GuidBytes(CLSID_FixtureUnregistered), &IID_IUnknown, REGDB_E_CLASSNOTREG,
         nullptr, true, 16},
        {"class without IPersistStream", true, GuidBytes(CLSID_FixtureNoPersist), &IID_IUnknown, E_NOINTERFACE,
         nullptr, true, 16},
        {"object data cut short", true, truncated, &IID_IUnknown, E_FAIL, nullptr, true, truncated.size()},
        {"interface the object lacks", true, current, &IID_IStorage, E_NOINTERFACE, nullptr, false, current.size()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestStream stream(c.bytes);
        void* out = kUntouched;
        HRESULT hr;
        if (c.translate) {
            TranslationOn on;
            hr = CQNUtility::KESTOleLoadFromStream(&stream, *c.riid, &out);
        } else {
            hr = CQNUtility::KESTOleLoadFromStream(&stream, *c.riid, &out);
        }
        EXPECT_EQ(hr, c.expected);
        EXPECT_EQ(stream.Position(), c.position);
        if (c.outUntouched) {
            EXPECT_EQ(out, kUntouched);
        } else if (c.created) {
            ASSERT_NE(out, nullptr);
            ASSERT_NE(out, kUntouched);
            CComPtr<IUnknown> object;
            object.Attach(static_cast<IUnknown*>(out)); // every riid here derives from IUnknown
            EXPECT_EQ(Probe(object).clsid, *c.created);
            EXPECT_EQ(Probe(object).name, L"Valve");
        } else if (c.translate) {
            EXPECT_EQ(out, nullptr);
        }
        EXPECT_EQ(LiveObjects(), 0) << "a failed load releases what it created";
        EXPECT_EQ(stream.References(), 0);
    }
}

// Only a read that comes up short is the end of a sequence; a stream that
// fails while the identifier is read is reported as it failed.
TEST(ObjectLoad, FailedIdentifierReads)
{
    struct Case {
        StreamFault fault;
        size_t offset;
        HRESULT failure;
        HRESULT expected;
    };
    const Case cases[] = {
        {StreamFault::End, 0, 0, kEndOfStream},
        {StreamFault::End, 9, 0, kEndOfStream},
        {StreamFault::EndFalse, 9, 0, kEndOfStream},
        {StreamFault::ShortRead, 3, 0, kEndOfStream},
        {StreamFault::ReadFail, 0, STG_E_READFAULT, kEndOfStream},
        {StreamFault::ReadFail, 8, STG_E_READFAULT, kEndOfStream},
        {StreamFault::ReadFail, 8, STG_E_ACCESSDENIED, STG_E_ACCESSDENIED},
        {StreamFault::ReadFail, 0, E_UNEXPECTED, E_UNEXPECTED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << qntest::FaultName(c.fault) << " at " << c.offset);
        TestStream stream(WidgetBytes(CLSID_FixtureWidgetStored, L"x", 1));
        stream.InjectFault(c.fault, c.offset, c.failure);
        void* out = kUntouched;
        TranslationOn on;
        EXPECT_EQ(CQNUtility::KESTOleLoadFromStream(&stream, IID_IUnknown, &out), c.expected);
        EXPECT_EQ(out, kUntouched);
        EXPECT_EQ(stream.FurthestReadRequest(), 16u) << "nothing but the identifier is asked for";
        EXPECT_EQ(LiveObjects(), 0);
    }
}

TEST(ObjectLoad, NullOutPointer)
{
    TestStream stream(WidgetBytes(CLSID_FixtureWidget, L"x", 1));
    TranslationOn on;
    EXPECT_EQ(CQNUtility::KESTOleLoadFromStream(&stream, IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(stream.ReadCalls(), 0);
}

// The platform's own memory stream reports its end with S_OK and a short count.
TEST(ObjectLoad, EndOfPlatformMemoryStream)
{
    CComPtr<IStream> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    const auto bytes = WidgetBytes(CLSID_FixtureWidgetStored, L"Tank", 12);
    ASSERT_EQ(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr), S_OK);
    ASSERT_EQ(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr), S_OK);

    TranslationOn on;
    CComPtr<IUnknown> tank;
    ASSERT_EQ(CQNUtility::KESTOleLoadFromStream(stream, IID_IUnknown, reinterpret_cast<void**>(&tank)), S_OK);
    EXPECT_EQ(Probe(tank).name, L"Tank");
    CComPtr<IUnknown> none;
    EXPECT_EQ(CQNUtility::KESTOleLoadFromStream(stream, IID_IUnknown, reinterpret_cast<void**>(&none)),
              kEndOfStream);
    EXPECT_EQ(none, nullptr);
}

} // namespace
