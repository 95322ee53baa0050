// CKESTSaveHelper and CKESTLoadHelper: the bytes of every value and mark, the
// bytes-left accounting of every load against faults at every offset, strings
// across chunks, skipping, destinations, copies, and file and memory
// exceptions.
#include <QNBlock.h>
#include <support/FaultSweep.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

using qntest::BlockSource;
using qntest::Bytes;
using qntest::FaultyFile;
using qntest::HelperBytes;
using qntest::Injection;
using qntest::ReadFault;

using Bytes8 = std::vector<unsigned char>;

const GUID kClsid = {0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
const Bytes8 kClsidBytes = {0x67, 0x45, 0x23, 0x01, 0xAB, 0x89, 0xEF, 0xCD,
                            0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
const Injection kNoFault = {false, ReadFault::End, 0};

// --- Saving ----------------------------------------------------------------------

TEST(CKESTSaveHelper, SavedBytes)
{
    struct Case {
        const char* name;
        std::function<HRESULT(CKESTSaveHelper&)> save;
        Bytes8 bytes;
    };
    const Case cases[] = {
        {"raw", [](CKESTSaveHelper& h) { return h.KESTSave("\x01\x02\x03", 3); }, {1, 2, 3}},
        {"raw, none", [](CKESTSaveHelper& h) { return h.KESTSave(nullptr, 0); }, {}},
        {"BYTE", [](CKESTSaveHelper& h) { return h.KESTSaveBYTE(0xAB); }, {0x01, 0xAB}},
        {"SHORT", [](CKESTSaveHelper& h) { return h.KESTSaveSHORT(-2); }, {0x02, 0xFE, 0xFF}},
        {"LONG", [](CKESTSaveHelper& h) { return h.KESTSaveLONG(2600); }, {0x03, 0x28, 0x0A, 0x00, 0x00}},
        {"FLOAT", [](CKESTSaveHelper& h) { return h.KESTSaveFLOAT(1.0f); }, {0x04, 0x00, 0x00, 0x80, 0x3F}},
        {"DOUBLE", [](CKESTSaveHelper& h) { return h.KESTSaveDOUBLE(-2.0); }, Bytes().U8(5).U64(0xC000000000000000ull)},
        {"INT64", [](CKESTSaveHelper& h) { return h.KESTSaveINT64(-3); }, Bytes().U8(6).U64(0xFFFFFFFFFFFFFFFDull)},
        {"CLSID", [](CKESTSaveHelper& h) { return h.KESTSaveCLSID(kClsid); }, Bytes().U8(7).Raw(kClsidBytes)},
        {"CSTRING", [](CKESTSaveHelper& h) { return h.KESTSaveCSTRING(CString(_T("A\u20AC"))); },
         {0x08, 0x04, 0, 0, 0, 0x41, 0x00, 0xAC, 0x20}},
        {"CSTRING empty", [](CKESTSaveHelper& h) { return h.KESTSaveCSTRING(CString()); }, {0x08, 0, 0, 0, 0}},
        {"head mark", [](CKESTSaveHelper& h) { return h.KESTSaveBlockHeadMark(); }, {0xEF, 0xEF, 0xEF, 0xEF}},
        {"end marker", [](CKESTSaveHelper& h) { return h.KESTSaveDataEndMarker(); }, {0xDA, 0x50, 0xED, 0x1C}},
    };
    for (const Case& c : cases) {
        CKESTSaveHelper helper;
        EXPECT_EQ(c.save(helper), S_OK) << c.name;
        EXPECT_EQ(helper.KESTGetLength(), c.bytes.size()) << c.name;
        EXPECT_EQ(HelperBytes(helper), c.bytes) << c.name;
    }
}

TEST(CKESTSaveHelper, DestinationsAndCopies)
{
    CKESTSaveHelper source, destination;
    ASSERT_EQ(source.KESTSaveBYTE(9), S_OK);
    EXPECT_EQ(source.KESTSave(destination, "xy", 2), S_OK);
    EXPECT_EQ(source.KESTSaveBlockHeadMark(destination), S_OK);
    EXPECT_EQ(source.KESTSaveDataEndMarker(destination), S_OK);
    EXPECT_EQ(HelperBytes(destination), Bytes().U8('x').U8('y').U32(0xEFEFEFEF).U32(0x1CED50DA).Get());
    EXPECT_EQ(HelperBytes(source), (Bytes8{0x01, 9})) << "the source stays untouched";

    // A copy takes the whole content whatever the position, and leaves the
    // position at the end; a copy into itself doubles the content.
    Bytes8 content;
    for (int i = 0; i < 2500; ++i) // several chunks
        content.push_back(static_cast<unsigned char>(i * 7));
    CKESTSaveHelper big, into;
    ASSERT_EQ(big.KESTSave(content.data(), static_cast<ULONG>(content.size())), S_OK);
    big.KESTGetIntenalStorage().Seek(100, CFile::begin);
    EXPECT_EQ(big.KESTCopyData(into), S_OK);
    EXPECT_EQ(HelperBytes(into), content);
    ASSERT_EQ(big.KESTSaveBYTE(1), S_OK);
    EXPECT_EQ(big.KESTGetLength(), content.size() + 2);
    EXPECT_EQ(into.KESTCopyData(into), S_OK);
    EXPECT_EQ(into.KESTGetLength(), 2 * content.size());

    FaultyFile file(FaultyFile::None);
    {
        CArchive archive(&file, CArchive::store);
        EXPECT_EQ(source.KESTSaveBlockHeadMark(archive), S_OK);
        EXPECT_EQ(source.KESTSave(archive, "\x28\x0A", 2), S_OK);
        EXPECT_EQ(source.KESTCopyData(archive), S_OK);
        EXPECT_EQ(source.KESTSaveDataEndMarker(archive), S_OK);
        archive.Close();
    }
    EXPECT_EQ(file.Bytes(), Bytes().U32(0xEFEFEFEF).U8(0x28).U8(0x0A).U8(1).U8(9).U32(0x1CED50DA).Get());

    FaultyFile loading(Bytes().U32(77), FaultyFile::None);
    CArchive archive(&loading, CArchive::load);
    EXPECT_EQ(source.KESTCopyData(archive), E_FAIL) << "a loading archive takes no copy";
    EXPECT_EQ(loading.Writes(), 0);
}

// The file under the archive raises a file exception on every write: E_FAIL
// and the exception's own message once; the helper keeps its content.
TEST(CKESTSaveHelper, FileExceptionOnEveryWrite)
{
    MessageBoxRecorder boxes;
    CKESTSaveHelper helper;
    Bytes8 content(5000, 0x5A);
    ASSERT_EQ(helper.KESTSave(content.data(), static_cast<ULONG>(content.size())), S_OK);
    FaultyFile file(FaultyFile::ThrowOnWrite);
    {
        CArchive archive(&file, CArchive::store, 128);
        EXPECT_EQ(helper.KESTCopyData(archive), E_FAIL);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_TRUE(boxes.Boxes()[0].text == qntest::FileErrorMessage(CFileException::diskFull, 112));
        EXPECT_EQ(boxes.Boxes()[0].type & 0x0F, UINT(MB_OK));
        EXPECT_EQ(helper.KESTSave(archive, content.data(), 1000), E_FAIL);
        EXPECT_EQ(boxes.Boxes().size(), 2u);
        archive.Abort();
    }
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(HelperBytes(helper), content);
}

class ThrowingHelper final : public CKESTSaveHelper {
public:
    void Write(const void*, UINT) override { AfxThrowFileException(CFileException::diskFull, 112, _T("panel.dat")); }
};

TEST(CKESTSaveHelper, TypedSavesReturnTheFirstFailure)
{
    const std::function<HRESULT(CKESTSaveHelper&)> saves[] = {
        [](CKESTSaveHelper& h) { return h.KESTSave("a", 1); },
        [](CKESTSaveHelper& h) { return h.KESTSaveBYTE(1); },
        [](CKESTSaveHelper& h) { return h.KESTSaveSHORT(1); },
        [](CKESTSaveHelper& h) { return h.KESTSaveLONG(1); },
        [](CKESTSaveHelper& h) { return h.KESTSaveFLOAT(1); },
        [](CKESTSaveHelper& h) { return h.KESTSaveDOUBLE(1); },
        [](CKESTSaveHelper& h) { return h.KESTSaveINT64(1); },
        [](CKESTSaveHelper& h) { return h.KESTSaveCLSID(kClsid); },
        [](CKESTSaveHelper& h) { return h.KESTSaveCSTRING(CString(_T("abc"))); },
        [](CKESTSaveHelper& h) { return h.KESTSaveBlockHeadMark(); },
        [](CKESTSaveHelper& h) { return h.KESTSaveDataEndMarker(); },
    };
    for (const auto& save : saves) {
        MessageBoxRecorder boxes;
        ThrowingHelper helper;
        EXPECT_EQ(save(helper), E_FAIL);
        EXPECT_EQ(boxes.Boxes().size(), 1u) << "one failure, one message: the value is not written after the type byte";
    }
}

// The memory file grows in steps of 1024 bytes; a growth that fails raises the
// memory exception, which passes through the helper without a message.
class RecordingHelper final : public CKESTSaveHelper {
public:
    std::vector<UINT_PTR> sizes;
    bool fail = false;

protected:
    BYTE* Alloc(UINT_PTR nBytes) override
    {
        sizes.push_back(nBytes);
        return fail ? nullptr : CKESTSaveHelper::Alloc(nBytes);
    }
    BYTE* Realloc(BYTE* lpMem, UINT_PTR nBytes) override
    {
        sizes.push_back(nBytes);
        return fail ? nullptr : CKESTSaveHelper::Realloc(lpMem, nBytes);
    }
};

TEST(CKESTSaveHelper, GrowthInStepsOf1024AndItsFailure)
{
    RecordingHelper helper;
    ASSERT_EQ(helper.KESTSaveBYTE(1), S_OK);
    Bytes8 more(1024, 0);
    ASSERT_EQ(helper.KESTSave(more.data(), static_cast<ULONG>(more.size())), S_OK);
    EXPECT_EQ(helper.sizes, (std::vector<UINT_PTR>{1024, 2048}));

    MessageBoxRecorder boxes;
    RecordingHelper failing;
    failing.fail = true;
    bool raised = false;
    try {
        (void)failing.KESTSaveLONG(1);
    } catch (CMemoryException* e) {
        raised = true;
        e->Delete();
    }
    EXPECT_TRUE(raised);
    EXPECT_EQ(boxes.Boxes().size(), 0u);
}

// --- Loading -----------------------------------------------------------------------

TEST(CKESTLoadHelper, RawLoad)
{
    struct Case {
        const char* name;
        size_t available;  // bytes in the archive
        ULONG asked, left; // count asked for, bytes left in the block
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
        Bytes8 bytes;
        for (size_t i = 0; i < c.available; ++i)
            bytes.push_back(static_cast<unsigned char>(i));
        BlockSource source(bytes, kNoFault);
        unsigned char buffer[8] = {};
        ULONG count = c.asked, left = c.left;
        EXPECT_EQ(source.helper.KESTLoad(buffer, count, left), c.result) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
        EXPECT_EQ(left, c.leftAfter) << c.name;
        EXPECT_EQ(source.NextByte(), c.next) << c.name;
    }
    CKESTLoadHelper unattached;
    unsigned char byte = 0;
    ULONG count = 1, left = 5;
    EXPECT_EQ(unattached.KESTLoad(&byte, count, left), E_FAIL);
    EXPECT_EQ(left, 5u);
}

// A typed load into a target that starts as `before`; on S_OK it holds
// `expected`, otherwise `before`. Whatever the fault, the archive stands where
// the bytes-left count says.
template <class T>
qntest::FaultedLoad Typed(HRESULT (CKESTLoadHelper::*load)(T&, ULONG&), T before, T expected)
{
    return [=](const Bytes8& bytes, const Injection& at) {
        const Bytes8 full = Bytes().Raw(bytes).U8(0xA5);
        BlockSource source(full, at);
        source.left = std::min<ULONG>(source.left, static_cast<ULONG>(bytes.size()));
        const ULONG start = source.left;
        T value = before;
        const HRESULT hr = (source.helper.*load)(value, source.left);
        const T& wanted = hr == S_OK ? expected : before;
        EXPECT_EQ(std::memcmp(&value, &wanted, sizeof value), 0);
        if (!source.fileFails) {
            const size_t consumed = start - source.left;
            const size_t available = at.active && at.fault == ReadFault::FileEnds ? at.offset : full.size();
            EXPECT_EQ(source.NextByte(), consumed < available ? full[consumed] : -1);
        }
        return hr;
    };
}

const std::vector<std::pair<ReadFault, HRESULT>> kBlockFaults = {
    {ReadFault::LengthEnds, QN_E_TOOSHORT}, {ReadFault::FileEnds, S_FALSE}, {ReadFault::FileFails, E_FAIL}};

TEST(CKESTLoadHelper, TypedLoadsAgainstFaults)
{
    CString text;
    const qntest::LoadRow rows[] = {
        {"BYTE", {1, 0xAB}, Typed<unsigned char>(&CKESTLoadHelper::KESTLoadBYTE, 0x11, 0xAB), kBlockFaults},
        {"SHORT", {2, 0xFE, 0xFF}, Typed<short>(&CKESTLoadHelper::KESTLoadSHORT, 0x11, -2), kBlockFaults},
        {"LONG", Bytes().U8(3).U32(2600), Typed<LONG>(&CKESTLoadHelper::KESTLoadLONG, 0x11, 2600), kBlockFaults},
        {"FLOAT", Bytes().U8(4).U32(0x3F800000), Typed<float>(&CKESTLoadHelper::KESTLoadFLOAT, 7.0f, 1.0f),
         kBlockFaults},
        {"DOUBLE", Bytes().U8(5).U64(0xC000000000000000ull),
         Typed<double>(&CKESTLoadHelper::KESTLoadDOUBLE, 7.0, -2.0), kBlockFaults},
        {"INT64", Bytes().U8(6).U64(0xFFFFFFFFFFFFFFFDull), Typed<__int64>(&CKESTLoadHelper::KESTLoadINT64, 7, -3),
         kBlockFaults},
        {"CLSID", Bytes().U8(7).Raw(kClsidBytes), Typed<GUID>(&CKESTLoadHelper::KESTLoadCLSID, GUID{}, kClsid),
         kBlockFaults},
        // A sequence: the load that crosses the end of the block fails, and
        // no load reads past it.
        {"LONG, CSTRING, DOUBLE, BYTE", Bytes().U8(3).U32(1).U8(8).U32(10).Utf16(_T("Motor")).U8(5).U64(0).U8(1).U8(2),
         [](const Bytes8& bytes, const Injection& at) {
             BlockSource source(Bytes().Raw(bytes).U8(0xA5), at);
             source.left = std::min<ULONG>(source.left, static_cast<ULONG>(bytes.size()));
             LONG number = 0;
             CString name;
             double real = 0;
             unsigned char byte = 0;
             HRESULT hr = source.helper.KESTLoadLONG(number, source.left);
             if (hr == S_OK)
                 hr = source.helper.KESTLoadCSTRING(name, source.left);
             if (hr == S_OK)
                 hr = source.helper.KESTLoadDOUBLE(real, source.left);
             if (hr == S_OK)
                 hr = source.helper.KESTLoadBYTE(byte, source.left);
             if (at.active && at.fault == ReadFault::LengthEnds) {
                 const size_t consumed = at.offset - source.left;
                 EXPECT_EQ(source.NextByte(), consumed < bytes.size() ? bytes[consumed] : 0xA5);
             }
             EXPECT_TRUE(hr != S_OK || name == _T("Motor"));
             return hr;
         },
         {{ReadFault::LengthEnds, QN_E_TOOSHORT}, {ReadFault::FileFails, E_FAIL}}},
    };
    for (const qntest::LoadRow& row : rows)
        qntest::SweepReadFaults(row);

    // A wrong type byte: E_FAIL after the type byte.
    for (unsigned char type : {0, 2, 9, 255}) {
        BlockSource source(Bytes().U8(type).U32(2600), kNoFault);
        LONG value = 7;
        EXPECT_EQ(source.helper.KESTLoadLONG(value, source.left), E_FAIL) << int(type);
        EXPECT_EQ(value, 7);
        EXPECT_EQ(source.left, 4u);
    }
    CKESTLoadHelper unattached;
    LONG value = 0;
    ULONG left = 5;
    EXPECT_EQ(unattached.KESTLoadLONG(value, left), E_FAIL);
}

TEST(CKESTLoadHelper, Strings)
{
    CString longText;
    for (int i = 0; i < 1300; ++i) // 2600 bytes: three chunks
        longText += WCHAR(_T('A') + i % 26);
    const Bytes8 longBytes = Bytes().U8(8).U32(2600).Utf16(longText);
    Bytes zeroInChunk; // a zero character ends its chunk's text; the next chunk goes on
    zeroInChunk.U8(8).U32(1030);
    for (int i = 0; i < 515; ++i)
        zeroInChunk.U16(i == 3 ? 0 : 'x');

    struct Case {
        const char* name;
        Bytes8 bytes;
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
        {"length 1: the byte is read, no character", Bytes().U8(8).U32(1).U8(0x41), 6, S_OK, CString(), 0},
        {"top bit set: empty", Bytes().U8(8).U32(0x80000004u).Utf16(_T("AB")), 9, S_OK, CString(), 4},
        {"length beyond the bytes left", Bytes().U8(8).U32(0x7FFFFFFF).Utf16(_T("AB")), 9, QN_E_TOOSHORT, CString(),
         4},
        {"second chunk beyond the bytes left", longBytes, 1500, QN_E_TOOSHORT, longText.Left(512), 1500 - 5 - 1024},
        {"archive ends in the second chunk", Bytes8(longBytes.begin(), longBytes.begin() + 1200), 2605, S_FALSE,
         longText.Left(512), 2605 - 1200},
        {"length cut short", Bytes().U8(8).U16(4), 9, S_FALSE, CString(_T("kept")), 9 - 3},
        {"wrong type byte", Bytes().U8(3).U32(0), 5, E_FAIL, CString(_T("kept")), 4},
    };
    for (const Case& c : cases) {
        BlockSource source(c.bytes, kNoFault);
        CString text(_T("kept"));
        ULONG left = c.left;
        EXPECT_EQ(source.helper.KESTLoadCSTRING(text, left), c.result) << c.name;
        EXPECT_TRUE(text == c.text) << c.name << ": " << text.GetLength() << " characters";
        EXPECT_EQ(left, c.leftAfter) << c.name;
    }
}

TEST(CKESTLoadHelper, Marks)
{
    struct Case {
        const char* name;
        Bytes8 bytes;
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
        BlockSource source(c.bytes, kNoFault);
        ULONG left = c.left;
        EXPECT_EQ(c.head ? source.helper.KESTLoadBlockHeadMark(left) : source.helper.KESTLoadDataEndMarker(left),
                  c.result)
            << c.name;
        const ULONG consumed = c.result == QN_E_TOOSHORT ? 0 : static_cast<ULONG>(std::min<size_t>(4, c.bytes.size()));
        EXPECT_EQ(left, c.left - consumed) << c.name;
    }
}

TEST(CKESTLoadHelper, LoadAndIgnoreSkipsExactlyOneValue)
{
    struct Case {
        const char* name;
        Bytes8 value;
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
        {"raw mark bytes", Bytes().U32(0xEFEFEFEF), E_FAIL, 1},
    };
    for (const Case& c : cases) {
        BlockSource source(Bytes().Raw(c.value).U8(0xA5), kNoFault); // a sentinel that must stay unread
        ULONG left = static_cast<ULONG>(c.value.size()) + 1;
        EXPECT_EQ(source.helper.KESTLoadAndIgnore(left), c.result) << c.name;
        EXPECT_EQ(left, c.value.size() + 1 - c.consumed) << c.name;
        if (c.result == S_OK)
            EXPECT_EQ(source.NextByte(), 0xA5) << c.name;
    }
}

TEST(CKESTLoadHelper, FileExceptionMessageAndStoringArchive)
{
    {
        BlockSource source(Bytes().U8(3).U32(7), {true, ReadFault::FileFails, 0});
        LONG value = 1;
        EXPECT_EQ(source.helper.KESTLoadLONG(value, source.left), E_FAIL);
        ASSERT_EQ(source.boxes.Boxes().size(), 1u);
        EXPECT_TRUE(source.boxes.Boxes()[0].text == qntest::FileErrorMessage(CFileException::hardIO, 1117));
    }
    // Reading a storing archive is a programming error, not caught.
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
