// EscapeText, UnescapeText and NextToken: one table of conversions in either
// direction, one of result codes and output ownership, one of token steps.
#include <QNUtility.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Text = std::basic_string<WCHAR>;

Text T(const WCHAR* s) { return Text(s); }
Text Chars(std::initializer_list<unsigned> codes)
{
    Text t;
    for (unsigned c : codes)
        t.push_back(static_cast<WCHAR>(c));
    return t;
}
Text Repeat(const Text& piece, size_t count)
{
    Text t;
    while (count--)
        t += piece;
    return t;
}

std::string Show(const Text& t)
{
    std::string out;
    for (WCHAR c : t)
        out += c >= 32 && c < 127 ? std::string(1, char(c)) : "<" + std::to_string(unsigned(c)) + ">";
    return out;
}

enum Way { Escape, Unescape };
HRESULT Call(Way way, BSTR in, unsigned ops, BSTR* out)
{
    const auto o = static_cast<eQNEscapeOperations>(ops);
    return way == Escape ? CQNUtility::EscapeText(in, o, out) : CQNUtility::UnescapeText(in, o, out);
}

TEST(Escaping, ConvertsWhatItsFlagsSelect)
{
    const unsigned readAll = 0x1FFF & ~eEscUnicode, crlf = eEscDropCR | eEscLFToCRLF;
    const struct {
        Way way;
        unsigned ops;
        Text input, expected;
    } cases[] = {
        {Escape, 0, T(_T("a'\"\\\n\r\t")), T(_T("a'\"\\\n\r\t"))},
        {Escape, eEscApostrophe | eEscNewLine, T(_T("'\n")), T(_T("\\'\\n"))},
        {Escape, eEscQuote, T(_T("say \"hi\" it's")), T(_T("say \\\"hi\\\" it's"))},
        {Escape, eEscBackslash, T(_T("a\\b")), T(_T("a\\\\b"))},
        {Escape, eEscQuote, T(_T("a\\b")), T(_T("a\\b"))},
        {Escape, eEscReturn | eEscTab, T(_T("\r\t")), T(_T("\\r\\t"))},
        {Escape, eEscControl, Chars({7, 8, 11, 12}), T(_T("\\a\\b\\v\\f"))},
        {Escape, eEscTab, Chars({7, 8, 11, 12, 233}), Chars({7, 8, 11, 12, 233})},
        {Escape, eEscOtherAsUnicode, Chars({233, 0x1F, 127, 0xFFFF, 0xABCD, 7}),
         T(_T("\\u00e9\\u001f\\u007f\\uffff\\uabcd\\u0007"))},
        {Escape, eEscOtherAsUnicode, T(_T("\n\r\t'\"\\ ~az")), T(_T("\\u000a\\u000d\\u0009'\"\\ ~az"))},
        {Escape, crlf | eEscReturn | eEscNewLine, T(_T("a\r\nb\nc")), T(_T("a\\r\\nb\\r\\nc"))},
        {Escape, eEscLFToCRLF, T(_T("a\nb")), T(_T("a\r\nb"))},
        {Escape, eEscLFToCRLF | eEscNewLine, T(_T("\r\n")), T(_T("\r\r\\n"))}, // the CR read stays
        {Escape, crlf, T(_T("\r\n\r")), T(_T("\r\n"))}, // the inserted CR is not dropped
        {Escape, eEscDropCR | eEscReturn, T(_T("a\rb\r")), T(_T("ab"))},
        {Escape, eEscOctal | eEscHex | eEscUnicode, T(_T("\\x41\\101\\u0041\n")), T(_T("\\x41\\101\\u0041\n"))},
        {Escape, eEscQuote, T(_T("")), T(_T(""))},
        {Escape, eEscLFToCRLF | eEscOtherAsUnicode, Text(100000, 10), Repeat(T(_T("\\u000d\\u000a")), 100000)},
        {Unescape, 0, T(_T("\\n\\x41\\")), T(_T("\\n\\x41\\"))},
        {Unescape, eEscHex, T(_T("\\x41z\\X4a\\xaB")), Chars({'A', 'z', 0x4A, 0xAB})},
        {Unescape, eEscHex, T(_T("\\xz")), Chars({0, 'z'})}, // no digits: 0
        {Unescape, eEscHex, T(_T("\\x123456789")), Chars({0x5678, '9'})}, // eight digits, low 16 bits
        {Unescape, eEscHex, T(_T("\\x")), Chars({0})},
        {Unescape, eEscOctal, T(_T("\\101z\\1234")), T(_T("AzS4"))},
        {Unescape, eEscOctal, T(_T("\\777\\0\\18\\8")), Chars({511, 0, 1, '8', '\\', '8'})},
        {Unescape, eEscControl, T(_T("\\fz\\a\\b\\v\\?")), Chars({12, 'z', 7, 8, 11, '?'})},
        {Unescape, readAll, T(_T("\\q")), T(_T("\\q"))},
        {Unescape, eEscApostrophe, T(_T("\\n\\\"")), T(_T("\\n\\\""))},
        {Unescape, eEscApostrophe | eEscQuote, T(_T("\\'\\\"")), T(_T("'\""))},
        {Unescape, eEscBackslash | eEscNewLine, T(_T("\\\\n")), T(_T("\\n"))},
        {Unescape, eEscUnicode | eEscBackslash, T(_T("\\\\u")), T(_T("\\u"))}, // the pair hides the u
        {Unescape, eEscNewLine | eEscReturn | eEscTab, T(_T("\\n\\r\\t")), T(_T("\n\r\t"))},
        {Unescape, eEscHex, T(_T("\\u0041")), T(_T("\\u0041"))},
        {Unescape, readAll, T(_T("abc\\")), T(_T("abc\\"))},
        {Unescape, readAll, T(_T("\\")), T(_T("\\"))},
        {Unescape, crlf, T(_T("a\r\nb\nc\rd")), T(_T("a\r\nb\r\ncd"))},
        {Unescape, eEscLFToCRLF, T(_T("a\r\nb")), T(_T("a\r\r\nb"))},
        {Unescape, eEscLFToCRLF | eEscNewLine, T(_T("\\n")), T(_T("\r\n"))},
        {Unescape, eEscDropCR | eEscReturn, T(_T("a\\rb")), T(_T("ab"))},
        {Unescape, eEscLFToCRLF | eEscQuote, T(_T("\\\n")), T(_T("\\\r\n"))},
        {Unescape, eEscNewLine, Chars({'a', 0, '\\', 'n', 0}), Chars({'a', 0, '\n', 0})}, // NULs count
        {Unescape, readAll, T(_T("")), T(_T(""))},
    };
    for (const auto& c : cases) {
        BSTR in = ::SysAllocStringLen(c.input.data(), UINT(c.input.size()));
        BSTR out = nullptr;
        EXPECT_EQ(S_OK, Call(c.way, in, c.ops, &out)) << Show(c.input);
        EXPECT_EQ(Show(c.expected), Show(Text(out, ::SysStringLen(out)))) << c.way << " " << Show(c.input);
        ::SysFreeString(in);
        ::SysFreeString(out);
    }
}

