// CKESTLoadHelper: raw and typed loads with the bytes-left accounting, strings
// across chunks, marks, skipping, and file exceptions.
#include "block_Support.h"

#include <QNBlock.h>
#include <support/TestStreams.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

using qntest::Bytes;
using qntest::FaultyFile;

// An archive loading the given bytes, with a load helper pointed at it.
struct Reader {
    explicit Reader(const std::vector<unsigned char>& bytes, FaultyFile::Fault fault = FaultyFile::None,
                    ULONGLONG offset = 0)
        : file(bytes, fault, offset), archive(&file, CArchive::load)
    {
        helper.KESTSetArchive(&archive);
    }
    // The next raw byte of the archive, or -1 at its end: shows how far a
    // load read.
    int NextByte()
    {
        unsigned char byte = 0;
        return archive.Read(&byte, 1) == 1 ? byte : -1;
    }
    FaultyFile file;
    CArchive archive;
    CKESTLoadHelper helper;
};

TEST(CKESTLoadHelper, RawLoad)
{
    struct Case {
        const char* name;
        size_t available;   // bytes in the archive
        ULONG asked, left;  // count asked for, bytes left in the block
        HRESULT result;
        ULONG count, leftAfter;
        int next; // the archive's next byte afterwards
    };
    const Case cases[] = {
        {"control", 8, 4, 8, S_OK, 4, 4, 4},
        {"all that is left", 8, 4, 4, S_OK, 4, 0, 4},
        {"fewer left than asked", 8, 4, 3, QN_E_TOOSHORT, 4, 3, 0},
        {"nothing left", 8, 1, 0, QN_E_TOOSHORT, 1, 0, 0},
        {"short read", 3, 4, 10, S_FALSE, 3, 7, -1},
        {"at the end", 0, 2, 10, S_FALSE, 0, 10, -1},
        {"nothing asked", 8, 0, 0, S_OK, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes;
        for (size_t i = 0; i < c.available; ++i)
            bytes.push_back(static_cast<unsigned char>(i));
        Reader reader(bytes);
        unsigned char buffer[8] = {};
        ULONG count = c.asked, left = c.left;
        EXPECT_EQ(reader.helper.KESTLoad(buffer, count, left), c.result) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
        EXPECT_EQ(left, c.leftAfter) << c.name;
        EXPECT_EQ(reader.NextByte(), c.next) << c.name;
    }
}

TEST(CKESTLoadHelper, NoArchive)
{
    CKESTLoadHelper helper;
    unsigned char byte;
    ULONG count = 1, left = 5;
    EXPECT_EQ(helper.KESTLoad(&byte, count, left), E_FAIL);
    EXPECT_EQ(left, 5u);
    EXPECT_EQ(helper.KESTSetArchive(nullptr), S_OK);
    LONG value = 0;
    EXPECT_EQ(helper.KESTLoadLONG(value, left), E_FAIL);
}

// One typed load of each type over its own encoding and over damaged ones.
struct TypedCase {
    const char* name;
    std::vector<unsigned char> bytes;
    ULONG left;
    HRESULT result;
    ULONG leftAfter;
};

template <class T>
void RunTyped(const char* type, HRESULT (CKESTLoadHelper::*load)(T&, ULONG&), const T& before, const T& expected,
              const std::vector<TypedCase>& cases)
{
    for (const TypedCase& c : cases) {
        Reader reader(c.bytes);
        T value = before;
        ULONG left = c.left;
        EXPECT_EQ((reader.helper.*load)(value, left), c.result) << type << ": " << c.name;
        EXPECT_EQ(left, c.leftAfter) << type << ": " << c.name;
        const T& wanted = c.result == S_OK ? expected : before;
        EXPECT_EQ(std::memcmp(&value, &wanted, sizeof value), 0) << type << ": " << c.name;
    }
}

// For a type byte and a value encoding: the control, a wrong type byte, too
// few bytes left for the value (and for the type byte), a short archive.
std::vector<TypedCase> TypedCases(unsigned char type, const std::vector<unsigned char>& value)
{
    const ULONG size = static_cast<ULONG>(value.size()) + 1;
    const std::vector<unsigned char> good = Bytes().U8(type).Raw(value);
    const std::vector<unsigned char> cut(good.begin(), good.end() - 1);
    const std::vector<unsigned char> wrong = Bytes().U8(type == 3 ? 2 : 3).Raw(value);
    return {
        {"control", good, size + 5, S_OK, 5},
        {"exactly enough left", good, size, S_OK, 0},
        {"wrong type byte", wrong, size, E_FAIL, size - 1},
        {"one byte too few left", good, size - 1, QN_E_TOOSHORT, size - 1 - 1},
        {"no byte left", good, 0, QN_E_TOOSHORT, 0},
        {"archive ends inside the value", cut, size + 5, S_FALSE, 5 + 1},
        {"archive empty", {}, size, S_FALSE, size},
    };
}

TEST(CKESTLoadHelper, TypedLoads)
{
    const GUID clsid = {0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
    const GUID zero = {};
    RunTyped<unsigned char>("BYTE", &CKESTLoadHelper::KESTLoadBYTE, 0x11, 0xAB, TypedCases(1, {0xAB}));
    RunTyped<short>("SHORT", &CKESTLoadHelper::KESTLoadSHORT, 0x11, -2, TypedCases(2, {0xFE, 0xFF}));
    RunTyped<LONG>("LONG", &CKESTLoadHelper::KESTLoadLONG, 0x11, 2600, TypedCases(3, Bytes().U32(2600)));
    RunTyped<float>("FLOAT", &CKESTLoadHelper::KESTLoadFLOAT, 7.0f, 1.0f, TypedCases(4, Bytes().U32(0x3F800000)));
    RunTyped<double>("DOUBLE", &CKESTLoadHelper::KESTLoadDOUBLE, 7.0, -2.0,
                     TypedCases(5, Bytes().U64(0xC000000000000000ull)));
    RunTyped<__int64>("INT64", &CKESTLoadHelper::KESTLoadINT64, 7, -3,
                      TypedCases(6, Bytes().U64(0xFFFFFFFFFFFFFFFDull)));
    RunTyped<GUID>("CLSID", &CKESTLoadHelper::KESTLoadCLSID, zero, clsid,
                   TypedCases(7, {0x67, 0x45, 0x23, 0x01, 0xAB, 0x89, 0xEF, 0xCD, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB,
                                  0xCD, 0xEF}));
}

TEST(CKESTLoadHelper, Strings)
{
    CString longText;
    for (int i = 0; i < 1300; ++i) // 2600 bytes: three chunks
        longText += WCHAR(_T('A') + i % 26);
    Bytes longBytes;
    longBytes.U8(8).U32(2600).Utf16(longText);
    // A zero character ends its chunk's text; the next chunk goes on.
    Bytes zeroInChunk;
    zeroInChunk.U8(8).U32(1030);
    for (int i = 0; i < 515; ++i)
        zeroInChunk.U16(i == 3 ? 0 : 'x');

    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        ULONG left;
        HRESULT result;
        CString text; // the string afterwards
        ULONG leftAfter;
    };
    const Case cases[] = {
        {"control: AB", Bytes().U8(8).U32(4).Utf16(_T("AB")), 9, S_OK, CString(_T("AB")), 0},
        {"empty", Bytes().U8(8).U32(0), 5, S_OK, CString(), 0},
        {"across chunks", longBytes, 2605, S_OK, longText, 0},
        {"zero character inside a chunk", zeroInChunk, 1035, S_OK, CString(_T("xxxxxx")), 0},
        {"odd length loses its last byte", Bytes().U8(8).U32(5).Utf16(_T("AB")).U8(0x43), 10, S_OK,
         CString(_T("AB")), 0},
        {"top bit set: empty, no characters", Bytes().U8(8).U32(0x80000004u).Utf16(_T("AB")), 9, S_OK, CString(), 4},
        {"length beyond the bytes left", Bytes().U8(8).U32(0x7FFFFFFF).Utf16(_T("AB")), 9, QN_E_TOOSHORT,
         CString(), 4},
        {"second chunk beyond the bytes left", longBytes, 1500, QN_E_TOOSHORT, longText.Left(512), 1500 - 5 - 1024},
        {"archive ends in the second chunk", Bytes().Raw(std::vector<unsigned char>(longBytes.Get().begin(),
                                                                                     longBytes.Get().begin() + 1200)),
         2605, S_FALSE, longText.Left(512), 2605 - 1200},
        {"length cut short", Bytes().U8(8).U16(4), 9, S_FALSE, CString(_T("kept")), 9 - 3},
        {"wrong type byte", Bytes().U8(3).U32(0), 5, E_FAIL, CString(_T("kept")), 4},
    };
    for (const Case& c : cases) {
        Reader reader(c.bytes);
        CString text(_T("kept"));
        ULONG left = c.left;
        EXPECT_EQ(reader.helper.KESTLoadCSTRING(text, left), c.result) << c.name;
        EXPECT_TRUE(text == c.text) << c.name << ": " << text.GetLength() << " characters";
        EXPECT_EQ(left, c.leftAfter) << c.name;
    }
}

TEST(CKESTLoadHelper, Marks)
{
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        bool head; // which mark is loaded
        ULONG left;
        HRESULT result;
    };
    const Case cases[] = {
        {"control: head mark", {0xEF, 0xEF, 0xEF, 0xEF}, true, 4, S_OK},
        {"control: end marker", {0xDA, 0x50, 0xED, 0x1C}, false, 4, S_OK},
        {"head mark expected, end marker found", {0xDA, 0x50, 0xED, 0x1C}, true, 4, E_FAIL},
        {"end marker in the other byte order", {0x1C, 0xED, 0x50, 0xDA}, false, 4, E_FAIL},
        {"one byte differs", {0xEF, 0xEF, 0xEF, 0xEE}, true, 4, E_FAIL},
        {"too few left", {0xEF, 0xEF, 0xEF, 0xEF}, true, 3, QN_E_TOOSHORT},
        {"archive ends", {0xEF, 0xEF}, true, 4, S_FALSE},
    };
    for (const Case& c : cases) {
        Reader reader(c.bytes);
        ULONG left = c.left;
        const HRESULT hr =
            c.head ? reader.helper.KESTLoadBlockHeadMark(left) : reader.helper.KESTLoadDataEndMarker(left);
        EXPECT_EQ(hr, c.result) << c.name;
        const ULONG consumed = c.result == QN_E_TOOSHORT ? 0 : static_cast<ULONG>(std::min<size_t>(4, c.bytes.size()));
        EXPECT_EQ(left, c.left - consumed) << c.name;
    }
}

