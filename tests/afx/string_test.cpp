// CString: one table of operations (each run on a copy that shares the block,
// so that every writer is also checked to unshare first), construction,
// comparison, buffers and the memory limits.
#include <afx/afx.h>

#include "support/AfxTestPrint.h"
#include "support/Raised.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

LPCWSTR Chars(const CString& s) { return s; }
const WCHAR kZeros[] = {'a', 0, 'b', 0}; // text with embedded zeros

struct OperationCase { const char* name; LPCWSTR before; int (*operation)(CString&); int result; LPCWSTR after; };

TEST(CStringTest, Operations)
{
    const OperationCase cases[] = {
        {"Mid", _T("abcdef"), [](CString& s) { s = s.Mid(2); return 0; }, 0, _T("cdef")},
        {"Mid negative start", _T("abcdef"), [](CString& s) { s = s.Mid(-3, 2); return 0; }, 0, _T("ab")},
        {"Mid past the end", _T("abcdef"), [](CString& s) { s = s.Mid(4, 100); return 0; }, 0, _T("ef")},
        {"Mid beyond", _T("abcdef"), [](CString& s) { s = s.Mid(99, 5); return 0; }, 0, _T("")},
        {"Mid negative count", _T("abcdef"), [](CString& s) { s = s.Mid(1, -1); return 0; }, 0, _T("")},
        {"Left", _T("abcdef"), [](CString& s) { s = s.Left(2); return 0; }, 0, _T("ab")},
        {"Right", _T("abcdef"), [](CString& s) { s = s.Right(2); return 0; }, 0, _T("ef")},
        {"Right too many", _T("abcdef"), [](CString& s) { s = s.Right(100); return 0; }, 0, _T("abcdef")},
        {"SpanIncluding", _T("abcdef"), [](CString& s) { s = s.SpanIncluding(_T("cba")); return 0; }, 0, _T("abc")},
        {"SpanExcluding", _T("abcdef"), [](CString& s) { s = s.SpanExcluding(_T("dx")); return 0; }, 0, _T("abc")},
        {"SpanExcluding at once", _T("abc"), [](CString& s) { s = s.SpanExcluding(_T("a")); return 0; }, 0, _T("")},
        {"SpanExcluding null", _T("ab"), [](CString& s) { s = s.SpanExcluding(nullptr); return 0; }, 0, _T("ab")},
        {"Find char", _T("abcabc"), [](CString& s) { return s.Find('a'); }, 0, _T("abcabc")},
        {"Find char from", _T("abcabc"), [](CString& s) { return s.Find('b', 2); }, 4, _T("abcabc")},
        {"Find char from last", _T("abcabc"), [](CString& s) { return s.Find('c', 5); }, 5, _T("abcabc")},
        {"Find char beyond", _T("abcabc"), [](CString& s) { return s.Find('b', 100); }, -1, _T("abcabc")},
        {"Find text", _T("abcabc"), [](CString& s) { return s.Find(_T("ab")); }, 0, _T("abcabc")},
        {"Find text at the very end", _T("abcabc"), [](CString& s) { return s.Find(_T("bc"), 4); }, 4, _T("abcabc")},
        {"Find text too late", _T("abcabc"), [](CString& s) { return s.Find(_T("bc"), 5); }, -1, _T("abcabc")},
        {"Find text longer", _T("abcabc"), [](CString& s) { return s.Find(_T("abcabcd")); }, -1, _T("abcabc")},
        {"Find empty", _T("abc"), [](CString& s) { return s.Find(_T("")); }, 0, _T("abc")},
        {"Find empty at the end", _T("abc"), [](CString& s) { return s.Find(_T(""), 3); }, 3, _T("abc")},
        {"Find empty beyond", _T("abc"), [](CString& s) { return s.Find(_T(""), 4); }, -1, _T("abc")},
        {"Find at INT_MAX", _T("abc"), [](CString& s) { return s.Find(_T("c"), INT_MAX); }, -1, _T("abc")},
        {"Find never the terminator", _T("abc"), [](CString& s) { return s.Find(WCHAR(0)); }, -1, _T("abc")},
        {"Find over zeros", _T(""), [](CString& s) { return CString(kZeros, 4).Find(WCHAR(0), 2); }, 3, _T("")},
        {"Find text over zeros", _T(""), [](CString& s) { return CString(kZeros, 4).Find(_T("b")); }, 2, _T("")},
        {"ReverseFind", _T("abcabc"), [](CString& s) { return s.ReverseFind('c'); }, 5, _T("abcabc")},
        {"ReverseFind first", _T("abc"), [](CString& s) { return s.ReverseFind('a'); }, 0, _T("abc")},
        {"ReverseFind none", _T("abc"), [](CString& s) { return s.ReverseFind('z'); }, -1, _T("abc")},
        {"FindOneOf", _T("abc"), [](CString& s) { return s.FindOneOf(_T("xc")); }, 2, _T("abc")},
        {"FindOneOf none", _T("abc"), [](CString& s) { return s.FindOneOf(_T("")); }, -1, _T("abc")},
        {"Replace char", _T("a.b."), [](CString& s) { return s.Replace('.', '/'); }, 2, _T("a/b/")},
        {"Replace same char", _T("a.b"), [](CString& s) { return s.Replace('.', '.'); }, 0, _T("a.b")},
        {"Replace grows", _T("aXbX"), [](CString& s) { return s.Replace(_T("X"), _T("YYY")); }, 2, _T("aYYYbYYY")},
        {"Replace shrinks", _T("abab"), [](CString& s) { return s.Replace(_T("ab"), _T("c")); }, 2, _T("cc")},
        {"Replace with null", _T("abab"), [](CString& s) { return s.Replace(_T("ab"), nullptr); }, 2, _T("")},
        {"Replace empty", _T("abc"), [](CString& s) { return s.Replace(_T(""), _T("x")); }, 0, _T("abc")},
        {"Replace without overlap", _T("aaa"), [](CString& s) { return s.Replace(_T("aa"), _T("b")); }, 1, _T("ba")},
        {"Replace all of it", _T("abc"), [](CString& s) { return s.Replace(_T("abc"), _T("xy")); }, 1, _T("xy")},
        {"Replace longer", _T("ab"), [](CString& s) { return s.Replace(_T("abc"), _T("x")); }, 0, _T("ab")},
        {"Replace none", _T("ab"), [](CString& s) { return s.Replace(_T("x"), _T("y")); }, 0, _T("ab")},
        {"Replace with itself", _T("a-b-c"), [](CString& s) { return s.Replace(_T("-"), Chars(s)); }, 2,
         _T("aa-b-cba-b-cc")}, // the replacement is read before the change
        {"Remove", _T("abaca"), [](CString& s) { return s.Remove('a'); }, 3, _T("bc")},
        {"Remove none", _T("xyz"), [](CString& s) { return s.Remove('a'); }, 0, _T("xyz")},
        {"Insert char", _T("ac"), [](CString& s) { return s.Insert(1, 'b'); }, 3, _T("abc")},
        {"Insert past the end", _T("ab"), [](CString& s) { return s.Insert(10, _T("cd")); }, 4, _T("abcd")},
        {"Insert before the start", _T("cd"), [](CString& s) { return s.Insert(-4, _T("ab")); }, 4, _T("abcd")},
        {"Insert null", _T("ab"), [](CString& s) { return s.Insert(1, static_cast<LPCWSTR>(nullptr)); }, 2, _T("ab")},
        {"Delete", _T("abcdef"), [](CString& s) { return s.Delete(1, 2); }, 4, _T("adef")},
        {"Delete past the end", _T("abc"), [](CString& s) { return s.Delete(1, 100); }, 1, _T("a")},
        {"Delete beyond", _T("abc"), [](CString& s) { return s.Delete(3, 1); }, 3, _T("abc")},
        {"Delete negative count", _T("abc"), [](CString& s) { return s.Delete(0, -1); }, 3, _T("abc")},
        {"Delete negative start", _T("abc"), [](CString& s) { return s.Delete(-2, 1); }, 2, _T("bc")},
        {"Trim white space", _T(" \t\r\n\v\fab c \n"), [](CString& s) { s.Trim(); return 0; }, 0, _T("ab c")},
        {"Trim all", _T("   "), [](CString& s) { s.Trim(); return 0; }, 0, _T("")},
        {"Trim keeps other space", _T("\x08\u00A0a\x0E"), [](CString& s) { s.Trim(); return 0; }, 0, _T("\x08\u00A0a\x0E")},
        {"Trim char", _T("xxaxx"), [](CString& s) { s.Trim('x'); return 0; }, 0, _T("a")},
        {"Trim set", _T("-+a+-b-+"), [](CString& s) { s.Trim(_T("+-")); return 0; }, 0, _T("a+-b")},
        {"Trim null set", _T(" a "), [](CString& s) { s.Trim(static_cast<LPCWSTR>(nullptr)); return 0; }, 0, _T(" a ")},
        {"MakeUpper", _T("Hello, z@[`{"), [](CString& s) { s.MakeUpper(); return 0; }, 0, _T("HELLO, Z@[`{")},
        {"MakeLower", _T("Hello, Z@[`{"), [](CString& s) { s.MakeLower(); return 0; }, 0, _T("hello, z@[`{")},
        {"MakeReverse", _T("abcd"), [](CString& s) { s.MakeReverse(); return 0; }, 0, _T("dcba")},
        {"SetAt", _T("ab"), [](CString& s) { s.SetAt(1, 'x'); return int(s.GetAt(1)); }, 'x', _T("ax")},
        {"SetAt out of range", _T("ab"), [](CString& s) { s.SetAt(2, 'x'); s.SetAt(-1, 'x'); return 0; }, 0, _T("ab")},
        {"GetAt out of range", _T("ab"), [](CString& s) { return s.GetAt(2) + s.GetAt(-1); }, 0, _T("ab")},
        {"+= itself", _T("ab"), [](CString& s) { s += s; return 0; }, 0, _T("abab")},
        {"+= from inside", _T("abcd"), [](CString& s) { s += Chars(s) + 2; return 0; }, 0, _T("abcdcd")},
        {"= from inside", _T("abcd"), [](CString& s) { s = Chars(s) + 2; return 0; }, 0, _T("cd")},
        {"+ char and text", _T("b"), [](CString& s) { s = WCHAR('a') + s + WCHAR('c') + _T("d"); return 0; }, 0,
         _T("abcd")},
        {"+ text and null", _T("b"), [](CString& s) { s = _T("a") + s + static_cast<LPCWSTR>(nullptr); return 0; }, 0,
         _T("ab")},
        {"GetBuffer", _T("ab"), [](CString& s) { s.GetBuffer(0)[0] = 'Q'; s.ReleaseBuffer(); return 0; }, 0, _T("Qb")},
        {"ReleaseBuffer length", _T("abc"), [](CString& s) { s.GetBuffer(3); s.ReleaseBuffer(2); return 0; }, 0, _T("ab")},
        {"ReleaseBuffer clamped", _T("abc"), [](CString& s) { s.GetBuffer(3); s.ReleaseBuffer(INT_MAX); return 0; }, 0,
         _T("abc")},
        {"ReleaseBuffer without a zero", _T("ab"), [](CString& s) { s.GetBuffer(3)[2] = 'c'; s.ReleaseBuffer(); return 0; }, 0,
         _T("abc")}, // the length stops at the room
        {"FreeExtra", _T("abc"), [](CString& s) { s.GetBuffer(50); s.ReleaseBuffer(); s.FreeExtra(); return 0; }, 0, _T("abc")},
        {"GetBufferSetLength", _T("abc"), [](CString& s) { s.GetBufferSetLength(2)[1] = 'z'; return 0; }, 0, _T("az")},
    };
    for (const OperationCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CString original(c.before);
        CString s = original; // shares the block until written
        EXPECT_EQ(c.result, c.operation(s));
        EXPECT_EQ(CString(c.after), s);
        EXPECT_EQ(CString(c.after), CString(Chars(s))) << "the terminator follows the text";
        EXPECT_EQ(CString(c.before), original);
    }
}

