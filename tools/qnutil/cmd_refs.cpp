// qnutil refs: decode a reference list saved in either of its forms (a block
// of an archive, or a stream) and print its tags, object identifiers and
// special identifiers. qnutil refs-samples writes the sample files.
#include "Command.h"

#include <QNUtility.h>
#include <afx/atlbase.h>

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using qnutil::Fail;
using qnutil::Out;

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

bool ReadFile(const std::wstring& name, std::vector<BYTE>& bytes)
{
    std::unique_ptr<FILE, FileCloser> file(_wfopen(name.c_str(), L"rb"));
    if (!file)
        return false;
    BYTE chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    return !std::ferror(file.get());
}

bool WriteFile(const std::wstring& name, const std::vector<BYTE>& bytes)
{
    std::unique_ptr<FILE, FileCloser> file(_wfopen(name.c_str(), L"wb"));
    return file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

std::wstring Number(unsigned long long value)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%llu", value);
    return text;
}

std::wstring Offset(unsigned long long offset)
{
    return L"offset " + Number(offset) + L" (0x" + qnutil::Hex(offset, 1) + L")";
}

// The three sets, sorted so that the output does not depend on hash order.
void PrintList(CRefObjList& list)
{
    std::vector<std::wstring> tags, specials;
    std::vector<__int64> objects;
    CString key;
    void* ignored = nullptr;
    for (POSITION pos = list.m_mapTagIDs.GetStartPosition(); pos;) {
        list.m_mapTagIDs.GetNextAssoc(pos, key, ignored);
        tags.emplace_back(static_cast<LPCWSTR>(key));
    }
    for (POSITION pos = list.m_mapSpecialObjIDs.GetStartPosition(); pos;) {
        list.m_mapSpecialObjIDs.GetNextAssoc(pos, key, ignored);
        specials.emplace_back(static_cast<LPCWSTR>(key));
    }
    __int64 id = 0;
    for (POSITION pos = list.m_mapObjIDs.GetStartPosition(); pos;) {
        list.m_mapObjIDs.GetNextAssoc(pos, id, ignored);
        objects.push_back(id);
    }
    std::sort(tags.begin(), tags.end());
    std::sort(specials.begin(), specials.end());
    std::sort(objects.begin(), objects.end());

    Out(Number(tags.size()) + L" tags, " + Number(objects.size()) + L" objects, " + Number(specials.size()) +
        L" special objects\n");
    for (const std::wstring& tag : tags)
        Out(L"tag      " + tag + L"\n");
    for (__int64 object : objects) {
        wchar_t text[64];
        std::swprintf(text, 64, L"%lld (0x%016llX)", object, static_cast<unsigned long long>(object));
        Out(L"object   " + std::wstring(text) + L"\n");
    }
    for (const std::wstring& special : specials)
        Out(L"special  " + special + L"\n");
}

// The block form: head mark, identifier 2600, payload length, payload.
int DecodeBlock(const std::wstring& name, std::vector<BYTE>& bytes)
{
    const ULONG size = static_cast<ULONG>(bytes.size());
    CMemFile file(bytes.data(), size);
    CArchive archive(&file, CArchive::load);
    CKESTLoadHelper loader;
    loader.KESTSetArchive(&archive);

    ULONG frame = std::min<ULONG>(size, 12), idSize = 4, lengthSize = 4;
    LONG blockId = 0;
    ULONG length = 0;
    if (loader.KESTLoadBlockHeadMark(frame) != S_OK || loader.KESTLoad(&blockId, idSize, frame) != S_OK ||
        loader.KESTLoad(&length, lengthSize, frame) != S_OK)
        return Fail(L"refs", name + L": damaged block: the file ends at " + Offset(size) +
                                 L", inside the 12-byte block frame");
    if (blockId != KEST_REFLIST_BLOCK_ID)
        return Fail(L"refs", name + L": block " + std::to_wstring(blockId) + L" at offset 0 is no reference list (" +
                                 std::to_wstring(KEST_REFLIST_BLOCK_ID) + L")");

    Out(name + L": reference list, block form, payload of " + Number(length) + L" bytes\n");
    CRefObjList list;
    ULONG left = length;
    const HRESULT hr = list.Load(loader, left, 0);
    const unsigned long long stopped = 12ull + (length - left);
    if (FAILED(hr)) {
        PrintList(list);
        return Fail(L"refs", name + L": damaged block: decoding failed at " + Offset(stopped) + L" (result 0x" +
                                 qnutil::Hex(static_cast<ULONG>(hr), 8) + L"); the entries above came before it");
    }
    PrintList(list);
    // Short reads are no failure for the loader: a file cut inside the block
    // shows as a payload that was not all there.
    if (12ull + length > size)
        return Fail(L"refs", name + L": damaged block: the file ends at " + Offset(size) + L", inside a payload of " +
                                 Number(length) + L" bytes; the entries above came before it");
    if (left != 0)
        Out(L"note: " + Number(left) + L" bytes at the end of the payload were not needed\n");
    if (12ull + length < size)
        Out(L"note: " + Number(size - 12ull - length) + L" bytes follow the block\n");
    return 0;
}