TEST(CKESTLoadHelper, LoadAndIgnoreSkipsExactlyOneValue)
{
    struct Case {
        const char* name;
        std::vector<unsigned char> value;
        HRESULT result;
        ULONG consumed;
    };
    const Case cases[] = {
        {"BYTE", Bytes().U8(1).U8(0), S_OK, 2},
        {"SHORT", Bytes().U8(2).U16(0), S_OK, 3},
        {"LONG", Bytes().U8(3).U32(0), S_OK, 5},
        {"FLOAT", Bytes().U8(4).U32(0), S_OK, 5},
        {"DOUBLE", Bytes().U8(5).U64(0), S_OK, 9},
        {"INT64", Bytes().U8(6).U64(0), S_OK, 9},
        {"CLSID", Bytes().U8(7).U64(0).U64(0), S_OK, 17},
        {"CSTRING", Bytes().U8(8).U32(6).Utf16(_T("abc")), S_OK, 11},
        {"CSTRING, top bit", Bytes().U8(8).U32(0xFFFFFFFE), S_OK, 5},
        {"type 0", Bytes().U8(0).U32(0), E_FAIL, 1},
        {"type 9", Bytes().U8(9).U32(0), E_FAIL, 1},
        {"type 255", Bytes().U8(255).U32(0), E_FAIL, 1},
        {"raw mark bytes", Bytes().U32(0xEFEFEFEF), E_FAIL, 1},
    };
    for (const Case& c : cases) {
        // The value, then a sentinel byte that must stay unread.
        Reader reader(Bytes().Raw(c.value).U8(0xA5));
        ULONG left = static_cast<ULONG>(c.value.size()) + 1;
        EXPECT_EQ(reader.helper.KESTLoadAndIgnore(left), c.result) << c.name;
        EXPECT_EQ(left, c.value.size() + 1 - c.consumed) << c.name;
        if (c.result == S_OK) {
            EXPECT_EQ(reader.NextByte(), 0xA5) << c.name;
        }
    }
}