TEST(CStringTest, ConstructionAndSharing)
{
    const struct { CString actual; int length; LPCWSTR text; } cases[] = {
        {CString(_T("abcdef"), 4), 4, _T("abcd")},        {CString(_T("abc"), -1), 0, _T("")},
        {CString(static_cast<LPCWSTR>(nullptr), 5), 0, _T("")}, {CString(WCHAR('z'), 3), 3, _T("zzz")},
        {CString(WCHAR('z'), -2), 0, _T("")},             {CString("ascii"), 5, _T("ascii")},
        {CString(static_cast<LPCSTR>(nullptr)), 0, _T("")}, {CString("abcdef", 1), 1, _T("a")},
        {CString(kZeros, 3), 3, kZeros},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        ASSERT_EQ(cases[i].length, cases[i].actual.GetLength()) << i;
        for (int k = 0; k <= cases[i].length; ++k)
            EXPECT_EQ(k < cases[i].length ? cases[i].text[k] : 0, Chars(cases[i].actual)[k]) << i;
    }
    // Every empty string shares one block; a whole Mid shares its source; a move takes it.
    CString emptied(_T("x")), moved(_T("abc"));
    emptied.Empty();
    EXPECT_EQ(Chars(CString()), Chars(emptied));
    EXPECT_EQ(Chars(moved), Chars(moved.Mid(0)));
    const LPCWSTR before = moved;
    CString target(std::move(moved));
    EXPECT_EQ(before, Chars(target));
    EXPECT_TRUE(moved.IsEmpty()); // NOLINT(bugprone-use-after-move): moved-from is empty
}

