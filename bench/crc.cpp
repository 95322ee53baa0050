// CRC-64/WE over buffers from 16 bytes to 1 MiB: ours (GenerateCRC, by the
// fastest path this processor runs) beside ISA-L's crc64_ecma_norm, the same
// CRC with seed 0, and beside the byte-at-a-time table loop it replaced.
//
// Names follow the pairing that scripts/bench tabulates:
//   <operation>/ours/<size>  and  <operation>/vs:<comparator>/<size>.
#include <QNUtilityClass.h>

#include "frame/Crc64.h"

#include <benchmark/benchmark.h>
#include <isa-l/crc64.h>

#include <cstdint>
#include <vector>

namespace {

const unsigned char* Data(size_t size)
{
    static const std::vector<unsigned char> data = [] {
        std::vector<unsigned char> d(size_t(1) << 20);
        uint32_t x = 0x2545F491;
        for (unsigned char& b : d) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            b = static_cast<unsigned char>(x);
        }
        return d;
    }();
    (void)size;
    return data.data();
}

template <typename Crc> void Run(benchmark::State& state, Crc crc)
{
    const size_t size = static_cast<size_t>(state.range(0));
    const unsigned char* data = Data(size);
    for (auto _ : state) {
        benchmark::DoNotOptimize(data);
        benchmark::DoNotOptimize(crc(data, size));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

void Ours(benchmark::State& state)
{
    Run(state, [](const unsigned char* d, size_t n) { return CQNUtility::GenerateCRC(d, static_cast<int>(n)); });
}
void IsaL(benchmark::State& state)
{
    Run(state, [](const unsigned char* d, size_t n) { return crc64_ecma_norm(0, d, n); });
}
void TableLoop(benchmark::State& state)
{
    Run(state, [](const unsigned char* d, size_t n) { return ~qn::crc::UpdateTable(~0ull, d, n); });
}

// Each size's pair registered side by side, so that the two run one after the
// other and see the same load on a shared machine.
const int kRegistered = [] {
    for (int64_t size : {16, 32, 64, 128, 256, 4096, 64 << 10, 1 << 20}) {
        benchmark::RegisterBenchmark("crc64/ours", Ours)->Arg(size);
        benchmark::RegisterBenchmark("crc64/vs:isa-l", IsaL)->Arg(size);
        if (size == 64 || size == 1 << 20)
            benchmark::RegisterBenchmark("crc64/vs:table loop", TableLoop)->Arg(size);
    }
    return 0;
}();

} // namespace
