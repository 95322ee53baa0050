// Class identifier translation: the one-time fill on the first translated
// lookup (1150 pairs converted from text into two maps of 1511 buckets), then
// lookups that should cost a hash and a short chain walk. The chain lengths
// the identifier hash gives the table are reported as counters.
#include <QNUtility.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

struct Pair {
    const WCHAR* stored;
    const WCHAR* current;
};
const Pair kRows[] = {
#include "../src/persist/ClassTableData.inc"
};

GUID FromText(const WCHAR* text)
{
    GUID id = GUID_NULL;
    ::CLSIDFromString(text, &id);
    return id;
}

// Must run first: the fill happens once per process.
void BM_FirstTranslatedLookup(benchmark::State& state)
{
    const GUID stored = FromText(kRows[0].stored);
    CQNUtility::CLSIDEnabled(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(CQNUtility::CLSIDLookup(stored));
    CQNUtility::CLSIDEnabled(0);

    // Chains of the forward map: keys hashed as the map hashes them.
    std::vector<int> chains(1511);
    for (const Pair& row : kRows)
        ++chains[HashKey<const GUID&>(FromText(row.stored)) % 1511];
    state.counters["max_chain"] = *std::max_element(chains.begin(), chains.end());
    state.counters["used_buckets"] = double(std::count_if(chains.begin(), chains.end(), [](int n) { return n > 0; }));
}
BENCHMARK(BM_FirstTranslatedLookup)->Iterations(1)->Unit(benchmark::kMicrosecond);

void BM_LookupGuid(benchmark::State& state)
{
    std::vector<GUID> keys;
    for (const Pair& row : kRows)
        keys.push_back(FromText(state.range(0) ? row.stored : row.current));
    CQNUtility::CLSIDEnabled(1);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CQNUtility::CLSIDLookup(keys[i]));
        i = (i + 1) % keys.size();
    }
    CQNUtility::CLSIDEnabled(0);
}
// 1: every lookup finds its key; 0: none does (values are no keys).
BENCHMARK(BM_LookupGuid)->Arg(1)->Arg(0);

void BM_LookupText(benchmark::State& state)
{
    std::vector<CString> texts;
    for (const Pair& row : kRows)
        texts.emplace_back(row.stored);
    CQNUtility::CLSIDEnabled(1);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CQNUtility::CLSIDLookup(texts[i]));
        i = (i + 1) % texts.size();
    }
    CQNUtility::CLSIDEnabled(0);
}
BENCHMARK(BM_LookupText);

} // namespace
