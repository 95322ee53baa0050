// The numeral parser: accepted language, order of the helper calls, the
// diagnostic lines, line and column accounting and the stack guard.
#include <QNNumeral.h>

#include "Literals.h"
#include "text/NumeralParserEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Helper = CQNUtility::CNumeralParserHelper;

std::u16string Wide(const std::string& text)
{
    std::u16string out;
    for (unsigned char ch : text)
        out += static_cast<char16_t>(ch);
    return out;
}

// A helper that forwards to the real one and records every call that the
// parser's actions make (argument reads through the Get... members aside).
class RecordingHelper {
public:
    std::vector<std::string> calls;
    Helper real;

    void SetDataType(QNDataType type) { Note("SetDataType(" + std::to_string(type) + ")"), real.SetDataType(type); }
    QNDataType IntegerLiteral() { return Note("IntegerLiteral()"), real.IntegerLiteral(); }
    QNDataType FloatLiteral() { return Note("FloatLiteral()"), real.FloatLiteral(); }
    void SetMinusSign() { Note("SetMinusSign()"), real.SetMinusSign(); }
    void SetIntegerValue(LONG value) { Note("SetIntegerValue(" + std::to_string(value) + ")"), real.SetIntegerValue(value); }
    CString* NumberAppend(WCHAR ch) { return Note(std::string("NumberAppend(") + char(ch) + ")"), real.NumberAppend(ch); }
    void SetNumberType(int radix) { Note("SetNumberType(" + std::to_string(radix) + ")"), real.SetNumberType(radix); }
    void SetNumber(const CString* text) { Note("SetNumber(" + Name(text) + ")"), real.SetNumber(text); }
    void SetIntegerPart() { Note("SetIntegerPart()"), real.SetIntegerPart(); }
    void SetFloat(const CString* a, const CString* b) { Note("SetFloat(" + Name(a) + "," + Name(b) + ")"), real.SetFloat(a, b); }
    void SetReal(const CString* text) { Note("SetReal(" + Name(text) + ")"), real.SetReal(text); }
    void SetExponent(const CString* text) { Note("SetExponent(" + Name(text) + ")"), real.SetExponent(text); }
    void SetExponent(WCHAR sign, const CString* text)
    {
        Note(std::string("SetExponent(") + char(sign) + "," + Name(text) + ")"), real.SetExponent(sign, text);
    }
    CString* GetNumber() { return real.GetNumber(); }
    CString* GetIntegerPart() { return real.GetIntegerPart(); }
    CString* GetReal() { return real.GetReal(); }
    CString* GetExponent() { return real.GetExponent(); }
    void ReportError(int error) { Note("ReportError(" + std::to_string(error) + ")"), real.ReportError(error); }
    void SyntaxError() { Note("SyntaxError()"); }

private:
    void Note(std::string call) { calls.push_back(std::move(call)); }
    std::string Name(const CString* text) const
    {
        if (text == &real.m_bstrNumber)
            return "number";
        if (text == &real.m_bstrIntegerPart)
            return "integer part";
        if (text == &real.m_bstrReal)
            return "real";
        if (text == &real.m_bstrExponent)
            return "exponent";
        return "?";
    }
};

std::string g_diagnostics;
void Capture(const char* line) { g_diagnostics += line; }

template <class H, int Capacity = 384>
int ParseWith(const std::string& text, H& helper)
{
    static qn::numeral::ParserState<H, Capacity> state;
    g_diagnostics.clear();
    const std::u16string wide = Wide(text);
    qn::numeral::Engine<H, Capacity> engine(state, Capture);
    return engine.Parse(reinterpret_cast<const WCHAR*>(wide.c_str()), helper);
}

// --- Order of the helper calls ---------------------------------------------------

