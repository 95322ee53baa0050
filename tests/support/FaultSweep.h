// The one fault harness of the persistence tests. A loader's row holds a valid
// encoding and the code each kind of fault must give: the encoding must load
// (the control), then load again with the fault at every byte offset. Stream
// loaders read a TestStream; block loaders read an archive over a FaultyFile
// with a block length. A saver's row holds the exact bytes it writes; it then
// saves again with a failing (or short) write at every offset of a stream, or
// with each write call of a save helper failing.
#pragma once

#include <QNBlock.h>
#include <support/MessageBoxRecorder.h>
#include <support/TestStreams.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace qntest {

// A memory file over the bytes that raises CFileException (hardIO) once a
// read reaches byte `failAt`.
class FaultyFile final : public CMemFile {
public:
    explicit FaultyFile(const std::vector<unsigned char>& bytes, size_t failAt = static_cast<size_t>(-1))
        : m_failAt(failAt)
    {
        if (!bytes.empty())
            CMemFile::Write(bytes.data(), static_cast<UINT>(bytes.size()));
        SeekToBegin();
    }
    UINT Read(void* buffer, UINT count) override
    {
        if (count && GetPosition() + count > m_failAt)
            AfxThrowFileException(CFileException::hardIO, 1117 /* ERROR_IO_DEVICE */, _T("panel.dat"));
        return CMemFile::Read(buffer, count);
    }

private:
    ULONGLONG m_failAt;
};