TEST(Escaping, ResultCodesAndTheOutput)
{
    const WCHAR kOld[] = _T("<old>"); // the output is left as it was
    const struct {
        Way way;
        const WCHAR* input; // may be null
        unsigned ops;
        bool noOutput;
        HRESULT result;
        const WCHAR* output; // null: set to null
    } cases[] = {
        {Escape, _T("a"), 0, true, E_POINTER, kOld},       {Unescape, _T("a"), 0, true, E_POINTER, kOld},
        {Escape, _T("a"), eEscQuote, true, E_POINTER, kOld}, {Unescape, _T("a"), eEscQuote, true, E_POINTER, kOld},
        {Escape, nullptr, 0, false, E_OUTOFMEMORY, nullptr}, {Unescape, nullptr, 0, false, E_OUTOFMEMORY, nullptr},
        {Escape, nullptr, eEscQuote, false, S_OK, _T("")},   {Unescape, nullptr, eEscQuote, false, S_OK, _T("")},
        {Escape, _T("a"), 0, false, S_OK, _T("a")},          {Unescape, _T("a"), 0, false, S_OK, _T("a")},
        {Unescape, _T("\\u0041"), eEscUnicode | eEscNewLine, false, E_FAIL, kOld},
        {Unescape, _T("abc\\U"), eEscUnicode, false, E_FAIL, kOld},
        {Unescape, _T("\\n\\u"), eEscUnicode | eEscNewLine, false, E_FAIL, kOld},
    };
    for (const auto& c : cases) {
        BSTR in = c.input ? ::SysAllocString(c.input) : nullptr;
        BSTR old = ::SysAllocString(kOld);
        BSTR out = old; // overwritten, not freed
        EXPECT_EQ(c.result, Call(c.way, in, c.ops, c.noOutput ? nullptr : &out)) << c.way << " " << c.result;
        if (c.output == kOld) {
            EXPECT_EQ(old, out);
        } else if (!c.output) {
            EXPECT_EQ(nullptr, out);
        } else {
            ASSERT_NE(nullptr, out);
            EXPECT_NE(in, out);
            EXPECT_EQ(T(c.output), Text(out, ::SysStringLen(out)));
            ::SysFreeString(out);
        }
        ::SysFreeString(old);
        ::SysFreeString(in);
    }
}

TEST(NextToken, SplitsAtTheDelimiterAndStopsAtTheEnd)
{
    const struct {
        const WCHAR* text;
        WCHAR delimiter;
        std::vector<std::pair<Text, BOOL>> steps;
    } cases[] = {
        {_T("a,b"), _T(','), {{T(_T("a")), TRUE}, {T(_T("b")), FALSE}}},
        {_T(",x"), _T(','), {{T(_T("")), TRUE}, {T(_T("x")), FALSE}}},
        {_T("a,,b,"), _T(','), {{T(_T("a")), TRUE}, {T(_T("")), TRUE}, {T(_T("b")), TRUE}, {T(_T("")), FALSE}}},
        {_T(""), _T(','), {{T(_T("")), FALSE}}},
        {_T("abc"), 0, {{T(_T("abc")), FALSE}}},
    };
    for (const auto& c : cases) {
        LPCWSTR p = c.text;
        for (const auto& [token, byDelimiter] : c.steps) {
            WCHAR buffer[32] = {_T('#')};
            EXPECT_EQ(byDelimiter, CQNUtility::NextToken(&p, c.delimiter, buffer)) << Show(c.text);
            EXPECT_EQ(Show(token), Show(Text(buffer))) << Show(c.text);
        }
        EXPECT_EQ(c.text + Text(c.text).size() + 1, p) << Show(c.text); // one past the NUL
    }
    // Null arguments change nothing.
    WCHAR token[4] = {_T('#'), 0};
    LPCWSTR text = _T("a,b"), p = text, none = nullptr;
    EXPECT_FALSE(CQNUtility::NextToken(nullptr, _T(','), token));
    EXPECT_FALSE(CQNUtility::NextToken(&none, _T(','), token));
    EXPECT_FALSE(CQNUtility::NextToken(&p, _T(','), nullptr));
    EXPECT_EQ(text, p);
    EXPECT_EQ(_T('#'), token[0]);
}

} // namespace
