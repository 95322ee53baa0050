// CMapStringToInterface and CMapLongToInterface: exact reference counts through
// every operation, and the number keys' decimal text.
#include <QNInterfaceMaps.h>
#include <support/Counted.h>

#include <gtest/gtest.h>

#include <limits>
#include <type_traits>

namespace {

using CountedObject = qntest::Counted<IUnknown>;

// Three keys for either map; Key(1) differs from Key(0) only in case for text.
template <class Map> auto Key(int i)
{
    if constexpr (std::is_same_v<Map, CMapStringToInterface>)
        return CString(i == 0 ? _T("alpha") : i == 1 ? _T("Alpha") : _T("beta"));
    else
        return i == 0 ? LONG(-1) : i == 1 ? std::numeric_limits<LONG>::min() : std::numeric_limits<LONG>::max();
}

template <class Map> class InterfaceMapTest : public testing::Test {};
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
        map.SetAt(Key<TypeParam>(0), &a);
        EXPECT_EQ(a.Refs(), 2);
        IUnknown* found = nullptr;
        ASSERT_TRUE(map.Lookup(Key<TypeParam>(0), &found));
        EXPECT_EQ(found, &a);
        EXPECT_EQ(a.Refs(), 3);
        found->Release();
        IUnknown* const sentinel = reinterpret_cast<IUnknown*>(static_cast<uintptr_t>(0x1234));
        found = sentinel;
        EXPECT_FALSE(map.Lookup(Key<TypeParam>(1), &found));
        EXPECT_EQ(found, sentinel);
        EXPECT_FALSE(map.RemoveKey(Key<TypeParam>(2)));
        EXPECT_EQ(a.Refs(), 2);

        map.SetAt(Key<TypeParam>(0), &b);
        EXPECT_EQ(a.Refs(), 1);
        map.SetAt(Key<TypeParam>(0), &b); // the same pointer again under its own key
        EXPECT_EQ(b.Refs(), 2);
        EXPECT_TRUE(map.RemoveKey(Key<TypeParam>(0)));
        EXPECT_EQ(b.Refs(), 1);
        EXPECT_EQ(map.GetCount(), 0);

        map.SetAt(Key<TypeParam>(0), &a);
        map.SetAt(Key<TypeParam>(1), &a);
        EXPECT_EQ(a.Refs(), 3);
        map.RemoveAll();
        EXPECT_EQ(a.Refs(), 1);
        EXPECT_EQ(map.GetCount(), 0);
        map.SetAt(Key<TypeParam>(0), &a);
        map.SetAt(Key<TypeParam>(1), &b);
        map.SetAt(Key<TypeParam>(2), &c);
    }
    EXPECT_EQ(a.Refs() + b.Refs() + c.Refs(), 3) << "destruction releases every entry";
}

TYPED_TEST(InterfaceMapTest, IterationHandsOutReferencesAndKeys)
{
    CountedObject objects[3];
    TypeParam map;
    for (int i = 0; i < 3; ++i)
        map.SetAt(Key<TypeParam>(i), &objects[i]);
    int visited = 0;
    for (POSITION pos = map.GetStartPosition(); pos; ++visited) {
        decltype(Key<TypeParam>(0)) key{};
        IUnknown* value = nullptr;
        map.GetNextAssoc(pos, key, &value);
        int i = 0;
        while (i < 3 && !(key == Key<TypeParam>(i)))
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
    nulls.SetAt(Key<TypeParam>(0), nullptr);
    IUnknown* found = &objects[0];
    EXPECT_TRUE(nulls.Lookup(Key<TypeParam>(0), &found));
    EXPECT_EQ(found, nullptr);
    POSITION pos = nulls.GetStartPosition();
    decltype(Key<TypeParam>(0)) key{};
    nulls.GetNextAssoc(pos, key, &found);
    EXPECT_EQ(found, nullptr);
    nulls.RemoveAll();
    EXPECT_EQ(nulls.GetCount(), 0);
}

// Number keys sit in the base map as their decimal text (the iteration above
// turns them back).
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
    const CMapStringToPtr& base = map;
    for (const auto& c : cases) {
        map.SetAt(c.key, &object);
        void* value = nullptr;
        EXPECT_TRUE(base.Lookup(c.text, value) && value == &object) << c.key;
    }
}

} // namespace
