// CRefObjList: set semantics, the tag server, and the stream form (exact bytes,
// round trips, hostile counts, faults at every byte offset).
#include "refs_TagServer.h"

#include <QNRefObjList.h>
#include <QNStream.h>
#include <support/TestStreams.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using qntest::Bytes;
using qntest::FakeTagServer;
using qntest::StreamFault;
using qntest::TestStream;

std::vector<unsigned char> SavedStream(CRefObjList& list)
{
    TestStream stream;
    EXPECT_EQ(list.Save(&stream), S_OK);
    return stream.Data();
}

TEST(CRefObjList, SetsHoldEachItemOnce)
{
    FakeTagServer server; // outlives the list, which releases it
    CRefObjList list;
    EXPECT_FALSE(list.IsTagIDUsed(CString(_T("Motor.Speed"))));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(list.AddTagID(CString(_T("Motor.Speed"))), S_OK);
        EXPECT_EQ(list.AddObjID(-5), S_OK);
        EXPECT_EQ(list.AddSpecialObjID(CString(_T("$Screen"))), S_OK);
    }
    EXPECT_EQ(list.m_mapTagIDs.GetCount(), 1);
    EXPECT_EQ(list.m_mapObjIDs.GetCount(), 1);
    EXPECT_EQ(list.m_mapSpecialObjIDs.GetCount(), 1);

    EXPECT_TRUE(list.IsTagIDUsed(CString(_T("Motor.Speed"))));
    EXPECT_FALSE(list.IsTagIDUsed(CString(_T("motor.speed")))) << "tags compare case-sensitively";
    EXPECT_FALSE(list.IsTagIDUsed(CString(_T("$Screen")))) << "the sets are separate";
    EXPECT_TRUE(list.IsSpecialObjIDUsed(CString(_T("$Screen"))));
    EXPECT_FALSE(list.IsSpecialObjIDUsed(CString(_T("$screen"))));
    EXPECT_TRUE(list.IsObjIDUsed(-5));
    EXPECT_FALSE(list.IsObjIDUsed(5));
    // Identifiers that differ only above the low 32 bits are different.
    list.AddObjID(0x100000000ll);
    EXPECT_FALSE(list.IsObjIDUsed(0));
    EXPECT_TRUE(list.IsObjIDUsed(0x100000000ll));

    list.Initialize(&server);
    list.Reset();
    EXPECT_EQ(list.m_mapTagIDs.GetCount() + list.m_mapObjIDs.GetCount() + list.m_mapSpecialObjIDs.GetCount(), 0);
    EXPECT_TRUE(list.m_pTagServer == &server) << "Reset keeps the tag server";
}

// The object set hashes an identifier by its low 32 bits shifted right by 4,
// on every build; iteration runs in bucket order (17 buckets), which shows it.
TEST(CRefObjList, ObjectHashIsLow32BitsShiftedBy4)
{
    const __int64 ids[] = {0x700000030ll, 0x20, 0x10, 0x100000000ll}; // buckets 3, 2, 1, 0
    CRefObjList list;
    for (__int64 id : ids)
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
        EXPECT_TRUE(list.m_pTagServer == nullptr);
        EXPECT_EQ(list.Initialize(&first), S_OK);
        EXPECT_EQ(first.Refs(), 2);
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
        bool stopsAtB;
    };
    const Case cases[] = {
        {"control: all done", S_OK, S_OK, false},
        {"S_FALSE is done too", S_FALSE, S_OK, false},
        {"an error stops the walk", E_ACCESSDENIED, E_ACCESSDENIED, true},
        {"any other success code is an error", HRESULT(2), HRESULT(2), true},
        {"E_FAIL", E_FAIL, E_FAIL, true},
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
        const auto& calls = server.Calls();
        ASSERT_FALSE(calls.empty()) << c.name;
        EXPECT_EQ(server.WrongMethodCalls(), 0) << c.name;
        std::vector<std::u16string> tags;
        for (const auto& call : calls) {
            tags.push_back(call.tag);
            EXPECT_EQ(call.owner, u"Screen1.Button3") << c.name;
            EXPECT_TRUE(call.tagIsPlatformString && call.ownerIsPlatformString) << c.name;
        }
        if (c.stopsAtB) {
            EXPECT_EQ(tags.back(), u"B") << c.name << ": the walk goes on after the error";
        } else {
            std::sort(tags.begin(), tags.end());
            EXPECT_EQ(tags, (std::vector<std::u16string>{u"A", u"B", u"C", u"D"})) << c.name;
        }
        EXPECT_EQ(list.m_mapTagIDs.GetCount(), 4) << c.name << ": the sets are not changed";
    }
}

TEST(CRefObjList, ClearRefInfoWithoutTagServer)
{
    CRefObjList list;
    list.AddTagID(CString(_T("A")));
    EXPECT_EQ(list.ClearRefInfo(CString(_T("owner"))), E_FAIL);

    FakeTagServer server;
    CRefObjList empty;
    empty.Initialize(&server);
    EXPECT_EQ(empty.ClearRefInfo(CString(_T("owner"))), S_OK);
    EXPECT_TRUE(server.Calls().empty());
}

