// CMemFile growth and failure paths, and CArchive buffering across buffer sizes.
#include <afx/afx.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::vector<BYTE> Contents(CMemFile& file)
{
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    const ULONGLONG position = file.GetPosition();
    file.SeekToBegin();
    if (!bytes.empty()) {
        EXPECT_EQ(bytes.size(), file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    }
    file.Seek(static_cast<LONGLONG>(position), CFile::begin);
    return bytes;
}

std::vector<BYTE> Pattern(size_t n, unsigned seed = 1)
{
    std::vector<BYTE> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<BYTE>((i * 31 + seed * 7) & 0xFF);
    return bytes;
}

// A memory file whose allocator fails on request.
class FailingMemFile : public CMemFile {
public:
    explicit FailingMemFile(UINT grow) : CMemFile(grow) {}
    ~FailingMemFile() override { Close(); }

    bool failAlloc = false;
    bool failRealloc = false;
    int reallocs = 0;

protected:
    BYTE* Alloc(UINT_PTR nBytes) override { return failAlloc ? nullptr : CMemFile::Alloc(nBytes); }
    BYTE* Realloc(BYTE* lpMem, UINT_PTR nBytes) override
    {
        ++reallocs;
        return failRealloc ? nullptr : CMemFile::Realloc(lpMem, nBytes);
    }
};

template <class Operation> bool RaisesMemory(Operation&& operation)
{
    try {
        operation();
    } catch (CMemoryException* e) {
        e->Delete();
        return true;
    }
    return false;
}

// --- CMemFile -----------------------------------------------------------------------

TEST(CMemFileTest, WriteReadSeekAndLength)
{
    CMemFile file(16);
    const std::vector<BYTE> data = Pattern(40);
    file.Write(data.data(), 40); // grows across several steps
    EXPECT_EQ(40u, file.GetLength());
    EXPECT_EQ(data, Contents(file));

    BYTE buffer[64];
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer));
    EXPECT_EQ(35u, file.Seek(-5, CFile::end));
    EXPECT_EQ(5u, file.Read(buffer, sizeof buffer));
    EXPECT_EQ(data[35], buffer[0]);

    // A write after a seek past the end leaves zeros in the gap.
    file.Seek(50, CFile::begin);
    const BYTE one = 0xAB;
    file.Write(&one, 1);
    const std::vector<BYTE> grown = Contents(file);
    ASSERT_EQ(51u, grown.size());
    EXPECT_EQ(0, grown[45]);
    EXPECT_EQ(0xAB, grown[50]);

    file.SetLength(10);
    EXPECT_EQ(10u, file.GetLength());
    EXPECT_EQ(10u, file.GetPosition());
    file.SetLength(12);
    EXPECT_EQ(0, Contents(file)[11]);

    // Seek bounds: a position below 0 or beyond the largest one is refused
    // and the position stays.
    struct SeekCase {
        LONGLONG offset;
        UINT from;
        LONGLONG result; // -1: badSeek
    };
    const SeekCase seeks[] = {
        {0, CFile::begin, 0},          {-1, CFile::begin, -1},         {-12, CFile::end, 0},
        {-13, CFile::end, -1},         {-12, CFile::current, 0},       {-13, CFile::current, -1},
        {INT64_MAX, CFile::begin, INT64_MAX}, {INT64_MAX, CFile::end, -1}, {INT64_MAX - 12, CFile::end, INT64_MAX},
        {INT64_MAX - 11, CFile::current, -1},
    };
    for (const SeekCase& c : seeks) {
        file.Seek(12, CFile::begin);
        LONGLONG result = -1;
        try {
            result = static_cast<LONGLONG>(file.Seek(c.offset, c.from));
        } catch (CFileException* e) {
            EXPECT_EQ(CFileException::badSeek, e->m_cause);
            e->Delete();
        }
        EXPECT_EQ(c.result, result) << c.offset << " from " << c.from;
        EXPECT_EQ(c.result < 0 ? 12u : static_cast<ULONGLONG>(c.result), file.GetPosition());
    }
    EXPECT_FALSE(file.Open(_T("x"), CFile::modeRead)); // memory files are not opened by name
}

