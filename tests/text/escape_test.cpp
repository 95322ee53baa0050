// EscapeText, UnescapeText and NextToken: every flag, every result code, the
// ownership of the output and the round trip.
#include <QNUtility.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Text = std::basic_string<WCHAR>;

constexpr eQNEscapeOperations kNone = static_cast<eQNEscapeOperations>(0);

// A platform string the test owns.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const Text& text) : m_bstr(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { ::SysFreeString(m_bstr); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const { return m_bstr; }
    // The address for an out-parameter; whatever it held is freed first.
    BSTR* put()
    {
        ::SysFreeString(m_bstr);
        m_bstr = nullptr;
        return &m_bstr;
    }
    Text text() const { return Text(m_bstr, ::SysStringLen(m_bstr)); }

private:
    BSTR m_bstr = nullptr;
};

Text T(const WCHAR* s) { return Text(s); }
Text Chars(std::initializer_list<unsigned> codes)
{
    Text t;
    for (unsigned c : codes)
        t.push_back(static_cast<WCHAR>(c));
    return t;
}

std::string Show(const Text& t)
{
    std::string out;
    for (WCHAR c : t) {
        if (c >= 32 && c < 127)
            out.push_back(static_cast<char>(c));
        else
            out += "<" + std::to_string(static_cast<unsigned>(c)) + ">";
    }
    return out;
}

Text Escape(const Text& in, eQNEscapeOperations ops)
{
    Bstr out;
    EXPECT_EQ(S_OK, CQNUtility::EscapeText(in.c_str(), ops, out.put())) << Show(in);
    return out.text();
}

Text Unescape(const Text& in, eQNEscapeOperations ops)
{
    Bstr source(in);
    Bstr out;
    EXPECT_EQ(S_OK, CQNUtility::UnescapeText(source.get(), ops, out.put())) << Show(in);
    return out.text();
}

struct Case {
    const char* name;
    eQNEscapeOperations ops;
    Text input;
    Text expected;
};

TEST(EscapeText, WritesTheEscapesItsFlagsSelect)
{
    const Case cases[] = {
        {"no operation copies", kNone, T(_T("a'\"\\\n\r\t")), T(_T("a'\"\\\n\r\t"))},
        {"apostrophe and line feed", eEscApostrophe | eEscNewLine, T(_T("'\n")), T(_T("\\'\\n"))},
        {"quotes", eEscQuote, T(_T("say \"hi\"")), T(_T("say \\\"hi\\\""))},
        {"quote flag leaves apostrophes", eEscQuote, T(_T("it's")), T(_T("it's"))},
        {"backslash", eEscBackslash, T(_T("a\\b")), T(_T("a\\\\b"))},
        {"backslash unflagged", eEscQuote, T(_T("a\\b")), T(_T("a\\b"))},
        {"return and tab", eEscReturn | eEscTab, T(_T("\r\t")), T(_T("\\r\\t"))},
        {"controls", eEscControl, Chars({7, 8, 11, 12}), T(_T("\\a\\b\\v\\f"))},
        {"controls unflagged stay", eEscTab, Chars({7, 8, 11, 12}), Chars({7, 8, 11, 12})},
        {"other as unicode", eEscOtherAsUnicode, Chars({233}), T(_T("\\u00e9"))},
        {"other unflagged stays", eEscQuote, Chars({233}), Chars({233})},
        {"other: low, DEL, top", eEscOtherAsUnicode, Chars({0x1F, 127, 0xFFFF, 0xABCD}),
         T(_T("\\u001f\\u007f\\uffff\\uabcd"))},
        {"unflagged line end as unicode", eEscOtherAsUnicode, T(_T("\n\r\t")), T(_T("\\u000a\\u000d\\u0009"))},
        {"unflagged control as unicode", eEscOtherAsUnicode, Chars({7}), T(_T("\\u0007"))},
        {"printable stays under unicode", eEscOtherAsUnicode, T(_T("'\"\\ ~az")), T(_T("'\"\\ ~az"))},
        {"CR LF and lone LF alike", eEscDropCR | eEscLFToCRLF | eEscReturn | eEscNewLine, T(_T("a\r\nb\nc")),
         T(_T("a\\r\\nb\\r\\nc"))},
        {"LF gets CR", eEscLFToCRLF, T(_T("a\nb")), T(_T("a\r\nb"))},
        {"CR before LF is kept and LF gets another", eEscLFToCRLF | eEscNewLine, T(_T("\r\n")),
         T(_T("\r\r\\n"))},
        {"inserted CR is not dropped", eEscLFToCRLF | eEscDropCR, T(_T("\r\n\r")), T(_T("\r\n"))},
        {"inserted CR as unicode", eEscLFToCRLF | eEscOtherAsUnicode, T(_T("\n")), T(_T("\\u000d\\u000a"))},
        {"drop CR", eEscDropCR | eEscReturn, T(_T("a\rb\r")), T(_T("ab"))},
        {"read-only flags write nothing", eEscOctal | eEscHex | eEscUnicode, T(_T("\\x41\\101\\u0041\n")),
         T(_T("\\x41\\101\\u0041\n"))},
        {"empty", eEscQuote, T(_T("")), T(_T(""))},
        {"one character", eEscNewLine, T(_T("\n")), T(_T("\\n"))},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Show(c.expected), Show(Escape(c.input, c.ops))) << c.name;
}

