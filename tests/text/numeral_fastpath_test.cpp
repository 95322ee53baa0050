// The direct reading of common literals against the parser. One table of
// literals and a set generated from every shape feed the same check: where the
// direct reading answers, it answers what the parser and its helper decide
// (type, value, line and column), and it answers for every text the parser
// accepts without a range error (short of a real longer than its buffer).
// Type detection, which puts the direct reading first, must leave the parser
// state readable exactly as the library's own parse of the text leaves it.
#include <QNNumeral.h>
#include <QNResult.h>
#include <QNUtilityClass.h>

#include "support/AfxTestPrint.h"
#include "text/NumeralFastPath.h"
#include "text/NumeralParserEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Helper = CQNUtility::CNumeralParserHelper;
using qn::numeral::CommonLiteral;

void DiscardDiagnostic(const char*) {}

struct Outcome {
    bool accepted; // success without a range error
    QNDataType type;
    LONG value;
    int line;
    int column;
};

Outcome ParseReference(const std::u16string& text)
{
    static qn::numeral::ParserState<Helper, 384> state;
    Helper helper;
    qn::numeral::Engine<Helper, 384> engine(state, DiscardDiagnostic);
    const int exitCode = engine.Parse(reinterpret_cast<const WCHAR*>(text.c_str()), helper);
    return {exitCode == QN_NUMERAL_SUCCESS && helper.Error() == 0, helper.GetDataType(), helper.m_lIntegerValue,
            state.line, state.column};
}

std::string Shown(const std::u16string& text) { return ToUtf8ForTest(reinterpret_cast<const WCHAR*>(text.c_str()), int(text.size())); }

// Returns whether the direct reading answered.
bool CheckAgainstParser(const std::u16string& text)
{
    const Outcome parsed = ParseReference(text);
    CommonLiteral direct{};
    const bool answered = qn::numeral::ScanCommonLiteral(reinterpret_cast<const WCHAR*>(text.c_str()), direct);
    if (answered || text.size() <= size_t(qn::numeral::kMaxRealText)) {
        EXPECT_EQ(answered, parsed.accepted) << Shown(text);
    }
    if (answered && parsed.accepted) {
        EXPECT_EQ(direct.type, parsed.type) << Shown(text);
        EXPECT_EQ(direct.value, parsed.value) << Shown(text);
        EXPECT_EQ(direct.line, parsed.line) << Shown(text);
        EXPECT_EQ(direct.column, parsed.column) << Shown(text);
    }
    return answered;
}

const std::u16string kTable[] = {
    // The everyday mix, and white space around a literal.
    u"42", u"-40000", u"12.5e-3", u"0x00FF", u"017", u"3.14159", u"2147483647", u"1.5f", u"true", u"7L",
    u"\r\n 42 \r\n\t\f", u"\n\n7", u"\f\r-1\n", u"4 2", u"- 5", u"--5", u"+5", u"", u"  ",
    std::u16string(u"12\0x", 4),
    // Integer widths at their limits, each radix and sign.
    u"0", u"-0", u"0L", u"127", u"128", u"-128", u"-129", u"32767", u"32768", u"-32768", u"-32769",
    u"2147483648", u"-2147483648", u"-2147483649", u"2147483648L", u"9223372036854775807",
    u"9223372036854775808", u"9223372036854775807L", u"9223372036854775808L", u"-9223372036854775808",
    u"99999999999999999999", u"0x7F", u"0x80", u"0xFF", u"0x100", u"0xFFFF", u"0x7FFFFFFF", u"0x80000000",
    u"0xFFFFFFFF", u"0x100000000", u"0xFFFFFFFFFFFFFFFF", u"0x10000000000000000", u"0x0000000000000000FF",
    u"-0x80", u"-0x81", u"-0x8000000000000000", u"0xabcdef", u"0XaBcDl", u"0177", u"0377", u"0400", u"-0200",
    u"-0201", u"037777777777", u"040000000000", u"01777777777777777777777", u"02000000000000000000000",
    u"00", u"08", u"018", u"0x", u"0xG", u"017.5", u"017e1", u"12f", u"12d", u"1.5L", u"12x", u"1L2",
    // Reals: shapes, exponents, suffixes, the limits of both widths.
    u"1.", u"0.", u".5", u"0.5", u"00.5", u"01.5", u"09.5", u"0e5", u"0.e5", u"1e5", u"1E+5", u"1e-5", u"1e",
    u"1e+", u"1e+-5", u"5.f", u"5.d", u"5.D", u"5.F", u"5.ff", u"1.5e38", u"3.4028e38", u"3.40281e38",
    u"3.40282e38f", u"3.4029e38f", u"1.1754e-38", u"1.1753e-38", u"1.1753e-38f", u"1e-38", u"1e-39",
    u"0.05", u"0.05e-37", u"0.001e-36", u"0.000001e-35", u"0.00123", u"0.000", u"100.25e36", u"0.0000000000000000000000000000000000000000001",
    u"1.7976931348623157e308", u"1.7976931348623158e308", u"1e308", u"1e309", u"4.94065645841246544e-324",
    u"4.9e-324", u"1e-325", u"1e1000", u"1e9999", u"1e10000", u"1e-999", u"1e-1000", u"1e0001", u"1e00001",
    u"-1.5", u"-0.0", u"-1e39f", u"1." + std::u16string(60, u'7'), u"0." + std::u16string(60, u'0') + u"1",
    // Booleans and character constants.
    u"false", u"True", u"truex", u"true_", u"true1", u"true-", u" true ", u"-true", u"'a'", u"' '", u"'\f'",
    u"'\t'", u"'\u00e9'", u"''", u"'''", u"'\\''", u"'\\n'", u"'\\\"'", u"'\\\\'", u"'\\x'", u"'\\u0041'",
    u"'\\u41'", u"'\\U1'", u"'\\u'", u"'\\u00410'", u"'\\101'", u"'\\377'", u"'\\400'", u"'\\0'", u"'\\08'",
    u"'\\1234'", u"'ab'", u"'a", u"'\n'", u"'\\'", u"'a' b",
};

