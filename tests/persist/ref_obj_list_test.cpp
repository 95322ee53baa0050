// CRefObjList: set semantics, the tag server, and both encodings (stream and
// block) through one suite: exact bytes, hostile counts, faults at every
// offset, the count limit and failing destinations.
#include "FakeTagServer.h"

#include <QNRefObjList.h>
#include <support/FaultSweep.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using qntest::Bytes;
using qntest::FakeTagServer;
using qntest::Injection;
using qntest::ReadFault;
using qntest::TestStream;

using Bytes8 = std::vector<unsigned char>;

TEST(CRefObjList, SetsHoldEachItemOnce)
{
    FakeTagServer server; // outlives the list, which releases it
    CRefObjList list;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(list.AddTagID(CString(_T("Motor.Speed"))), S_OK);
        EXPECT_EQ(list.AddObjID(-5), S_OK);
        EXPECT_EQ(list.AddSpecialObjID(CString(_T("$Screen"))), S_OK);
    }
    EXPECT_EQ(list.m_mapTagIDs.GetCount() + list.m_mapObjIDs.GetCount() + list.m_mapSpecialObjIDs.GetCount(), 3);
    EXPECT_TRUE(list.IsTagIDUsed(CString(_T("Motor.Speed"))));
    EXPECT_FALSE(list.IsTagIDUsed(CString(_T("motor.speed")))) << "tags compare case-sensitively";
    EXPECT_FALSE(list.IsTagIDUsed(CString(_T("$Screen")))) << "the sets are separate";
    EXPECT_TRUE(list.IsSpecialObjIDUsed(CString(_T("$Screen"))));
    EXPECT_FALSE(list.IsSpecialObjIDUsed(CString(_T("$screen"))));
    EXPECT_TRUE(list.IsObjIDUsed(-5));
    EXPECT_FALSE(list.IsObjIDUsed(5));
    list.AddObjID(0x100000000ll); // differs from 0 only above the low 32 bits
    EXPECT_FALSE(list.IsObjIDUsed(0));

    list.Initialize(&server);
    list.Reset();
    EXPECT_EQ(list.m_mapTagIDs.GetCount() + list.m_mapObjIDs.GetCount() + list.m_mapSpecialObjIDs.GetCount(), 0);
    EXPECT_TRUE(list.m_pTagServer == &server) << "Reset keeps the tag server";
}

// The object set hashes an identifier by its low 32 bits shifted right by 4;
// iteration runs in bucket order (17 buckets), which shows it.
TEST(CRefObjList, ObjectHashIsLow32BitsShiftedBy4)
{
    CRefObjList list;
    for (__int64 id : {0x700000030ll, 0x20ll, 0x10ll, 0x100000000ll}) // buckets 3, 2, 1, 0
        list.AddObjID(id);
    std::vector<__int64> order;
    void* ignored = nullptr;
    __int64 id = 0;
    for (POSITION pos = list.m_mapObjIDs.GetStartPosition(); pos;) {
        list.m_mapObjIDs.GetNextAssoc(pos, id, ignored);
        order.push_back(id);
    }
    EXPECT_EQ(order, (std::vector<__int64>{0x100000000ll, 0x10, 0x20, 0x700000030ll}));
}

TEST(CRefObjList, HoldsOneReferenceToItsTagServer)
{
    FakeTagServer first, second;
    {
        CRefObjList list;
        EXPECT_EQ(list.Initialize(&first), S_OK);
        EXPECT_EQ(list.Initialize(&first), S_OK);
        EXPECT_EQ(first.Refs(), 2);
        EXPECT_EQ(list.Initialize(&second), S_OK);
        EXPECT_EQ(first.Refs(), 1);
        EXPECT_EQ(second.Refs(), 2);
        EXPECT_EQ(list.Initialize(nullptr), S_OK);
        EXPECT_EQ(second.Refs(), 1);
        EXPECT_EQ(list.Initialize(&second), S_OK);
    }
    EXPECT_EQ(second.Refs(), 1) << "the destructor releases the server";
}

