// CString: sharing rules, editing members and their edge cases.
#include <afx/afx.h>

#include "support/AfxTestPrint.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

LPCWSTR Chars(const CString& s) { return s; }

// --- Sharing and copy-on-write ------------------------------------------------------

TEST(CStringSharing, EmptyStringsShareOneBlock)
{
    CString a, b(_T("")), c(static_cast<LPCWSTR>(nullptr));
    CString d(_T("x"));
    d.Empty();
    EXPECT_EQ(Chars(a), Chars(b));
    EXPECT_EQ(Chars(a), Chars(c));
    EXPECT_EQ(Chars(a), Chars(d));
    EXPECT_EQ(0, a[0]); // terminated
}

TEST(CStringSharing, CopiesShareUntilWritten)
{
    const CString original(_T("shared text"));
    CString copy = original;
    CString assigned;
    assigned = copy;
    EXPECT_EQ(Chars(original), Chars(copy));
    EXPECT_EQ(Chars(original), Chars(assigned));

    copy.SetAt(0, 'S');
    EXPECT_NE(Chars(original), Chars(copy));
    EXPECT_EQ(CString(_T("Shared text")), copy);
    EXPECT_EQ(CString(_T("shared text")), original);
    EXPECT_EQ(Chars(original), Chars(assigned)); // the other copy still shares

    // Every writer unshares before it writes.
    struct Writer {
        const char* name;
        void (*write)(CString&);
    };
    const Writer writers[] = {
        {"MakeUpper", [](CString& s) { s.MakeUpper(); }},
        {"MakeReverse", [](CString& s) { s.MakeReverse(); }},
        {"Replace char", [](CString& s) { s.Replace('s', 'z'); }},
        {"Replace text", [](CString& s) { s.Replace(_T("ed"), _T("")); }},
        {"Remove", [](CString& s) { s.Remove('e'); }},
        {"Insert", [](CString& s) { s.Insert(3, 'x'); }},
        {"Delete", [](CString& s) { s.Delete(0, 2); }},
        {"TrimLeft", [](CString& s) { s.TrimLeft('s'); }},
        {"TrimRight", [](CString& s) { s.TrimRight(_T("xt")); }},
        {"+=", [](CString& s) { s += _T("!"); }},
        {"GetBuffer", [](CString& s) { s.GetBuffer(0)[0] = 'Q'; s.ReleaseBuffer(); }},
    };
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.name);
        CString copy2 = original;
        w.write(copy2);
        EXPECT_EQ(CString(_T("shared text")), original);
        EXPECT_NE(Chars(original), Chars(copy2));
    }
}

TEST(CStringSharing, WholeMidSharesAndMoveLeavesEmpty)
{
    CString s(_T("abc"));
    EXPECT_EQ(Chars(s), Chars(s.Mid(0)));
    EXPECT_EQ(Chars(s), Chars(s.Left(3)));
    const LPCWSTR before = s;
    CString moved(std::move(s));
    EXPECT_EQ(before, Chars(moved));
    EXPECT_TRUE(s.IsEmpty()); // NOLINT(bugprone-use-after-move): moved-from is empty
}

TEST(CStringSharing, GetBufferUnsharesAndReleaseBufferSetsLength)
{
    CString s(_T("hello"));
    CString copy = s;
    LPWSTR buffer = s.GetBuffer(20);
    EXPECT_NE(Chars(copy), buffer);
    buffer[5] = '!';
    buffer[6] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(CString(_T("hello!")), s);
    EXPECT_EQ(CString(_T("hello")), copy);

    // An explicit length wins over the terminator and is clamped to the room.
    buffer = s.GetBuffer(3);
    s.ReleaseBuffer(2);
    EXPECT_EQ(CString(_T("he")), s);
    s.GetBuffer(4);
    s.ReleaseBuffer(INT_MAX);
    EXPECT_LE(s.GetLength(), 20);

    CString empty;
    LPWSTR room = empty.GetBuffer(0);
    room[0] = 0; // the caller may always write the terminator
    empty.ReleaseBuffer();
    EXPECT_TRUE(empty.IsEmpty());

    CString sized;
    LPWSTR p = sized.GetBufferSetLength(3);
    p[0] = 'a', p[1] = 'b', p[2] = 'c';
    EXPECT_EQ(CString(_T("abc")), sized);
    sized.FreeExtra();
    EXPECT_EQ(CString(_T("abc")), sized);
}

