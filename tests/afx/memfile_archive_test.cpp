// CMemFile growth, seek bounds and failure paths; CArchive buffering across
// buffer sizes and its failure paths.
#include <afx/afx.h>

#include "support/Raised.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::vector<BYTE> Contents(CMemFile& file)
{
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    const ULONGLONG position = file.GetPosition();
    file.SeekToBegin();
    EXPECT_EQ(bytes.size(), file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    file.Seek(static_cast<LONGLONG>(position), CFile::begin);
    return bytes;
}

std::vector<BYTE> Pattern(size_t n)
{
    std::vector<BYTE> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<BYTE>((i * 31 + 7) & 0xFF);
    return bytes;
}

// A memory file whose allocator fails on request, and that counts its frees.
class FailingMemFile : public CMemFile {
public:
    explicit FailingMemFile(UINT grow) : CMemFile(grow) {}
    ~FailingMemFile() override { Close(); }
    bool failAlloc = false, failRealloc = false;
    int reallocs = 0, frees = 0;

protected:
    BYTE* Alloc(UINT_PTR n) override { return failAlloc ? nullptr : CMemFile::Alloc(n); }
    BYTE* Realloc(BYTE* p, UINT_PTR n) override { ++reallocs; return failRealloc ? nullptr : CMemFile::Realloc(p, n); }
    void Free(BYTE* p) override { ++frees; CMemFile::Free(p); }
};

TEST(CMemFileTest, WriteReadAndSeekBounds)
{
    CMemFile file(16);
    const std::vector<BYTE> data = Pattern(40);
    file.Write(data.data(), 40); // grows across several steps
    BYTE buffer[64];
    EXPECT_EQ(35u, file.Seek(-5, CFile::end));
    EXPECT_EQ(5u, file.Read(buffer, sizeof buffer)); // a short read at the end
    EXPECT_EQ(0, std::memcmp(buffer, data.data() + 35, 5));
    file.Seek(50, CFile::begin); // a write after a seek past the end leaves zeros in the gap
    file.Write(buffer, 1);
    const std::vector<BYTE> grown = Contents(file);
    EXPECT_EQ(std::vector<BYTE>(10), std::vector<BYTE>(grown.begin() + 40, grown.end() - 1));
    file.SetLength(10);
    EXPECT_EQ(10u, file.GetPosition());
    file.SetLength(12);
    EXPECT_EQ(0, Contents(file)[10]);

    // A position below 0 or beyond the largest one is refused (result -1) and the position stays.
    const struct { LONGLONG offset; UINT from; LONGLONG result; } seeks[] = {
        {0, CFile::begin, 0},          {-1, CFile::begin, -1},         {-12, CFile::end, 0},
        {-13, CFile::end, -1},         {-12, CFile::current, 0},       {-13, CFile::current, -1},
        {3, CFile::current, 15},       {INT64_MAX, CFile::begin, INT64_MAX}, {INT64_MAX, CFile::end, -1},
        {INT64_MAX - 12, CFile::end, INT64_MAX}, {INT64_MAX - 11, CFile::current, -1},
    };
    for (const auto& c : seeks) {
        file.Seek(12, CFile::begin);
        LONGLONG result = -1;
        EXPECT_EQ(c.result < 0 ? CFileException::badSeek : -1,
                  CauseRaised<CFileException>([&] { result = static_cast<LONGLONG>(file.Seek(c.offset, c.from)); }));
        EXPECT_EQ(c.result, result) << c.offset << " from " << c.from;
        EXPECT_EQ(c.result < 0 ? 12u : static_cast<ULONGLONG>(c.result), file.GetPosition());
    }
    file.Seek(12, CFile::begin);
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer)); // at the end, exactly
    CFileException error;
    EXPECT_FALSE(file.Open(_T("x"), CFile::modeRead, &error)); // memory files are not opened by name
    EXPECT_EQ(CFileException::generic, error.m_cause);
}

TEST(CMemFileTest, FailedGrowthRaisesMemoryAndKeepsContents)
{
    FailingMemFile file(1024);
    const std::vector<BYTE> data = Pattern(1024);
    file.failAlloc = true;
    EXPECT_EQ(0, CauseRaised<CMemoryException>([&] { file.Write(data.data(), 1); }));
    file.failAlloc = false;
    file.Write(data.data(), 1024); // exactly one step: no reallocation yet
    file.failRealloc = true;
    EXPECT_EQ(0, CauseRaised<CMemoryException>([&] { file.Write(data.data(), 1); }));
    EXPECT_EQ(0, CauseRaised<CMemoryException>([&] { file.SetLength(2000); }));
    EXPECT_EQ(2, file.reallocs);
    EXPECT_EQ(data, Contents(file)); // contents and position kept
    EXPECT_EQ(1024u, file.GetPosition());
    file.failRealloc = false;
    file.Write(data.data(), 1);
    EXPECT_EQ(1025u, file.GetLength());
    file.Close();
    EXPECT_EQ(1, file.frees); // the block it grew itself
    EXPECT_EQ(0u, file.GetLength());
}