TEST(CRefObjList, ClearRefInfo)
{
    struct Case {
        const char* name;
        HRESULT failing; // the result of the tag "B"; the others give S_OK
        HRESULT result;
    };
    const Case cases[] = {
        {"control: all done", S_OK, S_OK},
        {"S_FALSE is done too", S_FALSE, S_OK},
        {"an error stops the walk", E_ACCESSDENIED, E_ACCESSDENIED},
        {"any other success code is an error", HRESULT(2), HRESULT(2)},
    };
    for (const Case& c : cases) {
        FakeTagServer server;
        server.SetResult(u"B", c.failing);
        CRefObjList list;
        list.Initialize(&server);
        for (const WCHAR* tag : {_T("A"), _T("B"), _T("C"), _T("D")})
            list.AddTagID(CString(tag));
        list.AddSpecialObjID(CString(_T("special")));
        list.AddObjID(1);

        EXPECT_EQ(list.ClearRefInfo(CString(_T("Screen1.Button3"))), c.result) << c.name;
        EXPECT_EQ(server.WrongMethodCalls(), 0) << c.name;
        std::vector<std::u16string> tags;
        for (const auto& call : server.Calls()) {
            tags.push_back(call.tag);
            EXPECT_EQ(call.owner, u"Screen1.Button3") << c.name;
            EXPECT_TRUE(call.tagIsPlatformString && call.ownerIsPlatformString) << c.name;
        }
        ASSERT_FALSE(tags.empty()) << c.name;
        if (c.result != S_OK) {
            EXPECT_EQ(tags.back(), u"B") << c.name << ": the walk goes on after the error";
        } else {
            std::sort(tags.begin(), tags.end());
            EXPECT_EQ(tags, (std::vector<std::u16string>{u"A", u"B", u"C", u"D"})) << c.name;
        }
    }
    CRefObjList unserved;
    unserved.AddTagID(CString(_T("A")));
    EXPECT_EQ(unserved.ClearRefInfo(CString(_T("owner"))), E_FAIL);
    FakeTagServer server;
    CRefObjList empty;
    empty.Initialize(&server);
    EXPECT_EQ(empty.ClearRefInfo(CString(_T("owner"))), S_OK);
    EXPECT_TRUE(server.Calls().empty());
}

// The operation is the 55th slot of the table of methods: in the Itanium C++
// ABI a pointer to a virtual member function holds 1 + the slot's offset.
TEST(CRefObjList, TagServerOperationIsThe55thMethod)
{
    auto member = &IKESTTagServer::ClearTagRefInfo;
    uintptr_t representation = 0;
    std::memcpy(&representation, &member, sizeof representation);
    EXPECT_EQ(representation, 1 + 54 * sizeof(void*));
}

// --- The two encodings ---------------------------------------------------------

// A list loaded from bytes in one form; `left` is what the block form left of
// its length (the stream form has none).
struct Loaded {
    HRESULT result;
    int tags, objects, specials;
    ULONG left;
};

struct Form {
    const char* name;
    HRESULT (*save)(CRefObjList& list, Bytes8& bytes); // the stream, or the block's payload
    Loaded (*load)(const Bytes8& bytes, const Injection& at);
    std::vector<std::pair<ReadFault, HRESULT>> faults;
};

Loaded Counts(HRESULT hr, const CRefObjList& list, ULONG left)
{
    return {hr, int(list.m_mapTagIDs.GetCount()), int(list.m_mapObjIDs.GetCount()),
            int(list.m_mapSpecialObjIDs.GetCount()), left};
}

const Form kStream = {
    "stream",
    [](CRefObjList& list, Bytes8& bytes) {
        TestStream stream;
        const HRESULT hr = list.Save(&stream);
        bytes = stream.Data();
        return hr;
    },
    [](const Bytes8& bytes, const Injection& at) {
        CRefObjList list;
        list.AddTagID(CString(_T("stale")));
        const HRESULT hr = qntest::OnStream(bytes, at, [&](IStream* s) { return list.Load(s); });
        return Counts(hr, list, 0);
    },
    qntest::StreamFaults(E_FAIL),
};

