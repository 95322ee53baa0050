// CArray, CList and CMap as tables of edits on string elements (a lost, leaked
// or twice-destroyed element shows under the sanitizers), CMap with a key type
// of its own, and the exported non-template collections.
#include <afx/afxcoll.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using StringList = CList<CString, LPCTSTR>;

CString Join(const std::vector<CString>& items)
{
    CString joined;
    for (size_t i = 0; i < items.size(); ++i)
        joined += (i ? _T("|") : _T("")) + items[i];
    return joined;
}

// The elements joined by '|', once the links are seen to agree both ways.
CString Joined(const StringList& list)
{
    std::vector<CString> forward, backward;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        forward.push_back(list.GetNext(pos));
    for (POSITION pos = list.GetTailPosition(); pos;)
        backward.insert(backward.begin(), list.GetPrev(pos));
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(static_cast<INT_PTR>(forward.size()), list.GetCount());
    EXPECT_TRUE(forward.empty() || (forward.front() == list.GetHead() && forward.back() == list.GetTail()));
    return Join(forward);
}

TEST(CListTest, Edits)
{
    const struct { const char* name; int (*edit)(StringList&); int result; LPCTSTR after; } cases[] = {
        {"AddHead", [](StringList& l) { l.AddHead(_T("z")); return 0; }, 0, _T("z|a|b|c")},
        {"RemoveHead", [](StringList& l) { return int(l.RemoveHead() == _T("a")); }, 1, _T("b|c")},
        {"RemoveTail", [](StringList& l) { return int(l.RemoveTail() == _T("c")); }, 1, _T("a|b")},
        {"RemoveAt head", [](StringList& l) { l.RemoveAt(l.GetHeadPosition()); return 0; }, 0, _T("b|c")},
        {"RemoveAt middle", [](StringList& l) { l.RemoveAt(l.FindIndex(1)); return 0; }, 0, _T("a|c")},
        {"RemoveAt tail", [](StringList& l) { l.RemoveAt(l.GetTailPosition()); return 0; }, 0, _T("a|b")},
        {"emptied, used again", [](StringList& l) { l.RemoveTail(); l.RemoveHead(); l.RemoveTail(); l.AddHead(_T("x")); return 0; }, 0, _T("x")},
        {"RemoveAll, used again", [](StringList& l) { l.RemoveAll(); l.AddTail(_T("x")); return 0; }, 0, _T("x")},
        {"InsertBefore head", [](StringList& l) { l.InsertBefore(l.GetHeadPosition(), _T("z")); return 0; }, 0, _T("z|a|b|c")},
        {"InsertBefore middle", [](StringList& l) { l.InsertBefore(l.FindIndex(1), _T("z")); return 0; }, 0, _T("a|z|b|c")},
        {"InsertBefore null", [](StringList& l) { l.InsertBefore(nullptr, _T("z")); return 0; }, 0, _T("z|a|b|c")},
        {"InsertAfter tail", [](StringList& l) { l.InsertAfter(l.GetTailPosition(), _T("z")); return 0; }, 0, _T("a|b|c|z")},
        {"InsertAfter middle", [](StringList& l) { l.InsertAfter(l.FindIndex(1), _T("z")); return 0; }, 0, _T("a|b|z|c")},
        {"InsertAfter null", [](StringList& l) { l.InsertAfter(nullptr, _T("z")); return 0; }, 0, _T("a|b|c|z")},
        {"SetAt", [](StringList& l) { l.SetAt(l.FindIndex(1), _T("B")); return 0; }, 0, _T("a|B|c")},
        {"Find", [](StringList& l) { return int(l.Find(_T("b")) == l.FindIndex(1) && !l.Find(_T("z"))); }, 1, _T("a|b|c")},
        {"Find after", [](StringList& l) { l.AddTail(_T("b")); return int(l.Find(_T("b"), l.FindIndex(1)) == l.FindIndex(3)); }, 1, _T("a|b|c|b")},
        {"FindIndex out of range", [](StringList& l) { return int(!l.FindIndex(3) && !l.FindIndex(-1)); }, 1, _T("a|b|c")},
        {"AddTail itself", [](StringList& l) { l.AddTail(&l); return 0; }, 0, _T("a|b|c|a|b|c")},
        {"AddHead itself", [](StringList& l) { l.AddHead(&l); return 0; }, 0, _T("a|b|c|a|b|c")},
        {"AddHead another", [](StringList& l) { StringList o; o.AddTail(_T("x")); o.AddTail(_T("y")); l.AddHead(&o); return 0; }, 0, _T("x|y|a|b|c")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StringList list(2); // several blocks of nodes
        for (LPCTSTR s : {_T("a"), _T("b"), _T("c")})
            list.AddTail(s);
        EXPECT_EQ(c.result, c.edit(list));
        EXPECT_EQ(CString(c.after), Joined(list));
    }
}

TEST(CArrayTest, Edits)
{
    const struct { const char* name; void (*edit)(CStringArray&); LPCTSTR after; } cases[] = {
        {"InsertAt middle", [](CStringArray& a) { a.InsertAt(1, _T("x"), 2); }, _T("a|x|x|b|c")},
        {"InsertAt end", [](CStringArray& a) { a.InsertAt(3, _T("x")); }, _T("a|b|c|x")},
        {"InsertAt past the end", [](CStringArray& a) { a.InsertAt(5, _T("x")); }, _T("a|b|c|||x")},
        {"InsertAt negative", [](CStringArray& a) { a.InsertAt(-1, _T("x")); }, _T("a|b|c")},
        {"InsertAt own element", [](CStringArray& a) { a.InsertAt(0, a[2], 3); }, _T("c|c|c|a|b|c")},
        {"InsertAt itself", [](CStringArray& a) { a.InsertAt(1, &a); }, _T("a|a|b|c|b|c")},
        {"RemoveAt", [](CStringArray& a) { a.RemoveAt(0, 2); }, _T("c")},
        {"RemoveAt past the end", [](CStringArray& a) { a.RemoveAt(1, 99); }, _T("a")},
        {"RemoveAt beyond", [](CStringArray& a) { a.RemoveAt(3); }, _T("a|b|c")},
        {"SetAtGrow", [](CStringArray& a) { a.SetAtGrow(4, _T("e")); }, _T("a|b|c||e")},
        {"SetAtGrow own element", [](CStringArray& a) { a.SetAtGrow(200, a[0]); a.SetSize(4); }, _T("a|b|c|")},
        {"Append itself", [](CStringArray& a) { EXPECT_EQ(3, a.Append(a)); }, _T("a|b|c|a|b|c")},
        {"Copy", [](CStringArray& a) { CStringArray o; o.Add(_T("x")); a.Copy(o); }, _T("x")},
        {"SetAt", [](CStringArray& a) { a.SetAt(1, _T("B")); a.ElementAt(2) = _T("C"); }, _T("a|B|C")},
        {"SetSize shrinks and grows", [](CStringArray& a) { a.SetSize(1); a.SetSize(3); }, _T("a||")},
        {"FreeExtra", [](CStringArray& a) { a.SetSize(40); a.SetSize(2); a.FreeExtra(); }, _T("a|b")},
        {"RemoveAll", [](CStringArray& a) { a.RemoveAll(); }, _T("")},
        {"negative size empties", [](CStringArray& a) { a.SetSize(-4); }, _T("")},
        {"grows in steps", [](CStringArray& a) { a.SetSize(3, 2); for (int i = 0; i < 99; ++i) a.Add(_T("x")); a.SetSize(4); }, _T("a|b|c|x")},
        {"grows by default steps", [](CStringArray& a) { a.SetAtGrow(5000, _T("y")); a.RemoveAt(1, 4998); }, _T("a||y")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CStringArray array;
        for (LPCTSTR s : {_T("a"), _T("b"), _T("c")})
            array.Add(s);
        c.edit(array);
        std::vector<CString> items(array.GetData(), array.GetData() + array.GetSize());
        EXPECT_EQ(CString(c.after), Join(items));
        EXPECT_EQ(array.GetSize() - 1, array.GetUpperBound());
    }
}

struct GridPoint {
    int x = 0;
    int y = 0;
    bool operator==(const GridPoint& other) const { return x == other.x && y == other.y; }
};

} // namespace

// A key type of our own, hashed into a handful of buckets, so that chains are
// long and removal inside them is exercised.
template <> inline UINT AFXAPI HashKey<const GridPoint&>(const GridPoint& key) { return static_cast<UINT>(key.x % 3); }

namespace {

TEST(CMapTest, OwnKeyTypeMatchesAModelThroughRehashes)
{
    CMap<GridPoint, const GridPoint&, CString, LPCTSTR> map(3);
    std::map<std::pair<int, int>, CString> model;
    for (int x = 0; x < 30; ++x) {
        for (int y = 0; y < 5; ++y)
            map[GridPoint{x, y}] = model[{x, y}] = CString(WCHAR('a' + y), x + 1);
    }
    for (int x = 0; x < 30; x += 2) {
        EXPECT_TRUE(map.RemoveKey(GridPoint{x, 2}));
        model.erase({x, 2});
    }
    map.SetAt(GridPoint{1, 1}, _T("changed"));
    model[{1, 1}] = _T("changed");
    EXPECT_FALSE(map.RemoveKey(GridPoint{0, 2}));
    CString value;
    EXPECT_FALSE(map.Lookup(GridPoint{0, 2}, value));
    for (UINT size : {17u, 1u, 101u}) { // every entry met once, also after a rehash
        SCOPED_TRACE(size);
        map.InitHashTable(size);
        std::map<std::pair<int, int>, CString> seen;
        for (POSITION pos = map.GetStartPosition(); pos;) {
            GridPoint key;
            map.GetNextAssoc(pos, key, value);
            EXPECT_TRUE(map.Lookup(key, value));
            EXPECT_TRUE((seen.emplace(std::make_pair(key.x, key.y), value).second));
        }
        EXPECT_EQ(model, seen);
    }
    map.RemoveAll();
    POSITION before = BEFORE_START_POSITION;
    GridPoint key;
    map.GetNextAssoc(before, key, value); // an empty map ends the walk
    EXPECT_TRUE(before == nullptr && map.GetStartPosition() == nullptr);
    EXPECT_TRUE((map[GridPoint{5, 5}].IsEmpty() && map.GetCount() == 1)); // operator[] adds a default value
}

TEST(CMapTest, TextKeysAndTheExportedCollections)
{
    CMapStringToPtr map;
    int a = 1, b = 2;
    map.SetAt(_T("Key"), &a);
    map[_T("key")] = &b; // compared exactly: a second entry
    void* value = nullptr;
    EXPECT_TRUE(map.Lookup(_T("key"), value) && value == &b && !map.Lookup(_T("KEY"), value));
    EXPECT_EQ(2, map.GetCount());
    EXPECT_EQ(97u * 33 + 98, HashKey<LPCTSTR>(_T("ab"))); // the framework's text hash decides the walk order
    EXPECT_EQ(HashKey<LPCTSTR>(_T("ab")), HashKey<const CString&>(CString(_T("ab"))));
    EXPECT_EQ(0u, HashKey<LPCTSTR>(nullptr));

    CPtrList list(2);
    list.AddTail(&a);
    EXPECT_EQ(&a, list.GetAt(list.Find(&a)));
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CPtrList)) && CPtrArray().IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(map.IsKindOf(RUNTIME_CLASS(CStringArray)));
}

} // namespace
