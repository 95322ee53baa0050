// The numeral parser on arbitrary UTF-16 text (little-endian units; a NUL
// anywhere ends the text). The parse must end with success or a syntax error,
// never by its stack guard: it runs again on a stack of nine entries and must
// give the same outcome. A success must decide a literal type with no error
// other than the range error, and the library's parser (called only then, so
// that no diagnostic floods the log) must agree.
#include <QNNumeral.h>

#include "../src/text/NumeralParserEngine.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Helper = CQNUtility::CNumeralParserHelper;
int g_lines = 0;
void CountLine(const char* line)
{
    ++g_lines;
    if (std::strlen(line) < 20 || line[std::strlen(line) - 1] != '\n')
        __builtin_trap();
}

template <int Capacity>
int Parse(const WCHAR* text, Helper& helper, qn::numeral::ParserState<Helper, Capacity>& state)
{
    qn::numeral::Engine<Helper, Capacity> engine(state, CountLine);
    return engine.Parse(text, helper);
}

qn::numeral::ParserState<Helper, 384> g_full;
qn::numeral::ParserState<Helper, 9> g_small;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<WCHAR> text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<WCHAR>(data[i] | (data[i + 1] << 8)));
    text.push_back(0);

    Helper full, small;
    g_lines = 0;
    const int exitCode = Parse(text.data(), full, g_full);
    const int smallExit = Parse(text.data(), small, g_small);
    if (exitCode != smallExit || (exitCode != QN_NUMERAL_SUCCESS && exitCode != QN_NUMERAL_SYNTAX_ERROR))
        __builtin_trap();
    if (g_lines != (exitCode == QN_NUMERAL_SUCCESS ? 0 : 2))
        __builtin_trap();
    if (full.Error() != small.Error() || (full.Error() != 0 && full.Error() != QN_ERR_OUTOFRANGE))
        __builtin_trap();
    if (exitCode != QN_NUMERAL_SUCCESS)
        return 0;

    const QNDataType type = full.GetDataType();
    if (type < QNDT_BOOL || type > QNDT_DOUBLE || type != small.GetDataType() ||
        full.m_lIntegerValue != small.m_lIntegerValue)
        __builtin_trap();
    Helper library;
    if (ParseNumeral(text.data(), library) != QN_NUMERAL_SUCCESS || library.GetDataType() != type ||
        library.Error() != full.Error() || library.m_lIntegerValue != full.m_lIntegerValue ||
        *GetNumeralParserMessage(nullptr, nullptr) != 0)
        __builtin_trap();
    return 0;
}
