// The numeral parser of the library: one module-level parser state, used by
// one parse at a time (the host's user-interface thread; nothing is locked).
#include "text/NumeralFastPath.h"
#include "text/NumeralParserEngine.h"

#include <cstdio>

namespace {

// 384 entries per stack: the grammar needs fewer than ten for any text, as
// every repetition is left-recursive and reduced in place. The limit is a guard.
constexpr int kStackEntries = 384;

qn::numeral::ParserState<CQNUtility::CNumeralParserHelper, kStackEntries> g_parser;

void WriteToStandardError(const char* line) { std::fputs(line, stderr); }

} // namespace

int ParseNumeral(LPCWSTR lpszText, CQNUtility::CNumeralParserHelper& helper)
{
    qn::numeral::Engine<CQNUtility::CNumeralParserHelper, kStackEntries> engine(g_parser, WriteToStandardError);
    return engine.Parse(lpszText, helper);
}

LPCSTR GetNumeralParserMessage(int* pnLine, int* pnColumn)
{
    if (pnLine)
        *pnLine = g_parser.line;
    if (pnColumn)
        *pnColumn = g_parser.column;
    return g_parser.message;
}

namespace qn::numeral {

bool DetectCommonLiteral(LPCWSTR text, QNDataType& type, LONG& value)
{
    CommonLiteral literal;
    if (!ScanCommonLiteral(text, literal))
        return false;
    // What an accepting parse leaves readable: no message, the final position.
    g_parser.line = literal.line;
    g_parser.column = literal.column;
    g_parser.message[0] = 0;
    g_parser.exitCode = QN_NUMERAL_SUCCESS;
    type = literal.type;
    value = literal.value;
    return true;
}

} // namespace qn::numeral
