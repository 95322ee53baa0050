// Catalogue records and entries: defaults, the copy rules and destruction
// through the lists.
#include "catalogue_Support.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using cattest::BitWord;
using cattest::Narrow;
using cattest::Put;
using cattest::SetBitWord;

void Fill(CDLLinfo& info, int seed, uint32_t bits)
{
    info.m_nID = seed;
    info.m_nKind = seed + 1;
    info.m_nParam = seed + 2;
    Put(info.m_szName, "name" + std::to_string(seed));
    Put(info.m_szModule, "module" + std::to_string(seed));
    Put(info.m_szHelpFile, "help" + std::to_string(seed));
    Put(info.m_szText1, "one" + std::to_string(seed));
    Put(info.m_szChildName, "child" + std::to_string(seed));
    info.m_nValue = seed + 3;
    Put(info.m_szText2, "two" + std::to_string(seed));
    SetBitWord(info, bits);
    info.m_wParam1 = static_cast<uint16_t>(seed + 4);
    info.m_wParam2 = static_cast<uint16_t>(seed + 5);
    info.m_wParam3 = static_cast<uint16_t>(seed + 6);
    info.m_wParam4 = static_cast<uint16_t>(seed + 7);
    info.m_wParam5 = static_cast<uint16_t>(seed + 8);
    info.m_wFlags = static_cast<uint16_t>(seed + 9);
}

// Everything a copy carries, as text; the bit word only in its bits 0 to 9.
std::string Carried(const CDLLinfo& info)
{
    return std::to_string(info.m_nID) + "," + std::to_string(info.m_nKind) + "," + std::to_string(info.m_nParam) +
           "," + Narrow(info.m_szName) + "," + Narrow(info.m_szModule) + "," + Narrow(info.m_szHelpFile) + "," +
           Narrow(info.m_szText1) + "," + Narrow(info.m_szChildName) + "," + std::to_string(info.m_nValue) + "," +
           Narrow(info.m_szText2) + "," + std::to_string(BitWord(info) & QN_DRIVER_BITS_USED) + "," +
           std::to_string(info.m_wParam1) + "," + std::to_string(info.m_wParam2) + "," +
           std::to_string(info.m_wParam3) + "," + std::to_string(info.m_wParam4) + "," +
           std::to_string(info.m_wParam5) + "," + std::to_string(info.m_wFlags);
}

TEST(CatalogueRecords, Defaults)
{
    const CPCLnode node;
    EXPECT_EQ(Carried(node.m_Info), "0,0,0,,,Orvista.chm,,,0,,348,100,50,50,20,0,4");
    EXPECT_EQ(BitWord(node.m_Info), 0x15Cu); // bits 10 to 31 clear as well
    // Texts are zero over their whole capacity.
    const auto zeroFrom = [](const auto& field, size_t from) {
        for (size_t i = from; i < sizeof field / sizeof field[0]; ++i)
            if (field[i] != 0)
                return false;
        return true;
    };
    const CDLLinfo& info = node.m_Info;
    EXPECT_TRUE(zeroFrom(info.m_szName, 0) && zeroFrom(info.m_szModule, 0) && zeroFrom(info.m_szHelpFile, 11) &&
                zeroFrom(info.m_szText1, 0) && zeroFrom(info.m_szChildName, 0) && zeroFrom(info.m_szText2, 0) &&
                zeroFrom(node.m_szDLLPath, 0));
    const CManNode manufacturer;
    EXPECT_TRUE(zeroFrom(manufacturer.m_szManufacturer, 0) && manufacturer.m_OVLList.IsEmpty());
}

struct CopyCase {
    const char* what;
    uint32_t sourceBits;
    uint32_t destinationBits;
};

// Bits 10 to 31 stay the destination's; bits 0 to 9 come from the source.
const CopyCase kCopyCases[] = {
    {"source high bits set, destination clear", 0xFFFFFC00u | 0x155u, 0x0u},
    {"source high bits clear, destination set", 0x2AAu, 0xABCDE400u | 0x3FFu},
    {"both all ones", 0xFFFFFFFFu, 0xFFFFFFFFu},
};