const Form kBlock = {
    "block",
    [](CRefObjList& list, Bytes8& bytes) {
        CKESTSaveHelper destination;
        const HRESULT hr = list.Save(destination, 0);
        bytes = qntest::HelperBytes(destination);
        if (hr == S_OK && bytes.size() >= 12) {
            // The frame: head mark, block identifier, payload length.
            EXPECT_EQ(Bytes8(bytes.begin(), bytes.begin() + 12), Bytes().U32(0xEFEFEFEF).U32(2600).U32(bytes.size() - 12).Get());
            bytes.erase(bytes.begin(), bytes.begin() + 12);
        }
        return hr;
    },
    [](const Bytes8& bytes, const Injection& at) {
        qntest::BlockSource source(Bytes().Raw(bytes).U8(0xA5), at);
        source.left = std::min<ULONG>(source.left, static_cast<ULONG>(bytes.size()));
        CRefObjList list;
        list.AddTagID(CString(_T("stale")));
        const HRESULT hr = list.Load(source.helper, source.left, 0);
        if (!at.active) { // the archive stands where the count says
            const size_t consumed = bytes.size() - source.left;
            EXPECT_EQ(source.NextByte(), consumed < bytes.size() ? bytes[consumed] : 0xA5);
        }
        return Counts(hr, list, source.left);
    },
    {{ReadFault::LengthEnds, E_FAIL}, {ReadFault::FileEnds, S_OK}, {ReadFault::FileFails, E_FAIL}},
};

const Form* const kForms[] = {&kStream, &kBlock};

TEST(CRefObjListForms, SavedBytes)
{
    struct Case {
        const char* name;
        std::vector<const WCHAR*> tags;
        std::vector<__int64> objects;
        std::vector<const WCHAR*> specials;
        Bytes8 stream, block;
    };
    const Case cases[] = {
        {"empty", {}, {}, {}, {1, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0}},
        {"one of each",
         {_T("AB")},
         {0x0102030405060708ll},
         {_T("")},
         Bytes().U16(1).U16(1).U32(6).Utf16(_T("AB")).U16(0).U16(1).U64(0x0102030405060708ull).U16(1).U32(2).U16(0),
         Bytes().U16(1).U16(3).U16(2601).U8(8).U32(4).Utf16(_T("AB")).U16(2602).U8(6).U64(0x0102030405060708ull)
             .U16(2603).U8(8).U32(0)},
    };
    for (const Case& c : cases) {
        CRefObjList list;
        for (const WCHAR* tag : c.tags)
            list.AddTagID(CString(tag));
        for (__int64 id : c.objects)
            list.AddObjID(id);
        for (const WCHAR* special : c.specials)
            list.AddSpecialObjID(CString(special));
        for (const Form* form : kForms) {
            Bytes8 bytes;
            EXPECT_EQ(form->save(list, bytes), S_OK) << c.name << ", " << form->name;
            EXPECT_EQ(bytes, form == &kStream ? c.stream : c.block) << c.name << ", " << form->name;
        }
    }
}

