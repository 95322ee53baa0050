// CKESTSaveHelper and CKESTLoadHelper: the typed values, marks and copies of
// the block format.
#include <QNBlock.h>

#include "common/Result.h"
#include "persist/StreamIO.h"

#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "the block format is the processor's memory order, which must be little-endian");
static_assert(sizeof(float) == 4 && sizeof(double) == 8 && sizeof(__int64) == 8 && sizeof(short) == 2);

namespace {

constexpr UINT kGrowBytes = 1024;
// Copies move this many bytes at a time; strings are read in chunks of this
// many bytes.
constexpr ULONG kChunkBytes = 1024;

// The marks as their words say, in the little-endian order of the block.
const DWORD kHeadMark = KEST_BLOCK_HEAD_MARK;
const DWORD kEndMarker = KEST_DATA_END_MARKER;

// Runs one read or write of the helpers. A file exception is shown to the user
// with its own message box and becomes E_FAIL; everything else passes.
template <class Operation> HRESULT UnderFileHandler(Operation&& operation)
{
    try {
        return operation();
    } catch (CFileException* e) {
        e->ReportError(MB_OK);
        e->Delete();
        return E_FAIL;
    }
}

HRESULT WriteTo(CFile& file, const void* data, ULONG count)
{
    return UnderFileHandler([&] {
        file.Write(data, count);
        return S_OK;
    });
}

HRESULT WriteTo(CArchive& archive, const void* data, ULONG count)
{
    return UnderFileHandler([&] {
        archive.Write(data, count);
        return S_OK;
    });
}

// Type byte and value bytes into one helper.
HRESULT SaveTyped(CKESTSaveHelper& helper, unsigned char type, const void* value, ULONG size)
{
    QN_RETURN_IF_NOT_OK(helper.KESTSave(&type, 1));
    return helper.KESTSave(value, size);
}

// The whole content of `source`, from its start, into `destination` in chunks;
// stops at the first write that fails. `append` writes one chunk.
template <class Append> HRESULT CopyChunks(CKESTSaveHelper& source, Append&& append)
{
    unsigned char chunk[kChunkBytes];
    source.SeekToBegin();
    for (;;) {
        const UINT got = source.Read(chunk, sizeof chunk);
        if (got == 0)
            return S_OK;
        QN_RETURN_IF_NOT_OK(append(chunk, got));
    }
}

} // namespace

// --- CKESTSaveHelper -------------------------------------------------------------

CKESTSaveHelper::CKESTSaveHelper() : CMemFile(kGrowBytes) {}

HRESULT CKESTSaveHelper::KESTSave(const void* pData, ULONG nCount) { return WriteTo(*this, pData, nCount); }

HRESULT CKESTSaveHelper::KESTSave(CKESTSaveHelper& destination, const void* pData, ULONG nCount)
{
    return destination.KESTSave(pData, nCount);
}

HRESULT CKESTSaveHelper::KESTSave(CArchive& destination, const void* pData, ULONG nCount)
{
    return WriteTo(destination, pData, nCount);
}

ULONG CKESTSaveHelper::KESTGetLength() { return static_cast<ULONG>(GetLength()); }

CMemFile& CKESTSaveHelper::KESTGetIntenalStorage() { return *this; }

HRESULT CKESTSaveHelper::KESTSaveBYTE(const unsigned char& value)
{
    return SaveTyped(*this, KEST_TYPE_BYTE, &value, sizeof value);
}

HRESULT CKESTSaveHelper::KESTSaveSHORT(const short& value)
{
    return SaveTyped(*this, KEST_TYPE_SHORT, &value, sizeof value);
}

HRESULT CKESTSaveHelper::KESTSaveLONG(const LONG& value)
{
    return SaveTyped(*this, KEST_TYPE_LONG, &value, sizeof value);
}

HRESULT CKESTSaveHelper::KESTSaveFLOAT(const float& value)
{
    return SaveTyped(*this, KEST_TYPE_FLOAT, &value, sizeof value);
}

HRESULT CKESTSaveHelper::KESTSaveDOUBLE(const double& value)
{
    return SaveTyped(*this, KEST_TYPE_DOUBLE, &value, sizeof value);
}

HRESULT CKESTSaveHelper::KESTSaveINT64(const __int64& value)
{
    return SaveTyped(*this, KEST_TYPE_INT64, &value, sizeof value);
}