TEST(NumeralParser, HelperCallsInOrder)
{
    struct Case {
        const char* text;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {" -25", {"SetNumberType(10)", "NumberAppend(2)", "NumberAppend(5)", "SetIntegerValue(25)", "SetMinusSign()",
                  "IntegerLiteral()", "SetDataType(2)"}},
        {"12.5e-3", {"SetNumberType(10)", "NumberAppend(1)", "NumberAppend(2)", "SetIntegerPart()", "NumberAppend(5)",
                     "SetFloat(integer part,number)", "SetNumberType(10)", "NumberAppend(3)", "SetExponent(-,number)",
                     "SetNumber(exponent)", "SetNumberType(10)", "NumberAppend(D)", "FloatLiteral()",
                     "SetDataType(7)"}},
        {"0", {"SetNumberType(10)", "NumberAppend(0)", "SetIntegerValue(0)", "IntegerLiteral()", "SetDataType(2)"}},
        {"0.5f", {"NumberAppend(0)", "SetIntegerPart()", "NumberAppend(5)", "SetFloat(integer part,number)",
                  "SetNumber(real)", "SetNumberType(10)", "NumberAppend(F)", "FloatLiteral()", "SetDataType(7)"}},
        {"5.", {"SetNumberType(10)", "NumberAppend(5)", "SetIntegerPart()", "SetReal(integer part)",
                "SetNumber(real)", "SetNumberType(10)", "NumberAppend(D)", "FloatLiteral()", "SetDataType(7)"}},
        {"1e+5", {"SetNumberType(10)", "NumberAppend(1)", "SetReal(number)", "SetNumberType(10)", "NumberAppend(5)",
                  "SetExponent(number)", "SetNumber(exponent)", "SetNumberType(10)", "NumberAppend(D)",
                  "FloatLiteral()", "SetDataType(7)"}},
        {"0x1fl", {"SetNumberType(16)", "NumberAppend(1)", "NumberAppend(f)", "SetIntegerValue(31)",
                   "NumberAppend(l)", "IntegerLiteral()", "SetDataType(6)"}},
        {"017", {"SetNumberType(8)", "NumberAppend(1)", "NumberAppend(7)", "SetIntegerValue(15)", "IntegerLiteral()",
                 "SetDataType(2)"}},
        {"true", {"SetDataType(1)"}},
        {"'\\777'", {"ReportError(8022)", "SetDataType(3)"}},
        {"1x", {"SetNumberType(10)", "NumberAppend(1)", "SyntaxError()"}},
    };
    for (const Case& c : cases) {
        RecordingHelper h;
        ParseWith(c.text, h);
        EXPECT_EQ(h.calls, c.calls) << c.text;
    }
}

// --- The accepted language -------------------------------------------------------

TEST(NumeralParser, AcceptsTheLiterals)
{
    for (const qntest::Literal& c : qntest::kLiterals) {
        RecordingHelper h;
        ASSERT_EQ(ParseWith(c.text, h), QN_NUMERAL_SUCCESS) << c.text << ": " << g_diagnostics;
        EXPECT_EQ(h.real.GetDataType(), c.type) << c.text;
        EXPECT_EQ(h.real.m_lIntegerValue, c.value) << c.text;
        EXPECT_EQ(h.real.Error(), c.error) << c.text;
        EXPECT_EQ(g_diagnostics, "") << c.text;
    }
}

TEST(NumeralParser, AcceptsACharacterOfAnyCodeOnlyInACharacterLiteral)
{
    const char16_t literal[] = {'\'', 0x4E2D, '\'', 0};
    const char16_t bare[] = {0x4E2D, 0};
    Helper h;
    EXPECT_EQ(ParseNumeral(reinterpret_cast<const WCHAR*>(literal), h), QN_NUMERAL_SUCCESS);
    EXPECT_EQ(h.GetDataType(), QNDT_CHAR);
    testing::internal::CaptureStderr();
    Helper h2;
    EXPECT_EQ(ParseNumeral(reinterpret_cast<const WCHAR*>(bare), h2), QN_NUMERAL_SYNTAX_ERROR);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unexpected input, line 1, column 1\n");
}

// --- Diagnostics -----------------------------------------------------------------

struct Rejected {
    const char* text;
    const char* line; // what goes to the standard error stream
};

