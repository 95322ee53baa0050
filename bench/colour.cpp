// The colour conversions run per pixel while a screen is painted or previewed:
// each should cost a few nanoseconds, with no search and no allocation.
#include <QNColour.h>

#include "colour/TargetColourBulk.h"

#include <benchmark/benchmark.h>
#include <libyuv/convert_from_argb.h>

#include <cstdint>
#include <string>
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

// One screen through GetConvertedTargetColor in each mode, beside the previous
// algorithm (the depth search, then the reductions: the three-argument form,
// compiled in the library beside them as the two-argument form was).
// Names follow the pairing that scripts/bench tabulates:
//   <operation>/ours/<size>  and  <operation>/vs:<comparator>/<size>.
template <typename Convert> void ConvertScreen(benchmark::State& state, int mode, Convert convert)
{
    const std::vector<ULONG>& pixels = Screen();
    for (auto _ : state) {
        ULONG sum = 0;
        for (ULONG c : pixels)
            sum += convert(mode, c);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(pixels.size()));
}

// The cost of the call alone, which bounds what any per-colour conversion can
// reach in such a loop: an out-of-line function that returns the colour.
[[gnu::noipa]] ULONG ReturnColour(int, ULONG color) { return color; }

const int kRegisteredPerColour = [] {
    for (int mode = 0; mode <= 12; ++mode) {
        const std::string name = "GetConvertedTargetColor mode " + std::to_string(mode);
        benchmark::RegisterBenchmark((name + "/ours/307200").c_str(), [mode](benchmark::State& state) {
            ConvertScreen(state, mode, [](int m, ULONG c) { return GetConvertedTargetColor(m, c); });
        });
        benchmark::RegisterBenchmark((name + "/vs:previous/307200").c_str(), [mode](benchmark::State& state) {
            ConvertScreen(state, mode, [](int m, ULONG c) { return qn::colour::ShownByDepthSearch(m, c); });
        });
    }
    benchmark::RegisterBenchmark("GetConvertedTargetColor mode 7/vs:a call that returns the colour/307200",
                                 [](benchmark::State& state) {
                                     ConvertScreen(state, 7, [](int m, ULONG c) { return ReturnColour(m, c); });
                                 });
    return 0;
}();

// A megapixel through the bulk functions.
constexpr int kMegapixel = 1 << 20;
const std::vector<ULONG>& Megapixel()
{
    static const std::vector<ULONG> pixels = [] {
        std::vector<ULONG> p(kMegapixel);
        for (size_t i = 0; i < p.size(); ++i)
            p[i] = Screen()[i % Screen().size()] ^ ULONG(i >> 10);
        return p;
    }();
    return pixels;
}

template <typename Run> void Bulk(benchmark::State& state, Run run)
{
    benchmark::DoNotOptimize(Megapixel().data()); // built before the clock runs
    for (auto _ : state) {
        run();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kMegapixel);
}

