// Block helpers, stream encodings, the reference list and the interface maps:
// throughput of the typed values, of texts on streams, of both list forms, and
// what the sets' fixed 17 buckets cost as a list grows.
#include <QNBlock.h>
#include <QNInterfaceMaps.h>
#include <QNRefObjList.h>
#include <QNStream.h>
#include <afx/atlbase.h>

#include <support/TestStreams.h>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

CString Text(int i, int length)
{
    CString text;
    for (int c = 0; c < length; ++c)
        text += WCHAR('A' + (i + c) % 26);
    return text;
}

// 1000 LONG and 1000 CSTRING values of 16 characters into a save helper.
void BM_SaveHelperTypedValues(benchmark::State& state)
{
    const CString text = Text(0, 16);
    for (auto _ : state) {
        CKESTSaveHelper helper;
        for (LONG i = 0; i < 1000; ++i) {
            (void)helper.KESTSaveLONG(i);
            (void)helper.KESTSaveCSTRING(text);
        }
        benchmark::DoNotOptimize(helper.KESTGetLength());
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_SaveHelperTypedValues);

// The same values read back through an archive with the bytes-left count.
void BM_LoadHelperTypedValues(benchmark::State& state)
{
    CKESTSaveHelper helper;
    const CString text = Text(0, 16);
    for (LONG i = 0; i < 1000; ++i) {
        (void)helper.KESTSaveLONG(i);
        (void)helper.KESTSaveCSTRING(text);
    }
    std::vector<BYTE> bytes(helper.KESTGetLength());
    helper.KESTGetIntenalStorage().SeekToBegin();
    helper.KESTGetIntenalStorage().Read(bytes.data(), static_cast<UINT>(bytes.size()));
    for (auto _ : state) {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive archive(&file, CArchive::load);
        CKESTLoadHelper loader;
        loader.KESTSetArchive(&archive);
        ULONG left = static_cast<ULONG>(bytes.size());
        LONG value = 0;
        CString read;
        for (int i = 0; i < 1000; ++i) {
            (void)loader.KESTLoadLONG(value, left);
            (void)loader.KESTLoadCSTRING(read, left);
        }
        benchmark::DoNotOptimize(left);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadHelperTypedValues);

// One text of the given number of characters, saved and loaded on a stream.
void BM_StreamTextRoundTrip(benchmark::State& state)
{
    const CString text = Text(0, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        qntest::TestStream stream;
        (void)SaveBSTR(text, &stream);
        stream.Rewind();
        CString read;
        (void)LoadBSTR(read, &stream);
        benchmark::DoNotOptimize(read.GetLength());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(BM_StreamTextRoundTrip)->Arg(16)->Arg(4096)->Arg(1 << 20);

CRefObjList* MakeList(int items)
{
    auto* list = new CRefObjList;
    for (int i = 0; i < items; ++i) {
        list->AddTagID(Text(i, 12));
        list->AddObjID(0x100000000ll * i + i);
    }
    return list;
}

// Adding identifiers: the sets keep the framework's 17 buckets, so each add
// walks a chain of about n/17 entries and n adds cost O(n^2 / 17).
void BM_RefListAddObjects(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CRefObjList list;
        for (int i = 0; i < count; ++i)
            list.AddObjID(i);
        benchmark::DoNotOptimize(list.m_mapObjIDs.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_RefListAddObjects)->Arg(100)->Arg(1000)->Arg(10000)->Arg(32767);

void BM_RefListStreamRoundTrip(benchmark::State& state)
{
    CRefObjList* list = MakeList(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        qntest::TestStream stream;
        (void)list->Save(&stream);
        stream.Rewind();
        CRefObjList copy;
        (void)copy.Load(&stream);
        benchmark::DoNotOptimize(copy.m_mapTagIDs.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
    delete list;
}
BENCHMARK(BM_RefListStreamRoundTrip)->Arg(10)->Arg(100)->Arg(1000);

void BM_RefListBlockRoundTrip(benchmark::State& state)
{
    CRefObjList* list = MakeList(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CKESTSaveHelper block;
        (void)list->Save(block, 0);
        block.SeekToBegin();
        CArchive archive(&block, CArchive::load);
        CKESTLoadHelper loader;
        loader.KESTSetArchive(&archive);
        ULONG frame = 12, length = 0, four = 4, skip = 8;
        BYTE head[8];
        (void)loader.KESTLoad(head, skip, frame);
        (void)loader.KESTLoad(&length, four, frame);
        CRefObjList copy;
        (void)copy.Load(loader, length, 0);
        benchmark::DoNotOptimize(copy.m_mapTagIDs.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
    delete list;
}
BENCHMARK(BM_RefListBlockRoundTrip)->Arg(10)->Arg(100)->Arg(1000);

class Counted final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }

private:
    ULONG m_refs = 1;
};

// SetAt, Lookup and release over a map of number keys (held as text).
void BM_LongMapSetLookup(benchmark::State& state)
{
    Counted object;
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CMapLongToInterface map;
        for (LONG i = 0; i < count; ++i)
            map.SetAt(i * 7919, &object);
        for (LONG i = 0; i < count; ++i) {
            CComPtr<IUnknown> found;
            benchmark::DoNotOptimize(map.Lookup(i * 7919, &found));
        }
    }
    state.SetItemsProcessed(state.iterations() * count * 2);
}
BENCHMARK(BM_LongMapSetLookup)->Arg(100)->Arg(1000);

} // namespace
