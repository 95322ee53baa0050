// Every text of Literals.h through every road to a type: the parser engine
// with a recording helper, the library's ParseNumeral and its diagnostic,
// the direct reading of common literals, and ParserAndGetDataType with
// IsNumberOnly. Then the order of the helper calls, the stack guard and the
// helper's members used outside the parser.
#include <QNNumeral.h>
#include <QNUtilityClass.h>

#include "Literals.h"
#include "support/AfxTestPrint.h"
#include "text/NumeralFastPath.h"
#include "text/NumeralParserEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Helper = CQNUtility::CNumeralParserHelper;
constexpr LONG kLongMin = -2147483647 - 1;

std::u16string Wide(std::string_view text)
{
    std::u16string out;
    for (unsigned char ch : text)
        out += static_cast<char16_t>(ch);
    return out;
}

// A helper that forwards to the real one and records the calls of the
// parser's actions (argument reads through the Get... members aside).
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
        return text == &real.m_bstrNumber ? "number" : text == &real.m_bstrIntegerPart ? "integer part"
                                                     : text == &real.m_bstrReal        ? "real"
                                                     : text == &real.m_bstrExponent    ? "exponent" : "?";
    }
};

std::string g_diagnostics;
void Capture(const char* line) { g_diagnostics += line; }

template <int Capacity = 384>
struct EngineRun {
    RecordingHelper helper;
    qn::numeral::ParserState<RecordingHelper, Capacity> state;
    int exitCode;
    explicit EngineRun(const std::u16string& text)
    {
        g_diagnostics.clear();
        qn::numeral::Engine<RecordingHelper, Capacity> engine(state, Capture);
        exitCode = engine.Parse(reinterpret_cast<const WCHAR*>(text.c_str()), helper);
    }
};

struct Expected {
    QNDataType type; // of an accepted text
    LONG value;
    int error;
    std::string line; // the diagnostic of a refused text, else empty
};

void CheckEveryRoad(const std::u16string& text, const Expected& e)
{
    const std::string shown = ToUtf8ForTest(reinterpret_cast<const WCHAR*>(text.c_str()), int(text.size()));
    SCOPED_TRACE(shown);
    const bool syntaxOk = e.line.empty();
    const bool accepted = syntaxOk && e.error == 0;
    const WCHAR* wide = reinterpret_cast<const WCHAR*>(text.c_str());

    // The engine, with its own diagnostic writer.
    auto run = std::make_unique<EngineRun<>>(text);
    const Helper& h = run->helper.real;
    ASSERT_EQ(run->exitCode, syntaxOk ? QN_NUMERAL_SUCCESS : QN_NUMERAL_SYNTAX_ERROR);
    EXPECT_EQ(g_diagnostics, e.line);
    EXPECT_EQ(h.Error(), e.error); // a syntax error leaves the error number alone
    if (syntaxOk) {
        EXPECT_EQ(h.GetDataType(), e.type);
        EXPECT_EQ(h.m_lIntegerValue, e.value);
    }

    // The direct reading answers exactly what the parser decides, and answers
    // for every short text the parser accepts without a range error.
    qn::numeral::CommonLiteral direct{};
    const bool answered = qn::numeral::ScanCommonLiteral(wide, direct);
    if (answered || text.size() <= size_t(qn::numeral::kMaxRealText)) {
        EXPECT_EQ(answered, accepted);
    }
    if (answered) {
        EXPECT_EQ(direct.type, e.type);
        EXPECT_EQ(direct.value, e.value);
        EXPECT_EQ(direct.line, run->state.line);
        EXPECT_EQ(direct.column, run->state.column);
    }

    // The library's parser writes the line to the standard error stream and
    // keeps the message with the position.
    testing::internal::CaptureStderr();
    Helper library;
    EXPECT_EQ(ParseNumeral(wide, library), run->exitCode);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), e.line);
    int line = 0, column = 0;
    const std::string message = GetNumeralParserMessage(&line, &column);
    EXPECT_EQ(line, run->state.line);
    EXPECT_EQ(column, run->state.column);
    EXPECT_EQ(syntaxOk ? "" : message + ", line " + std::to_string(line) + ", column " + std::to_string(column) + "\n",
              e.line);

    // Type detection, from a stale parser state: the same line, the value
    // whatever the outcome, the parser state as the library's parse left it,
    // and the last error written only on failure.
    testing::internal::CaptureStderr();
    Helper stale;
    ParseNumeral(_T("x"), stale);
    CQNUtility::m_nLastParserError = -1;
    testing::internal::GetCapturedStderr();
    const CString literal(wide, int(text.size()));
    LONG value = 12345;
    testing::internal::CaptureStderr();
    EXPECT_EQ(CQNUtility::ParserAndGetDataType(literal, &value), accepted ? e.type : QNDT_INVALID);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), e.line);
    EXPECT_EQ(value, h.m_lIntegerValue);
    EXPECT_EQ(CQNUtility::GetLastParserError(), accepted ? -1 : e.error);
    int afterLine = 0, afterColumn = 0;
    EXPECT_EQ(GetNumeralParserMessage(&afterLine, &afterColumn), message);
    EXPECT_EQ(afterLine, line);
    EXPECT_EQ(afterColumn, column);
    testing::internal::CaptureStderr();
    EXPECT_EQ(CQNUtility::IsNumberOnly(literal), accepted && e.type != QNDT_BOOL && e.type != QNDT_CHAR);
    EXPECT_EQ(CQNUtility::ParserAndGetDataType(literal, nullptr), accepted ? e.type : QNDT_INVALID);
    testing::internal::GetCapturedStderr();
}