HRESULT CKESTSaveHelper::KESTSaveCLSID(const GUID& value)
{
    return SaveTyped(*this, KEST_TYPE_CLSID, &value, sizeof value);
}

HRESULT CKESTSaveHelper::KESTSaveCSTRING(const CString& value)
{
    const ULONG byteCount = static_cast<ULONG>(value.GetLength()) * sizeof(WCHAR);
    HRESULT hr = SaveTyped(*this, KEST_TYPE_CSTRING, &byteCount, sizeof byteCount);
    if (hr != S_OK || byteCount == 0)
        return hr;
    return KESTSave(static_cast<LPCWSTR>(value), byteCount);
}

HRESULT CKESTSaveHelper::KESTSaveBlockHeadMark() { return KESTSave(&kHeadMark, sizeof kHeadMark); }

HRESULT CKESTSaveHelper::KESTSaveBlockHeadMark(CKESTSaveHelper& destination)
{
    return KESTSave(destination, &kHeadMark, sizeof kHeadMark);
}

HRESULT CKESTSaveHelper::KESTSaveBlockHeadMark(CArchive& destination)
{
    return KESTSave(destination, &kHeadMark, sizeof kHeadMark);
}

HRESULT CKESTSaveHelper::KESTSaveDataEndMarker() { return KESTSave(&kEndMarker, sizeof kEndMarker); }

HRESULT CKESTSaveHelper::KESTSaveDataEndMarker(CKESTSaveHelper& destination)
{
    return KESTSave(destination, &kEndMarker, sizeof kEndMarker);
}

HRESULT CKESTSaveHelper::KESTSaveDataEndMarker(CArchive& destination)
{
    return KESTSave(destination, &kEndMarker, sizeof kEndMarker);
}

HRESULT CKESTSaveHelper::KESTCopyData(CKESTSaveHelper& destination)
{
    // Into itself: the chunks would be read back as they are appended, so the
    // content is taken aside first and then appended at the end.
    if (&destination == this) {
        CKESTSaveHelper copy;
        const HRESULT hr = KESTCopyData(copy);
        return hr != S_OK ? hr : copy.KESTCopyData(*this);
    }
    return CopyChunks(*this, [&](const void* chunk, UINT size) { return destination.KESTSave(chunk, size); });
}

HRESULT CKESTSaveHelper::KESTCopyData(CArchive& destination)
{
    if (destination.IsLoading())
        return E_FAIL;
    return CopyChunks(*this, [&](const void* chunk, UINT size) { return WriteTo(destination, chunk, size); });
}

// --- CKESTLoadHelper -------------------------------------------------------------

HRESULT CKESTLoadHelper::KESTSetArchive(CArchive* pArchive)
{
    m_pArchive = pArchive;
    return S_OK;
}

HRESULT CKESTLoadHelper::KESTLoad(void* pBuffer, ULONG& nCount, ULONG& nBytesLeft)
{
    // security: nBytesLeft is the block length from the archive, and nCount
    // may be too; nothing is read beyond either.
    if (nBytesLeft < nCount)
        return QN_E_TOOSHORT;
    if (!m_pArchive)
        return E_FAIL;
    UINT got = 0;
    QN_RETURN_IF_NOT_OK(UnderFileHandler([&] {
        got = m_pArchive->Read(pBuffer, nCount);
        return S_OK;
    }));
    HRESULT result = S_OK;
    if (got < nCount) {
        nCount = got;
        result = S_FALSE;
    }
    nBytesLeft -= got;
    return result;
}

HRESULT CKESTLoadHelper::LoadTyped(unsigned char type, void* pValue, ULONG nSize, ULONG& nBytesLeft)
{
    unsigned char typeRead = 0;
    ULONG count = 1;
    QN_RETURN_IF_NOT_OK(KESTLoad(&typeRead, count, nBytesLeft));
    if (typeRead != type)
        return E_FAIL;
    unsigned char value[16];
    count = nSize;
    const HRESULT hr = KESTLoad(value, count, nBytesLeft);
    if (hr == S_OK)
        std::memcpy(pValue, value, nSize);
    return hr;
}

HRESULT CKESTLoadHelper::KESTLoadBYTE(unsigned char& value, ULONG& nBytesLeft)
{
    return LoadTyped(KEST_TYPE_BYTE, &value, sizeof value, nBytesLeft);
}

HRESULT CKESTLoadHelper::KESTLoadSHORT(short& value, ULONG& nBytesLeft)
{
    return LoadTyped(KEST_TYPE_SHORT, &value, sizeof value, nBytesLeft);
}

