// CList block allocation and iteration, CMap with its own HashKey, CArray growth,
// and the non-template collections.
#include <afx/afxcoll.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <list>
#include <map>
#include <random>
#include <vector>

namespace {

// Counts live instances, so that tests see every element destroyed.
struct Tracked {
    static int live;
    int value = 0;
    Tracked() { ++live; }
    Tracked(int v) : value(v) { ++live; }
    Tracked(const Tracked& other) : value(other.value) { ++live; }
    Tracked& operator=(const Tracked& other) = default;
    ~Tracked() { --live; }
    bool operator==(const Tracked& other) const { return value == other.value; }
};
int Tracked::live = 0;

template <class List> std::vector<int> Forward(const List& list)
{
    std::vector<int> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(list.GetNext(pos).value);
    return out;
}

template <class List> std::vector<int> Backward(const List& list)
{
    std::vector<int> out;
    for (POSITION pos = list.GetTailPosition(); pos;)
        out.push_back(list.GetPrev(pos).value);
    return out;
}

// --- CList ------------------------------------------------------------------------

TEST(CListTest, NodesComeFromBlocksAndAreReused)
{
    CList<Tracked, const Tracked&> list(4);
    std::vector<const Tracked*> addresses;
    for (int i = 0; i < 5; ++i)
        addresses.push_back(&list.GetAt(list.AddTail(Tracked(i))));
    // The first four share one block, in order, one node apart.
    const auto stride = reinterpret_cast<uintptr_t>(addresses[1]) - reinterpret_cast<uintptr_t>(addresses[0]);
    EXPECT_GE(stride, sizeof(Tracked));
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(reinterpret_cast<uintptr_t>(addresses[0]) + i * stride, reinterpret_cast<uintptr_t>(addresses[i]));

    // A freed node is the next one used.
    POSITION second = list.FindIndex(1);
    const Tracked* freed = &list.GetAt(second);
    list.RemoveAt(second);
    EXPECT_EQ(freed, &list.GetAt(list.AddHead(Tracked(9))));
    EXPECT_EQ(5, Tracked::live);

    list.RemoveAll();
    EXPECT_EQ(0, Tracked::live);
    EXPECT_TRUE(list.IsEmpty());
    list.AddTail(Tracked(1)); // usable after RemoveAll
    EXPECT_EQ(1, list.GetCount());
}

TEST(CListTest, ManyChangesMatchAModelBothWays)
{
    std::mt19937 random(12345);
    {
        CList<Tracked, const Tracked&> list(10);
        std::list<int> model;
        for (int step = 0; step < 5000; ++step) {
            const int op = static_cast<int>(random() % 8);
            const int value = step;
            switch (op) {
            case 0:
            case 1:
                list.AddTail(Tracked(value));
                model.push_back(value);
                break;
            case 2:
                list.AddHead(Tracked(value));
                model.push_front(value);
                break;
            case 3:
                if (!model.empty()) {
                    EXPECT_EQ(model.front(), list.RemoveHead().value);
                    model.pop_front();
                }
                break;
            case 4:
                if (!model.empty()) {
                    EXPECT_EQ(model.back(), list.RemoveTail().value);
                    model.pop_back();
                }
                break;
            default:
                if (!model.empty()) {
                    const int index = static_cast<int>(random() % model.size());
                    POSITION pos = list.FindIndex(index);
                    auto it = std::next(model.begin(), index);
                    if (op == 5) {
                        list.RemoveAt(pos);
                        model.erase(it);
                    } else if (op == 6) {
                        list.InsertBefore(pos, Tracked(value));
                        model.insert(it, value);
                    } else {
                        list.InsertAfter(pos, Tracked(value));
                        model.insert(std::next(it), value);
                    }
                }
                break;
            }
            ASSERT_EQ(static_cast<INT_PTR>(model.size()), list.GetCount());
        }
        const std::vector<int> forward(model.begin(), model.end());
        EXPECT_EQ(forward, Forward(list));
        EXPECT_EQ(std::vector<int>(forward.rbegin(), forward.rend()), Backward(list));
        EXPECT_EQ(static_cast<int>(model.size()), Tracked::live);
    }
    EXPECT_EQ(0, Tracked::live);
}

TEST(CListTest, PositionOperations)
{
    CList<Tracked, const Tracked&> list;
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    EXPECT_EQ(nullptr, list.FindIndex(0));
    list.InsertBefore(nullptr, Tracked(2)); // null: at the head
    list.InsertAfter(nullptr, Tracked(3));  // null: at the tail
    list.AddHead(Tracked(1));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Forward(list));
    EXPECT_EQ(1, list.GetHead().value);
    EXPECT_EQ(3, list.GetTail().value);