TEST(CStringTest, Comparison)
{
    const struct { LPCWSTR a; LPCWSTR b; int compare; int noCase; } cases[] = {
        {_T("abc"), _T("abc"), 0, 0}, {_T("abc"), _T("abd"), -1, -1}, {_T("abc"), _T("ab"), 1, 1},
        {_T(""), _T("a"), -1, -1},    {_T("ABC"), _T("abc"), -1, 0},  {_T("a"), _T("B"), 1, -1},
        {_T("_"), _T("A"), 1, -1},    {_T("Z"), _T("z"), -1, 0},      {_T("@"), _T("`"), -1, -1},
        {_T("\u00C4"), _T("\u00E4"), -1, -1}, // ASCII folding only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(CString(c.a)) + " vs " + testing::PrintToString(CString(c.b)));
        const CString a(c.a);
        EXPECT_EQ(c.compare, (a.Compare(c.b) > 0) - (a.Compare(c.b) < 0));
        EXPECT_EQ(c.noCase, (a.CompareNoCase(c.b) > 0) - (a.CompareNoCase(c.b) < 0));
        EXPECT_EQ(c.compare == 0, a == CString(c.b));
    }
    EXPECT_NE(CString(kZeros, 3), CString(_T("a"))); // whole texts compared
    EXPECT_EQ(0, CString().Compare(static_cast<LPCWSTR>(nullptr)));
}

