// KESTSaveToStream: the bytes written with and without IExtPersistStream, the
// round trip through KESTOleLoadFromStream, and the first failing step's code.
#include "objects_support.h"

#include <gtest/gtest.h>

namespace {

using namespace objtest;
using qntest::Bytes;
using qntest::StreamFault;
using qntest::TestStream;

CComPtr<IPersistStream> Create(const CLSID& clsid, const wchar_t* name, LONG number)
{
    CComPtr<IPersistStream> object;
    EXPECT_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStream,
                                 reinterpret_cast<void**>(&object)),
              S_OK);
    CComQIPtr<IFixtureProbe> probe(object);
    if (probe) {
        probe->SetName(name);
        probe->SetNumber(number);
    }
    return object;
}

struct LastSave {
    LONG kind = -1;
    LONG param = 0;
    BOOL clearDirty = FALSE;
};
LastSave LastSaveOf(IUnknown* object)
{
    LastSave last;
    CComQIPtr<IFixtureProbe> probe(object);
    if (probe)
        probe->GetLastSave(&last.kind, &last.param, &last.clearDirty);
    return last;
}

TEST(ObjectSave, NullObjectWritesNothing)
{
    TestStream stream;
    EXPECT_EQ(KESTSaveToStream(nullptr, &stream, 1), OLE_E_BLANK);
    EXPECT_EQ(stream.WriteCalls(), 0);
    EXPECT_EQ(stream.References(), 0);
}

TEST(ObjectSave, WrittenForms)
{
    struct Case {
        const char* name;
        const CLSID* clsid;
        LONG param;
        std::vector<unsigned char> expected;
        LONG saveKind;
    };
    const Case cases[] = {
        {"without IExtPersistStream: the platform's form", &CLSID_FixtureWidget, 77,
         WidgetBytes(CLSID_FixtureWidget, L"Lamp", 12), kSavedPlain},
        {"with IExtPersistStream", &CLSID_FixtureExtSaver, 77, ExtSaverBytes(77, 12), kSavedWithParam},
        {"parameter -1", &CLSID_FixtureExtSaver, -1, ExtSaverBytes(-1, 12), kSavedWithParam},
        {"parameter 0x7FFFFFFF", &CLSID_FixtureExtSaver, 0x7FFFFFFF, ExtSaverBytes(0x7FFFFFFF, 12),
         kSavedWithParam},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            CComPtr<IPersistStream> object = Create(*c.clsid, L"Lamp", 12);
            TestStream stream;
            ASSERT_EQ(KESTSaveToStream(object, &stream, c.param), S_OK);
            EXPECT_EQ(stream.Data(), c.expected);
            const LastSave last = LastSaveOf(object);
            EXPECT_EQ(last.kind, c.saveKind);
            EXPECT_TRUE(last.clearDirty);
            EXPECT_EQ(object->IsDirty(), S_FALSE);
            if (c.saveKind == kSavedWithParam)
                EXPECT_EQ(last.param, c.param);

            // And back, as the host loads it.
            stream.Rewind();
            CComPtr<IUnknown> loaded;
            TranslationOn on;
            ASSERT_EQ(CQNUtility::KESTOleLoadFromStream(&stream, IID_IUnknown, reinterpret_cast<void**>(&loaded)),
                      S_OK);
            EXPECT_EQ(Probe(loaded).clsid, *c.clsid);
            EXPECT_EQ(Probe(loaded).number, 12);
            EXPECT_EQ(stream.Position(), c.expected.size());
        }
        EXPECT_EQ(LiveObjects(), 0);
    }
}

TEST(ObjectSave, FirstFailingStep)
{
    struct Case {
        const char* name;
        const CLSID* clsid;
        FixtureStep failingStep;
        StreamFault streamFault;
        HRESULT expected;
        size_t written;
        LONG saveKind;
    };
    const Case cases[] = {
        {"GetClassID fails", &CLSID_FixtureExtSaver, kFailGetClassID, StreamFault::None, E_UNEXPECTED, 0,
         kNeverSaved},
        {"class identifier cannot be written", &CLSID_FixtureExtSaver, kFailNowhere, StreamFault::WriteFail,
         STG_E_MEDIUMFULL, 0, kNeverSaved},
        {"SaveWithParam fails", &CLSID_FixtureExtSaver, kFailSaveWithParam, StreamFault::None, E_UNEXPECTED, 16,
         kNeverSaved},
        {"object data cannot be written", &CLSID_FixtureExtSaver, kFailNowhere, StreamFault::WriteFail, E_FAIL, 16,
         kSavedWithParam},
        {"Save fails (platform form)", &CLSID_FixtureWidget, kFailSave, StreamFault::None, E_UNEXPECTED, 16,
         kNeverSaved},
        {"GetClassID fails (platform form)", &CLSID_FixtureWidget, kFailGetClassID, StreamFault::None, E_UNEXPECTED,
         0, kNeverSaved},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            CComPtr<IPersistStream> object = Create(*c.clsid, L"x", 1);
            CComQIPtr<IFixtureProbe>(object)->FailAt(c.failingStep, E_UNEXPECTED);
            TestStream stream;
            if (c.streamFault != StreamFault::None)
                stream.InjectFault(c.streamFault, c.written);
            EXPECT_EQ(KESTSaveToStream(object, &stream, 3), c.expected);
            EXPECT_EQ(stream.Data().size(), c.written);
            EXPECT_EQ(LastSaveOf(object).kind, c.saveKind);
            EXPECT_EQ(stream.References(), 0);
        }
        EXPECT_EQ(LiveObjects(), 0);
    }
}

} // namespace