// The tag server's operation is the 55th slot of its table of methods. Both
// compilers of the project follow the Itanium C++ ABI, in which a pointer to a
// virtual member function holds 1 + the byte offset of its slot.
TEST(CRefObjList, TagServerOperationIsThe55thMethod)
{
    auto member = &IKESTTagServer::ClearTagRefInfo;
    uintptr_t representation = 0;
    static_assert(sizeof member >= sizeof representation);
    std::memcpy(&representation, &member, sizeof representation);
    EXPECT_EQ(representation, 1 + 54 * sizeof(void*));
}

TEST(CRefObjListStream, SavedBytes)
{
    CRefObjList list;
    EXPECT_EQ(SavedStream(list), (std::vector<unsigned char>{0x01, 0, 0, 0, 0, 0, 0, 0}));

    list.AddTagID(CString(_T("T1")));
    list.AddObjID(0x0102030405060708ll);
    list.AddSpecialObjID(CString());
    const std::vector<unsigned char> expected = Bytes()
                                                    .U16(1)
                                                    .U16(1)
                                                    .U32(6)
                                                    .Utf16(_T("T1"))
                                                    .U16(0)
                                                    .U16(1)
                                                    .U64(0x0102030405060708ull)
                                                    .U16(1)
                                                    .U32(2)
                                                    .U16(0);
    EXPECT_EQ(SavedStream(list), expected);
}

TEST(CRefObjListStream, RoundTripReplacesTheSets)
{
    CRefObjList source;
    for (int i = 0; i < 40; ++i) {
        CString tag;
        tag.Format(_T("Tag_%d"), i);
        source.AddTagID(tag);
        source.AddObjID(i * 0x100000001ll - 20);
    }
    source.AddSpecialObjID(CString(_T("$Alarm")));
    source.AddSpecialObjID(CString(_T("\u00C4rger")));
    TestStream stream(SavedStream(source));

    CRefObjList target;
    target.AddTagID(CString(_T("old")));
    target.AddObjID(999);
    ASSERT_EQ(target.Load(&stream), S_OK);
    EXPECT_EQ(stream.Position(), stream.Data().size());
    EXPECT_FALSE(target.IsTagIDUsed(CString(_T("old"))));
    EXPECT_FALSE(target.IsObjIDUsed(999));
    EXPECT_EQ(target.m_mapTagIDs.GetCount(), 40);
    EXPECT_EQ(target.m_mapObjIDs.GetCount(), 40);
    EXPECT_EQ(target.m_mapSpecialObjIDs.GetCount(), 2);
    for (int i = 0; i < 40; ++i) {
        CString tag;
        tag.Format(_T("Tag_%d"), i);
        EXPECT_TRUE(target.IsTagIDUsed(tag)) << i;
        EXPECT_TRUE(target.IsObjIDUsed(i * 0x100000001ll - 20)) << i;
    }
    EXPECT_TRUE(target.IsSpecialObjIDUsed(CString(_T("\u00C4rger"))));
}

// Counts as the stream states them: readers take 0 or less as none, and a
// count beyond the data fails when the data ends, keeping what came.
TEST(CRefObjListStream, HostileCounts)
{
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        HRESULT result;
        int tags, objects, specials;
    };
    const Case cases[] = {
        {"control", Bytes().U16(1).U16(1).U32(4).Utf16(_T("A")).U16(0).U16(1).U64(9).U16(0), S_OK, 1, 1, 0},
        {"other version is read alike", Bytes().U16(77).U16(0).U16(0).U16(0), S_OK, 0, 0, 0},
        {"negative tag count reads none", Bytes().U16(1).U16(0x8000).U16(1).U64(9).U16(0), S_OK, 0, 1, 0},
        {"-1 object count reads none", Bytes().U16(1).U16(0).U16(0xFFFF).U16(0), S_OK, 0, 0, 0},
        {"tag count beyond the data", Bytes().U16(1).U16(0x7FFF).U32(4).Utf16(_T("A")).U16(0), E_FAIL, 1, 0, 0},
        {"object count beyond the data", Bytes().U16(1).U16(0).U16(3).U64(1).U64(2), E_FAIL, 0, 2, 0},
        {"special count beyond the data", Bytes().U16(1).U16(0).U16(0).U16(2).U32(2).U16(0), E_FAIL, 0, 0, 1},
        {"text with a hostile byte count", Bytes().U16(1).U16(1).U32(0x80000000u).U16(0), E_FAIL, 0, 0, 0},
        {"version only", Bytes().U16(1), E_FAIL, 0, 0, 0},
        {"nothing", Bytes(), E_FAIL, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TestStream stream(c.bytes);
        CRefObjList list;
        list.AddTagID(CString(_T("stale")));
        EXPECT_EQ(list.Load(&stream), c.result) << c.name;
        EXPECT_EQ(list.m_mapTagIDs.GetCount(), c.tags) << c.name;
        EXPECT_EQ(list.m_mapObjIDs.GetCount(), c.objects) << c.name;
        EXPECT_EQ(list.m_mapSpecialObjIDs.GetCount(), c.specials) << c.name;
        // Where the data ends early, the loader asks for one more field at most.
        EXPECT_LE(stream.FurthestReadRequest(), c.bytes.size() + 8) << c.name;
        EXPECT_EQ(stream.References(), 0) << c.name;
    }
}

