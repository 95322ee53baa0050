// EscapeText, UnescapeText and NextToken: one table of conversions in either
// direction, one of result codes and output ownership, one of token steps.
#include <QNUtility.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Text = std::basic_string<WCHAR>;

#define W(literal) Text(_T(literal))
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
        {Escape, 0, W("a'\"\\\n\r\t"), W("a'\"\\\n\r\t")},
        {Escape, eEscApostrophe | eEscNewLine, W("'\n"), W("\\'\\n")},
        {Escape, eEscQuote, W("say \"hi\" it's"), W("say \\\"hi\\\" it's")},
        {Escape, eEscBackslash, W("a\\b"), W("a\\\\b")}, {Escape, eEscQuote, W("a\\b"), W("a\\b")},
        {Escape, eEscReturn | eEscTab, W("\r\t"), W("\\r\\t")},
        {Escape, eEscControl, Chars({7, 8, 11, 12}), W("\\a\\b\\v\\f")},
        {Escape, eEscTab, Chars({7, 8, 11, 12, 233}), Chars({7, 8, 11, 12, 233})},
        {Escape, eEscOtherAsUnicode, Chars({233, 0x1F, 127, 0xFFFF, 0xABCD, 7}),
         W("\\u00e9\\u001f\\u007f\\uffff\\uabcd\\u0007")},
        {Escape, eEscOtherAsUnicode, W("\n\r\t'\"\\ ~az"), W("\\u000a\\u000d\\u0009'\"\\ ~az")},
        {Escape, crlf | eEscReturn | eEscNewLine, W("a\r\nb\nc"), W("a\\r\\nb\\r\\nc")},
        {Escape, eEscLFToCRLF, W("a\nb"), W("a\r\nb")},
        {Escape, eEscLFToCRLF | eEscNewLine, W("\r\n"), W("\r\r\\n")}, // the CR read stays
        {Escape, crlf, W("\r\n\r"), W("\r\n")}, // the inserted CR is not dropped
        {Escape, eEscDropCR | eEscReturn, W("a\rb\r"), W("ab")},
        {Escape, eEscOctal | eEscHex | eEscUnicode, W("\\x41\\101\\u0041\n"), W("\\x41\\101\\u0041\n")},
        {Escape, eEscQuote, W(""), W("")},
        {Escape, eEscLFToCRLF | eEscOtherAsUnicode, Text(100000, 10), Repeat(W("\\u000d\\u000a"), 100000)},
        {Unescape, 0, W("\\n\\x41\\"), W("\\n\\x41\\")},
        {Unescape, eEscHex, W("\\x41z\\X4a\\xaB"), Chars({'A', 'z', 0x4A, 0xAB})},
        {Unescape, eEscHex, W("\\xz"), Chars({0, 'z'})}, // no digits: 0
        {Unescape, eEscHex, W("\\x123456789"), Chars({0x5678, '9'})}, // eight digits, low 16 bits
        {Unescape, eEscHex, W("\\x"), Chars({0})}, {Unescape, eEscOctal, W("\\101z\\1234"), W("AzS4")},
        {Unescape, eEscOctal, W("\\777\\0\\18\\8"), Chars({511, 0, 1, '8', '\\', '8'})},
        {Unescape, eEscControl, W("\\fz\\a\\b\\v\\?"), Chars({12, 'z', 7, 8, 11, '?'})},
        {Unescape, readAll, W("\\q"), W("\\q")}, {Unescape, eEscApostrophe, W("\\n\\\""), W("\\n\\\"")},
        {Unescape, eEscApostrophe | eEscQuote, W("\\'\\\""), W("'\"")},
        {Unescape, eEscBackslash | eEscNewLine, W("\\\\n"), W("\\n")},
        {Unescape, eEscUnicode | eEscBackslash, W("\\\\u"), W("\\u")}, // the pair hides the u
        {Unescape, eEscNewLine | eEscReturn | eEscTab, W("\\n\\r\\t"), W("\n\r\t")},
        {Unescape, eEscHex, W("\\u0041"), W("\\u0041")}, {Unescape, readAll, W("abc\\"), W("abc\\")},
        {Unescape, readAll, W("\\"), W("\\")}, {Unescape, crlf, W("a\r\nb\nc\rd"), W("a\r\nb\r\ncd")},
        {Unescape, eEscLFToCRLF, W("a\r\nb"), W("a\r\r\nb")},
        {Unescape, eEscLFToCRLF | eEscNewLine, W("\\n"), W("\r\n")},
        {Unescape, eEscDropCR | eEscReturn, W("a\\rb"), W("ab")},
        {Unescape, eEscLFToCRLF | eEscQuote, W("\\\n"), W("\\\r\n")},
        {Unescape, eEscNewLine, Chars({'a', 0, '\\', 'n', 0}), Chars({'a', 0, '\n', 0})}, // NULs count
        {Unescape, readAll, W(""), W("")},
    };
    for (const auto& c : cases) {
        BSTR in = ::SysAllocStringLen(c.input.data(), UINT(c.input.size()));
        BSTR out = nullptr;
        SCOPED_TRACE(testing::PrintToString(c.input.substr(0, 40)) + (c.way == Escape ? " escaped" : " unescaped"));
        EXPECT_EQ(S_OK, Call(c.way, in, c.ops, &out));
        EXPECT_EQ(c.expected, Text(out, ::SysStringLen(out)));
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
        if (!c.output || c.output == kOld) {
            EXPECT_EQ(c.output ? old : nullptr, out);
        } else {
            ASSERT_NE(nullptr, out);
            EXPECT_NE(in, out);
            EXPECT_EQ(Text(c.output), Text(out, ::SysStringLen(out)));
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
        {_T("a,b"), _T(','), {{W("a"), TRUE}, {W("b"), FALSE}}},
        {_T(",x"), _T(','), {{W(""), TRUE}, {W("x"), FALSE}}},
        {_T("a,,b,"), _T(','), {{W("a"), TRUE}, {W(""), TRUE}, {W("b"), TRUE}, {W(""), FALSE}}},
        {_T(""), _T(','), {{W(""), FALSE}}}, {_T("abc"), 0, {{W("abc"), FALSE}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(Text(c.text)));
        LPCWSTR p = c.text;
        for (const auto& [token, byDelimiter] : c.steps) {
            WCHAR buffer[32] = {_T('#')};
            EXPECT_EQ(byDelimiter, CQNUtility::NextToken(&p, c.delimiter, buffer));
            EXPECT_EQ(token, Text(buffer));
        }
        EXPECT_EQ(c.text + Text(c.text).size() + 1, p); // one past the NUL
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
