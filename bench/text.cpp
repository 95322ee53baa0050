// Escaping and script search run over whole scripts and property texts: both
// should be linear in the text, a few nanoseconds per character, also for one
// very long line full of literals.
#include <QNUtility.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

// About 1 MB of script: lines with literals, escapes and comments.
const CString& Script()
{
    static const CString script = [] {
        CString s;
        for (int i = 0; i < 20000; ++i)
            s += _T("Level = GetTag(\"Tank.Level\", \"a\\\"b\"); // Level in percent\r\nAlarm = Level > 95\r\n");
        return s;
    }();
    return script;
}

// One line of the same size: every search hit is judged against it.
const CString& LongLine()
{
    static const CString line = [] {
        CString s;
        for (int i = 0; i < 100000; ++i)
            s += _T("a \"a,a\" ,;");
        return s;
    }();
    return line;
}

void SetBytes(benchmark::State& state, const CString& text)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * text.GetLength() * int64_t(sizeof(WCHAR)));
}

void ReplaceInScript(benchmark::State& state)
{
    for (auto _ : state) {
        CString text = Script();
        benchmark::DoNotOptimize(CQNUtility::ReplaceSkipStringAndComment(text, _T("Level"), _T("TankLevel"), 0));
    }
    SetBytes(state, Script());
}
BENCHMARK(ReplaceInScript)->Unit(benchmark::kMillisecond);

void ReplaceInLongLine(benchmark::State& state)
{
    for (auto _ : state) {
        CString text = LongLine();
        benchmark::DoNotOptimize(CQNUtility::ReplaceSkipStringAndComment(text, _T(","), _T("."), 0));
    }
    SetBytes(state, LongLine());
}
BENCHMARK(ReplaceInLongLine)->Unit(benchmark::kMillisecond);

void RemoveSpaces(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CQNUtility::RemoveUnnecessarySpace(Script()));
    SetBytes(state, Script());
}
BENCHMARK(RemoveSpaces)->Unit(benchmark::kMillisecond);

void EscapeScript(benchmark::State& state)
{
    const eQNEscapeOperations ops = eEscQuote | eEscBackslash | eEscNewLine | eEscReturn | eEscOtherAsUnicode;
    for (auto _ : state) {
        BSTR out = nullptr;
        benchmark::DoNotOptimize(CQNUtility::EscapeText(Script(), ops, &out));
        ::SysFreeString(out);
    }
    SetBytes(state, Script());
}
BENCHMARK(EscapeScript)->Unit(benchmark::kMillisecond);

void UnescapeScript(benchmark::State& state)
{
    const eQNEscapeOperations ops = eEscQuote | eEscBackslash | eEscNewLine | eEscReturn | eEscLFToCRLF | eEscDropCR;
    BSTR escaped = nullptr;
    CQNUtility::EscapeText(Script(), ops, &escaped);
    for (auto _ : state) {
        BSTR out = nullptr;
        benchmark::DoNotOptimize(CQNUtility::UnescapeText(escaped, ops, &out));
        ::SysFreeString(out);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * ::SysStringByteLen(escaped));
    ::SysFreeString(escaped);
}
BENCHMARK(UnescapeScript)->Unit(benchmark::kMillisecond);

} // namespace
