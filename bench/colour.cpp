// The colour conversions run per pixel while a screen is painted or previewed:
// each should cost a few nanoseconds, with no search and no allocation.
#include <QNColor.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

// A screenful of varied colours (640 x 480), the same every run.
const std::vector<ULONG>& Screen()
{
    static const std::vector<ULONG> pixels = [] {
        std::vector<ULONG> p(640 * 480);
        uint32_t x = 0x12345678;
        for (ULONG& c : p) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            c = x & 0x00FFFFFF;
        }
        return p;
    }();
    return pixels;
}

// One screen through GetConvertedTargetColor in the mode given as argument.
void ConvertScreen(benchmark::State& state)
{
    const int mode = static_cast<int>(state.range(0));
    const std::vector<ULONG>& pixels = Screen();
    for (auto _ : state) {
        ULONG sum = 0;
        for (ULONG c : pixels)
            sum += GetConvertedTargetColor(mode, c);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(pixels.size()));
}
BENCHMARK(ConvertScreen)->DenseRange(0, 12);

// One screen through GetIFileColor: the packing when screen data is written.
void EncodeScreen(benchmark::State& state)
{
    const int mode = static_cast<int>(state.range(0));
    const std::vector<ULONG>& pixels = Screen();
    for (auto _ : state) {
        ULONG sum = 0;
        for (ULONG c : pixels)
            sum += GetIFileColor(mode, c);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(pixels.size()));
}
BENCHMARK(EncodeScreen)->DenseRange(0, 12);

void DecodeR5G6B5(benchmark::State& state)
{
    for (auto _ : state) {
        ULONG sum = 0;
        for (ULONG w = 0; w < 0x10000; ++w)
            sum += ZK5000_Calc32bitColorFromR5G6B5(w);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 0x10000);
}
BENCHMARK(DecodeR5G6B5);

// RGB to HLS and back for one CColor: a property page's round trip.
void HlsRoundTrip(benchmark::State& state)
{
    const std::vector<ULONG>& pixels = Screen();
    size_t i = 0;
    for (auto _ : state) {
        CColor c(pixels[i++ % pixels.size()]);
        c.SetLuminance(c.GetLuminance() * 0.5f);
        benchmark::DoNotOptimize(static_cast<ULONG>(c));
    }
}
BENCHMARK(HlsRoundTrip);

void NameLookup(benchmark::State& state)
{
    CString name(_T("YellowGreen")); // the last entry: the longest search
    for (auto _ : state)
        benchmark::DoNotOptimize(CColor::GetColorrefFromName(name));
}
BENCHMARK(NameLookup);

} // namespace