// --- Construction and conversion -------------------------------------------------

TEST(CStringConstruct, Sources)
{
    const WCHAR embedded[] = {'a', 0, 'b'};
    struct Case {
        CString actual;
        int length;
        LPCWSTR text;
    };
    const Case cases[] = {
        {CString(), 0, _T("")},
        {CString(_T("abc")), 3, _T("abc")},
        {CString(_T("abcdef"), 4), 4, _T("abcd")},
        {CString(_T("abc"), -1), 0, _T("")},
        {CString(static_cast<LPCWSTR>(nullptr), 5), 0, _T("")},
        {CString(WCHAR('z'), 3), 3, _T("zzz")},
        {CString(WCHAR('z'), 0), 0, _T("")},
        {CString(WCHAR('z'), -2), 0, _T("")},
        {CString("ascii"), 5, _T("ascii")},
        {CString(static_cast<LPCSTR>(nullptr)), 0, _T("")},
        {CString("abcdef", 2), 2, _T("ab")},
        {CString(embedded, 3), 3, embedded},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(cases[i].length, cases[i].actual.GetLength());
        for (int k = 0; k < cases[i].length; ++k)
            EXPECT_EQ(cases[i].text[k], cases[i].actual[k]);
        EXPECT_EQ(0, Chars(cases[i].actual)[cases[i].length]);
    }
}

TEST(CStringConstruct, ElementAccessOutOfRange)
{
    CString s(_T("ab"));
    EXPECT_EQ('b', s.GetAt(1));
    EXPECT_EQ(0, s.GetAt(2));
    EXPECT_EQ(0, s.GetAt(-1));
    s.SetAt(2, 'x');
    s.SetAt(-1, 'x');
    EXPECT_EQ(CString(_T("ab")), s);
}

TEST(CStringConstruct, PlatformStrings)
{
    const WCHAR embedded[] = {'x', 0, 'y'};
    const CString s(embedded, 3);
    BSTR b = s.AllocSysString();
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(3u, ::SysStringLen(b));
    EXPECT_EQ('y', b[2]);
    ::SysFreeString(b);

    BSTR target = ::SysAllocString(_T("old text"));
    const BSTR returned = CString(_T("new")).SetSysString(&target);
    EXPECT_EQ(returned, target);
    EXPECT_EQ(3u, ::SysStringLen(target));
    EXPECT_EQ(CString(_T("new")), CString(target));
    ::SysFreeString(target);

    b = CString().AllocSysString();
    ASSERT_NE(nullptr, b); // an empty BSTR, not null
    EXPECT_EQ(0u, ::SysStringLen(b));
    ::SysFreeString(b);
}

