// Catalogue records and entries: defaults, the copy rules and destruction
// through the lists.
#include "catalogue_Support.h"

#include <gtest/gtest.h>

namespace {

using qntest::BitWord;
using qntest::Carried;
using qntest::Narrow;
using qntest::Put;

void Fill(CDLLinfo& info, int seed, uint32_t bits)
{
    int32_t* numbers[] = {&info.m_nID, &info.m_nKind, &info.m_nParam, &info.m_nValue};
    for (int i = 0; i < 4; ++i)
        *numbers[i] = seed + i;
    uint16_t* words[] = {&info.m_wParam1, &info.m_wParam2, &info.m_wParam3, &info.m_wParam4, &info.m_wParam5, &info.m_wFlags};
    for (int i = 0; i < 6; ++i)
        *words[i] = static_cast<uint16_t>(seed + 4 + i);
    const std::string s = std::to_string(seed);
    Put(info.m_szName, "name" + s);
    Put(info.m_szModule, "module" + s);
    Put(info.m_szHelpFile, "help" + s);
    Put(info.m_szText1, "one" + s);
    Put(info.m_szChildName, "child" + s);
    Put(info.m_szText2, "two" + s);
    qntest::SetBitWord(info, bits);
}

TEST(CatalogueRecords, Defaults)
{
    const CPCLnode node;
    const CDLLinfo& info = node.m_Info;
    EXPECT_EQ(Carried(info), "0,0,0,0,348,100,50,50,20,0,4,,,Orvista.chm,,,");
    EXPECT_EQ(BitWord(info), 0x15Cu); // bits 10 to 31 clear as well
    const CManNode manufacturer;
    EXPECT_TRUE(Narrow(manufacturer.m_szManufacturer).empty() && manufacturer.m_OVLList.IsEmpty());
}

TEST(CatalogueRecords, AssignmentCarriesFieldsButNotUnusedBits)
{
    // Bits 10 to 31 stay the destination's; bits 0 to 9 come from the source.
    const uint32_t kBits[][2] = {{0xFFFFFC00u | 0x155u, 0x0u}, {0x2AAu, 0xABCDE400u | 0x3FFu}, {~0u, ~0u}};
    for (const auto& bits : kBits) {
        SCOPED_TRACE(bits[0]);
        CPCLnode source, destination;
        Fill(source.m_Info, 10, bits[0]);
        Put(source.m_szDLLPath, "C:\\drivers\\a.dll");
        Fill(destination.m_Info, 20, bits[1]);
        Put(destination.m_Info.m_szName, "wxyz0123");
        destination = source;
        EXPECT_EQ(destination.m_Info.m_szName[7], '3'); // texts copied up to their terminator only
        EXPECT_EQ(Carried(destination.m_Info), Carried(source.m_Info));
        EXPECT_EQ(BitWord(destination.m_Info) >> 10, bits[1] >> 10);
        EXPECT_EQ(Narrow(destination.m_szDLLPath), "C:\\drivers\\a.dll");
        const CPCLnode constructed(source); // default record, then assigned
        EXPECT_EQ(Carried(constructed.m_Info), Carried(source.m_Info));
        EXPECT_EQ(BitWord(constructed.m_Info) >> 10, 0u);
        destination = static_cast<const CPCLnode&>(destination); // to itself: nothing changes
        EXPECT_EQ(Carried(destination.m_Info), Carried(source.m_Info));
    }
}

// Entries that count their destruction.
int g_destroyed = 0;
struct CountedPCL : CPCLnode {
    ~CountedPCL() override { ++g_destroyed; }
};
struct CountedOVL : COVLnode {
    ~CountedOVL() override { ++g_destroyed; }
};

COVLnode* ListedWithAttached(int attached)
{
    auto* entry = new CountedOVL;
    Put(entry->m_Info.m_szModule, "listed");
    Put(entry->m_szDLLPath, "source.dll");
    for (int i = 0; i < attached; ++i)
        entry->m_PCLList.AddTail(new CountedPCL);
    return entry;
}

TEST(CatalogueRecords, CopiesNeverTakeOwnedEntries)
{
    g_destroyed = 0;
    CManNode manufacturer;
    Put(manufacturer.m_szManufacturer, "Acme");
    manufacturer.m_OVLList.AddTail(ListedWithAttached(3));
    COVLnode& source = *manufacturer.m_OVLList.GetHead();
    {
        const COVLnode copy(source);
        EXPECT_EQ(Narrow(copy.m_Info.m_szModule) + " " + Narrow(copy.m_szDLLPath), "listed source.dll");
        EXPECT_TRUE(copy.m_PCLList.IsEmpty());
        COVLnode assigned;
        assigned.m_PCLList.AddTail(new CountedPCL);
        assigned = source;
        assigned = static_cast<const COVLnode&>(assigned);
        EXPECT_EQ(Narrow(assigned.m_Info.m_szModule) + " " + Narrow(assigned.m_szDLLPath), "listed source.dll");
        EXPECT_EQ(assigned.m_PCLList.GetCount(), 1);

        const CManNode manufacturerCopy(manufacturer);
        EXPECT_EQ(Narrow(manufacturerCopy.m_szManufacturer), "Acme");
        EXPECT_TRUE(manufacturerCopy.m_OVLList.IsEmpty());
        CManNode manufacturerAssigned;
        manufacturerAssigned.m_OVLList.AddTail(ListedWithAttached(0));
        manufacturerAssigned = manufacturer;
        manufacturerAssigned = static_cast<const CManNode&>(manufacturerAssigned);
        EXPECT_EQ(Narrow(manufacturerAssigned.m_szManufacturer), "Acme");
        EXPECT_EQ(manufacturerAssigned.m_OVLList.GetCount(), 1);
        EXPECT_NE(manufacturerAssigned.m_OVLList.GetHead(), &source);
    }
    // Only the copies' own entries went: the assigned entry's one attached
    // entry, and the listed entry of the assigned manufacturer.
    EXPECT_EQ(g_destroyed, 2);
    EXPECT_EQ(source.m_PCLList.GetCount(), 3);
    {
        CManNode tree;
        tree.m_OVLList.AddTail(ListedWithAttached(3));
        tree.m_OVLList.AddTail(ListedWithAttached(12)); // more than one node block
    }
    EXPECT_EQ(g_destroyed, 2 + 2 + 15); // destroying a manufacturer destroys the tree
}

} // namespace