// Counts and entries as the bytes state them: 0 or less reads none; a count
// beyond the data fails and keeps what came; unknown block entries are
// skipped; the old content is gone in every case.
TEST(CRefObjListForms, HostileEncodings)
{
    const Bytes8 tagA = Bytes().U16(2601).U8(8).U32(2).Utf16(_T("A"));
    const Bytes8 object7 = Bytes().U16(2602).U8(6).U64(7);
    struct Case {
        const Form* form;
        const char* name;
        Bytes8 bytes;
        Loaded expected;
    };
    const Case cases[] = {
        {&kStream, "control", Bytes().U16(1).U16(1).U32(4).Utf16(_T("A")).U16(0).U16(1).U64(9).U16(0), {S_OK, 1, 1, 0}},
        {&kStream, "other version", Bytes().U16(77).U16(0).U16(0).U16(0), {S_OK, 0, 0, 0}},
        {&kStream, "negative tag count", Bytes().U16(1).U16(0x8000).U16(1).U64(9).U16(0), {S_OK, 0, 1, 0}},
        {&kStream, "-1 objects", Bytes().U16(1).U16(0).U16(0xFFFF).U16(0), {S_OK, 0, 0, 0}},
        {&kStream, "tags beyond the data", Bytes().U16(1).U16(0x7FFF).U32(4).Utf16(_T("A")).U16(0), {E_FAIL, 1, 0, 0}},
        {&kStream, "objects beyond the data", Bytes().U16(1).U16(0).U16(3).U64(1).U64(2), {E_FAIL, 0, 2, 0}},
        {&kStream, "specials beyond the data", Bytes().U16(1).U16(0).U16(0).U16(2).U32(2).U16(0), {E_FAIL, 0, 0, 1}},
        {&kStream, "hostile text length", Bytes().U16(1).U16(1).U32(0x80000000u).U16(0), {E_FAIL, 0, 0, 0}},
        {&kStream, "nothing", Bytes(), {E_FAIL, 0, 0, 0}},
        {&kBlock, "control", Bytes().U16(1).U16(2).Raw(tagA).Raw(object7), {S_OK, 1, 1, 0, 0}},
        {&kBlock, "any order", Bytes().U16(1).U16(3).Raw(object7).U16(2603).U8(8).U32(0).Raw(tagA), {S_OK, 1, 1, 1, 0}},
        {&kBlock, "unknown mark, LONG", Bytes().U16(1).U16(3).Raw(tagA).U16(2700).U8(3).U32(9).Raw(object7),
         {S_OK, 1, 1, 0, 0}},
        {&kBlock, "unknown mark, string", Bytes().U16(1).U16(2).U16(0).U8(8).U32(4).Utf16(_T("zz")).Raw(object7),
         {S_OK, 0, 1, 0, 0}},
        {&kBlock, "unknown mark, bad type", Bytes().U16(1).U16(2).Raw(tagA).U16(1).U8(9).Raw(object7),
         {E_FAIL, 1, 0, 0, 11}},
        {&kBlock, "tag mark with an INT64", Bytes().U16(1).U16(1).U16(2601).U8(6).U64(1), {E_FAIL, 0, 0, 0, 8}},
        {&kBlock, "object mark with a LONG", Bytes().U16(1).U16(1).U16(2602).U8(3).U32(1), {E_FAIL, 0, 0, 0, 4}},
        {&kBlock, "other version", Bytes().U16(9).U16(1).Raw(tagA), {S_OK, 1, 0, 0, 0}},
        {&kBlock, "count 0, entries after it", Bytes().U16(1).U16(0).Raw(tagA), {S_OK, 0, 0, 0, 9}},
        {&kBlock, "negative count", Bytes().U16(1).U16(0x8000).Raw(tagA), {S_OK, 0, 0, 0, 9}},
        {&kBlock, "count beyond the entries", Bytes().U16(1).U16(0x7FFF).Raw(tagA), {E_FAIL, 1, 0, 0, 0}},
        {&kBlock, "string beyond the block", Bytes().U16(1).U16(1).U16(2601).U8(8).U32(0x7FFFFFF0).U16('A'),
         {E_FAIL, 0, 0, 0, 2}},
        {&kBlock, "string length, top bit", Bytes().U16(1).U16(1).U16(2601).U8(8).U32(0x80000000), {S_OK, 1, 0, 0, 0}},
        {&kBlock, "no count", Bytes().U16(1), {E_FAIL, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const Loaded got = c.form->load(c.bytes, {false, ReadFault::End, 0});
        const std::string name = std::string(c.form->name) + ": " + c.name;
        EXPECT_EQ(got.result, c.expected.result) << name;
        EXPECT_EQ(got.tags, c.expected.tags) << name;
        EXPECT_EQ(got.objects, c.expected.objects) << name;
        EXPECT_EQ(got.specials, c.expected.specials) << name;
        EXPECT_EQ(got.left, c.expected.left) << name;
    }
}

// Each form's encoding of two tags, two objects and a special, read with every
// fault at every offset: the fault's code, and exactly the entries whose
// encoding lies wholly before the offset kept (a failing file keeps fewer).
TEST(CRefObjListForms, LoadAgainstFaults)
{
    CRefObjList list;
    list.AddTagID(CString(_T("A")));
    list.AddObjID(7);
    list.AddSpecialObjID(CString(_T("$x")));
    for (const Form* form : kForms) {
        Bytes8 encoding;
        ASSERT_EQ(form->save(list, encoding), S_OK);
        // Where each entry ends: the stream has the counts between the sets.
        const std::vector<std::pair<int, size_t>> ends =
            form == &kStream ? std::vector<std::pair<int, size_t>>{{0, 12}, {1, 22}, {2, 34}}
                             : std::vector<std::pair<int, size_t>>{{0, 13}, {1, 24}, {2, 35}};
        ASSERT_EQ(encoding.size(), ends.back().second) << form->name;
        const qntest::FaultedLoad load = [&](const Bytes8& bytes, const Injection& at) {
            const Loaded got = form->load(bytes, at);
            int expected[3] = {0, 0, 0};
            for (const auto& [set, end] : ends)
                expected[set] += !at.active || end <= at.offset;
            const int kept[3] = {got.tags, got.objects, got.specials};
            for (int set = 0; set < 3; ++set) {
                if (at.active && at.fault == ReadFault::FileFails)
                    EXPECT_LE(kept[set], expected[set]) << "set " << set;
                else
                    EXPECT_EQ(kept[set], expected[set]) << "set " << set;
            }
            return got.result;
        };
        qntest::SweepReadFaults({form->name, encoding, load, form->faults});
    }
}

class ThrowingDestination final : public CKESTSaveHelper {
public:
    void Write(const void*, UINT) override { AfxThrowFileException(CFileException::diskFull, 112, _T("panel.dat")); }
};

TEST(CRefObjListForms, FailingDestinations)
{
    CRefObjList list;
    list.AddTagID(CString(_T("A")));
    list.AddObjID(3);
    list.AddSpecialObjID(CString(_T("S")));
    Bytes8 bytes;
    ASSERT_EQ(kStream.save(list, bytes), S_OK);
    qntest::SweepWriteFaults("stream", [&](IStream* s) { return list.Save(s); }, bytes.size(), std::nullopt);
    TestStream shortObject; // a short write of a fixed-size field fails
    shortObject.InjectFault(qntest::StreamFault::WriteShort, 2 + 2 + 8 + 2 + 3);
    EXPECT_EQ(list.Save(&shortObject), E_FAIL);

    MessageBoxRecorder boxes;
    ThrowingDestination destination;
    EXPECT_EQ(list.Save(destination, 0), E_FAIL);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

// The counts are signed 16-bit: 32767 items are written, one more is refused
// before anything is written.
TEST(CRefObjListForms, CountLimit)
{
    CRefObjList list;
    for (__int64 id = 0; id < KEST_REFLIST_MAX_COUNT; ++id)
        list.AddObjID(id);
    for (const Form* form : kForms) {
        Bytes8 bytes;
        ASSERT_EQ(form->save(list, bytes), S_OK) << form->name;
        const size_t count = form == &kStream ? 4 : 2;
        EXPECT_EQ(bytes[count], 0xFF) << form->name;
        EXPECT_EQ(bytes[count + 1], 0x7F) << form->name;
    }
    list.AddTagID(CString(_T("one too many")));
    TestStream stream;
    EXPECT_EQ(list.Save(&stream), S_OK) << "the stream form counts each set";
    list.AddObjID(-1);
    for (const Form* form : kForms) {
        Bytes8 bytes;
        EXPECT_EQ(form->save(list, bytes), E_FAIL) << form->name;
        EXPECT_TRUE(bytes.empty()) << form->name;
    }
}

} // namespace