HRESULT CKESTLoadHelper::KESTLoadLONG(LONG& value, ULONG& nBytesLeft)
{
    return LoadTyped(KEST_TYPE_LONG, &value, sizeof value, nBytesLeft);
}

HRESULT CKESTLoadHelper::KESTLoadFLOAT(float& value, ULONG& nBytesLeft)
{
    return LoadTyped(KEST_TYPE_FLOAT, &value, sizeof value, nBytesLeft);
}

HRESULT CKESTLoadHelper::KESTLoadDOUBLE(double& value, ULONG& nBytesLeft)
{
    return LoadTyped(KEST_TYPE_DOUBLE, &value, sizeof value, nBytesLeft);
}

HRESULT CKESTLoadHelper::KESTLoadINT64(__int64& value, ULONG& nBytesLeft)
{
    return LoadTyped(KEST_TYPE_INT64, &value, sizeof value, nBytesLeft);
}

HRESULT CKESTLoadHelper::KESTLoadCLSID(GUID& value, ULONG& nBytesLeft)
{
    return LoadTyped(KEST_TYPE_CLSID, &value, sizeof value, nBytesLeft);
}

HRESULT CKESTLoadHelper::KESTLoadCSTRING(CString& value, ULONG& nBytesLeft)
{
    unsigned char typeRead = 0;
    ULONG count = 1;
    QN_RETURN_IF_NOT_OK(KESTLoad(&typeRead, count, nBytesLeft));
    if (typeRead != KEST_TYPE_CSTRING)
        return E_FAIL;
    return KESTLoadStringData(value, nBytesLeft);
}

HRESULT CKESTLoadHelper::KESTLoadStringData(CString& value, ULONG& nBytesLeft)
{
    ULONG byteCount = 0;
    ULONG count = sizeof byteCount;
    QN_RETURN_IF_NOT_OK(KESTLoad(&byteCount, count, nBytesLeft));
    value.Empty();
    // security: the length is from the archive. One beyond the largest text
    // (the top bit set) reads nothing; each chunk is checked against the bytes
    // left before it is read, so nothing is allocated ahead of the data that
    // actually came.
    ULONG remaining = byteCount > qn::persist::kMaxTextBytes ? 0 : byteCount;
    WCHAR chunk[kChunkBytes / sizeof(WCHAR) + 1];
    while (remaining > 0) {
        ULONG size = remaining < kChunkBytes ? remaining : kChunkBytes;
        QN_RETURN_IF_NOT_OK(KESTLoad(chunk, size, nBytesLeft));
        remaining -= size;
        // The chunk's text ends after its whole characters (an odd count loses
        // its last byte) or at an embedded zero character, whichever is first.
        chunk[size / sizeof(WCHAR)] = 0;
        value += chunk;
    }
    return S_OK;
}

HRESULT CKESTLoadHelper::KESTLoadBlockHeadMark(ULONG& nBytesLeft)
{
    unsigned char word[4];
    ULONG count = sizeof word;
    QN_RETURN_IF_NOT_OK(KESTLoad(word, count, nBytesLeft));
    return std::memcmp(word, &kHeadMark, sizeof word) == 0 ? S_OK : E_FAIL;
}

HRESULT CKESTLoadHelper::KESTLoadDataEndMarker(ULONG& nBytesLeft)
{
    unsigned char word[4];
    ULONG count = sizeof word;
    QN_RETURN_IF_NOT_OK(KESTLoad(word, count, nBytesLeft));
    return std::memcmp(word, &kEndMarker, sizeof word) == 0 ? S_OK : E_FAIL;
}

HRESULT CKESTLoadHelper::KESTLoadAndIgnore(ULONG& nBytesLeft)
{
    unsigned char type = 0;
    ULONG count = 1;
    QN_RETURN_IF_NOT_OK(KESTLoad(&type, count, nBytesLeft));
    static const ULONG kValueSize[] = {0, 1, 2, 4, 4, 8, 8, 16};
    if (type >= KEST_TYPE_BYTE && type <= KEST_TYPE_CLSID) {
        unsigned char value[16];
        count = kValueSize[type];
        return KESTLoad(value, count, nBytesLeft);
    }
    if (type == KEST_TYPE_CSTRING) {
        CString ignored;
        return KESTLoadStringData(ignored, nBytesLeft);
    }
    return E_FAIL;
}
