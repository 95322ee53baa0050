// The class identifier conversion table: the properties of the table the
// library holds, the lookups in both directions and on both forms, the nesting
// enable counter and the lazy fill.
#include <QNUtilityClass.h>
#include <support/UtilityAccess.h>

#include <support/AfxTestPrint.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct Pair {
    const WCHAR* stored;
    const WCHAR* current;
};
// The rows the library compiles, in insertion order.
const Pair kRows[] = {
#include <persist/ClassTableData.inc>
};

using Access = CQNUtilityTestAccess;

// Enables translation for one scope, balancing the counter on every path.
class TranslationOn {
public:
    TranslationOn() { CQNUtility::CLSIDEnabled(1); }
    TranslationOn(const TranslationOn&) = delete;
    TranslationOn& operator=(const TranslationOn&) = delete;
    ~TranslationOn() { CQNUtility::CLSIDEnabled(0); }
};

GUID FromText(const WCHAR* text)
{
    GUID id = GUID_NULL;
    EXPECT_EQ(::CLSIDFromString(text, &id), S_OK) << "not an identifier";
    return id;
}

const WCHAR kFirstStored[] = _T("{47773650-8E31-11D2-9DD8-00A0C99A0985}");
const WCHAR kFirstCurrent[] = _T("{3544A8C3-86B4-4768-96C3-1E8E416586E5}");

// Runs first in its own process (see tests.cmake); in a run of the whole
// program an earlier test may already have filled the maps.
TEST(ClassTableAtLoad, DisabledLookupsLeaveTheMapsEmpty)
{
    if (Access::GuidTableInitialized())
        GTEST_SKIP() << "the maps were filled by an earlier test of this process";
    ASSERT_EQ(Access::Enabled(), 0);
    EXPECT_EQ(Access::GUIDTable().GetCount(), 0);
    EXPECT_EQ(Access::GUIDTable().GetHashTableSize(), 17u);
    EXPECT_EQ(Access::GUIDReverse().GetHashTableSize(), 17u);

    EXPECT_EQ(CQNUtility::CLSIDLookup(CString(kFirstStored)), CString(kFirstStored));
    EXPECT_EQ(CQNUtility::CLSIDReverseLookup(CString(kFirstCurrent)), CString(kFirstCurrent));
    const GUID stored = FromText(kFirstStored);
    EXPECT_EQ(CQNUtility::CLSIDLookup(stored), stored);
    EXPECT_EQ(CQNUtility::CLSIDReverseLookup(FromText(kFirstCurrent)), FromText(kFirstCurrent));

    EXPECT_EQ(Access::GuidTableInitialized(), 0);
    EXPECT_EQ(Access::GUIDTable().GetCount(), 0);
    EXPECT_EQ(Access::GUIDReverse().GetCount(), 0);

    {
        TranslationOn on;
        EXPECT_EQ(Access::GuidTableInitialized(), 0) << "enabling alone does not fill";
        EXPECT_EQ(CQNUtility::CLSIDLookup(CString(kFirstStored)), CString(kFirstCurrent));
        EXPECT_EQ(Access::GuidTableInitialized(), 1);
    }
    EXPECT_EQ(Access::GUIDTable().GetCount(), 1150) << "disabling does not empty the maps";
}

// The maps the library fills hold every generated row, both ways.
TEST(ClassTable, FilledMapsHoldEveryRowBothWays)
{
    TranslationOn on;
    CQNUtility::GuidConvertInit();
    const auto& table = Access::GUIDTable();
    const auto& reverse = Access::GUIDReverse();
    ASSERT_EQ(table.GetCount(), 1150) << "keys not distinct";
    ASSERT_EQ(reverse.GetCount(), 1150) << "values not distinct";
    EXPECT_EQ(table.GetHashTableSize(), 1511u);
    EXPECT_EQ(reverse.GetHashTableSize(), 1511u);
    for (const Pair& row : kRows) {
        GUID value, back;
        ASSERT_TRUE(table.Lookup(FromText(row.stored), value));
        EXPECT_EQ(value, FromText(row.current));
        ASSERT_TRUE(reverse.Lookup(value, back));
        EXPECT_EQ(back, FromText(row.stored));
    }
}

// The keys hash with the DCE identifier hash. The expected values are those
// of the Windows function; natively they check the stand-in.
TEST(ClassTable, KeysHashWithTheIdentifierHash)
{
    struct Case {
        const WCHAR* id;
        unsigned short hash;
    };
    const Case cases[] = {
        {_T("{00000000-0000-0000-0000-000000000000}"), 0x0000},
        {kFirstStored, 0x37D5},
        {_T("{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"), 0xFE01},
        {_T("{2E92CF32-CC2C-4643-A336-4D671A67C357}"), 0x1F70},
    };
    for (const Case& c : cases) {
        GUID id = FromText(c.id);
        RPC_STATUS status = -1;
        EXPECT_EQ(::UuidHash(&id, &status), c.hash) << ToUtf8ForTest(CString(c.id));
        EXPECT_EQ(status, RPC_S_OK);
        EXPECT_EQ(HashKey<const GUID&>(id), UINT(c.hash)) << ToUtf8ForTest(CString(c.id));
    }
}