TEST(NumeralParser, DiagnosesTheFirstDisallowedCharacter)
{
    const Rejected cases[] = {
        {"12x", "Unexpected 'x', line 1, column 3\n"},
        {"4 2", "Missing eof, line 1, column 3\n"},
        {"'\\u00411'", "Missing '\\'', line 1, column 8\n"},
        {"", "Unexpected eof, line 1, column 1\n"},
        {"   ", "Unexpected eof, line 1, column 4\n"},
        {"+5", "Unexpected PLUS, line 1, column 1\n"},
        {"- 5", "Unexpected ' ', line 1, column 2\n"},
        {"--5", "Unexpected MINUS, line 1, column 2\n"},
        {".5", "Unexpected DOT, line 1, column 1\n"},
        {"1e", "Unexpected eof, line 1, column 3\n"},
        {"1e+", "Unexpected eof, line 1, column 4\n"},
        {"1..", "Unexpected DOT, line 1, column 3\n"},
        {"00", "Unexpected '0', line 1, column 2\n"},
        {"09", "Unexpected '9', line 1, column 2\n"},
        {"008", "Unexpected '0', line 1, column 2\n"},
        {"018", "Unexpected '8', line 1, column 3\n"},
        {"0x", "Unexpected eof, line 1, column 3\n"},
        {"0xG", "Unexpected 'G', line 1, column 3\n"},
        {"0x1.5", "Unexpected DOT, line 1, column 4\n"},
        {"1F", "Unexpected 'F', line 1, column 2\n"},
        {"1D", "Unexpected 'D', line 1, column 2\n"},
        {"1.5L", "Unexpected 'L', line 1, column 4\n"},
        {"1LL", "Missing eof, line 1, column 3\n"},
        {"1.5ff", "Missing eof, line 1, column 5\n"},
        {"True", "Unexpected 'T', line 1, column 1\n"},
        {"true1", "Unexpected 't', line 1, column 1\n"},
        {"true_", "Unexpected 't', line 1, column 1\n"},
        {"-true", "Unexpected 't', line 1, column 2\n"},
        {"true false", "Missing eof, line 1, column 6\n"},
        {"x", "Unexpected 'x', line 1, column 1\n"},
        {"\\", "Unexpected '\\\\', line 1, column 1\n"},
        {"''", "Unexpected '\\'', line 1, column 2\n"},
        {"'ab'", "Missing '\\'', line 1, column 3\n"},
        {"'a", "Missing '\\'', line 1, column 3\n"},
        {"'", "Unexpected eof, line 1, column 2\n"},
        {"'\\8'", "Unexpected '8', line 1, column 3\n"},
        {"'\\", "Unexpected eof, line 1, column 3\n"},
        {"'\\u'", "Unexpected '\\'', line 1, column 4\n"},
        {"'\\x41'", "Unexpected 'x', line 1, column 3\n"},
        {"'\\1234'", "Missing '\\'', line 1, column 6\n"},
        {"'\n'", "Unexpected input, line 1, column 2\n"},
        {"'\\n\\t'", "Missing '\\'', line 1, column 4\n"},
        {"\t\n x", "Unexpected 'x', line 2, column 2\n"},
        {"\r\n5 \r\n6", "Missing eof, line 3, column 1\n"},
        {"1\f2", "Missing eof, line 1, column 2\n"},
        {"1\x7f", "Unexpected input, line 1, column 2\n"},
        {"1\x01", "Unexpected input, line 1, column 2\n"},
        {"5\t", nullptr},
    };
    for (const Rejected& c : cases) {
        RecordingHelper h;
        const int exitCode = ParseWith(c.text, h);
        if (!c.line) {
            EXPECT_EQ(exitCode, QN_NUMERAL_SUCCESS) << c.text;
            continue;
        }
        EXPECT_EQ(exitCode, QN_NUMERAL_SYNTAX_ERROR) << c.text;
        EXPECT_EQ(g_diagnostics, c.line) << c.text;
        // A syntax error leaves the error number alone.
        EXPECT_EQ(h.real.Error(), 0) << c.text;
    }
}

