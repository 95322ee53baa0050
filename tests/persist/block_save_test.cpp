// CKESTSaveHelper: the bytes of every typed value and mark, destinations,
// copies, the growth step, and what file and memory exceptions do.
#include "block_Support.h"

#include <QNBlock.h>
#include <support/TestStreams.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using qntest::Bytes;
using qntest::FaultyFile;
using qntest::HelperBytes;

const GUID kClsid = {0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};

TEST(CKESTSaveHelper, SavedBytes)
{
    struct Case {
        const char* name;
        std::function<HRESULT(CKESTSaveHelper&)> save;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {"raw", [](CKESTSaveHelper& h) { return h.KESTSave("\x01\x02\x03", 3); }, {1, 2, 3}},
        {"raw, none", [](CKESTSaveHelper& h) { return h.KESTSave(nullptr, 0); }, {}},
        {"BYTE", [](CKESTSaveHelper& h) { return h.KESTSaveBYTE(0xAB); }, {0x01, 0xAB}},
        {"SHORT", [](CKESTSaveHelper& h) { return h.KESTSaveSHORT(-2); }, {0x02, 0xFE, 0xFF}},
        {"LONG 2600", [](CKESTSaveHelper& h) { return h.KESTSaveLONG(2600); }, {0x03, 0x28, 0x0A, 0x00, 0x00}},
        {"FLOAT", [](CKESTSaveHelper& h) { return h.KESTSaveFLOAT(1.0f); }, {0x04, 0x00, 0x00, 0x80, 0x3F}},
        {"DOUBLE", [](CKESTSaveHelper& h) { return h.KESTSaveDOUBLE(-2.0); },
         Bytes().U8(5).U64(0xC000000000000000ull)},
        {"INT64", [](CKESTSaveHelper& h) { return h.KESTSaveINT64(-3); }, Bytes().U8(6).U64(0xFFFFFFFFFFFFFFFDull)},
        {"CLSID", [](CKESTSaveHelper& h) { return h.KESTSaveCLSID(kClsid); },
         {0x07, 0x67, 0x45, 0x23, 0x01, 0xAB, 0x89, 0xEF, 0xCD, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}},
        {"CSTRING AB", [](CKESTSaveHelper& h) { return h.KESTSaveCSTRING(CString(_T("AB"))); },
         {0x08, 0x04, 0x00, 0x00, 0x00, 0x41, 0x00, 0x42, 0x00}},
        {"CSTRING empty", [](CKESTSaveHelper& h) { return h.KESTSaveCSTRING(CString()); }, {0x08, 0, 0, 0, 0}},
        {"CSTRING non-ASCII", [](CKESTSaveHelper& h) { return h.KESTSaveCSTRING(CString(_T("\u20AC"))); },
         {0x08, 0x02, 0, 0, 0, 0xAC, 0x20}},
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

TEST(CKESTSaveHelper, DestinationHelperReceivesAndSourceStaysUntouched)
{
    CKESTSaveHelper source, destination;
    ASSERT_EQ(source.KESTSaveBYTE(9), S_OK);
    EXPECT_EQ(source.KESTSave(destination, "xy", 2), S_OK);
    EXPECT_EQ(source.KESTSaveBlockHeadMark(destination), S_OK);
    EXPECT_EQ(source.KESTSaveDataEndMarker(destination), S_OK);
    EXPECT_EQ(HelperBytes(destination), (std::vector<unsigned char>{'x', 'y', 0xEF, 0xEF, 0xEF, 0xEF, 0xDA, 0x50,
                                                                     0xED, 0x1C}));
    EXPECT_EQ(HelperBytes(source), (std::vector<unsigned char>{0x01, 9}));
}

TEST(CKESTSaveHelper, CopyDataTakesTheWholeContentWhateverThePosition)
{
    CKESTSaveHelper source, destination;
    std::vector<unsigned char> content;
    for (int i = 0; i < 2500; ++i) // several chunks
        content.push_back(static_cast<unsigned char>(i * 7));
    ASSERT_EQ(source.KESTSave(content.data(), static_cast<ULONG>(content.size())), S_OK);
    source.KESTGetIntenalStorage().Seek(100, CFile::begin);
    ASSERT_EQ(destination.KESTSave("<", 1), S_OK);

    EXPECT_EQ(source.KESTCopyData(destination), S_OK);
    std::vector<unsigned char> expected{'<'};
    expected.insert(expected.end(), content.begin(), content.end());
    EXPECT_EQ(HelperBytes(destination), expected);

    // Afterwards the position is at the end: a later write appends.
    ASSERT_EQ(source.KESTSaveBYTE(1), S_OK);
    EXPECT_EQ(source.KESTGetLength(), content.size() + 2);

    // A copy into itself doubles the content.
    CKESTSaveHelper self;
    ASSERT_EQ(self.KESTSave(content.data(), static_cast<ULONG>(content.size())), S_OK);
    EXPECT_EQ(self.KESTCopyData(self), S_OK);
    std::vector<unsigned char> doubled = content;
    doubled.insert(doubled.end(), content.begin(), content.end());
    EXPECT_EQ(HelperBytes(self), doubled);
}

TEST(CKESTSaveHelper, IntoAnArchive)
{
    CKESTSaveHelper helper;
    ASSERT_EQ(helper.KESTSaveLONG(2600), S_OK);

    FaultyFile file(FaultyFile::None);
    {
        CArchive archive(&file, CArchive::store);
        EXPECT_EQ(helper.KESTSaveBlockHeadMark(archive), S_OK);
        EXPECT_EQ(helper.KESTSave(archive, "\x28\x0A\x00\x00", 4), S_OK);
        EXPECT_EQ(helper.KESTCopyData(archive), S_OK);
        EXPECT_EQ(helper.KESTSaveDataEndMarker(archive), S_OK);
        archive.Close();
    }
    EXPECT_EQ(file.Bytes(), (std::vector<unsigned char>{0xEF, 0xEF, 0xEF, 0xEF, 0x28, 0x0A, 0, 0, 0x03, 0x28, 0x0A, 0,
                                                         0, 0xDA, 0x50, 0xED, 0x1C}));
}

TEST(CKESTSaveHelper, CopyIntoALoadingArchiveWritesNothing)
{
    CKESTSaveHelper helper;
    ASSERT_EQ(helper.KESTSaveLONG(5), S_OK);
    FaultyFile file(Bytes().U32(77), FaultyFile::None);
    CArchive archive(&file, CArchive::load);
    EXPECT_EQ(helper.KESTCopyData(archive), E_FAIL);
    EXPECT_EQ(file.Writes(), 0);
    EXPECT_EQ(file.Bytes(), Bytes().U32(77).Get());
    EXPECT_EQ(HelperBytes(helper), Bytes().U8(3).U32(5).Get());
}

// The file under the archive raises a file exception on every write: each
// operation that reaches the file gives E_FAIL and shows the exception's own
// message once; the helper keeps its content and copies fine elsewhere.
TEST(CKESTSaveHelper, FileExceptionOnEveryWrite)
{
    MessageBoxRecorder boxes;
    CKESTSaveHelper helper;
    std::vector<unsigned char> content(5000, 0x5A);
    ASSERT_EQ(helper.KESTSave(content.data(), static_cast<ULONG>(content.size())), S_OK);

    FaultyFile file(FaultyFile::ThrowOnWrite);
    {
        CArchive archive(&file, CArchive::store, 128);
        EXPECT_EQ(helper.KESTCopyData(archive), E_FAIL);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_TRUE(boxes.Boxes()[0].text == qntest::FileErrorMessage(CFileException::diskFull, 112));
        EXPECT_EQ(boxes.Boxes()[0].type & 0x0F, UINT(MB_OK));

        boxes.Clear();
        EXPECT_EQ(helper.KESTSave(archive, content.data(), 1000), E_FAIL);
        EXPECT_EQ(boxes.Boxes().size(), 1u);
        archive.Abort();
    }
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(helper.KESTGetLength(), content.size());

    CKESTSaveHelper elsewhere;
    boxes.Clear();
    EXPECT_EQ(helper.KESTCopyData(elsewhere), S_OK);
    EXPECT_EQ(HelperBytes(elsewhere), content);
    EXPECT_EQ(boxes.Boxes().size(), 0u);
}

// A helper whose own file raises a file exception.
class ThrowingHelper final : public CKESTSaveHelper {
public:
    void Write(const void*, UINT) override
    {
        AfxThrowFileException(CFileException::diskFull, 112, _T("panel.dat"));
    }
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

TEST(CKESTSaveHelper, GrowsInStepsOf1024)
{
    RecordingHelper helper;
    ASSERT_EQ(helper.KESTSaveBYTE(1), S_OK);
    ASSERT_FALSE(helper.sizes.empty());
    EXPECT_EQ(helper.sizes.back(), 1024u);
    std::vector<unsigned char> more(1024, 0);
    ASSERT_EQ(helper.KESTSave(more.data(), static_cast<ULONG>(more.size())), S_OK);
    EXPECT_EQ(helper.sizes.back(), 2048u);
    for (UINT_PTR size : helper.sizes)
        EXPECT_EQ(size % 1024, 0u);
}

TEST(CKESTSaveHelper, MemoryExceptionPassesThrough)
{
    MessageBoxRecorder boxes;
    RecordingHelper helper;
    helper.fail = true;
    bool raised = false;
    try {
        (void)helper.KESTSaveLONG(1);
    } catch (CMemoryException* e) {
        raised = true;
        e->Delete();
    }
    EXPECT_TRUE(raised);
    EXPECT_EQ(boxes.Boxes().size(), 0u);
}

} // namespace