TEST(CStringConstruct, ImpossibleSizeRaisesMemoryException)
{
    CString s(_T("keep"));
    bool thrown = false;
    try {
        s.GetBuffer(INT_MAX);
    } catch (CMemoryException* e) {
        thrown = true;
        e->Delete(); // the static exception survives Delete
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(CString(_T("keep")), s);

    thrown = false;
    try {
        CString(WCHAR('x'), INT_MAX - 1);
    } catch (CException* e) {
        thrown = e->IsKindOf(RUNTIME_CLASS(CMemoryException));
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

// --- Concatenation and comparison -------------------------------------------------

TEST(CStringConcat, OperatorsAndAliasing)
{
    CString s(_T("ab"));
    EXPECT_EQ(CString(_T("abcd")), s + CString(_T("cd")));
    EXPECT_EQ(CString(_T("abc")), s + WCHAR('c'));
    EXPECT_EQ(CString(_T("zab")), WCHAR('z') + s);
    EXPECT_EQ(CString(_T("ab!")), s + _T("!"));
    EXPECT_EQ(CString(_T("!ab")), _T("!") + s);
    EXPECT_EQ(CString(_T("ab")), s + static_cast<LPCWSTR>(nullptr));

    s += s; // the source is the string being grown
    EXPECT_EQ(CString(_T("abab")), s);
    s += Chars(s) + 2; // the source lies inside the buffer
    EXPECT_EQ(CString(_T("ababab")), s);
    s = Chars(s) + 4; // assignment from inside the buffer
    EXPECT_EQ(CString(_T("ab")), s);

    CString grown;
    for (int i = 0; i < 1000; ++i)
        grown += WCHAR('0' + i % 10);
    EXPECT_EQ(1000, grown.GetLength());
    EXPECT_EQ('9', grown[999]);
}

TEST(CStringCompare, Ordering)
{
    struct Case {
        LPCWSTR a;
        LPCWSTR b;
        int compare;
        int noCase;
    };
    const Case cases[] = {
        {_T("abc"), _T("abc"), 0, 0},      {_T("abc"), _T("abd"), -1, -1}, {_T("abc"), _T("ab"), 1, 1},
        {_T(""), _T("a"), -1, -1},         {_T("ABC"), _T("abc"), -1, 0},  {_T("a"), _T("B"), 1, -1},
        {_T("_"), _T("A"), 1, -1}, // folded to lower case, as the C runtime folds
        {_T("\u00C4"), _T("\u00E4"), -1, -1}, // ASCII folding only
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(CString(c.a)) + " vs " + testing::PrintToString(CString(c.b)));
        const CString a(c.a);
        EXPECT_EQ(c.compare, a.Compare(c.b) < 0 ? -1 : a.Compare(c.b) > 0 ? 1 : 0);
        EXPECT_EQ(c.noCase, a.CompareNoCase(c.b) < 0 ? -1 : a.CompareNoCase(c.b) > 0 ? 1 : 0);
        EXPECT_EQ(c.compare == 0, a == c.b);
        EXPECT_EQ(c.compare == 0, c.b == a);
        EXPECT_EQ(c.compare != 0, a != CString(c.b));
        EXPECT_EQ(c.compare < 0, a < c.b);
        EXPECT_EQ(c.compare > 0, c.b < a);
        EXPECT_EQ(c.compare > 0, a > CString(c.b));
        EXPECT_EQ(c.compare <= 0, a <= c.b);
        EXPECT_EQ(c.compare >= 0, a >= c.b);
    }
    const WCHAR embedded[] = {'a', 0, 'b'};
    EXPECT_NE(CString(embedded, 3), CString(_T("a"))); // whole texts compared
    EXPECT_EQ(0, CString().Compare(static_cast<LPCWSTR>(nullptr)));
}

// --- Extraction -------------------------------------------------------------------

TEST(CStringExtract, ClampedLikeTheFramework)
{
    const CString s(_T("abcdef"));
    struct Case {
        CString actual;
        LPCWSTR expected;
    };
    const Case cases[] = {
        {s.Mid(2), _T("cdef")},      {s.Mid(2, 2), _T("cd")}, {s.Mid(-3, 2), _T("ab")},
        {s.Mid(4, 100), _T("ef")},   {s.Mid(6), _T("")},      {s.Mid(99), _T("")},
        {s.Mid(99, 5), _T("")},      {s.Mid(1, -1), _T("")},  {s.Mid(0, INT_MAX), _T("abcdef")},
        {s.Left(2), _T("ab")},       {s.Left(-1), _T("")},    {s.Left(100), _T("abcdef")},
        {s.Right(2), _T("ef")},      {s.Right(-1), _T("")},   {s.Right(100), _T("abcdef")},
        {s.SpanIncluding(_T("cba")), _T("abc")},              {s.SpanIncluding(_T("x")), _T("")},
        {s.SpanExcluding(_T("dx")), _T("abc")},               {s.SpanExcluding(nullptr), _T("abcdef")},
        {CString().Mid(1, 1), _T("")},                        {CString().Right(3), _T("")},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(CString(cases[i].expected), cases[i].actual);
    }
}

// --- Searching --------------------------------------------------------------------

TEST(CStringFind, Positions)
{
    const CString s(_T("abcabc"));
    const WCHAR embedded[] = {'a', 0, 'b', 0};
    const CString withZero(embedded, 4);
    struct Case {
        int actual;
        int expected;
    };
    const Case cases[] = {
        {s.Find('b'), 1},          {s.Find('b', 2), 4},         {s.Find('b', -5), 1},
        {s.Find('b', 5), -1},      {s.Find('b', 100), -1},      {s.Find('z'), -1},
        {s.Find(_T("ca")), 2},     {s.Find(_T("bc"), 2), 4},    {s.Find(_T("bc"), 5), -1},
        {s.Find(_T("abcabcd")), -1}, {s.Find(_T("")), 0},       {s.Find(_T(""), 6), 6},
        {s.Find(_T(""), 7), -1},   {s.Find(_T("c"), INT_MAX), -1},
        {s.ReverseFind('a'), 3},   {s.ReverseFind('z'), -1},    {CString().ReverseFind('a'), -1},
        {s.FindOneOf(_T("xc")), 2}, {s.FindOneOf(_T("xy")), -1}, {s.FindOneOf(_T("")), -1},
        {withZero.Find('b'), 2},   {withZero.Find(WCHAR(0), 2), 3}, // search runs over embedded zeros
        {s.Find(WCHAR(0)), -1},    {withZero.Find(WCHAR(0), 4), -1}, // never the terminator
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].expected, cases[i].actual);
    }
}