// The stream form: version, then each set as a 16-bit count and its items.
int DecodeStream(const std::wstring& name, const std::vector<BYTE>& bytes)
{
    CComPtr<IStream> stream;
    stream.Attach(::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
    if (!stream)
        return Fail(L"refs", name + L": out of memory");
    CRefObjList list;
    const HRESULT hr = list.Load(stream);
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER position = {};
    stream->Seek(zero, STREAM_SEEK_CUR, &position);
    stream.Release();

    Out(name + L": reference list, stream form\n");
    PrintList(list);
    if (FAILED(hr))
        return Fail(L"refs", name + L": damaged stream: decoding failed at " + Offset(position.QuadPart) +
                                 L" of " + Number(bytes.size()) + L" bytes; the items above came before it");
    if (position.QuadPart < bytes.size())
        Out(L"note: " + Number(bytes.size() - position.QuadPart) + L" bytes follow the list\n");
    return 0;
}

int RunRefs(std::span<const std::wstring> args)
{
    if (args.empty())
        return qnutil::Usage(L"refs");
    int status = 0;
    for (const std::wstring& name : args) {
        std::vector<BYTE> bytes;
        if (!ReadFile(name, bytes)) {
            status = Fail(L"refs", name + L": cannot read");
            continue;
        }
        if (bytes.size() > 0x7FFFFFFF) {
            status = Fail(L"refs", name + L": larger than 2 GiB");
            continue;
        }
        // A block starts with its head mark; the stream form with its version.
        DWORD head = 0;
        if (bytes.size() >= 4)
            std::memcpy(&head, bytes.data(), 4);
        const bool block = head == KEST_BLOCK_HEAD_MARK;
        const int result = block ? DecodeBlock(name, bytes) : DecodeStream(name, bytes);
        if (result != 0)
            status = result;
        if (args.size() > 1)
            Out(L"\n");
    }
    return status;
}

// The sample files: one list in both forms, and the block form damaged by a
// wrong type byte in its second entry.
void SampleList(CRefObjList& list)
{
    list.AddTagID(CString(L"Tank1.Level"));
    list.AddTagID(CString(L"Tank1.Alarm.High"));
    list.AddTagID(CString(L"Pump3.Running"));
    list.AddObjID(4711);
    list.AddObjID(0x0001000200030004ll);
    list.AddSpecialObjID(CString(L"$CurrentUser"));
    list.AddSpecialObjID(CString(L"$Language"));
}

int RunRefsSamples(std::span<const std::wstring> args)
{
    if (args.size() != 1)
        return qnutil::Usage(L"refs-samples");
    const std::wstring folder = args[0] + L"\\";
    CRefObjList list;
    SampleList(list);

    CComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return Fail(L"refs-samples", L"out of memory");
    const HRESULT saved = list.Save(stream);
    STATSTG stat = {};
    HGLOBAL memory = nullptr;
    std::vector<BYTE> streamBytes;
    if (SUCCEEDED(saved) && SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) &&
        SUCCEEDED(::GetHGlobalFromStream(stream, &memory))) {
        const BYTE* data = static_cast<const BYTE*>(::GlobalLock(memory));
        streamBytes.assign(data, data + stat.cbSize.QuadPart);
        ::GlobalUnlock(memory);
    }
    stream.Release();

    CKESTSaveHelper block;
    std::vector<BYTE> blockBytes;
    if (list.Save(block, 0) == S_OK) {
        blockBytes.resize(block.KESTGetLength());
        block.KESTGetIntenalStorage().SeekToBegin();
        block.KESTGetIntenalStorage().Read(blockBytes.data(), static_cast<UINT>(blockBytes.size()));
    }
    if (streamBytes.empty() || blockBytes.size() < 30)
        return Fail(L"refs-samples", L"the list could not be saved");

    // The second entry's type byte: after the frame (12), version and count
    // (4), the first entry's mark (2), type byte, length and text.
    std::vector<BYTE> damaged = blockBytes;
    ULONG firstLength = 0;
    std::copy_n(damaged.begin() + 19, 4, reinterpret_cast<BYTE*>(&firstLength));
    const size_t secondType = 12 + 4 + 2 + 1 + 4 + firstLength + 2;
    if (secondType >= damaged.size())
        return Fail(L"refs-samples", L"unexpected block layout");
    damaged[secondType] = 0x09;

    const struct {
        const wchar_t* name;
        const std::vector<BYTE>& bytes;
    } files[] = {{L"refs_stream.bin", streamBytes}, {L"refs_block.bin", blockBytes}, {L"refs_damaged.bin", damaged}};
    for (const auto& f : files) {
        if (!WriteFile(folder + f.name, f.bytes))
            return Fail(L"refs-samples", folder + f.name + L": cannot write");
        Out(folder + f.name + L"  " + Number(f.bytes.size()) + L" bytes\n");
    }
    return 0;
}

const qnutil::Registration refs{L"refs", L"FILE...",
                                L"the tags, objects and special objects of a saved reference list (either form)",
                                RunRefs};
const qnutil::Registration refsSamples{L"refs-samples", L"FOLDER",
                                       L"writes the sample reference lists (stream, block, damaged block)",
                                       RunRefsSamples};

} // namespace
