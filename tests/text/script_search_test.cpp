// Search, replace and space removal in script text outside literals and
// comments.
#include <QNUtility.h>

#include "support/AfxTestPrint.h"
#include "text/ScriptScanner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct FindCase {
    const char* name;
    const WCHAR* text;
    const WCHAR* find;
    int start;
    int expected;
};

TEST(FindSkipStringAndComment, FindsOnlyOccurrencesOutsideLiteralsAndComments)
{
    const FindCase cases[] = {
        {"comma after the literal", _T("a(\"x,y\"), b // c, d"), _T(","), 0, 8},
        {"nothing after it but a comment", _T("a(\"x,y\"), b // c, d"), _T(","), 9, -1},
        {"line with an unpaired quote", _T("x = \"abc, y"), _T(","), 0, -1},
        {"occurrence before the unpaired quote", _T("a, \"b"), _T(","), 0, -1},
        {"complete literal, then unpaired", _T("\"a,b\" , \"c"), _T(","), 0, -1},
        {"escaped quote stays inside", _T("s = \"a\\\",b\", c"), _T(","), 0, 11},
        {"doubled quote stays inside", _T("\"a\"\",b\", x"), _T(","), 0, 7},
        {"comment ends at CR LF", _T("x // ,\r\ny, z"), _T(","), 0, 9},
        {"lone LF does not end a line", _T("a // x\nb, c"), _T(","), 0, -1},
        {"quote at the column is outside", _T("say \"hi\""), _T("\""), 0, 4},
        {"slashes inside a literal start a comment", _T("\"http://x\", y"), _T(","), 0, -1},
        {"several characters", _T("if a==b // a==b"), _T("a==b"), 0, 3},
        {"start past the first", _T("a,b,c"), _T(","), 2, 3},
        {"start at the occurrence", _T("a,b"), _T(","), 1, 1},
        {"negative start counts from 0", _T("a,b"), _T(","), -5, 1},
        {"start past the end", _T("a,b"), _T(","), 4, -1},
        {"start at the end", _T("a,b"), _T(","), 3, -1},
        {"empty text to find", _T("abc"), _T(""), 0, -1},
        {"empty text", _T(""), _T(","), 0, -1},
        {"one character", _T(","), _T(","), 0, 0},
        {"not there", _T("abc"), _T("x"), 0, -1},
        {"occurrence at its line's CR inside a comment", _T("a//b\r\nc"), _T("\r"), 0, -1},
        {"second line after a commented first", _T("// a\r\na"), _T("a"), 0, 6},
        {"literal on the second line", _T("x\r\n\"a\" a"), _T("a"), 0, 7},
        {"lone CR shifts the line start", _T("x\ry,z"), _T(","), 0, 3},
    };
    for (const FindCase& c : cases)
        EXPECT_EQ(c.expected, CQNUtility::FindSkipStringAndComment(c.text, c.find, c.start)) << c.name;
}

TEST(ReverseFindSkipStringAndComment, FindsTheLastOccurrenceOutside)
{
    struct ReverseCase {
        const char* name;
        const WCHAR* text;
        WCHAR find;
        int expected;
    };
    const ReverseCase cases[] = {
        {"skips the comment", _T("a(\"x,y\"), b // c, d"), _T(','), 8},
        {"skips the literal", _T("f(a, \"b,c\")"), _T(','), 3},
        {"unpaired quote", _T("a, \"b"), _T(','), -1},
        {"not there", _T("abc"), _T(','), -1},
        {"empty text", _T(""), _T(','), -1},
        {"one character", _T(","), _T(','), 0},
        {"comment on the second line", _T("a,b\r\nc // ,"), _T(','), 1},
        // The cut before the comment drops the quote that would not pair.
        {"working copy is cut", _T("a, \"b\" // \","), _T(','), 1},
        {"everything inside", _T("\"a,b\" // ,"), _T(','), -1},
        {"outside at the end", _T("\"a,b\","), _T(','), 5},
    };
    for (const ReverseCase& c : cases)
        EXPECT_EQ(c.expected, CQNUtility::ReverseFindSkipStringAndComment(c.text, c.find)) << c.name;
    // The forward search sees the whole line, whose quotes do not pair.
    EXPECT_EQ(-1, CQNUtility::FindSkipStringAndComment(_T("a, \"b\" // \","), _T(","), 0));
}

