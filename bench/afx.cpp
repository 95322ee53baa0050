// The framework stand-ins on hot paths: string copies (shared blocks), appends,
// Format, and map and list operations.
#include <afx/afxcoll.h>

#include <benchmark/benchmark.h>

namespace {

void BM_CStringCopy(benchmark::State& state)
{
    const CString source(WCHAR('x'), 1000);
    for (auto _ : state) {
        CString copy = source; // shares the block
        benchmark::DoNotOptimize(copy.GetLength());
    }
}
BENCHMARK(BM_CStringCopy);

void BM_CStringAppend(benchmark::State& state)
{
    for (auto _ : state) {
        CString text;
        for (int i = 0; i < state.range(0); ++i)
            text += WCHAR('a' + i % 26);
        benchmark::DoNotOptimize(text.GetLength());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CStringAppend)->Arg(100)->Arg(10000);

void BM_CStringFormat(benchmark::State& state)
{
    CString text;
    for (auto _ : state) {
        text.Format(_T("%s %5d %08.3f %X"), _T("name"), 12345, 3.14159, 0xBEEFu);
        benchmark::DoNotOptimize(text.GetLength());
    }
}
BENCHMARK(BM_CStringFormat);

void BM_MapStringToPtrLookup(benchmark::State& state)
{
    CMapStringToPtr map;
    map.InitHashTable(1021);
    CStringArray keys;
    for (int i = 0; i < 1000; ++i) {
        CString key;
        key.Format(_T("Tag%d"), i);
        keys.Add(key);
        map.SetAt(key, &keys);
    }
    INT_PTR i = 0;
    for (auto _ : state) {
        void* value = nullptr;
        benchmark::DoNotOptimize(map.Lookup(keys[i], value));
        i = (i + 1) % keys.GetSize();
    }
}
BENCHMARK(BM_MapStringToPtrLookup);

void BM_ListAddRemove(benchmark::State& state)
{
    CList<int, int> list;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i)
            list.AddTail(i);
        while (!list.IsEmpty())
            benchmark::DoNotOptimize(list.RemoveHead());
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_ListAddRemove);

} // namespace
