// Arranging driver records into the catalogue tree: order, matching, the
// records that are skipped and why.
#include "catalogue/CatalogueBuilder.h"
#include "catalogue_Support.h"
#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace qn::catalogue;
using qntest::Put;

// Which text of a record is filled to the end of its field, without a terminator.
enum Open { kWhole, kNameOpen, kModuleOpen, kHelpOpen, kText1Open, kChildOpen, kText2Open };

struct Plan {
    int32_t id;
    int32_t kind;
    std::string name;
    std::string module;
    std::string help = ""; // empty: the default help file
    std::string child = "";
    uint16_t flags = QN_DRIVER_LISTED;
    Open open = kWhole;
};

Plan Listed(int32_t id, const std::string& manufacturer, const std::string& module, const std::string& child = "",
            Open open = kWhole)
{
    return {id, QN_DRIVER_KIND_LISTED, manufacturer, module, "", child, QN_DRIVER_LISTED, open};
}
Plan Attached(int32_t id, const std::string& name, const std::string& module, const std::string& help = "",
              Open open = kWhole)
{
    return {id, QN_DRIVER_KIND_ATTACHED, name, module, help, "", QN_DRIVER_LISTED, open};
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
        QNDriverChar* texts[] = {nullptr, record.m_szName, record.m_szModule, record.m_szHelpFile,
                                 record.m_szText1, record.m_szChildName, record.m_szText2};
        const size_t sizes[] = {0, QN_DRIVER_NAME_CHARS, QN_DRIVER_PATH_CHARS, QN_DRIVER_PATH_CHARS,
                                QN_DRIVER_NAME_CHARS, QN_DRIVER_NAME_CHARS, QN_DRIVER_NAME_CHARS};
        for (size_t u = 0; u < sizes[plan.open]; ++u)
            texts[plan.open][u] = 'x';
    }
    return records;
}

// The tree, and one letter per counted record in the order of RecordFate
// (Listed, Pending, Not listed, Other kind, Unterminated, Too long), modules
// separated by '/'. The modules are "m0", "m1", ...; help folder "H/",
// runtime folder "R/".
std::pair<std::string, std::string> Arrange(const std::vector<std::vector<Plan>>& modules)
{
    ManufacturerList list;
    std::string fates;
    {
        CatalogueBuilder builder(list, _T("H/"), _T("R/"));
        for (size_t m = 0; m < modules.size(); ++m) {
            const std::vector<QNDriverRecord> records = Records(modules[m]);
            std::vector<RecordFate> fate(CountRecords(records.data(), records.size()));
            const WCHAR path[] = {'m', static_cast<WCHAR>('0' + m), 0};
            builder.AddModule(records.data(), fate.size(), path, fate.data());
            fates += m > 0 ? "/" : "";
            for (RecordFate f : fate)
                fates += "LPNOUT"[static_cast<int>(f)];
        }
        builder.AttachPending();
        EXPECT_EQ(builder.PendingCount(), 0);
    }
    const std::string tree = qntest::Render(list);
    while (!list.IsEmpty())
        delete list.RemoveHead();
    return {tree, fates};
}

const std::string k257(257, 'x');

TEST(CatalogueArrange, Cases)
{
    const struct {
        const char* what;
        std::vector<std::vector<Plan>> modules;
        std::string tree;
        std::string fates;
    } cases[] = {
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
         {{Listed(1, "A", "n", "", kNameOpen), Listed(2, "A", "m", "", kModuleOpen), Listed(3, "A", "h", "", kHelpOpen),
           Listed(4, "A", "t1", "", kText1Open), Listed(5, "A", "c", "", kChildOpen),
           Listed(6, "A", "t2", "", kText2Open), Attached(7, "K", "k", "", kText2Open), Listed(8, "A", "good")}},
         "A(R/good H/Orvista.chm m0)", "UUUUUUUL"},
        {"joined paths: 259 characters fit, 260 skip the record (listed and attached)",
         {{Listed(1, "A", k257, "K"), Listed(2, "A", k257 + "y"), {3, 2, "A", "h", k257}, {4, 2, "A", "h", k257 + "y"},
           Attached(5, "K", k257 + "y"), Attached(6, "K", "k", k257), Attached(7, "K", "k", k257 + "y")}},
         "A(R/" + k257 + " H/Orvista.chm m0{R/k H/" + k257 + " m0}; R/h H/" + k257 + " m0)", "LTLTPPP"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Arrange(c.modules), std::make_pair(c.tree, c.fates));
    }
}

TEST(CatalogueArrange, ModulePathMustFitItsFieldAndFieldsPassThrough)
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
    CatalogueBuilder builder(list, _T("H/"), _T("R/"));
    std::vector<WCHAR> path(QN_DRIVER_PATH_CHARS + 1, 'p');
    path[QN_DRIVER_PATH_CHARS] = 0; // 260 characters: too long
    builder.AddModule(records.data(), 1, path.data());
    EXPECT_TRUE(list.IsEmpty());
    path[QN_DRIVER_PATH_CHARS - 1] = 0; // 259 characters: kept whole
    builder.AddModule(records.data(), 1, path.data());
    ASSERT_EQ(list.GetCount(), 1);
    const COVLnode& entry = *list.GetHead()->m_OVLList.GetHead();
    EXPECT_EQ(qntest::Narrow(entry.m_szDLLPath), std::string(259, 'p'));
    EXPECT_EQ(qntest::Carried(entry.m_Info), "7,2,-5,123456,673,100,50,50,20,65535,65535,A,R/a,H/Orvista.chm,one,K,two");
    EXPECT_EQ(qntest::BitWord(entry.m_Info), 673u);
    delete list.RemoveHead();
}

} // namespace