const int kRegisteredBulk = [] {
    static std::vector<ULONG> shown(kMegapixel);
    static std::vector<WORD> words(kMegapixel);
    for (int mode : {0, 1, 2, 4, 5, 6, 7, 11}) {
        const std::string name = "GetConvertedTargetColors mode " + std::to_string(mode);
        benchmark::RegisterBenchmark((name + "/ours/1048576").c_str(), [mode](benchmark::State& state) {
            Bulk(state, [mode] { GetConvertedTargetColors(mode, Megapixel().data(), shown.data(), kMegapixel); });
        });
        benchmark::RegisterBenchmark((name + "/vs:per colour/1048576").c_str(), [mode](benchmark::State& state) {
            Bulk(state, [mode] {
                const std::vector<ULONG>& in = Megapixel();
                for (int i = 0; i < kMegapixel; ++i)
                    shown[size_t(i)] = GetConvertedTargetColor(mode, in[size_t(i)]);
            });
        });
    }
    // Mode 7's panel words beside libyuv's 32-bit to RGB565 conversion (which
    // truncates each channel; ours rounds to the panel's uneven levels).
    const std::string name = "GetIFileColorWords mode 7";
    benchmark::RegisterBenchmark((name + "/ours/1048576").c_str(), [](benchmark::State& state) {
        Bulk(state, [] { GetIFileColorWords(7, Megapixel().data(), words.data(), kMegapixel); });
    });
    benchmark::RegisterBenchmark((name + "/vs:libyuv ARGBToRGB565/1048576").c_str(), [](benchmark::State& state) {
        Bulk(state, [] {
            libyuv::ARGBToRGB565(reinterpret_cast<const uint8_t*>(Megapixel().data()), 4096,
                                 reinterpret_cast<uint8_t*>(words.data()), 2048, 1024, 1024);
        });
    });
    benchmark::RegisterBenchmark((name + "/vs:per colour/1048576").c_str(), [](benchmark::State& state) {
        Bulk(state, [] {
            const std::vector<ULONG>& in = Megapixel();
            for (int i = 0; i < kMegapixel; ++i)
                words[size_t(i)] = static_cast<WORD>(ZK5000_CalcColorR5G6B5(in[size_t(i)]));
        });
    });
    // The AVX2 loops alone, as processors without AVX-512 VBMI run them.
    if (qn::colour::BulkPathAvailable(qn::colour::BulkPath::Avx2)) {
        for (int mode : {4, 5}) {
            const std::string convert = "GetConvertedTargetColors mode " + std::to_string(mode) + ", AVX2 loop";
            const std::string pack = "GetIFileColorWords mode " + std::to_string(mode) + ", AVX2 loop";
            const auto in = [] { return reinterpret_cast<const uint32_t*>(Megapixel().data()); };
            benchmark::RegisterBenchmark((convert + "/ours/1048576").c_str(), [mode, in](benchmark::State& state) {
                Bulk(state, [mode, in] {
                    qn::colour::ConvertColors(qn::colour::BulkPath::Avx2, mode, in(),
                                              reinterpret_cast<uint32_t*>(shown.data()), kMegapixel);
                });
            });
            benchmark::RegisterBenchmark((convert + "/vs:per colour/1048576").c_str(), [mode](benchmark::State& state) {
                Bulk(state, [mode] {
                    for (int i = 0; i < kMegapixel; ++i)
                        shown[size_t(i)] = GetConvertedTargetColor(mode, Megapixel()[size_t(i)]);
                });
            });
            benchmark::RegisterBenchmark((pack + "/ours/1048576").c_str(), [mode, in](benchmark::State& state) {
                Bulk(state, [mode, in] {
                    qn::colour::PackWords(qn::colour::BulkPath::Avx2, mode, in(), reinterpret_cast<uint16_t*>(words.data()),
                                          kMegapixel);
                });
            });
            benchmark::RegisterBenchmark((pack + "/vs:per colour/1048576").c_str(), [mode](benchmark::State& state) {
                Bulk(state, [mode] {
                    for (int i = 0; i < kMegapixel; ++i)
                        words[size_t(i)] = static_cast<WORD>(GetIFileColor(mode, Megapixel()[size_t(i)]));
                });
            });
        }
        const std::string avx2 = name + ", AVX2 loop";
        benchmark::RegisterBenchmark((avx2 + "/ours/1048576").c_str(), [](benchmark::State& state) {
            Bulk(state, [] {
                qn::colour::PackWords(qn::colour::BulkPath::Avx2, 7, reinterpret_cast<const uint32_t*>(Megapixel().data()),
                                    reinterpret_cast<uint16_t*>(words.data()), kMegapixel);
            });
        });
        benchmark::RegisterBenchmark((avx2 + "/vs:libyuv ARGBToRGB565/1048576").c_str(), [](benchmark::State& state) {
            Bulk(state, [] {
                libyuv::ARGBToRGB565(reinterpret_cast<const uint8_t*>(Megapixel().data()), 4096,
                                     reinterpret_cast<uint8_t*>(words.data()), 2048, 1024, 1024);
            });
        });
    }
    return 0;
}();

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