TEST(CMemFileTest, FailedGrowthRaisesMemoryAndKeepsContents)
{
    FailingMemFile file(1024);
    const std::vector<BYTE> data = Pattern(1024);
    file.failAlloc = true;
    EXPECT_TRUE(RaisesMemory([&] { file.Write(data.data(), 1); }));
    EXPECT_EQ(0u, file.GetLength());

    file.failAlloc = false;
    file.Write(data.data(), 1024); // exactly one step: no reallocation yet
    EXPECT_EQ(0, file.reallocs);
    file.failRealloc = true;
    EXPECT_TRUE(RaisesMemory([&] { file.Write(data.data(), 1); }));
    EXPECT_EQ(1, file.reallocs);
    EXPECT_EQ(1024u, file.GetLength());
    EXPECT_EQ(1024u, file.GetPosition());
    EXPECT_EQ(data, Contents(file));
    EXPECT_TRUE(RaisesMemory([&] { file.SetLength(2000); }));
    EXPECT_EQ(1024u, file.GetLength());

    file.failRealloc = false;
    file.Write(data.data(), 1);
    EXPECT_EQ(1025u, file.GetLength());
}

TEST(CMemFileTest, AttachedBlocks)
{
    BYTE fixed[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    {
        CMemFile file(fixed, sizeof fixed); // grow 0: the block's bytes are the file
        EXPECT_EQ(8u, file.GetLength());
        file.Seek(6, CFile::begin);
        const BYTE two[2] = {0xEE, 0xFF};
        file.Write(two, 2);
        EXPECT_EQ(0xFF, fixed[7]);
        EXPECT_TRUE(RaisesMemory([&] { file.Write(two, 1); })); // a fixed block never grows
        EXPECT_EQ(8u, file.GetLength());
    } // the caller's block is not freed (ASan would report it)

    BYTE room[4] = {};
    CMemFile growing(room, sizeof room, 16); // grow > 0: starts empty
    EXPECT_EQ(0u, growing.GetLength());
    const std::vector<BYTE> data = Pattern(10);
    growing.Write(data.data(), 3);
    EXPECT_EQ(data[2], room[2]);
    growing.Write(data.data() + 3, 7); // moves into a block of its own
    EXPECT_EQ(data, Contents(growing));
    EXPECT_EQ(0, room[3]);

    BYTE* detached = growing.Detach(); // the caller owns it now (malloc'd)
    ASSERT_NE(nullptr, detached);
    EXPECT_EQ(0, std::memcmp(detached, data.data(), data.size()));
    EXPECT_EQ(0u, growing.GetLength());
    std::free(detached);

    growing.Write(data.data(), 2); // usable again after Detach
    EXPECT_EQ(2u, growing.GetLength());
}

// A memory file frees the block it grew itself when it closes.
TEST(CMemFileTest, FreesItsOwnBlockOnClose)
{
    struct Counting : CMemFile {
        int frees = 0;
        ~Counting() override { Close(); }
        void Free(BYTE* lpMem) override
        {
            ++frees;
            CMemFile::Free(lpMem);
        }
    } file;
    file.Write("abc", 3);
    file.Close();
    EXPECT_EQ(1, file.frees);
    EXPECT_EQ(0u, file.GetLength());
}

// --- CArchive -----------------------------------------------------------------------

// Chunk sizes that land before, on and after buffer boundaries.
const UINT kChunks[] = {1, 127, 128, 129, 0, 300, 5000, 7, 4096, 4095, 1};
const int kBufferSizes[] = {128, 129, 200, 1000, 4096};

TEST(CArchiveTest, StoreAndLoadAcrossBufferSizes)
{
    size_t total = 0;
    for (UINT chunk : kChunks)
        total += chunk;
    const std::vector<BYTE> data = Pattern(total, 3);

    for (int bufferSize : kBufferSizes) {
        SCOPED_TRACE(testing::Message() << "buffer " << bufferSize);
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store, bufferSize);
            EXPECT_TRUE(ar.IsStoring());
            EXPECT_EQ(&file, ar.GetFile());
            size_t at = 0;
            for (UINT chunk : kChunks) {
                ar.Write(data.data() + at, chunk);
                at += chunk;
                // Never more in the file than was written, never more held back than a buffer.
                EXPECT_LE(file.GetLength(), at);
                EXPECT_LE(at - static_cast<size_t>(file.GetLength()), static_cast<size_t>(bufferSize));
            }
            ar.Flush();
            EXPECT_EQ(total, file.GetLength());
            ar.Close();
        }
        EXPECT_EQ(data, Contents(file));

        file.SeekToBegin();
        CArchive ar(&file, CArchive::load, bufferSize);
        EXPECT_TRUE(ar.IsLoading());
        std::vector<BYTE> back(total);
        size_t at = 0;
        for (UINT chunk : kChunks) {
            EXPECT_EQ(chunk, ar.Read(back.data() + at, chunk));
            at += chunk;
        }
        EXPECT_EQ(data, back);
        BYTE extra[10];
        EXPECT_EQ(0u, ar.Read(extra, sizeof extra));
    }
}