    POSITION two = list.Find(Tracked(2));
    ASSERT_NE(nullptr, two);
    list.SetAt(two, Tracked(20));
    EXPECT_EQ(nullptr, list.Find(Tracked(2)));
    list.AddTail(Tracked(20));
    EXPECT_EQ(list.FindIndex(3), list.Find(Tracked(20), two)); // the search starts after `two`
    EXPECT_EQ(nullptr, list.FindIndex(4));
    EXPECT_EQ(nullptr, list.FindIndex(-1));

    list.AddTail(&list); // a list appended to itself doubles once
    EXPECT_EQ((std::vector<int>{1, 20, 3, 20, 1, 20, 3, 20}), Forward(list));
    CList<Tracked, const Tracked&> other;
    other.AddTail(Tracked(7));
    other.AddTail(Tracked(8));
    list.AddHead(&other);
    EXPECT_EQ(7, list.GetHead().value);
    EXPECT_EQ(10, list.GetSize());
    list.AddHead(&list);
    EXPECT_EQ(20, list.GetCount());
    const std::vector<int> doubled = Forward(list);
    EXPECT_EQ((std::vector<int>{7, 8, 1}), std::vector<int>(doubled.begin() + 10, doubled.begin() + 13));
}

// --- CMap -------------------------------------------------------------------------

struct GridPoint {
    int x = 0;
    int y = 0;
    bool operator==(const GridPoint& other) const { return x == other.x && y == other.y; }
};

} // namespace

// The customisation point: a key type of our own. Every key lands in a
// handful of buckets, so chains are long and removal inside them is exercised.
template <> inline UINT AFXAPI HashKey<const GridPoint&>(const GridPoint& key)
{
    return static_cast<UINT>(key.x % 3);
}