TEST(UnescapeText, ReadsTheEscapesItsFlagsSelect)
{
    const eQNEscapeOperations all = static_cast<eQNEscapeOperations>(0x1FFF & ~eEscUnicode);
    const Case cases[] = {
        {"no operation copies", kNone, T(_T("\\n\\x41\\")), T(_T("\\n\\x41\\"))},
        {"hex", eEscHex, T(_T("\\x41z")), T(_T("Az"))},
        {"hex upper X, mixed digits", eEscHex, T(_T("\\X4a\\xaB")), Chars({0x4A, 0xAB})},
        {"hex without digits is 0", eEscHex, T(_T("\\xz")), Chars({0, 'z'})},
        {"hex stops after eight digits, low 16 bits", eEscHex, T(_T("\\x123456789")), Chars({0x5678, '9'})},
        {"hex at end", eEscHex, T(_T("\\x")), Chars({0})},
        {"octal", eEscOctal, T(_T("\\101z")), T(_T("Az"))},
        {"octal stops after three digits", eEscOctal, T(_T("\\1234")), T(_T("S4"))},
        {"octal largest", eEscOctal, T(_T("\\777")), Chars({511})},
        {"octal zero", eEscOctal, T(_T("\\0")), Chars({0})},
        {"octal stops at 8", eEscOctal, T(_T("\\18")), Chars({1, '8'})},
        {"8 is no octal digit", eEscOctal, T(_T("\\8")), T(_T("\\8"))},
        {"controls", eEscControl, T(_T("\\fz\\a\\b\\v\\?")), Chars({12, 'z', 7, 8, 11, '?'})},
        {"unknown escape stays", all, T(_T("\\q")), T(_T("\\q"))},
        {"unflagged escape stays", eEscApostrophe, T(_T("\\n\\\"")), T(_T("\\n\\\""))},
        {"apostrophe, quote", eEscApostrophe | eEscQuote, T(_T("\\'\\\"")), T(_T("'\""))},
        {"backslash pairs first", eEscBackslash | eEscNewLine, T(_T("\\\\n")), T(_T("\\n"))},
        {"new line, return, tab", eEscNewLine | eEscReturn | eEscTab, T(_T("\\n\\r\\t")), T(_T("\n\r\t"))},
        {"unicode unflagged stays", eEscHex, T(_T("\\u0041")), T(_T("\\u0041"))},
        {"trailing backslash", all, T(_T("abc\\")), T(_T("abc\\"))},
        {"lone backslash", all, T(_T("\\")), T(_T("\\"))},
        {"every line end to CR LF", eEscLFToCRLF | eEscDropCR, T(_T("a\r\nb\nc\rd")), T(_T("a\r\nb\r\ncd"))},
        {"LF to CR LF keeps CR", eEscLFToCRLF, T(_T("a\r\nb")), T(_T("a\r\r\nb"))},
        {"escaped LF to CR LF", eEscLFToCRLF | eEscNewLine, T(_T("\\n")), T(_T("\r\n"))},
        {"escaped CR dropped", eEscDropCR | eEscReturn, T(_T("a\\rb")), T(_T("ab"))},
        {"backslash and raw LF stay, LF widened", eEscLFToCRLF | eEscQuote, T(_T("\\\n")), T(_T("\\\r\n"))},
        {"embedded NUL counts", eEscNewLine, Chars({'a', 0, '\\', 'n', 0}), Chars({'a', 0, '\n', 0})},
        {"empty", all, T(_T("")), T(_T(""))},
        {"one character", all, T(_T("x")), T(_T("x"))},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Show(c.expected), Show(Unescape(c.input, c.ops))) << c.name;
}

TEST(UnescapeText, UnicodeEscapeFailsTheWholeCallAndLeavesTheOutputAlone)
{
    for (const WCHAR* text : {_T("\\u0041"), _T("abc\\U"), _T("\\n\\u")}) {
        Bstr source{Text(text)};
        BSTR sentinel = ::SysAllocString(_T("untouched"));
        BSTR out = sentinel;
        EXPECT_EQ(E_FAIL, CQNUtility::UnescapeText(source.get(), eEscUnicode | eEscNewLine, &out)) << Show(text);
        EXPECT_EQ(sentinel, out);
        ::SysFreeString(sentinel);
    }
    // Read-order matters: a backslash pair before the u hides it.
    EXPECT_EQ(T(_T("\\u")), Unescape(T(_T("\\\\u")), eEscUnicode | eEscBackslash));
}

