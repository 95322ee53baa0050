// Arranging driver records into the catalogue tree: order, matching, the
// records that are skipped and why.
#include "catalogue/CatalogueBuilder.h"
#include "catalogue_Support.h"
#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace qn::catalogue;
using cattest::Put;
using cattest::Render;

enum Damage { kWhole, kNameOpen, kModuleOpen, kHelpOpen, kText1Open, kChildOpen, kText2Open };

struct Plan {
    int32_t id;
    int32_t kind;
    std::string name;
    std::string module;
    std::string help = ""; // empty: the default help file
    std::string child = "";
    uint16_t flags = QN_DRIVER_LISTED;
    Damage damage = kWhole;
};

Plan Listed(int32_t id, const std::string& manufacturer, const std::string& module, const std::string& child = "")
{
    return {id, QN_DRIVER_KIND_LISTED, manufacturer, module, "", child};
}
Plan Attached(int32_t id, const std::string& name, const std::string& module, const std::string& help = "")
{
    return {id, QN_DRIVER_KIND_ATTACHED, name, module, help};
}
Plan Open(Plan plan, Damage damage)
{
    plan.damage = damage;
    return plan;
}

template <class Char, size_t N> void FillOpen(Char (&field)[N])
{
    for (Char& unit : field)
        unit = 'x';
}

std::vector<QNDriverRecord> Records(const std::vector<Plan>& plans)
{
    std::vector<QNDriverRecord> records(QN_DRIVER_RECORD_COUNT);
    InitDriverRecords(records.data(), records.size());
    for (size_t i = 0; i < plans.size(); ++i) {
        const Plan& plan = plans[i];
        QNDriverRecord& record = records[i];
        record.m_nID = plan.id;
        record.m_nKind = plan.kind;
        record.m_wFlags = plan.flags;
        Put(record.m_szName, plan.name);
        Put(record.m_szModule, plan.module);
        if (!plan.help.empty())
            Put(record.m_szHelpFile, plan.help);
        Put(record.m_szChildName, plan.child);
        switch (plan.damage) {
        case kWhole: break;
        case kNameOpen: FillOpen(record.m_szName); break;
        case kModuleOpen: FillOpen(record.m_szModule); break;
        case kHelpOpen: FillOpen(record.m_szHelpFile); break;
        case kText1Open: FillOpen(record.m_szText1); break;
        case kChildOpen: FillOpen(record.m_szChildName); break;
        case kText2Open: FillOpen(record.m_szText2); break;
        }
    }
    return records;
}

// One letter per fate, in the order of RecordFate: Listed, Pending, Not
// listed, Other kind, Unterminated, Too long.
char FateLetter(RecordFate fate)
{
    return "LPNOUT"[static_cast<int>(fate)];
}

struct Arranged {
    std::string tree;
    std::string fates; // one letter per counted record, modules separated by '/'
};

// The modules are "m0", "m1", ...; help folder "H/", runtime folder "R/".
Arranged Arrange(const std::vector<std::vector<Plan>>& modules, const CString& help = _T("H/"),
                 const CString& runtime = _T("R/"))
{
    ManufacturerList list;
    Arranged result;
    {
        CatalogueBuilder builder(list, help, runtime);
        for (size_t m = 0; m < modules.size(); ++m) {
            const std::vector<QNDriverRecord> records = Records(modules[m]);
            const size_t count = CountRecords(records.data(), records.size());
            std::vector<RecordFate> fates(count);
            CString path = _T("m");
            path += static_cast<WCHAR>('0' + m);
            builder.AddModule(records.data(), count, path, fates.data());
            if (m > 0)
                result.fates += '/';
            for (RecordFate fate : fates)
                result.fates += FateLetter(fate);
        }
        builder.AttachPending();
        EXPECT_EQ(builder.PendingCount(), 0);
    }
    result.tree = Render(list);
    while (!list.IsEmpty())
        delete list.RemoveHead();
    return result;
}

struct ArrangeCase {
    const char* what;
    std::vector<std::vector<Plan>> modules;
    std::string tree;
    const char* fates;
};

const std::string k259(259, 'x');
const std::string k257(257, 'x');