TEST(NumeralFastPath, TableAgreesWithParser)
{
    int answered = 0;
    for (const std::u16string& text : kTable)
        answered += CheckAgainstParser(text);
    EXPECT_GT(answered, 80); // the check is not vacuous
    CommonLiteral ignored{};
    EXPECT_FALSE(qn::numeral::ScanCommonLiteral(nullptr, ignored));
}

TEST(NumeralFastPath, GeneratedLiteralsAgreeWithParser)
{
    const std::u16string integers[] = {u"0", u"7", u"10", u"255", u"65535", u"2147483647", u"2147483648",
                                       u"4294967296", u"9223372036854775808", u"0x0", u"0x7FFFFFFF",
                                       u"0x80000000", u"0xffffffff", u"0x00FF", u"0xFFFFFFFFFFFFFFFF",
                                       u"0x1FFFFFFFFFFFFFFFF", u"017", u"07", u"037777777777", u"0400",
                                       u"01777777777777777777777", u"018", u"00"};
    const std::u16string fractions[] = {u"", u".", u".5", u".000123", u".40282", u".17549"};
    const std::u16string exponents[] = {u"", u"e38", u"e-38", u"E+308", u"e-324", u"e-0045", u"e99999", u"e"};
    const std::u16string suffixes[] = {u"", u"L", u"l", u"f", u"F", u"d", u"D", u"x"};
    const std::u16string blanks[] = {u"", u" ", u"\r\n", u"\t\f"};

    std::vector<std::u16string> bodies(std::begin(integers), std::end(integers));
    for (const char16_t* whole : {u"0", u"1", u"3", u"34", u"100"}) {
        for (const std::u16string& fraction : fractions) {
            for (const std::u16string& exponent : exponents)
                bodies.push_back(whole + fraction + exponent);
        }
    }
    int answered = 0;
    for (const std::u16string& body : bodies) {
        for (const char16_t* sign : {u"", u"-"}) {
            for (const std::u16string& suffix : suffixes) {
                for (const std::u16string& blank : blanks)
                    answered += CheckAgainstParser(blank + sign + body + suffix + blank);
            }
        }
    }
    EXPECT_GT(answered, 1000);
}

// Type detection answers from the direct reading where it can; what it leaves
// readable must be what the library's parse of the same text leaves.
TEST(NumeralFastPath, DetectionLeavesTheParserState)
{
    for (const std::u16string& text : kTable) {
        const CString literal(reinterpret_cast<const WCHAR*>(text.data()), int(text.size()));
        int line = 0, column = 0;
        testing::internal::CaptureStderr();
        Helper helper;
        const int exitCode = ParseNumeral(literal, helper);
        const std::string message = GetNumeralParserMessage(&line, &column);
        const std::string written = testing::internal::GetCapturedStderr();
        testing::internal::CaptureStderr();
        Helper stale; // a parser state for the detection to overwrite
        ParseNumeral(_T("x"), stale);
        testing::internal::GetCapturedStderr();

        CQNUtility::m_nLastParserError = -1;
        LONG value = -1;
        testing::internal::CaptureStderr();
        const QNDataType type = CQNUtility::ParserAndGetDataType(literal, &value);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), written) << Shown(text);
        const bool accepted = exitCode == QN_NUMERAL_SUCCESS && helper.Error() == 0;
        EXPECT_EQ(type, accepted ? helper.GetDataType() : QNDT_INVALID) << Shown(text);
        EXPECT_EQ(value, helper.m_lIntegerValue) << Shown(text);
        EXPECT_EQ(CQNUtility::GetLastParserError(), accepted ? -1 : helper.Error()) << Shown(text);
        int afterLine = 0, afterColumn = 0;
        EXPECT_EQ(GetNumeralParserMessage(&afterLine, &afterColumn), message) << Shown(text);
        EXPECT_EQ(afterLine, line) << Shown(text);
        EXPECT_EQ(afterColumn, column) << Shown(text);
    }
}

} // namespace