// A sequence of typed values whose block length runs out at every offset:
// the load that crosses the end fails with QN_E_TOOSHORT, no load reads past
// the end of the block, and the archive's position matches the count.
TEST(CKESTLoadHelper, BytesLeftRunOutAtEveryOffset)
{
    CKESTSaveHelper saved;
    ASSERT_EQ(saved.KESTSaveLONG(1), S_OK);
    ASSERT_EQ(saved.KESTSaveCSTRING(CString(_T("Motor"))), S_OK);
    ASSERT_EQ(saved.KESTSaveDOUBLE(0.5), S_OK);
    ASSERT_EQ(saved.KESTSaveBYTE(2), S_OK);
    const std::vector<unsigned char> bytes = qntest::HelperBytes(saved);
    const ULONG total = static_cast<ULONG>(bytes.size());

    for (ULONG block = 0; block <= total; ++block) {
        Reader reader(Bytes().Raw(bytes).U8(0xA5));
        ULONG left = block;
        LONG number = 0;
        CString text;
        double real = 0;
        unsigned char byte = 0;
        HRESULT hr = reader.helper.KESTLoadLONG(number, left);
        if (hr == S_OK)
            hr = reader.helper.KESTLoadCSTRING(text, left);
        if (hr == S_OK)
            hr = reader.helper.KESTLoadDOUBLE(real, left);
        if (hr == S_OK)
            hr = reader.helper.KESTLoadBYTE(byte, left);
        EXPECT_EQ(hr, block == total ? S_OK : QN_E_TOOSHORT) << "block of " << block;
        const ULONG consumed = block - left;
        EXPECT_LE(consumed, block);
        const int next = reader.NextByte();
        EXPECT_EQ(next, consumed < total ? bytes[consumed] : 0xA5) << "block of " << block;
    }
}

