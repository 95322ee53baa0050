// Type detection runs on every keystroke of a property field and on every
// constant of a loaded project: a literal of ordinary length should take well
// under a microsecond, and a long text time linear in its length.
#include <QNNumeral.h>
#include <QNUtilityClass.h>

#include <benchmark/benchmark.h>

#include <charconv>
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

// The mixed set of everyday literals, as the user typed them and as 8-bit text
// for std::from_chars, the comparator (a decimal reading to double that
// decides no type and keeps no state).
// After the mix, two texts the parser still decides (a range error each).
constexpr int kMixedCount = 10;
constexpr int kLiteralCount = kMixedCount + 2;
const char* const kMixed[kLiteralCount] = {"42",      "-40000",     "12.5e-3", "0x00FF", "017",        "3.14159",
                                           "2147483647", "1.5f",    "true",   "7L",     "2147483648", "'\\400'"};

const CString& MixedLiteral(int which)
{
    static const CString* const literals = [] {
        static CString texts[kLiteralCount];
        for (int i = 0; i < kLiteralCount; ++i) {
            for (const char* c = kMixed[i]; *c; ++c)
                texts[i] += static_cast<WCHAR>(*c);
        }
        return texts;
    }();
    return literals[which];
}

// Type detection as the library did it before the direct reading of common
// literals: the text copied, then the full parse with a fresh helper.
QNDataType DetectByParser(const CString& text, LONG* value)
{
    CString internal = static_cast<LPCWSTR>(text);
    CQNUtility::CNumeralParserHelper helper;
    const int exitCode = ParseNumeral(internal, helper);
    *value = helper.m_lIntegerValue;
    return exitCode == QN_NUMERAL_SUCCESS && helper.Error() == 0 ? helper.GetDataType() : QNDT_INVALID;
}

template <typename Detect> void MixedRun(benchmark::State& state, Detect detect)
{
    for (auto _ : state) {
        for (int i = 0; i < kMixedCount; ++i)
            detect(i);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kMixedCount);
}

void MixedOurs(benchmark::State& state)
{
    MixedRun(state, [](int i) {
        LONG value = 0;
        benchmark::DoNotOptimize(CQNUtility::ParserAndGetDataType(MixedLiteral(i), &value));
        benchmark::DoNotOptimize(value);
    });
}
void MixedFromChars(benchmark::State& state)
{
    MixedRun(state, [](int i) {
        const char* text = kMixed[i];
        double value = 0;
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(std::from_chars(text, text + std::char_traits<char>::length(text), value).ptr);
        benchmark::DoNotOptimize(value);
    });
}
void MixedParser(benchmark::State& state)
{
    MixedRun(state, [](int i) {
        LONG value = 0;
        benchmark::DoNotOptimize(DetectByParser(MixedLiteral(i), &value));
        benchmark::DoNotOptimize(value);
    });
}
// Names pair ours with the comparators: <operation>/ours/<size> and
// <operation>/vs:<comparator>/<size> (scripts/bench tabulates them).
BENCHMARK(MixedOurs)->Name("literal mix/ours/10");
BENCHMARK(MixedFromChars)->Name("literal mix/vs:from_chars/10");
BENCHMARK(MixedParser)->Name("literal mix/vs:parser/10");

// Each literal on its own: none may be slower than the parser.
template <typename Detect> void OneRun(benchmark::State& state, int which, Detect detect)
{
    const CString& text = MixedLiteral(which);
    for (auto _ : state) {
        LONG value = 0;
        benchmark::DoNotOptimize(detect(text, &value));
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}

const int kRegisterEach = [] {
    for (int i = 0; i < kLiteralCount; ++i) {
        const std::string operation = std::string("literal ") + kMixed[i];
        benchmark::RegisterBenchmark((operation + "/ours/1").c_str(), [i](benchmark::State& state) {
            OneRun(state, i, [](const CString& text, LONG* value) { return CQNUtility::ParserAndGetDataType(text, value); });
        });
        benchmark::RegisterBenchmark((operation + "/vs:parser/1").c_str(), [i](benchmark::State& state) {
            OneRun(state, i, DetectByParser);
        });
    }
    return kLiteralCount;
}();

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