TEST(ReplaceSkipStringAndComment, ReplacesOutsideAndCounts)
{
    struct ReplaceCase {
        const char* name;
        const WCHAR* text;
        const WCHAR* find;
        const WCHAR* replacement;
        int start;
        const WCHAR* expected;
        int count;
    };
    const ReplaceCase cases[] = {
        {"two lines", _T("a = \"a\"; // a\r\na"), _T("a"), _T("b"), 0, _T("b = \"a\"; // a\r\nb"), 2},
        {"start keeps the head", _T("a = \"a\"; // a\r\na"), _T("a"), _T("b"), 2, _T("a = \"a\"; // a\r\nb"), 1},
        {"replacement is not searched", _T("x x"), _T("x"), _T("xx"), 0, _T("xx xx"), 2},
        {"shorter replacement", _T("foo(foo, \"foo\")"), _T("foo"), _T("f"), 0, _T("f(f, \"foo\")"), 2},
        {"deletion", _T("a+b+c"), _T("+"), _T(""), 0, _T("abc"), 2},
        {"unpaired quote stops", _T("a, \"b"), _T("a"), _T("z"), 0, _T("a, \"b"), 0},
        {"nothing found", _T("abc"), _T("x"), _T("y"), 0, _T("abc"), 0},
        {"start past the end", _T("abc"), _T("a"), _T("y"), 9, _T("abc"), 0},
        {"empty text to find", _T("abc"), _T(""), _T("y"), 0, _T("abc"), 0},
        {"whole text", _T("abc"), _T("abc"), _T("x"), 0, _T("x"), 1},
        {"adjacent occurrences", _T("aaa"), _T("aa"), _T("b"), 0, _T("ba"), 1},
    };
    for (const ReplaceCase& c : cases) {
        CString text = c.text;
        EXPECT_EQ(c.count, CQNUtility::ReplaceSkipStringAndComment(text, c.find, c.replacement, c.start)) << c.name;
        EXPECT_EQ(CString(c.expected), text) << c.name;
    }
}

TEST(RemoveUnnecessarySpace, DropsSpacesOutsideLiteralsAndComments)
{
    struct SpaceCase {
        const WCHAR* text;
        const WCHAR* expected;
    };
    const SpaceCase cases[] = {
        {_T("a = b + c"), _T("a=b+ c")},
        {_T(" x = 1"), _T(" x=1")},
        {_T("s = \"a b\""), _T("s=\"a b\"")},
        {_T("x = 1 // a comment\r\ny = 2"), _T("x=1// a comment\ny=2")},
        {_T("a - b"), _T("a- b")},
        {_T("s = \"a\\\" b\" + c"), _T("s=\"a\\\" b\"+ c")},
        {_T("\"a b\" c"), _T("\"a b\"c")},
        {_T("a\t= b"), _T("a\t=b")},
        {_T("x // y z"), _T("x// y z")},
        {_T("a //b\rc d"), _T("a//bcd")},
        {_T("x = - 1"), _T("x=- 1")},
        {_T("a / b"), _T("a/b")},
        {_T("x = \"a b"), _T("x=\"a b")},
        {_T("\"// x\" y"), _T("\"// x\"y")},
        {_T("  "), _T(" ")},
        {_T(" "), _T(" ")},
        {_T(""), _T("")},
        {_T("a"), _T("a")},
    };
    for (const SpaceCase& c : cases)
        EXPECT_EQ(CString(c.expected), CQNUtility::RemoveUnnecessarySpace(c.text)) << ToUtf8ForTest(c.text, -1);
}

// Deterministic script-like texts: quotes, escapes, comments and line ends.
CString RandomScript(uint32_t& state, int length)
{
    static const WCHAR* const pieces[] = {_T("a"), _T(","), _T(" "), _T("\""), _T("\\\""), _T("\"\""),
                                          _T("//"), _T("/"), _T("\r\n"), _T("\n"), _T("\r"), _T("ab"),
                                          _T("+"), _T("-"), _T("x")};
    CString text;
    for (int i = 0; i < length; ++i) {
        state = state * 1664525u + 1013904223u;
        text += pieces[(state >> 8) % (sizeof(pieces) / sizeof(pieces[0]))];
    }
    return text;
}