TEST(ClassTable, TextLookups)
{
    TranslationOn on;
    struct Case {
        const char* name;
        const WCHAR* text;
        const WCHAR* forward; // CLSIDLookup; null: the text itself
        const WCHAR* reverse; // CLSIDReverseLookup; null: the text itself
    };
    const Case cases[] = {
        {"stored identifier", kFirstStored, kFirstCurrent, nullptr},
        {"current identifier", kFirstCurrent, nullptr, kFirstStored},
        {"lower-case stored", _T("{47773650-8e31-11d2-9dd8-00a0c99a0985}"), kFirstCurrent, nullptr},
        {"lower-case current", _T("{3544a8c3-86b4-4768-96c3-1e8e416586e5}"), nullptr, kFirstStored},
        {"last pair", _T("{EFF6A893-BBC9-4841-85CE-E88EEB1C6FB3}"), _T("{07527572-E5C1-416D-AC76-AECDD15630F9}"),
         nullptr},
        {"extended persistence pair", _T("{6F00D687-E31E-4348-9A15-9D795A8A8E23}"),
         _T("{2E92CF32-CC2C-4643-A336-4D671A67C357}"), nullptr},
        {"not in the table, lower case kept", _T("{1e505d9c-d96d-40c8-9f9d-505fa5999887}"), nullptr, nullptr},
        {"null identifier", _T("{00000000-0000-0000-0000-000000000000}"), nullptr, nullptr},
        {"empty text", _T(""), nullptr, nullptr},
        {"no braces", _T("47773650-8E31-11D2-9DD8-00A0C99A0985"), nullptr, nullptr},
        {"closing brace missing", _T("{47773650-8E31-11D2-9DD8-00A0C99A0985"), nullptr, nullptr},
        {"one digit short", _T("{47773650-8E31-11D2-9DD8-00A0C99A098}"), nullptr, nullptr},
        {"trailing text", _T("{47773650-8E31-11D2-9DD8-00A0C99A0985}x"), nullptr, nullptr},
        {"not hexadecimal", _T("{4777365G-8E31-11D2-9DD8-00A0C99A0985}"), nullptr, nullptr},
        {"hyphen misplaced", _T("{47773650-8E3111-D2-9DD8-00A0C99A0985}"), nullptr, nullptr},
        {"name, not identifier", _T("Quillon.Widget"), nullptr, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CQNUtility::CLSIDLookup(CString(c.text)), CString(c.forward ? c.forward : c.text)) << c.name;
        EXPECT_EQ(CQNUtility::CLSIDReverseLookup(CString(c.text)), CString(c.reverse ? c.reverse : c.text))
            << c.name;
    }
}

TEST(ClassTable, IdentifierLookups)
{
    const GUID stored = FromText(kFirstStored);
    const GUID current = FromText(kFirstCurrent);
    const GUID other = FromText(_T("{1E505D9C-D96D-40C8-9F9D-505FA5999887}"));
    {
        TranslationOn on;
        EXPECT_EQ(CQNUtility::CLSIDLookup(stored), current);
        EXPECT_EQ(CQNUtility::CLSIDReverseLookup(current), stored);
        EXPECT_EQ(CQNUtility::CLSIDLookup(current), current) << "a value is no key";
        EXPECT_EQ(CQNUtility::CLSIDReverseLookup(stored), stored) << "a key is no value";
        EXPECT_EQ(CQNUtility::CLSIDLookup(other), other);
        EXPECT_EQ(CQNUtility::CLSIDLookup(GUID_NULL), GUID_NULL);
        for (const Pair& row : {kRows[1], kRows[600], kRows[1148]}) {
            EXPECT_EQ(CQNUtility::CLSIDLookup(FromText(row.stored)), FromText(row.current));
            EXPECT_EQ(CQNUtility::CLSIDReverseLookup(FromText(row.current)), FromText(row.stored));
        }
    }
    // Disabled again: both directions hand the argument back.
    EXPECT_EQ(CQNUtility::CLSIDLookup(stored), stored);
    EXPECT_EQ(CQNUtility::CLSIDReverseLookup(current), current);
    EXPECT_EQ(CQNUtility::CLSIDLookup(CString(kFirstStored)), CString(kFirstStored));
}

TEST(ClassTable, EnableCounterNests)
{
    ASSERT_EQ(Access::Enabled(), 0);
    const GUID stored = FromText(kFirstStored);
    const GUID current = FromText(kFirstCurrent);
    struct Step {
        int argument;
        int counter;
    };
    const Step steps[] = {{0, 0}, {0, 0}, {1, 1}, {1, 2}, {7, 3}, {0, 2}, {0, 1}, {0, 0}, {0, 0}, {1, 1}, {0, 0}};
    for (const Step& step : steps) {
        CQNUtility::CLSIDEnabled(step.argument);
        EXPECT_EQ(Access::Enabled(), step.counter);
        EXPECT_EQ(CQNUtility::CLSIDLookup(stored), step.counter ? current : stored) << step.counter;
    }
}

} // namespace
