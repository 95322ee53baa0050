// CRefObjList: set semantics, the tag server, and both encodings (stream and
// block) through one suite: exact bytes with failing writes, hostile counts,
// faults at every offset, memory running out and the count limit.
#include <QNRefObjList.h>
#include <support/Counted.h>
#include <support/AllocationFaults.h>
#include <support/FaultSweep.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using qntest::Bytes;
using qntest::Injection;
using qntest::ReadFault;
using qntest::TestStream;

using Bytes8 = std::vector<unsigned char>;

// A stand-in for the host's tag server: its one operation is the 55th method
// of IKESTTagServer; the host's other methods count calls made by mistake. The
// result is S_OK but for the tag "B", which gives `failing`.
class FakeTagServer final : public qntest::Counted<IKESTTagServer> {
public:
    HRESULT failing = S_OK;
    std::vector<std::pair<std::u16string, std::u16string>> calls; // tag, owner
    int wrongCalls = 0;

#define QN_FAKE_HOST_METHOD(n) \
    HRESULT STDMETHODCALLTYPE HostMethod##n() override { return ++wrongCalls, E_UNEXPECTED; }
#define QN_FAKE_HOST_METHODS(d) QN_FAKE_HOST_METHOD(d##0) QN_FAKE_HOST_METHOD(d##1) QN_FAKE_HOST_METHOD(d##2) \
    QN_FAKE_HOST_METHOD(d##3) QN_FAKE_HOST_METHOD(d##4) QN_FAKE_HOST_METHOD(d##5) QN_FAKE_HOST_METHOD(d##6) \
    QN_FAKE_HOST_METHOD(d##7) QN_FAKE_HOST_METHOD(d##8) QN_FAKE_HOST_METHOD(d##9)
    QN_FAKE_HOST_METHOD(04) QN_FAKE_HOST_METHOD(05) QN_FAKE_HOST_METHOD(06) QN_FAKE_HOST_METHOD(07)
    QN_FAKE_HOST_METHOD(08) QN_FAKE_HOST_METHOD(09) QN_FAKE_HOST_METHODS(1) QN_FAKE_HOST_METHODS(2)
    QN_FAKE_HOST_METHODS(3) QN_FAKE_HOST_METHODS(4) QN_FAKE_HOST_METHOD(50) QN_FAKE_HOST_METHOD(51)
    QN_FAKE_HOST_METHOD(52) QN_FAKE_HOST_METHOD(53) QN_FAKE_HOST_METHOD(54)
#undef QN_FAKE_HOST_METHODS
#undef QN_FAKE_HOST_METHOD

    // Both names must come as platform strings: their length prefix counts
    // up to the terminator.
    HRESULT STDMETHODCALLTYPE ClearTagRefInfo(BSTR tag, BSTR owner) override
    {
        calls.emplace_back(Text(tag), Text(owner));
        return calls.back().first == u"B" ? failing : S_OK;
    }

private:
    static std::u16string Text(BSTR bstr)
    {
        const UINT length = ::SysStringLen(bstr);
        return bstr && bstr[length] == 0 ? std::u16string(bstr, bstr + length) : u"<not a platform string>";
    }
};

int Count(const CRefObjList& list)
{
    return int(list.m_mapTagIDs.GetCount() + list.m_mapObjIDs.GetCount() + list.m_mapSpecialObjIDs.GetCount());
}

TEST(CRefObjList, SetsAndTagServer)
{
    FakeTagServer first, second; // outlive the list, which releases them
    {
        CRefObjList list;
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(list.AddTagID(CString(_T("Motor.Speed"))), S_OK);
            EXPECT_EQ(list.AddObjID(-5), S_OK);
            EXPECT_EQ(list.AddSpecialObjID(CString(_T("$Screen"))), S_OK);
        }
        EXPECT_EQ(Count(list), 3);
        list.AddObjID(0x100000000ll); // differs from 0 only above the low 32 bits
        const bool used[] = {list.IsTagIDUsed(CString(_T("Motor.Speed"))), list.IsTagIDUsed(CString(_T("motor.speed"))),
                             list.IsTagIDUsed(CString(_T("$Screen"))), list.IsSpecialObjIDUsed(CString(_T("$Screen"))),
                             list.IsSpecialObjIDUsed(CString(_T("$screen"))), list.IsObjIDUsed(-5),
                             list.IsObjIDUsed(5), list.IsObjIDUsed(0)};
        EXPECT_EQ(std::vector<bool>(used, used + 8), (std::vector<bool>{1, 0, 0, 1, 0, 1, 0, 0}));

        EXPECT_EQ(list.Initialize(&first), S_OK);
        EXPECT_EQ(list.Initialize(&first), S_OK);
        EXPECT_EQ(first.Refs(), 2);
        list.Reset();
        EXPECT_EQ(Count(list), 0);
        EXPECT_TRUE(list.m_pTagServer == &first) << "Reset keeps the tag server";
        EXPECT_EQ(list.Initialize(&second), S_OK);
        EXPECT_EQ(list.Initialize(nullptr), S_OK);
        EXPECT_EQ(first.Refs() + second.Refs(), 2);
        EXPECT_EQ(list.Initialize(&second), S_OK);
    }
    EXPECT_EQ(second.Refs(), 1) << "the destructor releases the server";

    // The object set hashes by the low 32 bits shifted right by 4: iteration
    // runs in bucket order (17 buckets), which shows it.
    CRefObjList list;
    for (__int64 id : {0x700000030ll, 0x20ll, 0x10ll, 0x100000000ll}) // buckets 3, 2, 1, 0
        list.AddObjID(id);
    std::vector<__int64> order;
    void* ignored = nullptr;
    for (POSITION pos = list.m_mapObjIDs.GetStartPosition(); pos;)
        list.m_mapObjIDs.GetNextAssoc(pos, order.emplace_back(), ignored);
    EXPECT_EQ(order, (std::vector<__int64>{0x100000000ll, 0x10, 0x20, 0x700000030ll}));

    // The tag server's operation is its 55th method: in the Itanium C++ ABI a
    // pointer to a virtual member function holds 1 + the slot's offset.
    auto member = &IKESTTagServer::ClearTagRefInfo;
    uintptr_t representation = 0;
    std::memcpy(&representation, &member, sizeof representation);
    EXPECT_EQ(representation, 1 + 54 * sizeof(void*));
}

TEST(CRefObjList, ClearRefInfo)
{
    const struct {
        const char* name;
        HRESULT failing; // the result of the tag "B"; the others give S_OK
        HRESULT result;
        std::u16string walked; // in bucket order: "D" hashes to 0, "A" to 14
        bool server = true;
    } cases[] = {
        {"control: all done", S_OK, S_OK, u"DABC"},
        {"S_FALSE is done too", S_FALSE, S_OK, u"DABC"},
        {"an error stops the walk", E_ACCESSDENIED, E_ACCESSDENIED, u"DAB"},
        {"any other success code is an error", HRESULT(2), HRESULT(2), u"DAB"},
        {"no tag server", S_OK, E_FAIL, u"", false},
    };
    for (const auto& c : cases) {
        FakeTagServer server;
        server.failing = c.failing;
        CRefObjList list;
        list.Initialize(c.server ? &server : nullptr);
        for (const WCHAR* tag : {_T("A"), _T("B"), _T("C"), _T("D")})
            list.AddTagID(CString(tag));
        list.AddSpecialObjID(CString(_T("special")));
        list.AddObjID(1);
        EXPECT_EQ(list.ClearRefInfo(CString(_T("Screen1.Button3"))), c.result) << c.name;
        EXPECT_EQ(server.wrongCalls, 0) << c.name;
        std::u16string walked;
        for (const auto& [tag, owner] : server.calls) {
            walked += tag;
            EXPECT_EQ(owner, u"Screen1.Button3") << c.name;
        }
        EXPECT_EQ(walked, c.walked) << c.name;
        EXPECT_EQ(Count(list), 6) << "the sets stay";
    }
}

// --- The two forms -----------------------------------------------------------------

// A list loaded from bytes in one form; `left` is what the block form left of
// its length (the stream form has none).
struct Loaded {
    HRESULT result;
    int tags, objects, specials;
    ULONG left;
    bool operator==(const Loaded&) const = default;
    friend void PrintTo(const Loaded& l, std::ostream* os)
    {
        *os << std::hex << l.result << std::dec << ", sets " << l.tags << l.objects << l.specials << ", left " << l.left;
    }
};

Loaded Counts(HRESULT hr, const CRefObjList& list, ULONG left)
{
    return {hr, int(list.m_mapTagIDs.GetCount()), int(list.m_mapObjIDs.GetCount()),
            int(list.m_mapSpecialObjIDs.GetCount()), left};
}

Loaded FromStream(const Bytes8& bytes, const Injection& at)
{
    CRefObjList list;
    list.AddTagID(CString(_T("stale")));
    const HRESULT hr = qntest::OnStream(bytes, at, [&](IStream* s) { return list.Load(s); });
    return Counts(hr, list, 0);
}

// The block's payload, with a sentinel after it; the archive must stand where
// the count of bytes left says.
Loaded FromBlock(const Bytes8& bytes, const Injection& at)
{
    qntest::BlockSource source(bytes, at, true);
    CRefObjList list;
    list.AddTagID(CString(_T("stale")));
    const HRESULT hr = list.Load(source.helper, source.left, 0);
    return Counts(hr, list, source.left);
}

CRefObjList& OneOfEach(CRefObjList& list)
{
    list.AddTagID(CString(_T("AB")));
    list.AddObjID(0x0102030405060708ll);
    list.AddSpecialObjID(CString());
    return list;
}

Bytes8 Framed(const Bytes8& payload)
{
    return Bytes().U32(0xEFEFEFEF).U32(2600).U32(payload.size()).Raw(payload);
}

// Each form's bytes; every write failing gives E_FAIL (a short write only
// where the field's size is compared: the object identifiers).
TEST(CRefObjListForms, SavedBytesAndFailingWrites)
{
    CRefObjList empty, one;
    OneOfEach(one);
    const Bytes8 oneStream =
        Bytes().U16(1).U16(1).U32(6).Utf16(_T("AB")).U16(0).U16(1).U64(0x0102030405060708ull).U16(1).U32(2).U16(0);
    qntest::SweepWriteFaults({"stream, empty", [&](IStream* s) { return empty.Save(s); },
                              {1, 0, 0, 0, 0, 0, 0, 0}, E_FAIL, E_FAIL});
    qntest::SweepWriteFaults({"stream, one of each", [&](IStream* s) { return one.Save(s); }, oneStream, E_FAIL, 0});
    TestStream shortObject;
    shortObject.InjectFault(qntest::StreamFault::WriteShort, 2 + 2 + 10 + 2 + 3);
    EXPECT_EQ(one.Save(&shortObject), E_FAIL);

    qntest::SweepHelperWrites("block, empty", [&](CKESTSaveHelper& h) { return empty.Save(h, 0); },
                              Framed({1, 0, 0, 0}));
    qntest::SweepHelperWrites("block, one of each", [&](CKESTSaveHelper& h) { return one.Save(h, 0); },
                              Framed(Bytes().U16(1).U16(3).U16(2601).U8(8).U32(4).Utf16(_T("AB")).U16(2602).U8(6)
                                         .U64(0x0102030405060708ull).U16(2603).U8(8).U32(0)));
}

// Counts and entries as the bytes state them: 0 or less reads none; unknown
// block entries are skipped; the old content is gone in every case. (A count
// beyond the data is a cut encoding: the fault sweep below has those.)
TEST(CRefObjListForms, HostileEncodings)
{
    const Bytes8 tagA = Bytes().U16(2601).U8(8).U32(2).Utf16(_T("A"));
    const Bytes8 object7 = Bytes().U16(2602).U8(6).U64(7);
    const auto stream = &FromStream;
    const auto block = &FromBlock;
    const struct {
        Loaded (*load)(const Bytes8&, const Injection&);
        const char* name;
        Bytes8 bytes;
        Loaded expected;
    } cases[] = {
        {stream, "other version", Bytes().U16(77).U16(0).U16(0).U16(0), {S_OK, 0, 0, 0}},
        {stream, "negative tag count", Bytes().U16(1).U16(0x8000).U16(1).U64(9).U16(0), {S_OK, 0, 1, 0}},
        {stream, "-1 objects", Bytes().U16(1).U16(0).U16(0xFFFF).U16(0), {S_OK, 0, 0, 0}},
        {block, "any order", Bytes().U16(1).U16(3).Raw(object7).U16(2603).U8(8).U32(0).Raw(tagA), {S_OK, 1, 1, 1, 0}},
        {block, "unknown mark, LONG", Bytes().U16(1).U16(3).Raw(tagA).U16(2700).U8(3).U32(9).Raw(object7),
         {S_OK, 1, 1, 0, 0}},
        {block, "unknown mark, string", Bytes().U16(1).U16(2).U16(0).U8(8).U32(4).Utf16(_T("zz")).Raw(object7),
         {S_OK, 0, 1, 0, 0}},
        {block, "unknown mark, bad type", Bytes().U16(1).U16(2).Raw(tagA).U16(1).U8(9).Raw(object7),
         {E_FAIL, 1, 0, 0, 11}},
        {block, "tag mark with an INT64", Bytes().U16(1).U16(1).U16(2601).U8(6).U64(1), {E_FAIL, 0, 0, 0, 8}},
        {block, "object mark with a LONG", Bytes().U16(1).U16(1).U16(2602).U8(3).U32(1), {E_FAIL, 0, 0, 0, 4}},
        {block, "other version", Bytes().U16(9).U16(1).Raw(tagA), {S_OK, 1, 0, 0, 0}},
        {block, "count 0, entries after it", Bytes().U16(1).U16(0).Raw(tagA), {S_OK, 0, 0, 0, 9}},
        {block, "negative count", Bytes().U16(1).U16(0x8000).Raw(tagA), {S_OK, 0, 0, 0, 9}},
        {block, "string length, top bit", Bytes().U16(1).U16(1).U16(2601).U8(8).U32(0x80000000), {S_OK, 1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.load(c.bytes, {false, ReadFault::End, 0}), c.expected)
            << (c.load == stream ? "stream: " : "block: ") << c.name;
    }
}

// Each form's encoding of a tag, an object and a special, read with every
// fault at every offset: the fault's code, and exactly the entries whose
// encoding lies wholly before the offset kept (a failing file keeps fewer).
TEST(CRefObjListForms, LoadAgainstFaults)
{
    const struct {
        const char* name;
        Loaded (*load)(const Bytes8&, const Injection&);
        Bytes8 encoding;
        std::vector<size_t> ends; // of the tag, the object and the special
        std::vector<qntest::FaultCode> faults;
    } forms[] = {
        {"stream", &FromStream,
         Bytes().U16(1).U16(1).U32(4).Utf16(_T("A")).U16(0).U16(1).U64(7).U16(1).U32(6).Utf16(_T("$x")).U16(0),
         {12, 22, 34}, qntest::StreamFaults(E_FAIL)},
        {"block", &FromBlock,
         Bytes().U16(1).U16(3).U16(2601).U8(8).U32(2).Utf16(_T("A")).U16(2602).U8(6).U64(7).U16(2603).U8(8).U32(4)
             .Utf16(_T("$x")),
         {13, 24, 35},
         {{ReadFault::LengthEnds, E_FAIL}, {ReadFault::FileEnds, S_OK}, {ReadFault::FileFails, E_FAIL}}},
    };
    for (const auto& form : forms) {
        const qntest::FaultedLoad load = [&](const Bytes8& bytes, const Injection& at) {
            const Loaded got = form.load(bytes, at);
            const int kept[3] = {got.tags, got.objects, got.specials};
            for (int set = 0; set < 3; ++set) {
                const int expected = !at.active || form.ends[set] <= at.offset;
                const bool fileFails = at.active && at.fault == ReadFault::FileFails;
                EXPECT_TRUE(fileFails ? kept[set] <= expected : kept[set] == expected) << "set " << set;
            }
            return got.result;
        };
        qntest::SweepReadFaults({form.name, form.encoding, load, form.faults});
    }
}

#ifdef QN_NATIVE
// Memory running out while loading: a text's buffer fails the stream form
// with E_FAIL; the framework's memory exception of a string or a set entry
// passes.
TEST(CRefObjListForms, MemoryRunsOut)
{
    CRefObjList one;
    OneOfEach(one);
    TestStream saved;
    ASSERT_EQ(one.Save(&saved), S_OK);
    CKESTSaveHelper block;
    ASSERT_EQ(one.Save(block, 0), S_OK);
    const Bytes8 framed = qntest::FileBytes(block), payload(framed.begin() + 12, framed.end());
    const auto loadsAll = [](const qntest::Armed& armed, const std::function<HRESULT(CRefObjList&)>& load) {
        CRefObjList list;
        const HRESULT hr = armed([&] { return load(list); });
        EXPECT_TRUE(hr != S_OK || Count(list) == 3);
        return hr;
    };
    const auto stream = [&](const qntest::Armed& armed) {
        TestStream source(saved.Data());
        return loadsAll(armed, [&](CRefObjList& list) { return list.Load(&source); });
    };
    const auto fromBlock = [&](const qntest::Armed& armed) {
        qntest::BlockSource source(payload, {false, ReadFault::End, 0});
        return loadsAll(armed, [&](CRefObjList& list) { return list.Load(source.helper, source.left, 0); });
    };
    const HRESULT R = qntest::kRaisedMemory;
    qntest::SweepAllocationFaults({"stream", stream, {E_FAIL, R, R, R, R, R, R, E_FAIL, R, R}});
    qntest::SweepAllocationFaults({"block", fromBlock, {R, R, R, R, R, R, R, R}});
}
#endif

// The counts are signed 16-bit: a set of 32767 items is written, one more in
// any set is refused before anything is written. Each row fills one set.
TEST(CRefObjListForms, CountLimit)
{
    const auto add = [](CRefObjList& list, int set, int i) { // item i (from -1) of the tags, objects or specials
        const CString text(WCHAR(0x100 + i));
        return set == 0 ? list.AddTagID(text) : set == 1 ? list.AddObjID(i * 16ll) : list.AddSpecialObjID(text);
    };
    for (int set = 0; set < 3; ++set) {
        SCOPED_TRACE(set);
        CRefObjList list;
        list.m_mapTagIDs.InitHashTable(40009); // short chains keep the fills fast
        list.m_mapObjIDs.InitHashTable(40009);
        list.m_mapSpecialObjIDs.InitHashTable(40009);
        for (int i = 0; i < KEST_REFLIST_MAX_COUNT; ++i)
            add(list, set, i);
        TestStream stream, refused;
        ASSERT_EQ(list.Save(&stream), S_OK);
        EXPECT_EQ(stream.Data()[2 + 2 * set] | stream.Data()[3 + 2 * set] << 8, 0x7FFF) << "the set's count";
        add(list, set, -1);
        EXPECT_EQ(list.Save(&refused), E_FAIL);
        EXPECT_TRUE(refused.Data().empty());
    }
    // The block form's one count covers all three sets (once: its saves grow
    // in small steps, so the destination is grown ahead).
    CRefObjList list;
    list.m_mapObjIDs.InitHashTable(40009);
    for (int i = 0; i < KEST_REFLIST_MAX_COUNT; ++i)
        list.AddObjID(i * 16ll);
    CKESTSaveHelper block, over;
    block.SetLength(400000);
    block.SetLength(0);
    ASSERT_EQ(list.Save(block, 0), S_OK);
    EXPECT_EQ(qntest::FileBytes(block)[14] | qntest::FileBytes(block)[15] << 8, 0x7FFF);
    list.AddTagID(CString(_T("one too many")));
    TestStream counted;
    EXPECT_EQ(list.Save(&counted), S_OK) << "the stream form counts each set";
    EXPECT_EQ(list.Save(over, 0), E_FAIL);
    EXPECT_EQ(over.KESTGetLength(), 0u);
}

} // namespace