TEST(NumeralParser, LibraryParserWritesToStandardErrorAndKeepsTheMessage)
{
    const Rejected cases[] = {
        {"12x", "Unexpected 'x', line 1, column 3\n"},
        {"4 2", "Missing eof, line 1, column 3\n"},
        {"\n\n+", "Unexpected PLUS, line 3, column 1\n"},
    };
    for (const Rejected& c : cases) {
        const std::u16string text = Wide(c.text);
        Helper h;
        testing::internal::CaptureStderr();
        const int exitCode = ParseNumeral(reinterpret_cast<const WCHAR*>(text.c_str()), h);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.line);
        EXPECT_EQ(exitCode, QN_NUMERAL_SYNTAX_ERROR);
        int line = 0, column = 0;
        const std::string message = GetNumeralParserMessage(&line, &column);
        EXPECT_EQ(message + ", line " + std::to_string(line) + ", column " + std::to_string(column) + "\n", c.line);
    }
    Helper ok;
    EXPECT_EQ(ParseNumeral(reinterpret_cast<const WCHAR*>(u"1"), ok), QN_NUMERAL_SUCCESS);
    EXPECT_STREQ(GetNumeralParserMessage(nullptr, nullptr), "");
    Helper none;
    testing::internal::CaptureStderr();
    EXPECT_EQ(ParseNumeral(nullptr, none), QN_NUMERAL_SYNTAX_ERROR);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unexpected eof, line 1, column 1\n");
}

TEST(NumeralParser, LongTextsAreReadToTheirEnd)
{
    // A long run of digits saturates; a long run of white space is skipped.
    std::string digits(100000, '7');
    RecordingHelper h;
    ASSERT_EQ(ParseWith(digits, h), QN_NUMERAL_SUCCESS);
    EXPECT_EQ(h.real.m_lIntegerValue, 2147483647);
    EXPECT_EQ(h.real.Error(), QN_ERR_OUTOFRANGE);
    RecordingHelper spaces;
    EXPECT_EQ(ParseWith(std::string(50000, ' ') + "1" + std::string(50000, '\n') + "x", spaces), QN_NUMERAL_SYNTAX_ERROR);
    EXPECT_EQ(g_diagnostics, "Missing eof, line 50001, column 1\n");
}

// --- The stack guard -------------------------------------------------------------

TEST(NumeralParser, StackOverflowStopsTheParse)
{
    RecordingHelper h;
    EXPECT_EQ((ParseWith<RecordingHelper, 3>("'a'", h)), QN_NUMERAL_STACK_OVERFLOW);
    EXPECT_EQ(g_diagnostics, "\nParser stack overflow, line 1, column 3\n");
    RecordingHelper h1;
    EXPECT_EQ((ParseWith<RecordingHelper, 1>("1", h1)), QN_NUMERAL_STACK_OVERFLOW);
    EXPECT_EQ(g_diagnostics, "\nParser stack overflow, line 1, column 1\n");
}

TEST(NumeralParser, DiagnosisPrefersAMissingNonterminalOverTheToken)
{
    // No state of the grammar continues with exactly one named nonterminal;
    // the rule is checked on a state of that shape made up for the test.
    using namespace qn::numeral;
    State made = kStates[kStartState];
    made.defaultKind = kError;
    made.gotoCount = 1;
    for (int i = 0; i < static_cast<int>(sizeof kGotoEntries / sizeof kGotoEntries[0]); ++i) {
        if (kGotoEntries[i].symbol == kN_literal)
            made.firstGoto = static_cast<uint16_t>(i);
    }
    char message[kMessageSize];
    Diagnose(made, kT_plus, '+', message);
    EXPECT_STREQ(message, "Missing literal");
    made.defaultKind = kReduce;
    Diagnose(made, kT_plus, '+', message);
    EXPECT_STREQ(message, "Unexpected PLUS");
}

} // namespace
