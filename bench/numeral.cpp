// Type detection runs on every keystroke of a property field and on every
// constant of a loaded project: a literal of ordinary length should take well
// under a microsecond, and a long text time linear in its length.
#include <QNNumeral.h>
#include <QNUtilityClass.h>

#include <benchmark/benchmark.h>

#include <string>

namespace {

const WCHAR* Literal(int which)
{
    static const WCHAR* const kLiterals[] = {_T("42"), _T("-40000"), _T("0x00FF"), _T("12.5e-3"), _T("3.40282e38f"),
                                             _T("true"), _T("'\\u0041'")};
    return kLiterals[which];
}

// One parse with a fresh helper, the way ParserAndGetDataType makes it.
void ParseLiteral(benchmark::State& state)
{
    const WCHAR* text = Literal(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CQNUtility::CNumeralParserHelper helper;
        benchmark::DoNotOptimize(ParseNumeral(text, helper));
        benchmark::DoNotOptimize(helper.GetDataType());
    }
}
BENCHMARK(ParseLiteral)->DenseRange(0, 6);

void DetectType(benchmark::State& state)
{
    const CString text(_T("12.5e-3"));
    for (auto _ : state) {
        LONG value = 0;
        benchmark::DoNotOptimize(CQNUtility::ParserAndGetDataType(text, &value));
    }
}
BENCHMARK(DetectType);

// A run of digits: the number text grows by amortised appends.
void ParseLongNumber(benchmark::State& state)
{
    const std::u16string digits(static_cast<size_t>(state.range(0)), u'7');
    for (auto _ : state) {
        CQNUtility::CNumeralParserHelper helper;
        benchmark::DoNotOptimize(ParseNumeral(reinterpret_cast<const WCHAR*>(digits.c_str()), helper));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ParseLongNumber)->RangeMultiplier(8)->Range(64, 262144)->Complexity(benchmark::oN);

void ValidName(benchmark::State& state)
{
    const CString name(_T("Tank_Level_07"));
    for (auto _ : state)
        benchmark::DoNotOptimize(CQNUtility::IsValidName(name));
}
BENCHMARK(ValidName);

} // namespace
