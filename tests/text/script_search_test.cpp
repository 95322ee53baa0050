// Search, replace and space removal in script text outside literals and
// comments. The invariants over arbitrary text (every find holds the text,
// replace counts what find finds, the reverse search matches its reference)
// are the script_search fuzz target's; these tables pin exact answers.
#include <QNUtility.h>

#include "support/AfxTestPrint.h"
#include "text/ScriptScanner.h"

#include <gtest/gtest.h>

namespace {

// Forward search from a start; the reverse search for the first character.
TEST(ScriptSearch, FindsOnlyOccurrencesOutsideLiteralsAndComments)
{
    CString line;
    for (int i = 0; i < 20000; ++i)
        line += _T("a \"a,a\" ,;"); // one long line: one pass per line, not per occurrence
    const WCHAR withNul[] = {_T('a'), 0, _T('"'), _T(','), _T('"'), _T(','), 0};
    const struct {
        CString text, find;
        int start;
        int forward, reverse; // -2: the reverse search is not asked
    } cases[] = {
        {_T("a(\"x,y\"), b // c, d"), _T(","), 0, 8, 8},
        {_T("a(\"x,y\"), b // c, d"), _T(","), 9, -1, -2},
        {_T("f(a, \"b,c\")"), _T(","), 0, 3, 3},
        {_T("x = \"abc, y"), _T(","), 0, -1, -1}, // an unpaired quote on the line
        {_T("a, \"b"), _T(","), 0, -1, -1},       // also before it
        {_T("\"a,b\" , \"c"), _T(","), 0, -1, -1},
        {_T("a, \"b\" // \","), _T(","), 0, -1, 1}, // the reverse cut drops the quote that would not pair
        {_T("\"a,b\" // ,"), _T(","), 0, -1, -1},
        {_T("\"a,b\","), _T(","), 0, 5, 5},
        {_T("s = \"a\\\",b\", c"), _T(","), 0, 11, 11}, // escaped quote stays inside
        {_T("\"a\"\",b\", x"), _T(","), 0, 7, 7},       // doubled quote stays inside
        {_T("x // ,\r\ny, z"), _T(","), 0, 9, 9},       // a comment ends at CR LF
        {_T("a,b\r\nc // ,"), _T(","), 0, 1, 1},
        {_T("a // x\nb, c"), _T(","), 0, -1, -1},       // a lone LF ends no line
        {_T("say \"hi\""), _T("\""), 0, 4, 7},         // a quote at the column is outside
        {_T("\"http://x\", y"), _T(","), 0, -1, -1},    // slashes inside a literal start a comment
        {_T("if a==b // a==b"), _T("a==b"), 0, 3, -2},
        {_T("a,b,c"), _T(","), 2, 3, 3}, {_T("a,b"), _T(","), 1, 1, 1}, {_T("a,b"), _T(","), -5, 1, 1},
        {_T("a,b"), _T(","), 3, -1, 1}, {_T("a,b"), _T(","), 4, -1, 1}, {_T("abc"), _T(""), 0, -1, -2},
        {_T(""), _T(","), 0, -1, -1}, {_T(","), _T(","), 0, 0, 0}, {_T("abc"), _T("x"), 0, -1, -1},
        {_T("a//b\r\nc"), _T("\r"), 0, -1, -1},
        {_T("// a\r\na"), _T("a"), 0, 6, 6},
        {_T("x\r\n\"a\" a"), _T("a"), 0, 7, 7},
        {_T("x\ry,z"), _T(","), 0, 3, 3}, // a lone CR shifts the line start
        {_T("x\r\ny, z\r\n\""), _T(","), 0, 4, 4}, // a middle line ends at its CR LF
        {line, _T(","), 0, 8, 10 * 19999 + 8}, {CString(withNul, 6), _T(","), 0, 5, 5},
        {CString(withNul, 6), CString(WCHAR(0), 1), 0, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8ForTest(c.text.Left(40)));
        EXPECT_EQ(c.forward, CQNUtility::FindSkipStringAndComment(c.text, c.find, c.start));
        if (c.reverse != -2) { // the library's search and the fuzz target's reference alike
            EXPECT_EQ(c.reverse, CQNUtility::ReverseFindSkipStringAndComment(c.text, c.find[0]));
            EXPECT_EQ(c.reverse, qn::text::ReverseFindWithFreshScanners(
                                     qn::text::TextView(static_cast<LPCWSTR>(c.text), size_t(c.text.GetLength())), c.find[0]));
        }
    }
}

TEST(ScriptSearch, ReplacesOutsideAndCounts)
{
    CString line, replaced;
    for (int i = 0; i < 20000; ++i)
        line += _T("a \"a,a\" ,;"), replaced += _T("a \"a,a\" .;");
    const struct {
        CString text;
        const WCHAR* find;
        const WCHAR* replacement;
        int start;
        CString expected;
        int count;
    } cases[] = {
        {_T("a = \"a\"; // a\r\na"), _T("a"), _T("b"), 0, _T("b = \"a\"; // a\r\nb"), 2},
        {_T("a = \"a\"; // a\r\na"), _T("a"), _T("b"), 2, _T("a = \"a\"; // a\r\nb"), 1},
        {_T("x x"), _T("x"), _T("xx"), 0, _T("xx xx"), 2}, // a replacement is not searched
        {_T("foo(foo, \"foo\")"), _T("foo"), _T("f"), 0, _T("f(f, \"foo\")"), 2},
        {_T("a+b+c"), _T("+"), _T(""), 0, _T("abc"), 2}, {_T("a, \"b"), _T("a"), _T("z"), 0, _T("a, \"b"), 0},
        {_T("abc"), _T("x"), _T("y"), 0, _T("abc"), 0}, {_T("abc"), _T("a"), _T("y"), 9, _T("abc"), 0},
        {_T("abc"), _T(""), _T("y"), 0, _T("abc"), 0}, {_T("abc"), _T("abc"), _T("x"), 0, _T("x"), 1},
        {_T("abc"), _T("abc"), _T("x"), 1, _T("abc"), 0}, {_T("abc"), _T("abcd"), _T("x"), 0, _T("abc"), 0},
        {_T("aaa"), _T("aa"), _T("b"), 0, _T("ba"), 1}, {line, _T(","), _T("."), 0, replaced, 20000},
    };
    for (const auto& c : cases) {
        CString text = c.text;
        EXPECT_EQ(c.count, CQNUtility::ReplaceSkipStringAndComment(text, c.find, c.replacement, c.start)) << c.start;
        EXPECT_EQ(c.expected, text) << ToUtf8ForTest(c.text.Left(40));
    }
}

TEST(ScriptSearch, RemovesSpacesOutsideLiteralsAndComments)
{
    const std::pair<const WCHAR*, const WCHAR*> cases[] = {
        {_T("a = b + c"), _T("a=b+ c")}, {_T(" x = 1"), _T(" x=1")}, {_T("s = \"a b\""), _T("s=\"a b\"")},
        {_T("x = 1 // a comment\r\ny = 2"), _T("x=1// a comment\ny=2")},
        {_T("a - b"), _T("a- b")}, {_T("s = \"a\\\" b\" + c"), _T("s=\"a\\\" b\"+ c")},
        {_T("\"a b\" c"), _T("\"a b\"c")}, {_T("a\t= b"), _T("a\t=b")},
        {_T("a //b\rc d"), _T("a//bcd")},
        {_T("x = - 1"), _T("x=- 1")}, {_T("a / b"), _T("a/b")}, {_T("x = \"a b"), _T("x=\"a b")},
        {_T("\"// x\" y"), _T("\"// x\"y")},
        {_T("  "), _T(" ")}, {_T(""), _T("")},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(CString(expected), CQNUtility::RemoveUnnecessarySpace(text)) << ToUtf8ForTest(text, -1);
}

} // namespace
