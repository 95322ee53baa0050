// The one fault harness of the loaders: a valid encoding must load (the
// control), then load again with a fault at every byte offset and give the
// code its table row expects for that kind of fault. Stream loaders read a
// TestStream; block loaders read an archive over a FaultyFile with a block
// length. Each row's load function checks what its own target kept.
#pragma once

#include <QNBlock.h>
#include <support/MessageBoxRecorder.h>
#include <support/TestStreams.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace qntest {

// A memory file that raises CFileException (diskFull on writes, hardIO on
// reads) once a write or read reaches byte `offset` of the file.
class FaultyFile final : public CMemFile {
public:
    enum Fault { None, ThrowOnWrite, ThrowOnRead };

    explicit FaultyFile(Fault fault, ULONGLONG offset = 0) : m_fault(fault), m_offset(offset) {}
    FaultyFile(const std::vector<unsigned char>& bytes, Fault fault, ULONGLONG offset = 0) : m_offset(offset)
    {
        if (!bytes.empty())
            CMemFile::Write(bytes.data(), static_cast<UINT>(bytes.size()));
        SeekToBegin();
        m_fault = fault;
    }
    UINT Read(void* buffer, UINT count) override
    {
        if (m_fault == ThrowOnRead && count && GetPosition() + count > m_offset)
            AfxThrowFileException(CFileException::hardIO, 1117 /* ERROR_IO_DEVICE */, _T("panel.dat"));
        return CMemFile::Read(buffer, count);
    }
    void Write(const void* buffer, UINT count) override
    {
        ++m_writes;
        if (m_fault == ThrowOnWrite && count && GetPosition() + count > m_offset)
            AfxThrowFileException(CFileException::diskFull, 112 /* ERROR_DISK_FULL */, _T("panel.dat"));
        CMemFile::Write(buffer, count);
    }
    std::vector<unsigned char> Bytes()
    {
        std::vector<unsigned char> bytes(static_cast<size_t>(GetLength()));
        const ULONGLONG position = GetPosition();
        SeekToBegin();
        if (!bytes.empty())
            CMemFile::Read(bytes.data(), static_cast<UINT>(bytes.size()));
        Seek(static_cast<LONGLONG>(position), begin);
        return bytes;
    }
    int Writes() const { return m_writes; }

private:
    Fault m_fault = None;
    ULONGLONG m_offset;
    int m_writes = 0;
};

// The bytes a save helper holds.
inline std::vector<unsigned char> HelperBytes(CKESTSaveHelper& helper)
{
    CMemFile& file = helper.KESTGetIntenalStorage();
    std::vector<unsigned char> bytes(helper.KESTGetLength());
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

// The message a file exception of this cause and error shows.
inline CString FileErrorMessage(int cause, LONG osError)
{
    CFileException e(cause, osError, _T("panel.dat"));
    WCHAR text[1024] = {};
    e.GetErrorMessage(text, 1024);
    return CString(text);
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

using FaultedLoad = std::function<HRESULT(const std::vector<unsigned char>& bytes, const Injection& at)>;

struct LoadRow {
    const char* name;
    std::vector<unsigned char> encoding;
    FaultedLoad load;
    std::vector<std::pair<ReadFault, HRESULT>> faults; // each kind swept, with its code
};

inline const char* ReadFaultName(ReadFault fault)
{
    static const char* const names[] = {"end", "end (S_FALSE)", "short read", "failing read",
                                        "file ends", "file fails", "block length ends"};
    return names[static_cast<int>(fault)];
}

inline void SweepReadFaults(const LoadRow& row)
{
    SCOPED_TRACE(row.name);
    ASSERT_EQ(row.load(row.encoding, {false, ReadFault::End, 0}), S_OK) << "control";
    for (const auto& [fault, code] : row.faults) {
        for (size_t offset = 0; offset < row.encoding.size(); ++offset) {
            SCOPED_TRACE(testing::Message() << ReadFaultName(fault) << " at " << offset);
            EXPECT_EQ(row.load(row.encoding, {true, fault, offset}), code);
        }
    }
}

// The four faults of a stream, all with one code.
inline std::vector<std::pair<ReadFault, HRESULT>> StreamFaults(HRESULT code)
{
    return {{ReadFault::End, code}, {ReadFault::EndFalse, code}, {ReadFault::ShortRead, code},
            {ReadFault::ReadFail, code}};
}

// Runs `load` on a stream over the bytes with the fault injected; the loader
// keeps no reference and, inside a valid encoding, asks for no byte beyond it.
inline HRESULT OnStream(const std::vector<unsigned char>& bytes, const Injection& at,
                        const std::function<HRESULT(IStream*)>& load)
{
    static const StreamFault kinds[] = {StreamFault::End, StreamFault::EndFalse, StreamFault::ShortRead,
                                        StreamFault::ReadFail};
    TestStream stream(bytes);
    if (at.active)
        stream.InjectFault(kinds[static_cast<int>(at.fault)], at.offset);
    const HRESULT hr = load(&stream);
    if (at.active)
        EXPECT_LE(stream.FurthestReadRequest(), bytes.size());
    EXPECT_EQ(stream.References(), 0);
    return hr;
}

// An archive loading bytes through a load helper. Any file exception shows
// one message.
struct BlockSource {
    BlockSource(const std::vector<unsigned char>& bytes, const Injection& at, UINT bufferSize = 4096)
        : file(at.active && at.fault == ReadFault::FileEnds
                   ? std::vector<unsigned char>(bytes.begin(), bytes.begin() + static_cast<long>(at.offset))
                   : bytes,
               at.active && at.fault == ReadFault::FileFails ? FaultyFile::ThrowOnRead : FaultyFile::None, at.offset),
          archive(&file, CArchive::load, static_cast<int>(bufferSize)),
          left(static_cast<ULONG>(at.active && at.fault == ReadFault::LengthEnds ? at.offset : bytes.size())),
          fileFails(at.active && at.fault == ReadFault::FileFails)
    {
        helper.KESTSetArchive(&archive);
    }
    ~BlockSource() { EXPECT_EQ(boxes.Boxes().size(), fileFails ? 1u : 0u); }
    // The archive's next byte, or -1 at its end: shows how far a load read.
    int NextByte()
    {
        unsigned char byte = 0;
        return archive.Read(&byte, 1) == 1 ? byte : -1;
    }
    MessageBoxRecorder boxes;
    FaultyFile file;
    CArchive archive;
    CKESTLoadHelper helper;
    ULONG left;
    bool fileFails;
};

// A save into a stream whose write fails, or comes short, at every offset.
// A short write is not checked where `onShortWrite` is empty.
inline void SweepWriteFaults(const char* name, const std::function<HRESULT(IStream*)>& save, size_t size,
                             std::optional<HRESULT> onShortWrite)
{
    SCOPED_TRACE(name);
    for (size_t offset = 0; offset < size; ++offset) {
        TestStream failing, shortWrite;
        failing.InjectFault(StreamFault::WriteFail, offset);
        shortWrite.InjectFault(StreamFault::WriteShort, offset);
        EXPECT_EQ(save(&failing), E_FAIL) << "failing write at " << offset;
        if (onShortWrite)
            EXPECT_EQ(save(&shortWrite), *onShortWrite) << "short write at " << offset;
    }
}

} // namespace qntest
