// Escaping and script search run over whole scripts and property texts: both
// should be linear in the text, a few nanoseconds per character, also for one
// very long line full of literals.
#include <QNUtility.h>
#include <afx/atlbase.h>

#include "../src/text/ScriptScanner.h"

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
        CComBSTR out;
        benchmark::DoNotOptimize(CQNUtility::EscapeText(Script(), ops, &out));
    }
    SetBytes(state, Script());
}
BENCHMARK(EscapeScript)->Unit(benchmark::kMillisecond);

void UnescapeScript(benchmark::State& state)
{
    const eQNEscapeOperations ops = eEscQuote | eEscBackslash | eEscNewLine | eEscReturn | eEscLFToCRLF | eEscDropCR;
    CComBSTR escaped;
    CQNUtility::EscapeText(Script(), ops, &escaped);
    for (auto _ : state) {
        CComBSTR out;
        benchmark::DoNotOptimize(CQNUtility::UnescapeText(escaped, ops, &out));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * escaped.ByteLength());
}
BENCHMARK(UnescapeScript)->Unit(benchmark::kMillisecond);

// --- Linear time: the same text at two sizes, ten times apart ------------------
//
// Names pair ours with the comparators: <operation>/ours/<bytes> and
// <operation>/vs:<comparator>/<bytes> (scripts/bench tabulates them); the time
// at the larger size over the time at the smaller one is the linearity ratio.
constexpr int64_t kSmall = 16 << 10, kLarge = 160 << 10; // bytes of UTF-16

// One line full of literals, each holding the character searched for, after
// one occurrence outside them: every literal is a cut of the reverse search,
// and every occurrence is judged against the same line.
CString LiteralLine(int64_t bytes)
{
    CString s(_T("x, "));
    while (s.GetLength() * int64_t(sizeof(WCHAR)) < bytes)
        s += _T("\"a,b\" ");
    return s.Left(static_cast<int>(bytes / int64_t(sizeof(WCHAR))));
}

// Script lines with literals and comments that hold the character searched for.
CString CommentedScript(int64_t bytes)
{
    CString s(_T("x, "));
    while (s.GetLength() * int64_t(sizeof(WCHAR)) < bytes)
        s += _T("\r\nf(\"a,b\") // c, d");
    return s.Left(static_cast<int>(bytes / int64_t(sizeof(WCHAR))));
}

int ReverseFindByFreshScanners(const CString& text, WCHAR find)
{
    return qn::text::ReverseFindWithFreshScanners(
        qn::text::TextView(static_cast<LPCWSTR>(text), size_t(text.GetLength())), find);
}

template <typename Search> void ReverseRun(benchmark::State& state, CString (*make)(int64_t), Search search)
{
    const CString text = make(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(search(text, _T(',')));
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

void ReverseLineOurs(benchmark::State& state)
{
    ReverseRun(state, LiteralLine, [](const CString& t, WCHAR c) { return CQNUtility::ReverseFindSkipStringAndComment(t, c); });
}
void ReverseLinePrevious(benchmark::State& state) { ReverseRun(state, LiteralLine, ReverseFindByFreshScanners); }
void ReverseScriptOurs(benchmark::State& state)
{
    ReverseRun(state, CommentedScript,
               [](const CString& t, WCHAR c) { return CQNUtility::ReverseFindSkipStringAndComment(t, c); });
}
void ReverseScriptPrevious(benchmark::State& state) { ReverseRun(state, CommentedScript, ReverseFindByFreshScanners); }

// The previous algorithm is quadratic on the long line: its large size alone
// takes seconds, so it runs at the small size only.
BENCHMARK(ReverseLineOurs)->Name("reverse find, literal line/ours")->Arg(kSmall)->Arg(kLarge);
BENCHMARK(ReverseLinePrevious)->Name("reverse find, literal line/vs:previous")->Arg(kSmall);
BENCHMARK(ReverseScriptOurs)->Name("reverse find, commented script/ours")->Arg(kSmall)->Arg(kLarge);
BENCHMARK(ReverseScriptPrevious)->Name("reverse find, commented script/vs:previous")->Arg(kSmall)->Arg(kLarge);

template <typename Make> void ReplaceRun(benchmark::State& state, Make make, const WCHAR* find, const WCHAR* by)
{
    const CString original = make(state.range(0));
    for (auto _ : state) {
        CString text = original;
        benchmark::DoNotOptimize(CQNUtility::ReplaceSkipStringAndComment(text, find, by, 0));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
void ReplaceLineOurs(benchmark::State& state) { ReplaceRun(state, LiteralLine, _T(","), _T(";")); }
void ReplaceScriptOurs(benchmark::State& state) { ReplaceRun(state, CommentedScript, _T(","), _T(";")); }
BENCHMARK(ReplaceLineOurs)->Name("replace, literal line/ours")->Arg(kSmall)->Arg(kLarge);
BENCHMARK(ReplaceScriptOurs)->Name("replace, commented script/ours")->Arg(kSmall)->Arg(kLarge);

} // namespace
