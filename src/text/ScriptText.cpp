// Search and replace in script text outside string literals and line
// comments, and removal of the spaces an expression does not need.
//
// Script text conventions: lines end with CR LF (a lone LF does not end a
// line); "//" starts a comment that runs to the end of the line; a literal runs
// from a double quote to the next one on the same line, where \" and "" stand
// inside it. Texts are taken at their full length, embedded NULs included.
#include <QNUtilityClass.h>
#include <afx/afx.h>

#include <algorithm>
#include <climits>
#include <string_view>
#include <vector>

namespace {

using TextView = std::basic_string_view<WCHAR>;
constexpr size_t npos = TextView::npos;
constexpr WCHAR kReturn = 13, kLineFeed = 10, kQuote = _T('"'), kBackslash = _T('\\');
constexpr WCHAR kCommentStart[] = {_T('/'), _T('/'), 0};
constexpr WCHAR kLineEnd[] = {kReturn, kLineFeed, 0};

TextView View(const CString& text) { return TextView(static_cast<LPCWSTR>(text), size_t(text.GetLength())); }

enum class Place { Outside, InComment, InLiteral, Unpaired };

struct Verdict {
    Place place;
    size_t openAt = 0;  // InComment: where "//" begins; InLiteral: the opening quote
    size_t closeAt = 0; // InLiteral: the closing quote
    size_t lineEnd = 0; // where the occurrence's line ends
};

// Decides where occurrences stand in one text. It remembers the last line it
// read, so that many occurrences on one long line cost one pass over it.
class ScriptScanner {
public:
    explicit ScriptScanner(TextView text) : m_text(text) {}

    Verdict Judge(size_t p)
    {
        // The line ends at the first CR LF at or after p; it begins two
        // characters after the last CR before that end (a lone CR counts too),
        // or at 0.
        if (!m_haveLine || p < m_knownFrom || p > m_lineEnd) {
            size_t lineEnd = m_text.find(TextView(kLineEnd), p);
            if (lineEnd == npos)
                lineEnd = m_text.size();
            ReadLine(lineEnd);
            // No CR stands in [begin, end), so every p from here or from the
            // line's begin up to its end has this same line.
            m_knownFrom = std::min(p, m_lineBegin);
        }
        const size_t lineEnd = m_lineEnd;

        // The column may be negative when a lone CR stands at or after p.
        const long long column = static_cast<long long>(p) - static_cast<long long>(m_lineBegin);
        Verdict verdict{Place::Outside};
        verdict.lineEnd = lineEnd;
        if (m_commentColumn != npos && static_cast<long long>(m_commentColumn) < column) {
            verdict.place = Place::InComment;
            verdict.openAt = m_lineBegin + m_commentColumn;
            return verdict;
        }
        // Quotes pair from the left. Pairs are disjoint and ordered, so at most
        // one can hold the column: the one whose opener is the last quote
        // before it. A quote at the column itself is outside.
        const auto firstNotBefore =
            std::lower_bound(m_quotes.begin(), m_quotes.end(), column,
                             [](size_t quote, long long col) { return static_cast<long long>(quote) < col; });
        const size_t before = static_cast<size_t>(firstNotBefore - m_quotes.begin());
        if (before % 2 == 1) {
            if (before == m_quotes.size()) {
                verdict.place = Place::Unpaired;
                return verdict;
            }
            if (static_cast<long long>(m_quotes[before]) > column) {
                verdict.place = Place::InLiteral;
                verdict.openAt = m_lineBegin + m_quotes[before - 1];
                verdict.closeAt = m_lineBegin + m_quotes[before];
                return verdict;
            }
        }
        if (m_quotes.size() % 2 == 1)
            verdict.place = Place::Unpaired;
        return verdict;
    }

private:
    void ReadLine(size_t lineEnd)
    {
        m_haveLine = true;
        m_lineEnd = lineEnd;
        const size_t lastReturn = lineEnd == 0 ? npos : m_text.find_last_of(kReturn, lineEnd - 1);
        m_lineBegin = lastReturn == npos ? 0 : lastReturn + 2;
        const TextView line =
            m_lineBegin < lineEnd ? m_text.substr(m_lineBegin, lineEnd - m_lineBegin) : TextView();
        m_commentColumn = line.find(TextView(kCommentStart));

        // In a copy of the line, "" and then \" become \' (two characters for
        // two, so columns stay); the quotes left are the delimiters.
        m_copy.assign(line.begin(), line.end());
        for (size_t i = 0; i + 1 < m_copy.size(); ++i) {
            if (m_copy[i] == kQuote && m_copy[i + 1] == kQuote) {
                m_copy[i] = kBackslash;
                m_copy[++i] = _T('\'');
            }
        }
        for (size_t i = 0; i + 1 < m_copy.size(); ++i) {
            if (m_copy[i] == kBackslash && m_copy[i + 1] == kQuote)
                m_copy[++i] = _T('\'');
        }
        m_quotes.clear();
        for (size_t i = 0; i < m_copy.size(); ++i) {
            if (m_copy[i] == kQuote)
                m_quotes.push_back(i);
        }
    }

    TextView m_text;
    bool m_haveLine = false;
    size_t m_knownFrom = 0;
    size_t m_lineEnd = 0;
    size_t m_lineBegin = 0;
    size_t m_commentColumn = npos;
    std::vector<WCHAR> m_copy;
    std::vector<size_t> m_quotes;
};

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
    // the last occurrence, so it always gets shorter.
    TextView work = View(strText);
    for (;;) {
        const size_t p = work.find_last_of(chFind);
        if (p == npos)
            return -1;
        ScriptScanner scanner(work);
        const Verdict verdict = scanner.Judge(p);
        switch (verdict.place) {
        case Place::Outside:
            return static_cast<int>(p);
        case Place::Unpaired:
            return -1;
        case Place::InComment:
        case Place::InLiteral:
            work = work.substr(0, verdict.openAt);
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
