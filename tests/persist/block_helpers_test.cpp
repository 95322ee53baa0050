// CKESTSaveHelper and CKESTLoadHelper: each value's and mark's bytes with each
// write failing, destinations and copies, every load's result and bytes-left
// accounting, faults at every offset, and memory running out.
#include <QNBlock.h>
#include <support/AllocationFaults.h>
#include <support/FaultSweep.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

using qntest::BlockSource;
using qntest::Bytes;
using qntest::FaultyFile;
using qntest::FileBytes;
using qntest::Injection;
using qntest::ReadFault;

using Bytes8 = std::vector<unsigned char>;

const GUID kClsid = {0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
const Bytes8 kClsidBytes = {0x67, 0x45, 0x23, 0x01, 0xAB, 0x89, 0xEF, 0xCD,
                            0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};

TEST(CKESTSaveHelper, SavedBytesAndFailingWrites)
{
    const struct {
        const char* name;
        std::function<HRESULT(CKESTSaveHelper&)> save;
        Bytes8 bytes;
    } rows[] = {
        {"raw", [](CKESTSaveHelper& h) { return h.KESTSave("\x01\x02\x03", 3); }, {1, 2, 3}},
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
        {"into a destination helper",
         [](CKESTSaveHelper& h) {
             CKESTSaveHelper source;
             source.KESTSaveBYTE(9);
             HRESULT hr = source.KESTSave(h, "xy", 2);
             hr = hr == S_OK ? source.KESTSaveBlockHeadMark(h) : hr;
             hr = hr == S_OK ? source.KESTSaveDataEndMarker(h) : hr;
             hr = hr == S_OK ? source.KESTCopyData(h) : hr;
             EXPECT_EQ(FileBytes(source), (Bytes8{0x01, 9})) << "the source stays as it was";
             return hr;
         },
         Bytes().U8('x').U8('y').U32(0xEFEFEFEF).U32(0x1CED50DA).U8(1).U8(9)},
    };
    for (const auto& row : rows)
        qntest::SweepHelperWrites(row.name, row.save, row.bytes);
}

TEST(CKESTSaveHelper, CopiesAndArchives)
{
    // A copy takes the whole content (several chunks) whatever the position,
    // and leaves the position at the end; a copy into itself doubles it.
    Bytes8 content(2500);
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<unsigned char>(i * 7);
    CKESTSaveHelper big, into;
    ASSERT_EQ(big.KESTSave(content.data(), static_cast<ULONG>(content.size())), S_OK);
    big.Seek(100, CFile::begin);
    EXPECT_EQ(big.KESTCopyData(into), S_OK);
    ASSERT_EQ(big.KESTSaveBYTE(1), S_OK);
    EXPECT_EQ(FileBytes(big), Bytes().Raw(content).U8(1).U8(1).Get());
    EXPECT_EQ(&big.KESTGetIntenalStorage(), static_cast<CMemFile*>(&big));
    EXPECT_EQ(into.KESTCopyData(into), S_OK);
    EXPECT_EQ(FileBytes(into), Bytes().Raw(content).Raw(content).Get());

    FaultyFile file({});
    {
        CArchive archive(&file, CArchive::store);
        EXPECT_EQ(into.KESTSaveBlockHeadMark(archive), S_OK);
        EXPECT_EQ(into.KESTSave(archive, "\x28\x0A", 2), S_OK);
        EXPECT_EQ(big.KESTCopyData(archive), S_OK);
        EXPECT_EQ(into.KESTSaveDataEndMarker(archive), S_OK);
    }
    EXPECT_EQ(FileBytes(file), Bytes().U32(0xEFEFEFEF).U16(0x0A28).Raw(FileBytes(big)).U32(0x1CED50DA).Get());
    CArchive reading(&file, CArchive::load);
    EXPECT_EQ(big.KESTCopyData(reading), E_FAIL) << "a loading archive takes no copy";

    // A file that fails every write: E_FAIL with the exception's own message
    // once per call; the helper keeps its content.
    MessageBoxRecorder boxes;
    qntest::FailingHelper full(1);
    CArchive archive(&full, CArchive::store, 128);
    EXPECT_EQ(big.KESTCopyData(archive), E_FAIL);
    EXPECT_EQ(big.KESTSave(archive, content.data(), 1000), E_FAIL);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    WCHAR message[1024] = {};
    CFileException(CFileException::diskFull, 112, _T("panel.dat")).GetErrorMessage(message, 1024);
    EXPECT_TRUE(boxes.Boxes()[0].text == message) << "the exception's own message";
    EXPECT_EQ(boxes.Boxes()[0].type & 0x0F, UINT(MB_OK));
    EXPECT_EQ(big.KESTGetLength(), content.size() + 2);
    archive.Abort();
}

// The memory file grows in steps of 1024 bytes; a growth that fails raises the
// memory exception, which passes through the helper without a message.
TEST(CKESTSaveHelper, GrowthAndMemory)
{
    class RecordingHelper final : public CKESTSaveHelper {
    public:
        std::vector<UINT_PTR> sizes;
        BYTE* Realloc(BYTE* block, UINT_PTR bytes) override
        {
            sizes.push_back(bytes);
            return CKESTSaveHelper::Realloc(block, bytes);
        }
    } helper;
    const Bytes8 more(1024, 0);
    ASSERT_EQ(helper.KESTSave(more.data(), 1), S_OK);
    ASSERT_EQ(helper.KESTSave(more.data(), 1024), S_OK);
    EXPECT_EQ(helper.sizes, (std::vector<UINT_PTR>{2048})) << "1024, then 2048";
#ifdef QN_NATIVE
    qntest::SweepAllocationFaults({"growth", [](const qntest::Armed& armed) {
                                       MessageBoxRecorder boxes;
                                       CKESTSaveHelper fresh;
                                       const HRESULT hr = armed([&] { return fresh.KESTSaveLONG(1); });
                                       EXPECT_EQ(boxes.Boxes().size(), 0u);
                                       return hr;
                                   },
                                   {qntest::kRaisedMemory}});
#endif
}

// One load on the bytes with `left` bytes left: its result, what it left and
// the text it read (raw loads: the count they report).
using Load = std::function<HRESULT(CKESTLoadHelper&, ULONG& left, CString& text)>;

TEST(CKESTLoadHelper, Loads)
{
    CString longText;
    for (int i = 0; i < 1300; ++i) // 2600 bytes: three chunks
        longText += WCHAR(_T('A') + i % 26);
    const Bytes8 longBytes = Bytes().U8(8).U32(2600).Utf16(longText);
    Bytes zeroInChunk; // a zero character ends its chunk's text; the next chunk goes on
    zeroInChunk.U8(8).U32(1030);
    for (int i = 0; i < 515; ++i)
        zeroInChunk.U16(i == 3 ? 0 : 'x');
    const Load raw4 = [](CKESTLoadHelper& h, ULONG& left, CString& text) {
        unsigned char buffer[4];
        ULONG asked = 4;
        const HRESULT hr = h.KESTLoad(buffer, asked, left);
        text.Format(_T("%lu"), asked);
        return hr;
    };
    const Load text = [](CKESTLoadHelper& h, ULONG& left, CString& t) { return h.KESTLoadCSTRING(t, left); };
    const Load head = [](CKESTLoadHelper& h, ULONG& left, CString&) { return h.KESTLoadBlockHeadMark(left); };
    const Load end = [](CKESTLoadHelper& h, ULONG& left, CString&) { return h.KESTLoadDataEndMarker(left); };
    const Load skip = [](CKESTLoadHelper& h, ULONG& left, CString&) { return h.KESTLoadAndIgnore(left); };
    const Load number = [](CKESTLoadHelper& h, ULONG& left, CString&) {
        LONG value = 7;
        const HRESULT hr = h.KESTLoadLONG(value, left);
        EXPECT_EQ(value, hr == S_OK ? 2600 : 7);
        return hr;
    };
    const struct {
        const char* name;
        Load load;
        Bytes8 bytes;
        ULONG left;
        HRESULT result;
        ULONG leftAfter;
        CString text; // "kept" when the load does not touch it
    } cases[] = {
        {"raw", raw4, {1, 2, 3, 4, 5}, 8, S_OK, 4, CString(_T("4"))},
        {"raw, fewer left than asked", raw4, {1, 2, 3, 4, 5}, 3, QN_E_TOOSHORT, 3, CString(_T("4"))},
        {"raw, short read", raw4, {1, 2, 3}, 10, S_FALSE, 7, CString(_T("3"))},
        {"raw, at the end", raw4, {}, 10, S_FALSE, 10, CString(_T("0"))},
        {"LONG, type 0", number, {0, 0x28, 0x0A, 0, 0}, 5, E_FAIL, 4, CString(_T("kept"))},
        {"head mark", head, {0xEF, 0xEF, 0xEF, 0xEF}, 4, S_OK, 0, CString(_T("kept"))},
        {"end marker", end, {0xDA, 0x50, 0xED, 0x1C}, 4, S_OK, 0, CString(_T("kept"))},
        {"end marker in the other byte order", end, {0x1C, 0xED, 0x50, 0xDA}, 4, E_FAIL, 0, CString(_T("kept"))},
        {"head mark, one byte differs", head, {0xEF, 0xEF, 0xEF, 0xEE}, 4, E_FAIL, 0, CString(_T("kept"))},
        {"head mark, too few left", head, {0xEF, 0xEF, 0xEF, 0xEF}, 3, QN_E_TOOSHORT, 3, CString(_T("kept"))},
        {"end marker, archive ends", end, {0xDA, 0x50}, 4, S_FALSE, 2, CString(_T("kept"))},
        {"skip CSTRING, top bit", skip, Bytes().U8(8).U32(0xFFFFFFFE).U8(0xA5), 6, S_OK, 1, CString(_T("kept"))},
        {"skip type 0", skip, Bytes().U8(0).U32(0), 5, E_FAIL, 4, CString(_T("kept"))},
        {"skip type 9", skip, Bytes().U8(9).U32(0), 5, E_FAIL, 4, CString(_T("kept"))},
        {"CSTRING AB", text, Bytes().U8(8).U32(4).Utf16(_T("AB")), 9, S_OK, 0, CString(_T("AB"))},
        {"CSTRING empty", text, Bytes().U8(8).U32(0), 5, S_OK, 0, CString()},
        {"CSTRING across chunks", text, longBytes, 2605, S_OK, 0, longText},
        {"CSTRING, zero character inside a chunk", text, zeroInChunk, 1035, S_OK, 0, CString(_T("xxxxxx"))},
        {"CSTRING, odd length loses its last byte", text, Bytes().U8(8).U32(5).Utf16(_T("AB")).U8(0x43), 10, S_OK,
         0, CString(_T("AB"))},
        {"CSTRING, length 1", text, Bytes().U8(8).U32(1).U8(0x41), 6, S_OK, 0, CString()},
        {"CSTRING, top bit set: empty", text, Bytes().U8(8).U32(0x80000004u).Utf16(_T("AB")), 9, S_OK, 4, CString()},
        {"CSTRING beyond the bytes left", text, Bytes().U8(8).U32(0x7FFFFFFF).Utf16(_T("AB")), 9, QN_E_TOOSHORT, 4,
         CString()},
        {"CSTRING, second chunk beyond the bytes left", text, longBytes, 1500, QN_E_TOOSHORT, 1500 - 5 - 1024,
         longText.Left(512)},
        {"CSTRING, archive ends in the second chunk", text, Bytes8(longBytes.begin(), longBytes.begin() + 1200), 2605,
         S_FALSE, 2605 - 1200, longText.Left(512)},
        {"CSTRING, length cut short", text, Bytes().U8(8).U16(4), 9, S_FALSE, 9 - 3, CString(_T("kept"))},
        {"CSTRING, wrong type byte", text, Bytes().U8(3).U32(0), 5, E_FAIL, 4, CString(_T("kept"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BlockSource source(c.bytes, {true, ReadFault::LengthEnds, c.left});
        CString got(_T("kept"));
        EXPECT_EQ(c.load(source.helper, source.left, got), c.result);
        EXPECT_EQ(source.left, c.leftAfter);
        EXPECT_TRUE(got == c.text) << got.GetLength() << " characters";
    }
    CKESTLoadHelper unattached;
    LONG value = 0;
    ULONG left = 5;
    EXPECT_EQ(unattached.KESTLoadLONG(value, left), E_FAIL);
    EXPECT_EQ(left, 5u);
}

// Skipping a value reads as many bytes as loading it, with the same result.
void ExpectSkipLike(const Bytes8& bytes, const Injection& at, HRESULT loaded, ULONG left)
{
    BlockSource skipped(bytes, at, true);
    EXPECT_EQ(skipped.helper.KESTLoadAndIgnore(skipped.left), loaded) << "skipped";
    EXPECT_EQ(skipped.left, left) << "skipped";
}

// A typed load into a target that starts as `before`; on S_OK it holds
// `expected`, otherwise `before`.
template <class T>
qntest::FaultedLoad Typed(HRESULT (CKESTLoadHelper::*load)(T&, ULONG&), T before, T expected)
{
    return [=](const Bytes8& bytes, const Injection& at) {
        BlockSource source(bytes, at, true);
        T value = before;
        const HRESULT hr = (source.helper.*load)(value, source.left);
        const T& wanted = hr == S_OK ? expected : before;
        EXPECT_EQ(std::memcmp(&value, &wanted, sizeof value), 0);
        ExpectSkipLike(bytes, at, hr, source.left);
        return hr;
    };
}

TEST(CKESTLoadHelper, TypedLoadsAgainstFaults)
{
    const std::vector<qntest::FaultCode> faults = {
        {ReadFault::LengthEnds, QN_E_TOOSHORT}, {ReadFault::FileEnds, S_FALSE}, {ReadFault::FileFails, E_FAIL}};
    const qntest::LoadRow rows[] = {
        {"BYTE", {1, 0xAB}, Typed<unsigned char>(&CKESTLoadHelper::KESTLoadBYTE, 0x11, 0xAB), faults},
        {"SHORT", {2, 0xFE, 0xFF}, Typed<short>(&CKESTLoadHelper::KESTLoadSHORT, 0x11, -2), faults},
        {"LONG", Bytes().U8(3).U32(2600), Typed<LONG>(&CKESTLoadHelper::KESTLoadLONG, 0x11, 2600), faults},
        {"FLOAT", Bytes().U8(4).U32(0x3F800000), Typed<float>(&CKESTLoadHelper::KESTLoadFLOAT, 7.0f, 1.0f), faults},
        {"DOUBLE", Bytes().U8(5).U64(0xC000000000000000ull),
         Typed<double>(&CKESTLoadHelper::KESTLoadDOUBLE, 7.0, -2.0), faults},
        {"INT64", Bytes().U8(6).U64(0xFFFFFFFFFFFFFFFDull), Typed<__int64>(&CKESTLoadHelper::KESTLoadINT64, 7, -3),
         faults},
        {"CLSID", Bytes().U8(7).Raw(kClsidBytes), Typed<GUID>(&CKESTLoadHelper::KESTLoadCLSID, GUID{}, kClsid), faults},
        {"CSTRING", Bytes().U8(8).U32(10).Utf16(_T("Motor")),
         [](const Bytes8& bytes, const Injection& at) {
             BlockSource source(bytes, at, true);
             CString name;
             const HRESULT hr = source.helper.KESTLoadCSTRING(name, source.left);
             EXPECT_TRUE(hr != S_OK || name == _T("Motor"));
             ExpectSkipLike(bytes, at, hr, source.left);
             return hr;
         },
         faults},
    };
    for (const auto& row : rows)
        qntest::SweepReadFaults(row);
#ifdef QN_NATIVE
    // The text grows chunk by chunk; a growth that fails raises the memory exception.
    qntest::SweepAllocationFaults({"CSTRING", [](const qntest::Armed& armed) {
                                       const CString text(_T('x'), 600);
                                       BlockSource source(Bytes().U8(8).U32(1200).Utf16(text), {false, ReadFault::End, 0});
                                       CString loaded;
                                       const HRESULT hr = armed([&] { return source.helper.KESTLoadCSTRING(loaded, source.left); });
                                       EXPECT_TRUE(hr != S_OK || loaded == text);
                                       return hr;
                                   },
                                   {qntest::kRaisedMemory, qntest::kRaisedMemory}});
#endif
}

} // namespace