TEST(CStringTest, BuffersPlatformStringsAndImpossibleSizes)
{
    CString grown;
    for (int i = 0; i < 1000; ++i)
        grown += WCHAR('0' + i % 10);
    EXPECT_EQ('9', grown[999]);
    CString empty;
    empty.GetBuffer(0)[0] = 0; // the caller may always write the terminator
    empty.ReleaseBuffer();
    EXPECT_TRUE(empty.IsEmpty());

    BSTR b = CString(kZeros, 3).AllocSysString();
    EXPECT_EQ(3u, ::SysStringLen(b));
    EXPECT_EQ(b, CString(_T("new")).SetSysString(&b));
    EXPECT_EQ(CString(_T("new")), CString(b, static_cast<int>(::SysStringLen(b))));
    ::SysFreeString(b);

    CString s(_T("keep"));
    EXPECT_EQ(0, CauseRaised<CMemoryException>([&] { s.GetBuffer(INT_MAX); }));
    EXPECT_EQ(0, CauseRaised<CMemoryException>([&] { s.GetBufferSetLength(INT_MAX / 2); }));
    EXPECT_EQ(0, CauseRaised<CMemoryException>([&] { CString(WCHAR('x'), INT_MAX - 1); }));
    EXPECT_EQ(CString(_T("keep")), s);
}

} // namespace
