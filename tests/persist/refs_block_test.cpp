// CRefObjList in the block form: exact bytes, round trips through an archive,
// skipped entries, hostile counts, and a block that runs out, ends or fails at
// every byte offset.
#include "block_Support.h"

#include <QNRefObjList.h>
#include <support/TestStreams.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using qntest::Bytes;
using qntest::FaultyFile;
using qntest::HelperBytes;

std::vector<unsigned char> Framed(const std::vector<unsigned char>& payload)
{
    return Bytes().U32(0xEFEFEFEF).U32(2600).U32(payload.size()).Raw(payload);
}

TEST(CRefObjListBlock, SavedBytes)
{
    struct Case {
        const char* name;
        std::vector<const WCHAR*> tags;
        std::vector<__int64> objects;
        std::vector<const WCHAR*> specials;
        std::vector<unsigned char> payload;
    };
    const Case cases[] = {
        {"empty", {}, {}, {}, {0x01, 0x00, 0x00, 0x00}},
        {"one object 5", {}, {5}, {}, {0x01, 0x00, 0x01, 0x00, 0x2A, 0x0A, 0x06, 5, 0, 0, 0, 0, 0, 0, 0}},
        {"tags first, then objects, then specials",
         {_T("AB")},
         {-1},
         {_T("S")},
         Bytes()
             .U16(1)
             .U16(3)
             .U16(2601)
             .U8(8)
             .U32(4)
             .Utf16(_T("AB"))
             .U16(2602)
             .U8(6)
             .U64(0xFFFFFFFFFFFFFFFFull)
             .U16(2603)
             .U8(8)
             .U32(2)
             .Utf16(_T("S"))},
        {"empty texts", {_T("")}, {}, {}, Bytes().U16(1).U16(1).U16(2601).U8(8).U32(0)},
    };
    for (const Case& c : cases) {
        CRefObjList list;
        for (const WCHAR* tag : c.tags)
            list.AddTagID(CString(tag));
        for (__int64 id : c.objects)
            list.AddObjID(id);
        for (const WCHAR* special : c.specials)
            list.AddSpecialObjID(CString(special));
        CKESTSaveHelper destination;
        ASSERT_EQ(destination.KESTSave("<", 1), S_OK);
        EXPECT_EQ(list.Save(destination, 0), S_OK) << c.name;
        EXPECT_EQ(HelperBytes(destination), Bytes().U8('<').Raw(Framed(c.payload)).Get()) << c.name;
    }
}

// A block as the list saves it, written through an archive into a file and
// followed by a sentinel; the reader takes the frame and passes the length.
struct BlockReader {
    explicit BlockReader(const std::vector<unsigned char>& bytes, FaultyFile::Fault fault = FaultyFile::None,
                         ULONGLONG offset = 0, int bufferSize = 4096)
        : file(bytes, fault, offset), archive(&file, CArchive::load, bufferSize)
    {
        helper.KESTSetArchive(&archive);
    }
    FaultyFile file;
    CArchive archive;
    CKESTLoadHelper helper;
};

TEST(CRefObjListBlock, RoundTripThroughAnArchive)
{
    CRefObjList source;
    for (int i = 0; i < 30; ++i) {
        CString text;
        text.Format(_T("Line%d.Valve"), i);
        source.AddTagID(text);
        source.AddObjID(0x123456789ll * i);
        text.Format(_T("$S%d"), i);
        source.AddSpecialObjID(text);
    }
    CKESTSaveHelper block;
    ASSERT_EQ(source.Save(block, 0), S_OK);

    FaultyFile file(FaultyFile::None);
    {
        CArchive archive(&file, CArchive::store);
        ASSERT_EQ(block.KESTCopyData(archive), S_OK);
        archive.Write("\xA5", 1);
        archive.Close();
    }
    file.SeekToBegin();
    CArchive archive(&file, CArchive::load);
    CKESTLoadHelper reader;
    reader.KESTSetArchive(&archive);
    ULONG frame = 12, four = 4;
    LONG id = 0;
    ULONG length = 0;
    ASSERT_EQ(reader.KESTLoadBlockHeadMark(frame), S_OK);
    ASSERT_EQ(reader.KESTLoad(&id, four, frame), S_OK);
    ASSERT_EQ(reader.KESTLoad(&length, four, frame), S_OK);
    EXPECT_EQ(id, KEST_REFLIST_BLOCK_ID);

    CRefObjList target;
    target.AddObjID(-42);
    ASSERT_EQ(target.Load(reader, length, 0), S_OK);
    EXPECT_EQ(length, 0u) << "the whole block is used";
    unsigned char sentinel = 0;
    EXPECT_EQ(archive.Read(&sentinel, 1), 1u);
    EXPECT_EQ(sentinel, 0xA5) << "nothing beyond the block is read";
    EXPECT_FALSE(target.IsObjIDUsed(-42));
    EXPECT_EQ(target.m_mapTagIDs.GetCount(), 30);
    EXPECT_EQ(target.m_mapObjIDs.GetCount(), 30);
    EXPECT_EQ(target.m_mapSpecialObjIDs.GetCount(), 30);
    for (int i = 0; i < 30; ++i) {
        CString text;
        text.Format(_T("Line%d.Valve"), i);
        EXPECT_TRUE(target.IsTagIDUsed(text));
        EXPECT_TRUE(target.IsObjIDUsed(0x123456789ll * i));
        text.Format(_T("$S%d"), i);
        EXPECT_TRUE(target.IsSpecialObjIDUsed(text));
    }
}

