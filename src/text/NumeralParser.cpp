// The numeral parser of the library: one module-level parser state, used by
// one parse at a time (the host's user-interface thread; nothing is locked).
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