TEST(CMemFileTest, AttachedBlocks)
{
    BYTE fixed[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    {
        CMemFile file(fixed, sizeof fixed); // grow 0: the block's bytes are the file
        file.Seek(7, CFile::begin);
        file.Write("\xFF", 1);
        EXPECT_EQ(0xFF, fixed[7]);
        EXPECT_EQ(0, CauseRaised<CMemoryException>([&] { file.Write(fixed, 1); })); // a fixed block never grows
        EXPECT_EQ(8u, file.GetLength());
    } // the caller's block is not freed (the sanitizer would report it)

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
    std::free(detached);
    growing.Write(data.data(), 2); // usable again after Detach
    EXPECT_EQ(2u, growing.GetLength());
}

// Chunk sizes that land before, on and after buffer boundaries.
const UINT kChunks[] = {1, 127, 128, 129, 0, 300, 5000, 7, 4096, 4095, 1};
const int kBufferSizes[] = {128, 129, 200, 1000, 4096};

TEST(CArchiveTest, StoreAndLoadAcrossBufferSizes)
{
    size_t total = 0;
    for (UINT chunk : kChunks)
        total += chunk;
    const std::vector<BYTE> data = Pattern(total);
    for (int bufferSize : kBufferSizes) {
        SCOPED_TRACE(testing::Message() << "buffer " << bufferSize);
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store, bufferSize);
            size_t at = 0;
            for (UINT chunk : kChunks) {
                ar.Write(data.data() + at, chunk);
                at += chunk;
                // Never more in the file than was written, never more held back than a buffer.
                EXPECT_LE(file.GetLength(), at);
                EXPECT_LE(at - static_cast<size_t>(file.GetLength()), static_cast<size_t>(bufferSize));
            }
        } // the destructor flushes
        EXPECT_EQ(data, Contents(file));

        file.SeekToBegin();
        CArchive ar(&file, CArchive::load, bufferSize);
        std::vector<BYTE> back(total);
        size_t at = 0;
        for (UINT chunk : kChunks) {
            EXPECT_EQ(chunk, ar.Read(back.data() + at, chunk));
            at += chunk;
        }
        EXPECT_EQ(data, back);
        EXPECT_EQ(0u, ar.Read(back.data(), 10));

        // Flush gives back what was read ahead; a short read stops at the end.
        file.SeekToBegin();
        CArchive again(&file, CArchive::load, bufferSize);
        EXPECT_EQ(10u, again.Read(back.data(), 10));
        again.Flush();
        EXPECT_EQ(10u, file.GetPosition());
        EXPECT_EQ(total - 10, again.Read(back.data(), static_cast<UINT>(total)));
        EXPECT_EQ(0, std::memcmp(back.data(), data.data() + 10, total - 10));
    }
}

// Each row runs on a file holding "abcd", then lets the archive go.
TEST(CArchiveTest, FailurePathsAndTheDestructorsFlush)
{
    const UINT store = CArchive::store, load = CArchive::load;
    const struct { const char* name; UINT mode; bool fixed; void (*operation)(CArchive&); int cause; ULONGLONG length; } cases[] = {
        {"control: load", load, false, [](CArchive& ar) { DWORD d; ar >> d; }, -1, 4},
        {"flushed by the destructor", store, false, [](CArchive& ar) { ar.Write("vwxyz", 5); }, -1, 5},
        {"bNoFlushOnDelete", store | CArchive::bNoFlushOnDelete, false, [](CArchive& ar) { ar.Write("vwxyz", 5); }, -1, 4},
        {"aborted", store, false, [](CArchive& ar) { ar.Write("vwxyz", 5); ar.Abort(); }, -1, 4},
        {"a failed flush is dropped", store, true, [](CArchive& ar) { ar.Write("vwxyz", 5); }, -1, 4},
        {"read from a storing archive", store, false, [](CArchive& ar) { BYTE b; ar.Read(&b, 1); }, CArchiveException::writeOnly, 4},
        {"write to a loading archive", load, false, [](CArchive& ar) { ar << BYTE(1); }, CArchiveException::readOnly, 4},
        {"read after close", load, false, [](CArchive& ar) { ar.Close(); BYTE b; ar.Read(&b, 1); }, CArchiveException::genericException, 4},
        {"write after close", store, false, [](CArchive& ar) { ar.Close(); ar << BYTE(1); }, CArchiveException::genericException, 4},
        {"flush after abort", store, false, [](CArchive& ar) { ar.Abort(); ar.Flush(); }, CArchiveException::genericException, 4},
        {"value past the end", load, false, [](CArchive& ar) { DWORD d; ar >> d >> d; }, CArchiveException::endOfFile, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BYTE block[4] = {'a', 'b', 'c', 'd'};
        CMemFile growing, fixed(block, sizeof block); // a fixed block cannot take a fifth byte
        CMemFile& file = c.fixed ? fixed : growing;
        growing.Write(block, 4);
        file.SeekToBegin();
        {
            CArchive ar(&file, c.mode);
            EXPECT_EQ(c.cause, CauseRaised<CArchiveException>([&] { c.operation(ar); }));
            EXPECT_EQ(4u, file.GetLength()); // stores wait in the buffer
        }
        EXPECT_EQ(c.length, file.GetLength());
    }
}

TEST(CArchiveTest, ValuesAreLittleEndian)
{
    CMemFile file;
    BYTE userBuffer[16]; // a caller's buffer smaller than the usual minimum
    {
        CArchive ar(&file, CArchive::store, sizeof userBuffer, userBuffer);
        ar << BYTE(0xAB) << WORD(0x1234) << LONG(-5) << DWORD(0xDEADBEEF) << 2.5f << -1.25;
    }
    const std::vector<BYTE> expected = {0xAB, 0x34, 0x12, 0xFB, 0xFF, 0xFF, 0xFF, 0xEF, 0xBE, 0xAD, 0xDE, 0, 0,
                                        0x20, 0x40, 0,    0,    0,    0,    0,    0,    0xF4, 0xBF};
    EXPECT_EQ(expected, Contents(file));
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load, sizeof userBuffer, userBuffer);
    BYTE skipped[11];
    DWORD dw = 0;
    double d = 0;
    ar.Read(skipped, 11);
    ar >> dw >> d;
    EXPECT_EQ(0x40200000u, dw); // 2.5f
    EXPECT_EQ(-1.25, d);
}

} // namespace