namespace {

TEST(CMapTest, OwnHashKeyAndChains)
{
    CMap<GridPoint, const GridPoint&, int, int> map(3);
    EXPECT_EQ(17u, map.GetHashTableSize());
    std::map<std::pair<int, int>, int> model;
    for (int x = 0; x < 30; ++x) {
        for (int y = 0; y < 5; ++y) {
            map[GridPoint{x, y}] = x * 100 + y;
            model[{x, y}] = x * 100 + y;
        }
    }
    map.SetAt(GridPoint{1, 1}, -1);
    model[{1, 1}] = -1;
    for (int x = 0; x < 30; x += 2)
        EXPECT_TRUE(map.RemoveKey(GridPoint{x, 2}));
    for (int x = 0; x < 30; x += 2)
        model.erase({x, 2});
    EXPECT_FALSE(map.RemoveKey(GridPoint{0, 2}));
    EXPECT_FALSE(map.RemoveKey(GridPoint{99, 0}));
    EXPECT_EQ(static_cast<INT_PTR>(model.size()), map.GetCount());

    int value = 0;
    EXPECT_TRUE(map.Lookup(GridPoint{1, 1}, value));
    EXPECT_EQ(-1, value);
    EXPECT_FALSE(map.Lookup(GridPoint{0, 2}, value));

    // Iteration meets every entry exactly once, also after a rehash.
    for (UINT size : {17u, 1u, 101u}) {
        SCOPED_TRACE(size);
        map.InitHashTable(size);
        EXPECT_EQ(size, map.GetHashTableSize());
        std::map<std::pair<int, int>, int> seen;
        for (POSITION pos = map.GetStartPosition(); pos;) {
            GridPoint key;
            map.GetNextAssoc(pos, key, value);
            EXPECT_TRUE(seen.emplace(std::make_pair(key.x, key.y), value).second);
        }
        EXPECT_EQ(model, seen);
    }

    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(nullptr, map.GetStartPosition());
    POSITION before = BEFORE_START_POSITION;
    GridPoint key;
    map.GetNextAssoc(before, key, value); // an empty map ends the walk
    EXPECT_EQ(nullptr, before);
}

TEST(CMapTest, DefaultHashAndTableSetup)
{
    CMap<__int64, __int64, Tracked, const Tracked&> map;
    map.InitHashTable(7, FALSE);
    EXPECT_EQ(7u, map.GetHashTableSize());
    EXPECT_EQ(nullptr, map.GetStartPosition());
    for (__int64 k = -50; k < 50; ++k)
        map[k * 1000003] = Tracked(static_cast<int>(k));
    EXPECT_EQ(100, map.GetCount());
    Tracked found;
    EXPECT_TRUE(map.Lookup(-50 * 1000003ll, found));
    EXPECT_EQ(-50, found.value);
    EXPECT_EQ(0, map[123456789].value); // operator[] adds a default value
    EXPECT_EQ(101, map.GetCount());
    for (__int64 k = -50; k < 50; ++k)
        EXPECT_TRUE(map.RemoveKey(k * 1000003));
    EXPECT_TRUE(map.RemoveKey(123456789));
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(1, Tracked::live); // only `found`
}

TEST(CMapTest, StringToPointer)
{
    CMapStringToPtr map;
    EXPECT_TRUE(map.IsKindOf(RUNTIME_CLASS(CMapStringToPtr)));
    EXPECT_TRUE(map.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(map.IsKindOf(RUNTIME_CLASS(CStringArray)));
    int a = 1, b = 2;
    map.SetAt(_T("Key"), &a);
    map[_T("key")] = &b; // case-sensitive: a second entry
    map.SetAt(_T(""), nullptr);
    EXPECT_EQ(3, map.GetCount());
    void* value = nullptr;
    EXPECT_TRUE(map.Lookup(_T("Key"), value));
    EXPECT_EQ(&a, value);
    EXPECT_TRUE(map.Lookup(_T("key"), value));
    EXPECT_EQ(&b, value);
    EXPECT_TRUE(map.Lookup(_T(""), value));
    EXPECT_EQ(nullptr, value);
    EXPECT_FALSE(map.Lookup(_T("KEY"), value));

    int visits = 0;
    for (POSITION pos = map.GetStartPosition(); pos; ++visits) {
        CString key;
        map.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(key == _T("Key") || key == _T("key") || key.IsEmpty());
    }
    EXPECT_EQ(3, visits);
    EXPECT_NE(HashKey<LPCTSTR>(_T("Key")), HashKey<LPCTSTR>(_T("key")));
    EXPECT_EQ(HashKey<LPCTSTR>(_T("Key")), HashKey<const CString&>(CString(_T("Key"))));
    EXPECT_EQ(0u, HashKey<LPCTSTR>(nullptr));
}

// --- CArray -----------------------------------------------------------------------

TEST(CArrayTest, GrowthStepsKeepTheBlockUntilFull)
{
    CArray<int, int> array;
    array.SetSize(0, 16);
    array.Add(0);
    const int* block = array.GetData();
    for (int i = 1; i < 16; ++i)
        array.Add(i);
    EXPECT_EQ(block, array.GetData()); // 16 fit in the first step
    array.Add(16);
    EXPECT_EQ(17, array.GetSize());
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(i, array[i]);

    array.FreeExtra();
    array.SetSize(3);
    EXPECT_EQ(3, array.GetCount());
    EXPECT_EQ(2, array.GetUpperBound());
    array.SetSize(-4); // a negative size empties
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(nullptr, array.GetData());
}

TEST(CArrayTest, InsertRemoveAndGrowWithOwningElements)
{
    struct Case {
        const char* name;
        void (*edit)(CStringArray&);
        LPCTSTR expected; // elements joined by '|'
    };
    const Case cases[] = {
        {"InsertAt middle", [](CStringArray& a) { a.InsertAt(1, _T("x"), 2); }, _T("a|x|x|b|c")},
        {"InsertAt end", [](CStringArray& a) { a.InsertAt(3, _T("x")); }, _T("a|b|c|x")},
        {"InsertAt past end", [](CStringArray& a) { a.InsertAt(5, _T("x")); }, _T("a|b|c|||x")},
        {"InsertAt negative", [](CStringArray& a) { a.InsertAt(-1, _T("x")); }, _T("a|b|c")},
        {"InsertAt own element", [](CStringArray& a) { a.InsertAt(0, a[2], 3); }, _T("c|c|c|a|b|c")},
        {"InsertAt array", [](CStringArray& a) { a.InsertAt(1, &a); }, _T("a|a|b|c|b|c")},
        {"RemoveAt", [](CStringArray& a) { a.RemoveAt(0, 2); }, _T("c")},
        {"RemoveAt past end", [](CStringArray& a) { a.RemoveAt(1, 99); }, _T("a")},
        {"RemoveAt beyond", [](CStringArray& a) { a.RemoveAt(3); }, _T("a|b|c")},
        {"SetAtGrow", [](CStringArray& a) { a.SetAtGrow(4, _T("e")); }, _T("a|b|c||e")},
        {"SetAtGrow own element", [](CStringArray& a) { a.SetAtGrow(200, a[0]); a.SetSize(4); }, _T("a|b|c|")},
        {"Append self", [](CStringArray& a) { EXPECT_EQ(3, a.Append(a)); }, _T("a|b|c|a|b|c")},
        {"SetAt", [](CStringArray& a) { a.SetAt(1, _T("B")); a.ElementAt(2) = _T("C"); }, _T("a|B|C")},
        {"RemoveAll", [](CStringArray& a) { a.RemoveAll(); }, _T("")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CStringArray array;
        for (LPCTSTR s : {_T("a"), _T("b"), _T("c")})
            array.Add(s);
        c.edit(array);
        CString joined;
        for (INT_PTR i = 0; i < array.GetSize(); ++i)
            joined += (i ? _T("|") : _T("")) + array.GetAt(i);
        EXPECT_EQ(CString(c.expected), joined);
    }

    CArray<Tracked, const Tracked&> tracked;
    for (int i = 0; i < 100; ++i)
        tracked.Add(Tracked(i));
    tracked.RemoveAt(10, 50);
    EXPECT_EQ(50, Tracked::live);
    EXPECT_EQ(60, tracked[10].value);
    tracked.RemoveAll();
    EXPECT_EQ(0, Tracked::live);
}

TEST(PointerCollections, ListAndArrayOfPointers)
{
    int values[3] = {};
    CPtrList list(2);
    CPtrArray array;
    for (int& v : values) {
        list.AddTail(&v);
        array.Add(&v);
    }
    EXPECT_EQ(&values[1], list.GetAt(list.Find(&values[1])));
    EXPECT_EQ(&values[2], array[2]);
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CPtrList)));
    EXPECT_TRUE(array.IsKindOf(RUNTIME_CLASS(CPtrArray)));
    EXPECT_STREQ("CPtrList", list.GetRuntimeClass()->m_lpszClassName);
}

} // namespace
