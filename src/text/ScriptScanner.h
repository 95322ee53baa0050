// The line analysis behind the script search members (ScriptText.cpp): where
// an occurrence stands, outside, in a line comment or in a string literal.
// Kept in a header of its own so that the tests and the benchmarks can run the
// reverse search's earlier algorithm (a fresh scanner per cut) beside the
// library's.
#pragma once

#include <QNPlatform.h>

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qn::text {

using TextView = std::basic_string_view<WCHAR>;
inline constexpr size_t npos = TextView::npos;
inline constexpr WCHAR kReturn = 13, kLineFeed = 10, kQuote = _T('"'), kBackslash = _T('\\');
inline constexpr WCHAR kCommentStart[] = {_T('/'), _T('/'), 0};
inline constexpr WCHAR kLineEnd[] = {kReturn, kLineFeed, 0};

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
        const size_t before = QuotesBefore(column);
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

    // Cuts the text at `length`, keeping what is known of the last line read
    // where the cut line's analysis follows from it: for a cut inside the line
    // (at or after its begin), the cut line is a prefix of the line, and its
    // quote copy is a prefix of the line's unless the cut splits a "" pair
    // (then the line is read again). Its comment is the line's if that still
    // fits; its quotes are the line's before the cut.
    void Truncate(size_t length)
    {
        if (length >= m_text.size())
            return;
        const bool splitsPair = length > 0 && m_text[length - 1] == kQuote && m_text[length] == kQuote;
        m_text = m_text.substr(0, length);
        if (!m_haveLine || length >= m_lineEnd + 2)
            return; // the line keeps its CR LF
        if (length > m_lineEnd || length < m_lineBegin || splitsPair) {
            m_haveLine = false;
            return;
        }
        const size_t cutColumn = length - m_lineBegin;
        m_lineEnd = length;
        if (m_commentColumn != npos && m_commentColumn + 2 > cutColumn)
            m_commentColumn = npos;
        while (!m_quotes.empty() && m_quotes.back() >= cutColumn)
            m_quotes.pop_back();
    }

private:
    // The number of quotes before the column: a binary search that starts
    // from the previous answer and widens its step, so that occurrences met
    // in order (forward or backward) cost constant time each, amortised, and
    // a long line stays linear.
    size_t QuotesBefore(long long column)
    {
        const auto before = [&](size_t i) { return static_cast<long long>(m_quotes[i]) < column; };
        const auto search = [&](size_t from, size_t to) {
            return static_cast<size_t>(
                std::lower_bound(m_quotes.begin() + from, m_quotes.begin() + to, column,
                                 [](uint32_t quote, long long col) { return static_cast<long long>(quote) < col; }) -
                m_quotes.begin());
        };
        const size_t count = m_quotes.size();
        const size_t hint = std::min(m_hint, count);
        size_t step = 1;
        if (hint < count && before(hint)) {
            // The answer lies after the hint.
            while (hint + step < count && before(hint + step))
                step *= 2;
            m_hint = search(hint + step / 2 + 1, std::min(hint + step, count));
        } else {
            // The answer is the hint or lies before it.
            while (step <= hint && !before(hint - step))
                step *= 2;
            m_hint = search(step <= hint ? hint - step + 1 : 0, hint - step / 2);
        }
        return m_hint;
    }

    void ReadLine(size_t lineEnd)
    {
        m_haveLine = true;
        m_lineEnd = lineEnd;
        const size_t lastReturn = lineEnd == 0 ? npos : m_text.find_last_of(kReturn, lineEnd - 1);
        m_lineBegin = lastReturn == npos ? 0 : lastReturn + 2;
        const TextView line =
            m_lineBegin < lineEnd ? m_text.substr(m_lineBegin, lineEnd - m_lineBegin) : TextView();
        m_commentColumn = line.find(TextView(kCommentStart));

        // The delimiting quotes, as if "" and then \" had become \' in a copy
        // of the line (two characters for two, so columns stay): a run of
        // quotes pairs up from its start; of a run of odd length the last
        // quote is left, and it delimits unless it stands alone right after
        // a backslash.
        m_quotes.clear();
        m_hint = 0;
        for (size_t i = 0; i < line.size();) {
            if (line[i] != kQuote) {
                ++i;
                continue;
            }
            const size_t run = i;
            while (i < line.size() && line[i] == kQuote)
                ++i;
            if ((i - run) % 2 == 1 && (i - run > 1 || run == 0 || line[run - 1] != kBackslash))
                m_quotes.push_back(static_cast<uint32_t>(i - 1));
        }
    }

    TextView m_text;
    bool m_haveLine = false;
    size_t m_knownFrom = 0;
    size_t m_lineEnd = 0;
    size_t m_lineBegin = 0;
    size_t m_commentColumn = npos;
    std::vector<uint32_t> m_quotes; // columns in a line of a CString: below 2^31
    size_t m_hint = 0; // the last answer of QuotesBefore
};

// The reverse search as it was first written, kept as the reference of the
// tests, the fuzz target and the benchmarks: a fresh scanner on each cut
// working copy, which reads the cut line again after every cut (quadratic on a
// long line full of literals). -1 where there is no occurrence outside.
inline int ReverseFindWithFreshScanners(TextView work, WCHAR find)
{
    for (;;) {
        const size_t p = work.find_last_of(find);
        if (p == npos)
            return -1;
        ScriptScanner scanner(work);
        const Verdict verdict = scanner.Judge(p);
        if (verdict.place == Place::Outside)
            return static_cast<int>(p);
        if (verdict.place == Place::Unpaired)
            return -1;
        work = work.substr(0, verdict.openAt);
    }
}

} // namespace qn::text