TEST(ScriptSearchProperty, ReplaceAgreesWithRepeatedFind)
{
    uint32_t state = 2024;
    for (int round = 0; round < 2000; ++round) {
        const CString text = RandomScript(state, 1 + round % 40);
        for (const WCHAR* find : {_T("a"), _T(","), _T("ab"), _T("\"")}) {
            const int findLength = CString(find).GetLength();
            int expected = 0;
            for (int p = CQNUtility::FindSkipStringAndComment(text, find, 0); p >= 0;
                 p = CQNUtility::FindSkipStringAndComment(text, find, p + findLength)) {
                ASSERT_EQ(CString(find), text.Mid(p, findLength));
                ++expected;
            }
            // Replacing by the same text changes nothing and counts the same.
            CString same = text;
            ASSERT_EQ(expected, CQNUtility::ReplaceSkipStringAndComment(same, find, find, 0));
            ASSERT_EQ(text, same);
            CString marked = text;
            ASSERT_EQ(expected, CQNUtility::ReplaceSkipStringAndComment(marked, find, _T("#"), 0));
            ASSERT_EQ(text.GetLength() + expected * (1 - findLength), marked.GetLength());
        }
    }
}

int ReverseFindByFreshScanners(const CString& text, WCHAR find)
{
    return qn::text::ReverseFindWithFreshScanners(
        qn::text::TextView(static_cast<LPCWSTR>(text), size_t(text.GetLength())), find);
}

TEST(ScriptSearchProperty, ReverseAgreesWithFreshScanners)
{
    uint32_t state = 99;
    for (int round = 0; round < 3000; ++round) {
        // Short scripts, and long lines full of literals.
        const CString text = RandomScript(state, round % 10 == 0 ? 400 + round : 1 + round % 60);
        for (const WCHAR find : {_T('a'), _T(','), _T('"'), _T('/'), _T('\\'), _T('\r'), _T('\n'), _T(' ')})
            ASSERT_EQ(ReverseFindByFreshScanners(text, find), CQNUtility::ReverseFindSkipStringAndComment(text, find))
                << ToUtf8ForTest(text, text.GetLength()) << " find " << int(find);
    }
}

TEST(ScriptSearchProperty, WithoutQuotesOrCommentsEverythingCounts)
{
    uint32_t state = 7;
    for (int round = 0; round < 500; ++round) {
        CString text = RandomScript(state, 30);
        text.Remove(_T('"'));
        text.Remove(_T('/'));
        CString expected = text;
        const int plainCount = expected.Replace(_T("a"), _T("Z"));
        EXPECT_EQ(plainCount, CQNUtility::ReplaceSkipStringAndComment(text, _T("a"), _T("Z"), 0));
        EXPECT_EQ(expected, text);
        const int last = CString(text).ReverseFind(_T('Z'));
        EXPECT_EQ(last, CQNUtility::ReverseFindSkipStringAndComment(text, _T('Z')));
    }
}

TEST(ScriptSearchProperty, LongLinesAndEmbeddedNuls)
{
    // One line of 200000 characters with an occurrence outside every tenth
    // position and literals in between: one pass per line, not per occurrence.
    CString line;
    for (int i = 0; i < 20000; ++i)
        line += _T("a \"a,a\" ,;");
    CString text = line;
    EXPECT_EQ(20000, CQNUtility::ReplaceSkipStringAndComment(text, _T(","), _T("."), 0));
    EXPECT_EQ(10 * 19999 + 8, CQNUtility::ReverseFindSkipStringAndComment(line, _T(',')));

    const WCHAR withNul[] = {_T('a'), 0, _T('"'), _T(','), _T('"'), _T(','), 0};
    const CString nulText(withNul, 6);
    EXPECT_EQ(5, CQNUtility::FindSkipStringAndComment(nulText, _T(","), 0));
    EXPECT_EQ(5, CQNUtility::ReverseFindSkipStringAndComment(nulText, _T(',')));
    EXPECT_EQ(1, CQNUtility::ReverseFindSkipStringAndComment(nulText, 0));
}

} // namespace
