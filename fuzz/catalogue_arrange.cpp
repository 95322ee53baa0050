// Arranging 50 arbitrary driver records into the catalogue tree: the input's
// first three bytes give the runtime and help folder lengths and where the
// records split into two modules; the rest is laid over the 50 default
// records. No crash, no overrun, and every text in the tree is terminated
// inside its field.
#include "catalogue/CatalogueBuilder.h"
#include "catalogue/CatalogueText.h"

#include <cstdlib>
#include <cstring>
#include <vector>

using namespace qn::catalogue;

namespace {

template <class Char, size_t N> void RequireTerminated(const Char (&text)[N])
{
    if (!IsTerminated(text))
        std::abort();
}

void RequireTerminated(const CDLLinfo& info)
{
    RequireTerminated(info.m_szName);
    RequireTerminated(info.m_szModule);
    RequireTerminated(info.m_szHelpFile);
    RequireTerminated(info.m_szText1);
    RequireTerminated(info.m_szChildName);
    RequireTerminated(info.m_szText2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const CString runtime(_T('r'), data[0]);
    const CString help(_T('h'), data[1]);
    const size_t split = data[2] % (QN_DRIVER_RECORD_COUNT + 1);
    data += 3;
    size -= 3;

    std::vector<QNDriverRecord> records(QN_DRIVER_RECORD_COUNT);
    InitDriverRecords(records.data(), records.size());
    std::memcpy(records.data(), data, size < sizeof(QNDriverRecord) * records.size() ? size : sizeof(QNDriverRecord) * records.size());

    ManufacturerList list;
    size_t given = 0;
    {
        CatalogueBuilder builder(list, help, runtime);
        const QNDriverRecord* modules[2] = {records.data(), records.data() + split};
        const size_t lengths[2] = {split, QN_DRIVER_RECORD_COUNT - split};
        for (int m = 0; m < 2; ++m) {
            const size_t count = CountRecords(modules[m], lengths[m]);
            given += count;
            builder.AddModule(modules[m], count, m == 0 ? _T("C:\\a.dll") : _T("C:\\b.dll"));
        }
        builder.AttachPending();
        if (builder.PendingCount() != 0)
            std::abort();
    }

    size_t entries = 0;
    for (POSITION man = list.GetHeadPosition(); man;) {
        CManNode* manufacturer = list.GetNext(man);
        RequireTerminated(manufacturer->m_szManufacturer);
        if (manufacturer->m_OVLList.IsEmpty())
            std::abort();
        for (POSITION pos = manufacturer->m_OVLList.GetHeadPosition(); pos;) {
            const COVLnode* listed = manufacturer->m_OVLList.GetNext(pos);
            RequireTerminated(listed->m_Info);
            RequireTerminated(listed->m_szDLLPath);
            if (!TextEquals(listed->m_Info.m_szName, manufacturer->m_szManufacturer))
                std::abort();
            ++entries;
            for (POSITION kid = listed->m_PCLList.GetHeadPosition(); kid;) {
                const CPCLnode* attached = listed->m_PCLList.GetNext(kid);
                RequireTerminated(attached->m_Info);
                RequireTerminated(attached->m_szDLLPath);
                if (!TextEquals(attached->m_Info.m_szName, listed->m_Info.m_szChildName))
                    std::abort();
                ++entries;
            }
        }
    }
    if (entries > given)
        std::abort();
    while (!list.IsEmpty())
        delete list.RemoveHead();
    return 0;
}