TEST(Numeral, EveryTextOnEveryRoad)
{
    for (const qntest::Literal& c : qntest::kLiterals)
        CheckEveryRoad(Wide(c.text), {c.type, c.value, c.error, ""});
    for (const qntest::Rejected& c : qntest::kRejected)
        CheckEveryRoad(Wide(c.text), {QNDT_INVALID, 0, 0, c.line});
    // Long texts are read to their end: digits saturate, white space is skipped.
    CheckEveryRoad(std::u16string(100000, u'7'), {QNDT_INT64, 2147483647, qntest::kRange, ""});
    CheckEveryRoad(std::u16string(50000, u' ') + u"1" + std::u16string(50000, u'\n') + u"x",
                   {QNDT_INVALID, 0, 0, "Missing eof, line 50001, column 1\n"});
    CheckEveryRoad(u"'\u4E2D'", {QNDT_CHAR, 0, 0, ""}); // any code inside a character literal
    CheckEveryRoad(u"\u4E2D", {QNDT_INVALID, 0, 0, "Unexpected input, line 1, column 1\n"});

    qn::numeral::CommonLiteral ignored{};
    EXPECT_FALSE(qn::numeral::ScanCommonLiteral(nullptr, ignored));
    Helper none;
    testing::internal::CaptureStderr();
    EXPECT_EQ(ParseNumeral(nullptr, none), QN_NUMERAL_SYNTAX_ERROR);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unexpected eof, line 1, column 1\n");
}

TEST(Numeral, HelperCallsInOrder)
{
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {" -25", {"SetNumberType(10)", "NumberAppend(2)", "NumberAppend(5)", "SetIntegerValue(25)", "SetMinusSign()",
                  "IntegerLiteral()", "SetDataType(2)"}},
        {"12.5e-3", {"SetNumberType(10)", "NumberAppend(1)", "NumberAppend(2)", "SetIntegerPart()", "NumberAppend(5)",
                     "SetFloat(integer part,number)", "SetNumberType(10)", "NumberAppend(3)", "SetExponent(-,number)",
                     "SetNumber(exponent)", "SetNumberType(10)", "NumberAppend(D)", "FloatLiteral()",
                     "SetDataType(7)"}},
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
        {"true", {"SetDataType(1)"}}, {"'\\777'", {"ReportError(8022)", "SetDataType(3)"}},
        {"1x", {"SetNumberType(10)", "NumberAppend(1)", "SyntaxError()"}},
    };
    for (const auto& [text, calls] : cases)
        EXPECT_EQ(EngineRun<>(Wide(text)).helper.calls, calls) << text;
}

TEST(Numeral, StackGuardAndDiagnosisOfAMissingNonterminal)
{
    EXPECT_EQ(EngineRun<3>(u"'a'").exitCode, QN_NUMERAL_STACK_OVERFLOW);
    EXPECT_EQ(g_diagnostics, "\nParser stack overflow, line 1, column 3\n");
    EXPECT_EQ(EngineRun<1>(u"1").exitCode, QN_NUMERAL_STACK_OVERFLOW);
    EXPECT_EQ(g_diagnostics, "\nParser stack overflow, line 1, column 1\n");

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

// The helper's members as a caller other than the parser may use them.
TEST(Numeral, HelperMembersOnTheirOwn)
{
    Helper h;
    h.SetNumberType(2); // a radix without limits
    h.NumberAppend('1');
    EXPECT_EQ(h.IntegerLiteral(), QNDT_INT64);
    h.SetNumberType(10); // no digits at all
    EXPECT_EQ(h.IntegerLiteral(), QNDT_INT8);
    EXPECT_EQ(h.Error(), 0);
    EXPECT_EQ(h.FloatLiteral(), QNDT_FLOAT); // nothing collected: neither range's end
    h.m_bstrReal = _T("1"); // a five-character exponent ends the decision at once: the texts stay
    h.m_bstrExponent = _T("-1234");
    EXPECT_EQ(h.FloatLiteral(), QNDT_FLOAT);
    EXPECT_EQ(h.Error(), QN_ERR_OUTOFRANGE);
    h.SetIntegerValue(kLongMin);
    h.SetMinusSign(); // no positive counterpart: wraps, never traps
    EXPECT_EQ(h.m_lIntegerValue, kLongMin);
    h.SetReal(h.GetReal()); // its own text: kept
    h.SetNumber(nullptr);
    const Helper copy(h);
    Helper assigned;
    assigned = h;
    for (const Helper* other : {&copy, const_cast<const Helper*>(&assigned)}) {
        EXPECT_EQ(other->m_bstrReal, _T("1"));
        EXPECT_EQ(other->m_bstrExponent, _T("-1234"));
        EXPECT_EQ(other->m_lIntegerValue, kLongMin);
        EXPECT_EQ(other->Error(), QN_ERR_OUTOFRANGE);
        EXPECT_TRUE(other->m_bstrNumber.IsEmpty());
        EXPECT_NE(static_cast<LPCWSTR>(other->m_bstrReal), static_cast<LPCWSTR>(h.m_bstrReal));
    }
}

} // namespace
