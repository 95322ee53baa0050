// Search and replace in script text outside string literals and line
// comments, and removal of the spaces an expression does not need.
//
// Script text conventions: lines end with CR LF (a lone LF does not end a
// line); "//" starts a comment that runs to the end of the line; a literal runs
// from a double quote to the next one on the same line, where \" and "" stand
// inside it. Texts are taken at their full length, embedded NULs included.
#include <QNUtilityClass.h>
#include <afx/afx.h>

#include "text/ScriptScanner.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

using namespace qn::text;

TextView View(const CString& text) { return TextView(static_cast<LPCWSTR>(text), size_t(text.GetLength())); }

// The first occurrence of `find` at or after `start` outside literals and
// comments; npos when there is none or its line's quotes do not pair.
size_t FindOutside(ScriptScanner& scanner, TextView text, TextView find, size_t start)
{
    if (find.empty())
        return npos;
    size_t pos = start;
    while (pos < text.size()) {
        const size_t p = text.find(find, pos);
        if (p == npos)
            return npos;
        const Verdict verdict = scanner.Judge(p);
        switch (verdict.place) {
        case Place::Outside:
            return p;
        case Place::Unpaired:
            return npos;
        case Place::InComment:
            // An occurrence that begins at the line's own CR would be found
            // again from the line end: move on by at least one character.
            pos = std::max(verdict.lineEnd, p + 1);
            break;
        case Place::InLiteral:
            pos = verdict.closeAt + 1;
            break;
        }
    }
    return npos;
}

size_t ClampStart(int nStart, size_t length)
{
    if (nStart < 0)
        return 0;
    return std::min(static_cast<size_t>(nStart), length);
}

} // namespace

int CQNUtility::FindSkipStringAndComment(CString strText, CString strFind, int nStart)
{
    const TextView text = View(strText);
    if (nStart > static_cast<int>(text.size()))
        return -1;
    ScriptScanner scanner(text);
    const size_t found = FindOutside(scanner, text, View(strFind), ClampStart(nStart, text.size()));
    return found == npos ? -1 : static_cast<int>(found);
}

int CQNUtility::ReverseFindSkipStringAndComment(CString strText, WCHAR chFind)
{
    // Each step cuts the working copy before the comment or literal that held
    // the last occurrence, so it always gets shorter. The scanner keeps the
    // cut line's analysis across cuts: a long line full of literals is read
    // once, not once per literal.
    const TextView text = View(strText);
    ScriptScanner scanner(text);
    size_t length = text.size();
    for (;;) {
        const size_t p = length == 0 ? npos : text.find_last_of(chFind, length - 1);
        if (p == npos)
            return -1;
        const Verdict verdict = scanner.Judge(p);
        switch (verdict.place) {
        case Place::Outside:
            return static_cast<int>(p);
        case Place::Unpaired:
            return -1;
        case Place::InComment:
        case Place::InLiteral:
            length = verdict.openAt;
            scanner.Truncate(length);
            break;
        }
    }
}

int CQNUtility::ReplaceSkipStringAndComment(CString& strText, CString strFind, CString strReplace, int nStart)
{
    const CString original = strText;
    const TextView text = View(original);
    const TextView find = View(strFind);
    const TextView replacement = View(strReplace);
    const size_t start = ClampStart(nStart, text.size());

    // Occurrences first, then one result of the exact length.
    ScriptScanner scanner(text);
    std::vector<size_t> hits;
    for (size_t p = FindOutside(scanner, text, find, start); p != npos;
         p = FindOutside(scanner, text, find, p + find.size()))
        hits.push_back(p);
    if (hits.empty())
        return 0;

    // Each count is below 2^31, so the sum cannot wrap in size_t; a result
    // longer than a string can hold is an out-of-memory condition.
    const size_t resultLength = text.size() - hits.size() * find.size() + hits.size() * replacement.size();
    if (resultLength > static_cast<size_t>(INT_MAX))
        AfxThrowMemoryException();
    CString result;
    LPWSTR out = result.GetBuffer(static_cast<int>(resultLength));
    size_t from = 0;
    for (const size_t p : hits) {
        out = std::copy(text.begin() + from, text.begin() + p, out);
        out = std::copy(replacement.begin(), replacement.end(), out);
        from = p + find.size();
    }
    std::copy(text.begin() + from, text.end(), out);
    result.ReleaseBuffer(static_cast<int>(resultLength));
    strText = result;
    return static_cast<int>(hits.size());
}

CString CQNUtility::RemoveUnnecessarySpace(CString strText)
{
    const TextView text = View(strText);
    CString result;
    LPWSTR out = result.GetBuffer(static_cast<int>(text.size()));
    LPWSTR const first = out;
    bool inLiteral = false;
    size_t i = 0;
    while (i < text.size()) {
        const WCHAR c = text[i];
        if (c == kQuote) {
            if (i == 0 || text[i - 1] != kBackslash)
                inLiteral = !inLiteral;
            *out++ = c;
            ++i;
        } else if (inLiteral) {
            *out++ = c;
            ++i;
        } else if (c == _T('/') && i + 1 < text.size() && text[i + 1] == _T('/')) {
            // The comment stays as it is; the CR that ends it goes.
            size_t end = text.find(kReturn, i);
            if (end == npos)
                end = text.size();
            out = std::copy(text.begin() + i, text.begin() + end, out);
            i = end + 1;
        } else if (c == _T(' ')) {
            if (i == 0 || text[i - 1] == _T('+') || text[i - 1] == _T('-'))
                *out++ = c;
            ++i;
        } else {
            *out++ = c;
            ++i;
        }
    }
    result.ReleaseBuffer(static_cast<int>(out - first));
    return result;
}
