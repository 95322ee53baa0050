// CMapStringToInterface and CMapLongToInterface: exact reference counts through
// every operation, and the number keys' decimal text.
#include <QNInterfaceMaps.h>
#include <support/Counted.h>

#include <gtest/gtest.h>

#include <limits>
#include <map>

namespace {

using CountedObject = qntest::Counted<IUnknown>;

// Three keys for either map; Key(1) differs from Key(0) only in case for text.
template <class Map> struct Keys;
template <> struct Keys<CMapStringToInterface> {
    static CString Key(int i) { return CString(i == 0 ? _T("alpha") : i == 1 ? _T("Alpha") : _T("beta")); }
};
template <> struct Keys<CMapLongToInterface> {
    static LONG Key(int i) { return i == 0 ? -1 : i == 1 ? 0 : std::numeric_limits<LONG>::max(); }
};

template <class Map> class InterfaceMapTest : public testing::Test {
protected:
    static auto Key(int i) { return Keys<Map>::Key(i); }
};
using MapTypes = testing::Types<CMapStringToInterface, CMapLongToInterface>;
TYPED_TEST_SUITE(InterfaceMapTest, MapTypes);

// The map holds one reference per entry; a lookup hands out one more, a miss
// or the removal of an absent key moves none; replacing releases the former
// object; removal, RemoveAll and destruction give every reference back.
TYPED_TEST(InterfaceMapTest, ReferenceCounts)
{
    CountedObject a, b, c;
    {
        TypeParam map;
        map.SetAt(this->Key(0), &a);
        EXPECT_EQ(a.Refs(), 2);
        IUnknown* found = nullptr;
        ASSERT_TRUE(map.Lookup(this->Key(0), &found));
        EXPECT_EQ(found, &a);
        EXPECT_EQ(a.Refs(), 3);
        found->Release();
        IUnknown* const sentinel = reinterpret_cast<IUnknown*>(static_cast<uintptr_t>(0x1234));
        found = sentinel;
        EXPECT_FALSE(map.Lookup(this->Key(1), &found));
        EXPECT_EQ(found, sentinel);
        EXPECT_FALSE(map.RemoveKey(this->Key(2)));
        EXPECT_EQ(a.Refs(), 2);

        map.SetAt(this->Key(0), &b);
        EXPECT_EQ(a.Refs(), 1);
        map.SetAt(this->Key(0), &b); // the same pointer again under its own key
        EXPECT_EQ(b.Refs(), 2);
        EXPECT_TRUE(map.RemoveKey(this->Key(0)));
        EXPECT_EQ(b.Refs(), 1);
        EXPECT_EQ(map.GetCount(), 0);

        map.SetAt(this->Key(0), &a);
        map.SetAt(this->Key(1), &a);
        EXPECT_EQ(a.Refs(), 3);
        map.RemoveAll();
        EXPECT_EQ(a.Refs(), 1);
        EXPECT_EQ(map.GetCount(), 0);
        map.SetAt(this->Key(0), &a);
        map.SetAt(this->Key(1), &b);
        map.SetAt(this->Key(2), &c);
    }
    EXPECT_EQ(a.Refs() + b.Refs() + c.Refs(), 3) << "destruction releases every entry";
}

TYPED_TEST(InterfaceMapTest, IterationHandsOutReferencesAndKeys)
{
    CountedObject objects[3];
    TypeParam map;
    for (int i = 0; i < 3; ++i)
        map.SetAt(this->Key(i), &objects[i]);
    int visited = 0;
    for (POSITION pos = map.GetStartPosition(); pos; ++visited) {
        decltype(this->Key(0)) key{};
        IUnknown* value = nullptr;
        map.GetNextAssoc(pos, key, &value);
        int i = 0;
        while (i < 3 && !(key == this->Key(i)))
            ++i;
        ASSERT_LT(i, 3) << "a key came back changed";
        EXPECT_EQ(value, &objects[i]);
        EXPECT_EQ(objects[i].Refs(), 3);
        value->Release();
    }
    EXPECT_EQ(visited, 3);

    // Values are never null by contract, but the operations that can meet one
    // (after a null was stored under a new key) skip it.
    TypeParam nulls;
    nulls.SetAt(this->Key(0), nullptr);
    IUnknown* found = &objects[0];
    EXPECT_TRUE(nulls.Lookup(this->Key(0), &found));
    EXPECT_EQ(found, nullptr);
    POSITION pos = nulls.GetStartPosition();
    decltype(this->Key(0)) key{};
    nulls.GetNextAssoc(pos, key, &found);
    EXPECT_EQ(found, nullptr);
    nulls.RemoveAll();
    EXPECT_EQ(nulls.GetCount(), 0);
}

// Number keys sit in the base map as their decimal text and come back whole.
TEST(CMapLongToInterface, KeysAreDecimalText)
{
    const struct {
        LONG key;
        const WCHAR* text;
    } cases[] = {
        {0, _T("0")}, {-1, _T("-1")}, {7, _T("7")}, {2600, _T("2600")}, {-1000000, _T("-1000000")},
        {std::numeric_limits<LONG>::max(), _T("2147483647")}, {std::numeric_limits<LONG>::min(), _T("-2147483648")},
    };
    CountedObject object;
    CMapLongToInterface map;
    for (const auto& c : cases)
        map.SetAt(c.key, &object);
    const CMapStringToPtr& base = map;
    for (const auto& c : cases) {
        void* value = nullptr;
        EXPECT_TRUE(base.Lookup(c.text, value)) << c.key;
        EXPECT_EQ(value, &object);
    }
    std::map<LONG, int> seen;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        LONG key = 12345;
        IUnknown* value = nullptr;
        map.GetNextAssoc(pos, key, &value);
        ++seen[key];
        value->Release();
    }
    ASSERT_EQ(seen.size(), std::size(cases));
    for (const auto& c : cases)
        EXPECT_EQ(seen[c.key], 1) << c.key;
}

} // namespace
