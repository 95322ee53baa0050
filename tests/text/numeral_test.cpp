// Every text of Literals.h through every road to a type: the parser engine
// on its own, the library's ParseNumeral and its diagnostic,
// the direct reading of common literals, and ParserAndGetDataType with
// IsNumberOnly. Then the stack guard and the helper's members used outside
// the parser.
#include <QNNumeral.h>
#include <QNUtilityClass.h>

#include "Literals.h"
#include "support/AfxTestPrint.h"
#include "text/NumeralFastPath.h"
#include "text/NumeralParserEngine.h"

#include <gtest/gtest.h>

#include <string>

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

std::string g_diagnostics;
void Capture(const char* line) { g_diagnostics += line; }

template <int Capacity = 384>
struct EngineRun {
    Helper helper;
    qn::numeral::ParserState<Helper, Capacity> state;
    int exitCode;
    explicit EngineRun(const std::u16string& text)
    {
        g_diagnostics.clear();
        qn::numeral::Engine<Helper, Capacity> engine(state, Capture);
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
    const WCHAR* wide = reinterpret_cast<const WCHAR*>(text.c_str());
    SCOPED_TRACE(ToUtf8ForTest(wide, int(text.size())));
    const bool syntaxOk = e.line.empty();
    const bool accepted = syntaxOk && e.error == 0;

    // The engine, with its own diagnostic writer.
    auto run = std::make_unique<EngineRun<>>(text);
    const Helper& h = run->helper;
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
    for (const Helper* other : {&copy, const_cast<const Helper*>(&assigned)}) { // every member: the numeral_helper fuzz target
        EXPECT_EQ(other->m_bstrReal, _T("1"));
        EXPECT_NE(static_cast<LPCWSTR>(other->m_bstrReal), static_cast<LPCWSTR>(h.m_bstrReal));
    }
}

} // namespace