TEST(CatalogueRecords, AssignmentCarriesFieldsButNotUnusedBits)
{
    for (const CopyCase& c : kCopyCases) {
        SCOPED_TRACE(c.what);
        CPCLnode source, destination;
        Fill(source.m_Info, 10, c.sourceBits);
        Put(source.m_szDLLPath, "C:\\drivers\\a.dll");
        Fill(destination.m_Info, 20, c.destinationBits);
        Put(destination.m_Info.m_szName, "wxyz0123");
        destination = source;
        EXPECT_EQ(destination.m_Info.m_szName[7], '3'); // texts copied up to their terminator only
        EXPECT_EQ(Carried(destination.m_Info), Carried(source.m_Info));
        EXPECT_EQ(BitWord(destination.m_Info) >> 10, c.destinationBits >> 10);
        EXPECT_EQ(Narrow(destination.m_szDLLPath), "C:\\drivers\\a.dll");

        CPCLnode constructed(source); // default record, then assigned
        EXPECT_EQ(Carried(constructed.m_Info), Carried(source.m_Info));
        EXPECT_EQ(BitWord(constructed.m_Info) >> 10, 0u);
    }
}

TEST(CatalogueRecords, SelfAssignmentChangesNothing)
{
    COVLnode entry;
    Fill(entry.m_Info, 3, 0xFFFFFFFFu);
    entry.m_PCLList.AddTail(new CPCLnode);
    const std::string before = Carried(entry.m_Info);
    const COVLnode& self = entry;
    entry = self;
    EXPECT_EQ(Carried(entry.m_Info), before);
    EXPECT_EQ(BitWord(entry.m_Info), 0xFFFFFFFFu);
    EXPECT_EQ(entry.m_PCLList.GetCount(), 1);
    CManNode manufacturer;
    Put(manufacturer.m_szManufacturer, "Acme");
    manufacturer = static_cast<const CManNode&>(manufacturer);
    EXPECT_EQ(Narrow(manufacturer.m_szManufacturer), "Acme");
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
        EXPECT_EQ(Narrow(copy.m_Info.m_szModule), "listed");
        EXPECT_EQ(Narrow(copy.m_szDLLPath), "source.dll");
        EXPECT_TRUE(copy.m_PCLList.IsEmpty());

        COVLnode assigned;
        assigned.m_PCLList.AddTail(new CountedPCL);
        assigned = source;
        EXPECT_EQ(Narrow(assigned.m_Info.m_szModule), "listed");
        EXPECT_EQ(assigned.m_PCLList.GetCount(), 1);

        const CManNode manufacturerCopy(manufacturer);
        EXPECT_EQ(Narrow(manufacturerCopy.m_szManufacturer), "Acme");
        EXPECT_TRUE(manufacturerCopy.m_OVLList.IsEmpty());
        CManNode manufacturerAssigned;
        manufacturerAssigned.m_OVLList.AddTail(ListedWithAttached(0));
        manufacturerAssigned = manufacturer;
        EXPECT_EQ(manufacturerAssigned.m_OVLList.GetCount(), 1);
        EXPECT_NE(manufacturerAssigned.m_OVLList.GetHead(), &source);
    }
    // Only the copies' own entries went: the assigned entry's one attached
    // entry, and the listed entry of the assigned manufacturer.
    EXPECT_EQ(g_destroyed, 2);
    EXPECT_EQ(source.m_PCLList.GetCount(), 3);
}

TEST(CatalogueRecords, DestroyingAManufacturerDestroysTheTree)
{
    g_destroyed = 0;
    {
        CManNode manufacturer;
        manufacturer.m_OVLList.AddTail(ListedWithAttached(3));
        manufacturer.m_OVLList.AddTail(ListedWithAttached(0));
        manufacturer.m_OVLList.AddTail(ListedWithAttached(12)); // more than one node block
    }
    EXPECT_EQ(g_destroyed, 3 + 15);
}

} // namespace
