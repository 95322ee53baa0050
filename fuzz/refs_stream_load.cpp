// CRefObjList::Load from a stream over any bytes: S_OK or E_FAIL, no read past
// the data, and whatever loaded saves and loads back the same.
#include <QNRefObjList.h>

#include <support/TestStreams.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qntest::TestStream stream(std::vector<unsigned char>(data, data + size));
    CRefObjList list;
    const HRESULT hr = list.Load(&stream);
    if ((hr != S_OK && hr != E_FAIL) || stream.Position() > size)
        std::abort();

    qntest::TestStream saved;
    CRefObjList copy;
    if (list.Save(&saved) != S_OK || (saved.Rewind(), copy.Load(&saved)) != S_OK ||
        copy.m_mapTagIDs.GetCount() != list.m_mapTagIDs.GetCount() ||
        copy.m_mapObjIDs.GetCount() != list.m_mapObjIDs.GetCount() ||
        copy.m_mapSpecialObjIDs.GetCount() != list.m_mapSpecialObjIDs.GetCount())
        std::abort();
    return 0;
}
