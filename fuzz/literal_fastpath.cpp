// The direct reading of common literals against the parser on arbitrary
// UTF-16 text (little-endian units; a NUL anywhere ends the text). Where the
// direct reading answers, the parser must accept the text without a range
// error and decide the same type, value, line and column; where the parser
// accepts a short text without a range error, the direct reading must answer.
#include <QNNumeral.h>

#include "../src/text/NumeralFastPath.h"
#include "../src/text/NumeralParserEngine.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using Helper = CQNUtility::CNumeralParserHelper;
void Discard(const char*) {}
qn::numeral::ParserState<Helper, 384> g_state;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<WCHAR> text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<WCHAR>(data[i] | (data[i + 1] << 8)));
    text.push_back(0);

    Helper helper;
    qn::numeral::Engine<Helper, 384> engine(g_state, Discard);
    const bool accepted = engine.Parse(text.data(), helper) == QN_NUMERAL_SUCCESS && helper.Error() == 0;
    qn::numeral::CommonLiteral direct{};
    const bool answered = qn::numeral::ScanCommonLiteral(text.data(), direct);
    if (answered != accepted && (answered || text.size() <= size_t(qn::numeral::kMaxRealText)))
        __builtin_trap();
    if (answered && (direct.type != helper.GetDataType() || direct.value != helper.m_lIntegerValue ||
                     direct.line != g_state.line || direct.column != g_state.column))
        __builtin_trap();
    return 0;
}