TEST(CKESTLoadHelper, RoundTripThroughAnArchive)
{
    const GUID clsid = {0xDEADBEEF, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
    CKESTSaveHelper payload;
    ASSERT_EQ(payload.KESTSaveBYTE(200), S_OK);
    ASSERT_EQ(payload.KESTSaveSHORT(-32768), S_OK);
    ASSERT_EQ(payload.KESTSaveLONG(-2147483647 - 1), S_OK);
    ASSERT_EQ(payload.KESTSaveFLOAT(0.25f), S_OK);
    ASSERT_EQ(payload.KESTSaveDOUBLE(1e300), S_OK);
    ASSERT_EQ(payload.KESTSaveINT64(0x7FFFFFFFFFFFFFFFll), S_OK);
    ASSERT_EQ(payload.KESTSaveCLSID(clsid), S_OK);
    ASSERT_EQ(payload.KESTSaveCSTRING(CString(_T("Tank \u00B0C"))), S_OK);
    ASSERT_EQ(payload.KESTSaveDataEndMarker(), S_OK);

    Reader archive(qntest::HelperBytes(payload));
    CKESTLoadHelper& reader = archive.helper;
    ULONG length = payload.KESTGetLength();

    unsigned char b = 0;
    short s = 0;
    LONG l = 0;
    float f = 0;
    double d = 0;
    __int64 i = 0;
    GUID g = {};
    CString t;
    EXPECT_EQ(reader.KESTLoadBYTE(b, length), S_OK);
    EXPECT_EQ(reader.KESTLoadSHORT(s, length), S_OK);
    EXPECT_EQ(reader.KESTLoadLONG(l, length), S_OK);
    EXPECT_EQ(reader.KESTLoadFLOAT(f, length), S_OK);
    EXPECT_EQ(reader.KESTLoadDOUBLE(d, length), S_OK);
    EXPECT_EQ(reader.KESTLoadINT64(i, length), S_OK);
    EXPECT_EQ(reader.KESTLoadCLSID(g, length), S_OK);
    EXPECT_EQ(reader.KESTLoadCSTRING(t, length), S_OK);
    EXPECT_EQ(reader.KESTLoadDataEndMarker(length), S_OK);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(b, 200);
    EXPECT_EQ(s, -32768);
    EXPECT_EQ(l, -2147483647 - 1);
    EXPECT_EQ(f, 0.25f);
    EXPECT_EQ(d, 1e300);
    EXPECT_EQ(i, 0x7FFFFFFFFFFFFFFFll);
    EXPECT_TRUE(IsEqualGUID(g, clsid));
    EXPECT_TRUE(t == _T("Tank \u00B0C"));
}

TEST(CKESTLoadHelper, FileExceptionIsShownOnceAndBecomesEFail)
{
    MessageBoxRecorder boxes;
    Reader reader(Bytes().U8(3).U32(7), FaultyFile::ThrowOnRead, 0);
    LONG value = 1;
    ULONG left = 5;
    EXPECT_EQ(reader.helper.KESTLoadLONG(value, left), E_FAIL);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(left, 5u);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text == qntest::FileErrorMessage(CFileException::hardIO, 1117));
}

TEST(CKESTLoadHelper, ReadingAStoringArchiveIsNotCaught)
{
    MessageBoxRecorder boxes;
    FaultyFile file(FaultyFile::None);
    CArchive archive(&file, CArchive::store);
    CKESTLoadHelper helper;
    helper.KESTSetArchive(&archive);
    LONG value = 0;
    ULONG left = 5;
    bool raised = false;
    try {
        (void)helper.KESTLoadLONG(value, left);
    } catch (CArchiveException* e) {
        raised = true;
        e->Delete();
    }
    EXPECT_TRUE(raised);
    EXPECT_EQ(boxes.Boxes().size(), 0u);
}

} // namespace