const ArrangeCase kArrangeCases[] = {
    {"control: one listed record, help file left at its default",
     {{{1, 2, "Acme", "drv.dll", "drv.chm"}, Listed(2, "Acme", "b.dll")}},
     "Acme(R/drv.dll H/drv.chm m0; R/b.dll H/Orvista.chm m0)", "LL"},
    {"the list ends at the first record without a positive identifier",
     {{Listed(1, "A", "1"), Listed(2, "A", "2"), Listed(3, "A", "3"), Listed(0, "A", "4"), Listed(5, "A", "5")},
      {Listed(-1, "B", "1"), Listed(2, "B", "2")}},
     "A(R/1 H/Orvista.chm m0; R/2 H/Orvista.chm m0; R/3 H/Orvista.chm m0)", "LLL/"},
    {"manufacturers compare case-sensitively, in the order first met, across modules",
     {{Listed(1, "ACME", "x"), Listed(2, "Acme", "y")}, {Listed(1, "Acme", "z"), Listed(2, "ACME", "w")}},
     "ACME(R/x H/Orvista.chm m0; R/w H/Orvista.chm m1) | Acme(R/y H/Orvista.chm m0; R/z H/Orvista.chm m1)",
     "LL/LL"},
    {"two listed records of the same name both appear",
     {{Listed(1, "A", "same"), Listed(2, "A", "same")}}, "A(R/same H/Orvista.chm m0; R/same H/Orvista.chm m0)",
     "LL"},
    {"a cleared listed bit and kinds other than 1 and 2 are skipped",
     {{{1, 2, "A", "hidden", "", "", 0}, {2, 1, "K", "kid", "", "", static_cast<uint16_t>(~QN_DRIVER_LISTED)},
       {3, 0, "A", "kind0"}, {4, 3, "A", "kind3"}, {5, -2, "A", "kind-2"}, Listed(6, "A", "shown", "K")}},
     "A(R/shown H/Orvista.chm m0)", "NNOOOL"},
    {"an attached record goes to a listed entry of an earlier or later module",
     {{Attached(1, "Early", "e.dll", "e.chm")}, {Listed(1, "A", "p", "Early"), Listed(2, "A", "q", "Late")},
      {Attached(1, "Late", "l.dll")}},
     "A(R/p H/Orvista.chm m1{R/e.dll H/e.chm m0}; R/q H/Orvista.chm m1{R/l.dll H/Orvista.chm m2})", "P/LL/P"},
    {"only the first listed entry that names a child gets it; attached in the order met",
     {{Listed(1, "B", "b1", "Kid")}, {Listed(1, "A", "a1", "Kid"), Attached(2, "Kid", "k1"), Attached(3, "Kid", "k2")}},
     "B(R/b1 H/Orvista.chm m0{R/k1 H/Orvista.chm m1; R/k2 H/Orvista.chm m1}) | A(R/a1 H/Orvista.chm m1)", "L/LPP"},
    {"an attached record no listed entry names is dropped; names compare case-sensitively",
     {{Listed(1, "A", "a", "kid"), Attached(2, "Kid", "k"), Attached(3, "Orphan", "o")}}, "A(R/a H/Orvista.chm m0)",
     "LPP"},
    {"a text without its terminator skips the record, whichever text it is",
     {{Open(Listed(1, "A", "n"), kNameOpen), Open(Listed(2, "A", "m"), kModuleOpen),
       Open(Listed(3, "A", "h"), kHelpOpen), Open(Listed(4, "A", "t1"), kText1Open),
       Open(Listed(5, "A", "c"), kChildOpen), Open(Listed(6, "A", "t2"), kText2Open),
       Open(Attached(7, "K", "k"), kText2Open), Listed(8, "A", "good")}},
     "A(R/good H/Orvista.chm m0)", "UUUUUUUL"},
    {"joined paths: 259 characters fit, 260 skip the record (listed and attached)",
     {{Listed(1, "A", k257, "K"), Listed(2, "A", k257 + "y"), {3, 2, "A", "h", k257}, {4, 2, "A", "h", k257 + "y"},
       Attached(5, "K", k257 + "y"), Attached(6, "K", "k", k257), Attached(7, "K", "k", k257 + "y")}},
     "A(R/" + k257 + " H/Orvista.chm m0{R/k H/" + k257 + " m0}; R/h H/" + k257 + " m0)", "LTLTPPP"},
};

TEST(CatalogueArrange, Cases)
{
    for (const ArrangeCase& c : kArrangeCases) {
        SCOPED_TRACE(c.what);
        const Arranged arranged = Arrange(c.modules);
        EXPECT_EQ(arranged.tree, c.tree);
        EXPECT_EQ(arranged.fates, c.fates);
    }
}

TEST(CatalogueArrange, ModulePathMustFitItsField)
{
    ManufacturerList list;
    CatalogueBuilder builder(list, _T("H/"), _T("R/"));
    const std::vector<QNDriverRecord> records = Records({Listed(1, "A", "a")});
    std::vector<WCHAR> path(QN_DRIVER_PATH_CHARS + 1, 'p');
    path[QN_DRIVER_PATH_CHARS] = 0; // 260 characters: too long
    builder.AddModule(records.data(), 1, path.data());
    EXPECT_TRUE(list.IsEmpty());
    path[QN_DRIVER_PATH_CHARS - 1] = 0; // 259 characters: kept whole
    builder.AddModule(records.data(), 1, path.data());
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(cattest::Narrow(list.GetHead()->m_OVLList.GetHead()->m_szDLLPath), std::string(259, 'p'));
    delete list.RemoveHead();
}

TEST(CatalogueArrange, FieldsPassThroughAndUnusedBitsDoNot)
{
    std::vector<QNDriverRecord> records = Records({Listed(7, "A", "a", "K")});
    QNDriverRecord& record = records[0];
    record.m_nParam = -5;
    record.m_nValue = 123456;
    Put(record.m_szText1, "one");
    Put(record.m_szText2, "two");
    record.m_nBits = 0xFFFFFC00u | 0x2A1u; // mode 1, flags 5, 7, 9; bits 10 to 31 set
    record.m_wParam5 = 0xFFFF;
    record.m_wFlags = 0xFFFF;
    ManufacturerList list;
    CatalogueBuilder(list, _T("H/"), _T("R/")).AddModule(records.data(), 1, _T("m"));
    ASSERT_EQ(list.GetCount(), 1);
    const CDLLinfo& info = list.GetHead()->m_OVLList.GetHead()->m_Info;
    const std::string carried = std::to_string(info.m_nID) + " " + std::to_string(info.m_nParam) + " " +
                                std::to_string(info.m_nValue) + " " + cattest::Narrow(info.m_szText1) + " " +
                                cattest::Narrow(info.m_szText2) + " " + cattest::Narrow(info.m_szChildName) + " " +
                                std::to_string(cattest::BitWord(info)) + " " + std::to_string(info.m_wParam2) + " " +
                                std::to_string(info.m_wParam5) + " " + std::to_string(info.m_wFlags);
    EXPECT_EQ(carried, "7 -5 123456 one two K 673 50 65535 65535");
    delete list.RemoveHead();
}

} // namespace