TEST(CRefObjListBlock, Payloads)
{
    struct Case {
        const char* name;
        std::vector<unsigned char> payload;
        HRESULT result;
        int tags, objects, specials;
        ULONG leftOver; // bytes left of the block afterwards
    };
    const std::vector<unsigned char> tagA = Bytes().U16(2601).U8(8).U32(2).Utf16(_T("A"));
    const std::vector<unsigned char> object7 = Bytes().U16(2602).U8(6).U64(7);
    const Case cases[] = {
        {"control", Bytes().U16(1).U16(2).Raw(tagA).Raw(object7), S_OK, 1, 1, 0, 0},
        {"any order", Bytes().U16(1).U16(3).Raw(object7).U16(2603).U8(8).U32(0).Raw(tagA), S_OK, 1, 1, 1, 0},
        {"unknown mark with a LONG is skipped", Bytes().U16(1).U16(3).Raw(tagA).U16(2700).U8(3).U32(9).Raw(object7),
         S_OK, 1, 1, 0, 0},
        {"unknown mark with a string is skipped", Bytes().U16(1).U16(2).U16(0).U8(8).U32(4).Utf16(_T("zz")).Raw(object7),
         S_OK, 0, 1, 0, 0},
        {"unknown mark with a bad type byte", Bytes().U16(1).U16(2).Raw(tagA).U16(1).U8(9).Raw(object7), E_FAIL, 1, 0, 0,
         11},
        {"tag mark with an INT64", Bytes().U16(1).U16(1).U16(2601).U8(6).U64(1), E_FAIL, 0, 0, 0, 8},
        {"object mark with a LONG", Bytes().U16(1).U16(1).U16(2602).U8(3).U32(1), E_FAIL, 0, 0, 0, 4},
        {"other version is read alike", Bytes().U16(9).U16(1).Raw(tagA), S_OK, 1, 0, 0, 0},
        {"count 0 with entries after it", Bytes().U16(1).U16(0).Raw(tagA), S_OK, 0, 0, 0, 9},
        {"negative count reads no entries", Bytes().U16(1).U16(0x8000).Raw(tagA), S_OK, 0, 0, 0, 9},
        {"count beyond the entries", Bytes().U16(1).U16(0x7FFF).Raw(tagA), E_FAIL, 1, 0, 0, 0},
        {"string length beyond the block", Bytes().U16(1).U16(1).U16(2601).U8(8).U32(0x7FFFFFF0).U16('A'), E_FAIL, 0, 0,
         0, 2},
        {"string length with the top bit", Bytes().U16(1).U16(1).U16(2601).U8(8).U32(0x80000000), S_OK, 1, 0, 0, 0},
        {"no count", Bytes().U16(1), E_FAIL, 0, 0, 0, 0},
        {"nothing", Bytes(), E_FAIL, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        BlockReader reader(Bytes().Raw(c.payload).U8(0xA5));
        CRefObjList list;
        list.AddTagID(CString(_T("stale")));
        ULONG left = static_cast<ULONG>(c.payload.size());
        EXPECT_EQ(list.Load(reader.helper, left, 0), c.result) << c.name;
        EXPECT_EQ(list.m_mapTagIDs.GetCount(), c.tags) << c.name;
        EXPECT_EQ(list.m_mapObjIDs.GetCount(), c.objects) << c.name;
        EXPECT_EQ(list.m_mapSpecialObjIDs.GetCount(), c.specials) << c.name;
        EXPECT_EQ(left, c.leftOver) << c.name;
    }
}

// The payload of three entries; each entry's end, to tell which ones a load
// could have completed.
struct Sample {
    std::vector<unsigned char> payload;
    std::vector<std::pair<int, size_t>> entries; // set (0 tag, 1 object, 2 special), end offset
};

Sample ThreeEntries()
{
    Sample s;
    Bytes b;
    b.U16(1).U16(3);
    b.U16(2601).U8(8).U32(6).Utf16(_T("Tag"));
    s.entries.push_back({0, b.Get().size()});
    b.U16(2602).U8(6).U64(0x8000000000000001ull);
    s.entries.push_back({1, b.Get().size()});
    b.U16(2603).U8(8).U32(4).Utf16(_T("$x"));
    s.entries.push_back({2, b.Get().size()});
    s.payload = b.Get();
    return s;
}

void ExpectComplete(const CRefObjList& list, const Sample& sample, size_t limit, const char* what)
{
    int expected[3] = {0, 0, 0};
    for (const auto& [set, end] : sample.entries)
        expected[set] += end <= limit;
    EXPECT_EQ(list.m_mapTagIDs.GetCount(), expected[0]) << what << " at " << limit;
    EXPECT_EQ(list.m_mapObjIDs.GetCount(), expected[1]) << what << " at " << limit;
    EXPECT_EQ(list.m_mapSpecialObjIDs.GetCount(), expected[2]) << what << " at " << limit;
}

// At every offset, (1) the block's bytes-left runs out: E_FAIL, the complete
// entries kept, and the reads stay within the block; (2) the archive's file
// ends while the block claims its full length: short reads are no failure, so
// the load goes on to the end of its count and keeps exactly the entries that
// came whole.
TEST(CRefObjListBlock, BlockRunsOutOrArchiveEndsAtEveryOffset)
{
    const Sample sample = ThreeEntries();
    const size_t size = sample.payload.size();
    for (size_t at = 0; at < size; ++at) {
        {
            BlockReader reader(sample.payload);
            CRefObjList list;
            ULONG left = static_cast<ULONG>(at);
            EXPECT_EQ(list.Load(reader.helper, left, 0), E_FAIL) << "block of " << at;
            ExpectComplete(list, sample, at, "block runs out");
            unsigned char next = 0;
            ASSERT_EQ(reader.archive.Read(&next, 1), 1u);
            EXPECT_EQ(next, sample.payload[at - left]) << "block of " << at;
        }
        BlockReader reader(std::vector<unsigned char>(sample.payload.begin(), sample.payload.begin() + at));
        CRefObjList list;
        ULONG left = static_cast<ULONG>(size);
        EXPECT_EQ(list.Load(reader.helper, left, 0), S_OK) << "archive ends at " << at;
        ExpectComplete(list, sample, at, "archive ends");
        EXPECT_EQ(left, size - at) << "archive ends at " << at;
    }
}

// The file raises a file exception once a read reaches an offset: E_FAIL and
// one message, whatever the offset, and only whole entries kept.
TEST(CRefObjListBlock, FileFailsAtEveryOffset)
{
    // Enough entries that the archive's 128-byte reads reach the file often.
    Bytes payload;
    payload.U16(1).U16(40);
    for (int i = 0; i < 40; ++i)
        payload.U16(2602).U8(6).U64(static_cast<unsigned long long>(i));
    const std::vector<unsigned char>& bytes = payload.Get();
    for (size_t offset = 0; offset < bytes.size(); offset += 7) {
        MessageBoxRecorder boxes;
        BlockReader reader(bytes, FaultyFile::ThrowOnRead, offset, 128);
        CRefObjList list;
        ULONG left = static_cast<ULONG>(bytes.size());
        EXPECT_EQ(list.Load(reader.helper, left, 0), E_FAIL) << "file fails at " << offset;
        EXPECT_EQ(boxes.Boxes().size(), 1u) << "file fails at " << offset;
        // No byte at or after the offset ever came, so only entries before it.
        const INT_PTR kept = list.m_mapObjIDs.GetCount();
        if (kept > 0) {
            EXPECT_LE(4 + kept * 11, static_cast<INT_PTR>(offset)) << "file fails at " << offset;
        }
        for (int i = 0; i < list.m_mapObjIDs.GetCount(); ++i)
            EXPECT_TRUE(list.IsObjIDUsed(i)) << "entries are kept in order";
    }
}

// The entry count is signed 16-bit: 32767 entries in all are written, one
// more is refused before anything is written.
TEST(CRefObjListBlock, CountLimit)
{
    CRefObjList list;
    for (__int64 id = 0; id < KEST_REFLIST_MAX_COUNT - 1; ++id)
        list.AddObjID(id);
    list.AddTagID(CString(_T("t")));
    CKESTSaveHelper destination;
    ASSERT_EQ(list.Save(destination, 0), S_OK);
    const std::vector<unsigned char> bytes = HelperBytes(destination);
    ASSERT_GE(bytes.size(), 16u);
    EXPECT_EQ(bytes[14], 0xFF);
    EXPECT_EQ(bytes[15], 0x7F);

    list.AddSpecialObjID(CString(_T("one too many")));
    CKESTSaveHelper refused;
    EXPECT_EQ(list.Save(refused, 0), E_FAIL);
    EXPECT_EQ(refused.KESTGetLength(), 0u);
}

class ThrowingDestination final : public CKESTSaveHelper {
public:
    void Write(const void*, UINT) override { AfxThrowFileException(CFileException::diskFull, 112, _T("panel.dat")); }
};

TEST(CRefObjListBlock, DestinationThatFails)
{
    MessageBoxRecorder boxes;
    CRefObjList list;
    list.AddTagID(CString(_T("A")));
    ThrowingDestination destination;
    EXPECT_EQ(list.Save(destination, 0), E_FAIL);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

} // namespace