// The bytes a memory file (a save helper) holds; its position is left at the end.
inline std::vector<unsigned char> FileBytes(CMemFile& file)
{
    std::vector<unsigned char> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    bytes.resize(bytes.empty() ? 0 : file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    return bytes;
}

//   End .. ReadFail  as TestStream injects them (stream loaders)
//   FileEnds         the archive's file ends at the offset (block loaders)
//   FileFails        the archive's file raises a file exception there
//   LengthEnds       the block's length says it ends there
enum class ReadFault { End, EndFalse, ShortRead, ReadFail, FileEnds, FileFails, LengthEnds };

struct Injection {
    bool active;
    ReadFault fault;
    size_t offset;
};

// The code a fault gives at offsets from `from` on (up to the next entry of
// the same fault).
struct FaultCode {
    ReadFault fault;
    HRESULT code;
    size_t from = 0;
};

using FaultedLoad = std::function<HRESULT(const std::vector<unsigned char>& bytes, const Injection& at)>;

struct LoadRow {
    const char* name;
    std::vector<unsigned char> encoding;
    FaultedLoad load;
    std::vector<FaultCode> faults;
};

inline void SweepReadFaults(const LoadRow& row)
{
    static const char* const names[] = {"end", "end (S_FALSE)", "short read", "failing read",
                                        "file ends", "file fails", "block length ends"};
    SCOPED_TRACE(row.name);
    ASSERT_EQ(row.load(row.encoding, {false, ReadFault::End, 0}), S_OK) << "control";
    for (const FaultCode& entry : row.faults) {
        for (size_t offset = entry.from; offset < row.encoding.size(); ++offset) {
            bool later = false; // a later entry of the same fault takes over
            for (const FaultCode& next : row.faults)
                later |= &next > &entry && next.fault == entry.fault && next.from <= offset;
            if (later)
                continue;
            SCOPED_TRACE(testing::Message() << names[static_cast<int>(entry.fault)] << " at " << offset);
            EXPECT_EQ(row.load(row.encoding, {true, entry.fault, offset}), entry.code);
        }
    }
}

// The four faults of a stream, all with one code.
inline std::vector<FaultCode> StreamFaults(HRESULT code, HRESULT onReadFail = 0)
{
    return {{ReadFault::End, code}, {ReadFault::EndFalse, code}, {ReadFault::ShortRead, code},
            {ReadFault::ReadFail, onReadFail ? onReadFail : code}};
}

// Runs `load` on a stream over the bytes with the fault injected (a failing
// read gives STG_E_READFAULT); the loader keeps no reference and, inside a
// valid encoding, asks for no byte beyond it.
inline HRESULT OnStream(const std::vector<unsigned char>& bytes, const Injection& at,
                        const std::function<HRESULT(IStream*)>& load)
{
    static const StreamFault kinds[] = {StreamFault::End, StreamFault::EndFalse, StreamFault::ShortRead,
                                        StreamFault::ReadFail};
    TestStream stream(bytes);
    if (at.active)
        stream.InjectFault(kinds[static_cast<int>(at.fault)], at.offset);
    const HRESULT hr = load(&stream);
    EXPECT_TRUE(!at.active || stream.FurthestReadRequest() <= bytes.size()) << "read beyond the encoding";
    EXPECT_EQ(stream.References(), 0);
    return hr;
}

// An archive loading bytes through a load helper; with `sentinel` a byte 0xA5
// follows them in the archive, beyond the block's length. Any file exception
// shows one message; otherwise the archive must end up where the count of
// bytes left says (checked when the source goes).
struct BlockSource {
    BlockSource(const std::vector<unsigned char>& bytes, const Injection& at, bool sentinel = false)
        : data(Held(bytes, at, sentinel)),
          file(data, at.active && at.fault == ReadFault::FileFails ? at.offset : static_cast<size_t>(-1)),
          archive(&file, CArchive::load),
          left(static_cast<ULONG>(at.active && at.fault == ReadFault::LengthEnds ? at.offset : bytes.size())),
          start(left), fileFails(at.active && at.fault == ReadFault::FileFails)
    {
        helper.KESTSetArchive(&archive);
    }
    ~BlockSource()
    {
        EXPECT_EQ(boxes.Boxes().size(), fileFails ? 1u : 0u);
        unsigned char next = 0;
        const size_t consumed = start - left;
        if (!fileFails) {
            EXPECT_EQ(archive.Read(&next, 1) == 1 ? next : -1, consumed < data.size() ? data[consumed] : -1)
                << "the archive is not where the bytes left say";
        }
    }
    static std::vector<unsigned char> Held(std::vector<unsigned char> bytes, const Injection& at, bool sentinel)
    {
        if (sentinel)
            bytes.push_back(0xA5);
        if (at.active && at.fault == ReadFault::FileEnds)
            bytes.resize(at.offset);
        return bytes;
    }
    std::vector<unsigned char> data; // the archive's file
    MessageBoxRecorder boxes;
    FaultyFile file;
    CArchive archive;
    CKESTLoadHelper helper;
    ULONG left, start;
    bool fileFails;
};

// A saver's exact bytes on a stream, then a failing write (its own code is
// STG_E_MEDIUMFULL) and a short write at every offset, with the codes given
// (a failing write from offset `laterFrom` on gives `laterFailingWrite`);
// `shortWrite` 0 leaves short writes unchecked.
struct WriteRow {
    const char* name;
    std::function<HRESULT(IStream*)> save;
    std::vector<unsigned char> bytes;
    HRESULT failingWrite;
    HRESULT shortWrite;
    size_t laterFrom = static_cast<size_t>(-1);
    HRESULT laterFailingWrite = 0;
};

inline void SweepWriteFaults(const WriteRow& row)
{
    SCOPED_TRACE(row.name);
    TestStream control;
    ASSERT_EQ(row.save(&control), S_OK);
    EXPECT_EQ(control.Data(), row.bytes);
    for (size_t offset = 0; offset < row.bytes.size(); ++offset) {
        TestStream failing, shortWrite;
        failing.InjectFault(StreamFault::WriteFail, offset);
        shortWrite.InjectFault(StreamFault::WriteShort, offset);
        EXPECT_EQ(row.save(&failing), offset < row.laterFrom ? row.failingWrite : row.laterFailingWrite)
            << "failing write at " << offset;
        EXPECT_EQ(row.shortWrite ? row.save(&shortWrite) : 0, row.shortWrite) << "short write at " << offset;
        EXPECT_EQ(failing.References() + shortWrite.References(), 0);
    }
}

// A save helper (or the file under an archive) whose writes from number
// `failAt` on (from 1; 0: none) raise a file exception (diskFull).
class FailingHelper final : public CKESTSaveHelper {
public:
    explicit FailingHelper(int failAt) : m_failAt(failAt) {}
    void Write(const void* data, UINT count) override
    {
        if (++m_writes >= m_failAt && m_failAt)
            AfxThrowFileException(CFileException::diskFull, 112, _T("panel.dat"));
        CKESTSaveHelper::Write(data, count);
    }
    int Writes() const { return m_writes; }

private:
    int m_failAt, m_writes = 0;
};

// A save into a helper: its exact bytes, then each write call failing in turn:
// E_FAIL, the exception's one message, and no write after the failing one.
inline void SweepHelperWrites(const char* name, const std::function<HRESULT(CKESTSaveHelper&)>& save,
                              const std::vector<unsigned char>& bytes)
{
    SCOPED_TRACE(name);
    FailingHelper control(0);
    ASSERT_EQ(save(control), S_OK);
    EXPECT_EQ(FileBytes(control), bytes);
    for (int call = 1; call <= control.Writes(); ++call) {
        MessageBoxRecorder boxes;
        FailingHelper failing(call);
        EXPECT_EQ(save(failing), E_FAIL) << "write " << call << " failing";
        EXPECT_EQ(failing.Writes(), call);
        EXPECT_EQ(boxes.Boxes().size(), 1u);
    }
}

} // namespace qntest
