// CRefObjList::Load from a load helper over any bytes: a defined result, the
// count of bytes left never grows, and whatever loaded saves and loads back
// the same.
#include <QNRefObjList.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<BYTE> bytes(data, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive archive(&file, CArchive::load);
    CKESTLoadHelper loader;
    loader.KESTSetArchive(&archive);
    ULONG left = static_cast<ULONG>(bytes.size());
    CRefObjList list;
    const HRESULT hr = list.Load(loader, left, 0);
    if ((hr != S_OK && hr != E_FAIL) || left > bytes.size())
        std::abort();

    // Round trip: the block the list saves loads back to the same sets.
    CKESTSaveHelper saved;
    if (list.Save(saved, 0) != S_OK)
        std::abort();
    saved.SeekToBegin();
    CArchive again(&saved, CArchive::load);
    CKESTLoadHelper reader;
    reader.KESTSetArchive(&again);
    ULONG frame = 12;
    unsigned char head[12];
    ULONG count = 12;
    CRefObjList copy;
    if (reader.KESTLoad(head, count, frame) != S_OK)
        std::abort();
    ULONG length = static_cast<ULONG>(head[8] | head[9] << 8 | head[10] << 16 | ULONG(head[11]) << 24);
    if (copy.Load(reader, length, 0) != S_OK || length != 0 ||
        copy.m_mapTagIDs.GetCount() != list.m_mapTagIDs.GetCount() ||
        copy.m_mapObjIDs.GetCount() != list.m_mapObjIDs.GetCount() ||
        copy.m_mapSpecialObjIDs.GetCount() != list.m_mapSpecialObjIDs.GetCount())
        std::abort();
    return 0;
}