using Call = HRESULT (*)(BSTR, eQNEscapeOperations, BSTR*);
const Call kBoth[] = {
    [](BSTR in, eQNEscapeOperations ops, BSTR* out) { return CQNUtility::EscapeText(in, ops, out); },
    [](BSTR in, eQNEscapeOperations ops, BSTR* out) { return CQNUtility::UnescapeText(in, ops, out); },
};

TEST(EscapeResultCodes, NullPointersAndTheOwnershipOfTheOutput)
{
    Bstr in{T(_T("a"))};
    for (int f = 0; f < 2; ++f) {
        const Call call = kBoth[f];
        for (eQNEscapeOperations ops : {kNone, eEscQuote})
            EXPECT_EQ(E_POINTER, call(in.get(), ops, nullptr)) << f;

        // A null input: the plain copy fails, a conversion gives an empty string.
        BSTR out = reinterpret_cast<BSTR>(uintptr_t(1));
        EXPECT_EQ(E_OUTOFMEMORY, call(nullptr, kNone, &out)) << f;
        EXPECT_EQ(nullptr, out) << f;
        Bstr empty;
        EXPECT_EQ(S_OK, call(nullptr, eEscQuote, empty.put())) << f;
        ASSERT_NE(nullptr, empty.get()) << f;
        EXPECT_EQ(0u, ::SysStringLen(empty.get())) << f;

        // The output is a new string; the old pointer is overwritten, not freed.
        out = in.get();
        ASSERT_EQ(S_OK, call(in.get(), kNone, &out)) << f;
        EXPECT_NE(in.get(), out) << f;
        EXPECT_EQ(T(_T("a")), in.text()) << f;
        EXPECT_EQ(T(_T("a")), Text(out, ::SysStringLen(out))) << f;
        ::SysFreeString(out);
    }
}

TEST(EscapeProperty, LongTextsGrowTheOutputAsNeeded)
{
    // Each line feed becomes twelve characters: \u000d\u000a.
    const Text lineFeeds(100000, WCHAR(10));
    const Text escaped = Escape(lineFeeds, eEscLFToCRLF | eEscOtherAsUnicode);
    ASSERT_EQ(lineFeeds.size() * 12, escaped.size());
    EXPECT_EQ(T(_T("\\u000d\\u000a")), escaped.substr(escaped.size() - 12));
}

struct TokenStep {
    Text token;
    BOOL byDelimiter;
};

TEST(NextToken, SplitsAtTheDelimiterAndStopsAtTheEnd)
{
    struct TokenCase {
        const WCHAR* text;
        WCHAR delimiter;
        std::vector<TokenStep> steps;
    };
    const TokenCase cases[] = {
        {_T("a,b"), _T(','), {{T(_T("a")), TRUE}, {T(_T("b")), FALSE}}},
        {_T(",x"), _T(','), {{T(_T("")), TRUE}, {T(_T("x")), FALSE}}},
        {_T("a,,b,"), _T(','), {{T(_T("a")), TRUE}, {T(_T("")), TRUE}, {T(_T("b")), TRUE}, {T(_T("")), FALSE}}},
        {_T(""), _T(','), {{T(_T("")), FALSE}}},
        {_T("abc"), 0, {{T(_T("abc")), FALSE}}},
        {_T("key=value"), _T('='), {{T(_T("key")), TRUE}, {T(_T("value")), FALSE}}},
    };
    for (const TokenCase& c : cases) {
        LPCWSTR p = c.text;
        const size_t length = Text(c.text).size();
        for (const TokenStep& step : c.steps) {
            WCHAR token[32];
            token[0] = _T('#');
            EXPECT_EQ(step.byDelimiter, CQNUtility::NextToken(&p, c.delimiter, token)) << Show(c.text);
            EXPECT_EQ(Show(step.token), Show(Text(token))) << Show(c.text);
        }
        // After FALSE the pointer stands one past the terminating NUL.
        EXPECT_EQ(c.text + length + 1, p) << Show(c.text);
    }
}

TEST(NextToken, NullArgumentsChangeNothing)
{
    WCHAR token[4] = {_T('#'), 0};
    LPCWSTR text = _T("a,b");
    LPCWSTR p = text;
    LPCWSTR none = nullptr;
    EXPECT_FALSE(CQNUtility::NextToken(nullptr, _T(','), token));
    EXPECT_FALSE(CQNUtility::NextToken(&none, _T(','), token));
    EXPECT_FALSE(CQNUtility::NextToken(&p, _T(','), nullptr));
    EXPECT_EQ(text, p);
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(_T('#'), token[0]);
}

} // namespace