// --- Changes in place ----------------------------------------------------------------

TEST(CStringEdit, ChangesAndTheirCounts)
{
    struct Case {
        const char* name;
        LPCWSTR before;
        int (*edit)(CString&);
        int result;
        LPCWSTR after;
    };
    const Case cases[] = {
        {"Replace char", _T("a.b.c"), [](CString& s) { return s.Replace('.', '/'); }, 2, _T("a/b/c")},
        {"Replace same char", _T("a.b"), [](CString& s) { return s.Replace('.', '.'); }, 0, _T("a.b")},
        {"Replace grows", _T("aXbX"), [](CString& s) { return s.Replace(_T("X"), _T("YYY")); }, 2, _T("aYYYbYYY")},
        {"Replace shrinks", _T("abab"), [](CString& s) { return s.Replace(_T("ab"), _T("c")); }, 2, _T("cc")},
        {"Replace with empty", _T("abab"), [](CString& s) { return s.Replace(_T("b"), _T("")); }, 2, _T("aa")},
        {"Replace with null", _T("abab"), [](CString& s) { return s.Replace(_T("ab"), nullptr); }, 2, _T("")},
        {"Replace empty", _T("abc"), [](CString& s) { return s.Replace(_T(""), _T("x")); }, 0, _T("abc")},
        {"Replace no overlap", _T("aaa"), [](CString& s) { return s.Replace(_T("aa"), _T("b")); }, 1, _T("ba")},
        {"Replace all of it", _T("abc"), [](CString& s) { return s.Replace(_T("abc"), _T("xy")); }, 1, _T("xy")},
        {"Replace longer", _T("ab"), [](CString& s) { return s.Replace(_T("abc"), _T("x")); }, 0, _T("ab")},
        {"Remove", _T("banana"), [](CString& s) { return s.Remove('a'); }, 3, _T("bnn")},
        {"Remove none", _T("xyz"), [](CString& s) { return s.Remove('a'); }, 0, _T("xyz")},
        {"Insert char", _T("ac"), [](CString& s) { return s.Insert(1, 'b'); }, 3, _T("abc")},
        {"Insert past end", _T("ab"), [](CString& s) { return s.Insert(10, _T("cd")); }, 4, _T("abcd")},
        {"Insert before start", _T("cd"), [](CString& s) { return s.Insert(-4, _T("ab")); }, 4, _T("abcd")},
        {"Insert null", _T("ab"), [](CString& s) { return s.Insert(1, static_cast<LPCWSTR>(nullptr)); }, 2, _T("ab")},
        {"Delete", _T("abcdef"), [](CString& s) { return s.Delete(1, 2); }, 4, _T("adef")},
        {"Delete default", _T("abc"), [](CString& s) { return s.Delete(0); }, 2, _T("bc")},
        {"Delete past end", _T("abc"), [](CString& s) { return s.Delete(1, 100); }, 1, _T("a")},
        {"Delete beyond", _T("abc"), [](CString& s) { return s.Delete(5, 1); }, 3, _T("abc")},
        {"Delete negative count", _T("abc"), [](CString& s) { return s.Delete(0, -1); }, 3, _T("abc")},
        {"Delete negative start", _T("abc"), [](CString& s) { return s.Delete(-2, 1); }, 2, _T("bc")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CString s(c.before);
        EXPECT_EQ(c.result, c.edit(s));
        EXPECT_EQ(CString(c.after), s);
        EXPECT_EQ(CString(c.after), CString(static_cast<LPCWSTR>(s))) << "the terminator follows the text";
    }
}

TEST(CStringEdit, ReplaceWithTextOfItself)
{
    CString s(_T("a-b-c"));
    EXPECT_EQ(2, s.Replace(_T("-"), Chars(s))); // the replacement is read before the change
    EXPECT_EQ(CString(_T("aa-b-cba-b-cc")), s);
}

TEST(CStringEdit, Trimming)
{
    struct Case {
        const char* name;
        LPCWSTR before;
        void (*trim)(CString&);
        LPCWSTR after;
    };
    const Case cases[] = {
        {"Trim", _T(" \t\r\n\v\fab c \n"), [](CString& s) { s.Trim(); }, _T("ab c")},
        {"TrimLeft", _T("  ab  "), [](CString& s) { s.TrimLeft(); }, _T("ab  ")},
        {"TrimRight", _T("  ab  "), [](CString& s) { s.TrimRight(); }, _T("  ab")},
        {"all space", _T("   "), [](CString& s) { s.Trim(); }, _T("")},
        {"empty", _T(""), [](CString& s) { s.Trim(); }, _T("")},
        {"no-break space stays", _T("\u00A0a"), [](CString& s) { s.Trim(); }, _T("\u00A0a")},
        {"char", _T("xxaxx"), [](CString& s) { s.Trim('x'); }, _T("a")},
        {"char left", _T("xxaxx"), [](CString& s) { s.TrimLeft('x'); }, _T("axx")},
        {"char right", _T("xxaxx"), [](CString& s) { s.TrimRight('x'); }, _T("xxa")},
        {"set", _T("-+a+-b-+"), [](CString& s) { s.Trim(_T("+-")); }, _T("a+-b")},
        {"set left", _T("-+a-"), [](CString& s) { s.TrimLeft(_T("+-")); }, _T("a-")},
        {"set right", _T("-a+-"), [](CString& s) { s.TrimRight(_T("+-")); }, _T("-a")},
        {"null set", _T(" a "), [](CString& s) { s.Trim(static_cast<LPCWSTR>(nullptr)); }, _T(" a ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CString s(c.before);
        c.trim(s);
        EXPECT_EQ(CString(c.after), s);
    }
}

TEST(CStringEdit, CaseAndReverse)
{
    CString s(_T("Hello, World 9"));
    s.MakeUpper();
    EXPECT_EQ(CString(_T("HELLO, WORLD 9")), s);
    s.MakeLower();
    EXPECT_EQ(CString(_T("hello, world 9")), s);
    s.MakeReverse();
    EXPECT_EQ(CString(_T("9 dlrow ,olleh")), s);
    CString one(_T("a")), none;
    one.MakeReverse();
    none.MakeUpper();
    EXPECT_EQ(CString(_T("a")), one);
    EXPECT_TRUE(none.IsEmpty());
}

} // namespace