TEST(CArchiveTest, ShortReadAtTheEndAndFlushGivesBackReadAhead)
{
    for (int bufferSize : kBufferSizes) {
        SCOPED_TRACE(testing::Message() << "buffer " << bufferSize);
        const std::vector<BYTE> data = Pattern(1000);
        CMemFile file;
        file.Write(data.data(), 1000);
        file.SeekToBegin();

        CArchive ar(&file, CArchive::load, bufferSize);
        BYTE head[10];
        EXPECT_EQ(10u, ar.Read(head, 10));
        ar.Flush(); // the file stands at the first byte not handed out
        EXPECT_EQ(10u, file.GetPosition());

        std::vector<BYTE> rest(2000);
        EXPECT_EQ(990u, ar.Read(rest.data(), 2000));
        EXPECT_EQ(0, std::memcmp(rest.data(), data.data() + 10, 990));
    }
}

TEST(CArchiveTest, WrongDirectionAndClosedArchiveRaise)
{
    CMemFile file;
    BYTE byte = 0;
    struct Case {
        const char* name;
        UINT mode;
        bool read;
        bool closeFirst;
        int cause;
    };
    const Case cases[] = {
        {"read from a storing archive", CArchive::store, true, false, CArchiveException::writeOnly},
        {"write to a loading archive", CArchive::load, false, false, CArchiveException::readOnly},
        {"read after close", CArchive::load, true, true, CArchiveException::genericException},
        {"write after close", CArchive::store, false, true, CArchiveException::genericException},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CArchive ar(&file, c.mode);
        if (c.closeFirst)
            ar.Close();
        int cause = -1;
        try {
            if (c.read)
                ar.Read(&byte, 1);
            else
                ar.Write(&byte, 1);
        } catch (CArchiveException* e) {
            cause = e->m_cause;
            e->Delete();
        }
        EXPECT_EQ(c.cause, cause);
    }
}

TEST(CArchiveTest, DestructorFlushesUnlessTold)
{
    const BYTE bytes[3] = {1, 2, 3};
    CMemFile flushed;
    {
        CArchive ar(&flushed, CArchive::store);
        ar.Write(bytes, 3);
        EXPECT_EQ(0u, flushed.GetLength()); // still in the buffer
    }
    EXPECT_EQ(3u, flushed.GetLength());

    CMemFile kept;
    {
        CArchive ar(&kept, CArchive::store | CArchive::bNoFlushOnDelete);
        ar.Write(bytes, 3);
    }
    EXPECT_EQ(0u, kept.GetLength());

    CMemFile aborted;
    {
        CArchive ar(&aborted, CArchive::store);
        ar.Write(bytes, 3);
        ar.Abort();
        EXPECT_EQ(nullptr, ar.GetFile());
    }
    EXPECT_EQ(0u, aborted.GetLength());

    // A write failure in the destructor's flush is dropped, not thrown.
    BYTE fixed[2];
    CMemFile full(fixed, sizeof fixed);
    full.SetLength(0);
    {
        CArchive ar(&full, CArchive::store);
        ar.Write(bytes, 3);
    }
    EXPECT_EQ(0u, full.GetLength());
}

TEST(CArchiveTest, ValuesRoundTripAndEndOfFile)
{
    CMemFile file;
    BYTE userBuffer[16]; // a caller's buffer smaller than the usual minimum
    {
        CArchive ar(&file, CArchive::store, sizeof userBuffer, userBuffer);
        ar << BYTE(0xAB) << WORD(0x1234) << LONG(-5) << DWORD(0xDEADBEEF) << 2.5f << -1.25;
    }
    EXPECT_EQ(1u + 2 + 4 + 4 + 4 + 8, file.GetLength());
    const std::vector<BYTE> bytes = Contents(file);
    EXPECT_EQ(0x34, bytes[1]); // little-endian
    EXPECT_EQ(0xEF, bytes[7]);

    file.SeekToBegin();
    CArchive ar(&file, CArchive::load, sizeof userBuffer, userBuffer);
    BYTE b = 0;
    WORD w = 0;
    LONG l = 0;
    DWORD dw = 0;
    float f = 0;
    double d = 0;
    ar >> b >> w >> l >> dw >> f >> d;
    EXPECT_EQ(0xAB, b);
    EXPECT_EQ(0x1234, w);
    EXPECT_EQ(-5, l);
    EXPECT_EQ(0xDEADBEEFu, dw);
    EXPECT_EQ(2.5f, f);
    EXPECT_EQ(-1.25, d);
    int cause = -1;
    try {
        ar >> dw;
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(CArchiveException::endOfFile, cause);
}

} // namespace