// Every fault at every offset of a valid encoding: E_FAIL, the items whose
// encoding lies wholly before the offset kept, nothing asked beyond the end.
TEST(CRefObjListStream, LoadAgainstFaultsAtEveryOffset)
{
    // Each item's last byte, to tell which ones a load could have completed.
    struct Item {
        int set; // 0 tag, 1 object, 2 special
        size_t end;
    };
    Bytes bytes;
    std::vector<Item> items;
    bytes.U16(1).U16(2);
    bytes.U32(4).Utf16(_T("A")).U16(0);
    items.push_back({0, bytes.Get().size()});
    bytes.U32(6).Utf16(_T("BC")).U16(0);
    items.push_back({0, bytes.Get().size()});
    bytes.U16(2).U64(7);
    items.push_back({1, bytes.Get().size()});
    bytes.U64(0xFFFFFFFFFFFFFFFFull);
    items.push_back({1, bytes.Get().size()});
    bytes.U16(1).U32(2).U16(0);
    items.push_back({2, bytes.Get().size()});
    const size_t size = bytes.Get().size();

    TestStream control(bytes);
    CRefObjList list;
    ASSERT_EQ(list.Load(&control), S_OK);

    for (StreamFault fault : qntest::kReadFaults) {
        for (size_t offset = 0; offset < size; ++offset) {
            TestStream stream(bytes);
            stream.InjectFault(fault, offset);
            EXPECT_EQ(list.Load(&stream), E_FAIL) << qntest::FaultName(fault) << " at " << offset;
            int expected[3] = {0, 0, 0};
            for (const Item& item : items)
                expected[item.set] += item.end <= offset;
            EXPECT_EQ(list.m_mapTagIDs.GetCount(), expected[0]) << qntest::FaultName(fault) << " at " << offset;
            EXPECT_EQ(list.m_mapObjIDs.GetCount(), expected[1]) << qntest::FaultName(fault) << " at " << offset;
            EXPECT_EQ(list.m_mapSpecialObjIDs.GetCount(), expected[2]) << qntest::FaultName(fault) << " at " << offset;
            EXPECT_LE(stream.FurthestReadRequest(), size);
        }
    }
}

TEST(CRefObjListStream, SaveAgainstWriteFaults)
{
    CRefObjList list;
    list.AddTagID(CString(_T("A")));
    list.AddObjID(3);
    list.AddSpecialObjID(CString(_T("S")));
    const size_t size = SavedStream(list).size();
    // Failing writes fail everywhere; short writes matter for the fixed-size
    // fields and the object identifiers, not inside the texts.
    for (size_t offset = 0; offset < size; ++offset) {
        TestStream failing;
        failing.InjectFault(StreamFault::WriteFail, offset);
        EXPECT_EQ(list.Save(&failing), E_FAIL) << "write failure at " << offset;
    }
    TestStream shortObject;
    shortObject.InjectFault(StreamFault::WriteShort, 2 + 2 + 8 + 2 + 3);
    EXPECT_EQ(list.Save(&shortObject), E_FAIL);
}

// The counts are signed 16-bit: 32767 items per set are written, one more
// cannot be, and then nothing is written at all.
TEST(CRefObjListStream, CountLimit)
{
    CRefObjList list;
    for (__int64 id = 0; id < KEST_REFLIST_MAX_COUNT; ++id)
        list.AddObjID(id);
    TestStream stream;
    ASSERT_EQ(list.Save(&stream), S_OK);
    EXPECT_EQ(stream.Data().size(), 8u + 8u * KEST_REFLIST_MAX_COUNT);
    EXPECT_EQ(stream.Data()[4], 0xFF);
    EXPECT_EQ(stream.Data()[5], 0x7F);

    stream.Rewind();
    CRefObjList loaded;
    ASSERT_EQ(loaded.Load(&stream), S_OK);
    EXPECT_EQ(loaded.m_mapObjIDs.GetCount(), KEST_REFLIST_MAX_COUNT);

    list.AddObjID(-1);
    TestStream tooMany;
    EXPECT_EQ(list.Save(&tooMany), E_FAIL);
    EXPECT_TRUE(tooMany.Data().empty());
    EXPECT_EQ(tooMany.WriteCalls(), 0);
}

} // namespace
