// The class identifier conversion table: the rows the library holds, the
// lookups in both directions on both forms, the nesting enable counter and
// the lazy fill.
#include <QNUtilityClass.h>
#include <support/AfxTestPrint.h>
#include <support/UtilityAccess.h>

#include <gtest/gtest.h>

namespace {

using Access = CQNUtilityTestAccess;

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
    EXPECT_EQ(Access::GUIDTable().GetHashTableSize(), 17u);
    EXPECT_EQ(Access::GUIDReverse().GetHashTableSize(), 17u);
    EXPECT_EQ(CQNUtility::CLSIDLookup(CString(kFirstStored)) + CQNUtility::CLSIDReverseLookup(CString(kFirstCurrent)),
              CString(kFirstStored) + kFirstCurrent);
    EXPECT_EQ(CQNUtility::CLSIDLookup(FromText(kFirstStored)), FromText(kFirstStored));
    EXPECT_EQ(CQNUtility::CLSIDReverseLookup(FromText(kFirstCurrent)), FromText(kFirstCurrent));
    EXPECT_EQ(Access::GuidTableInitialized(), 0);
    EXPECT_EQ(Access::GUIDTable().GetCount() + Access::GUIDReverse().GetCount(), 0);

    CQNUtility::CLSIDEnabled(1);
    EXPECT_EQ(Access::GuidTableInitialized(), 0) << "enabling alone does not fill";
    EXPECT_EQ(CQNUtility::CLSIDLookup(CString(kFirstStored)), CString(kFirstCurrent));
    EXPECT_EQ(Access::GuidTableInitialized(), 1);
    CQNUtility::CLSIDEnabled(0);
    EXPECT_EQ(Access::GUIDTable().GetCount(), 1150) << "disabling does not empty the maps";
}

// The maps hold every row, both ways, in 1511 buckets (the lookups below
// sample the rows; the table's own check compares it with its generator).
TEST(ClassTable, FilledMapsAndTheirHash)
{
    CQNUtility::GuidConvertInit();
    EXPECT_EQ(Access::GUIDTable().GetCount(), 1150) << "keys not distinct";
    EXPECT_EQ(Access::GUIDReverse().GetCount(), 1150) << "values not distinct";
    EXPECT_EQ(Access::GUIDTable().GetHashTableSize(), 1511u);
    EXPECT_EQ(Access::GUIDReverse().GetHashTableSize(), 1511u);
    // The DCE identifier hash (the values of the Windows function).
    EXPECT_EQ(HashKey<const GUID&>(GUID_NULL), 0u);
    EXPECT_EQ(HashKey<const GUID&>(FromText(kFirstStored)), 0x37D5u);
    EXPECT_EQ(HashKey<const GUID&>(FromText(_T("{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"))), 0xFE01u);
}

// Both lookups on the text form and, where the text is an identifier, on the
// identifier form.
TEST(ClassTable, Lookups)
{
    const struct {
        const char* name;
        const WCHAR* text;
        const WCHAR* forward; // CLSIDLookup; null: the text itself
        const WCHAR* reverse; // CLSIDReverseLookup; null: the text itself
    } cases[] = {
        {"stored identifier", kFirstStored, kFirstCurrent, nullptr},
        {"current identifier", kFirstCurrent, nullptr, kFirstStored},
        {"lower-case stored", _T("{47773650-8e31-11d2-9dd8-00a0c99a0985}"), kFirstCurrent, nullptr},
        {"lower-case current", _T("{3544a8c3-86b4-4768-96c3-1e8e416586e5}"), nullptr, kFirstStored},
        {"second pair", _T("{B4B1F560-AB12-11D2-AA43-00A0C9CE0C40}"), _T("{786A8937-F377-422F-A524-14F8DDF85E96}"),
         nullptr},
        {"a middle pair", _T("{FF4B8E65-0AA6-47C3-B74B-B57F765637E9}"), nullptr,
         _T("{DF33640F-BDFB-11D6-8C8E-D4DEAB7CC14D}")},
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
    };
    for (bool enabled : {true, false}) {
        CQNUtility::CLSIDEnabled(enabled);
        for (const auto& c : cases) {
            const WCHAR* forward = enabled && c.forward ? c.forward : c.text;
            const WCHAR* reverse = enabled && c.reverse ? c.reverse : c.text;
            EXPECT_EQ(CQNUtility::CLSIDLookup(CString(c.text)), CString(forward)) << c.name << enabled;
            EXPECT_EQ(CQNUtility::CLSIDReverseLookup(CString(c.text)), CString(reverse)) << c.name << enabled;
            GUID id;
            if (::CLSIDFromString(c.text, &id) != S_OK)
                continue;
            EXPECT_EQ(CQNUtility::CLSIDLookup(id), FromText(forward)) << c.name << enabled;
            EXPECT_EQ(CQNUtility::CLSIDReverseLookup(id), FromText(reverse)) << c.name << enabled;
        }
        CQNUtility::CLSIDEnabled(0);
    }
}

TEST(ClassTable, EnableCounterNests)
{
    ASSERT_EQ(Access::Enabled(), 0);
    const GUID stored = FromText(kFirstStored);
    const GUID current = FromText(kFirstCurrent);
    const struct {
        int argument;
        int counter;
    } steps[] = {{0, 0}, {0, 0}, {1, 1}, {1, 2}, {7, 3}, {0, 2}, {0, 1}, {0, 0}, {0, 0}, {1, 1}, {0, 0}};
    for (const auto& step : steps) {
        CQNUtility::CLSIDEnabled(step.argument);
        EXPECT_EQ(Access::Enabled(), step.counter);
        EXPECT_EQ(CQNUtility::CLSIDLookup(stored), step.counter ? current : stored) << step.counter;
    }
}

} // namespace
