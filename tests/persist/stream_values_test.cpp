// The value and text encodings on a stream: each saver's exact bytes and its
// write faults, each loader's read faults, hostile byte counts, and memory
// running out.
#include <QNStream.h>
#include <support/AllocationFaults.h>
#include <support/FaultSweep.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using qntest::Bytes;
using qntest::TestStream;

// The fixed-size values compare the count written; SaveBSTR only the result.
TEST(StreamValues, Savers)
{
    const qntest::WriteRow rows[] = {
        {"Bool as given", [](IStream* s) { return SaveBool(SHORT(0x1234), s); }, {0x34, 0x12}, E_FAIL, E_FAIL},
        {"LONG -2", [](IStream* s) { return SaveLONG(LONG(-2), s); }, {0xFE, 0xFF, 0xFF, 0xFF}, E_FAIL, E_FAIL},
        {"DOUBLE -0.5", [](IStream* s) { return SaveDOUBLE(-0.5, s); }, Bytes().U64(0xBFE0000000000000ull), E_FAIL,
         E_FAIL},
        {"BSTR empty", [](IStream* s) { return SaveBSTR(CString(), s); }, {0x02, 0, 0, 0, 0, 0}, E_FAIL, S_OK},
        {"BSTR non-ASCII", [](IStream* s) { return SaveBSTR(CString(_T("\u00E4\u20AC")), s); },
         {0x06, 0, 0, 0, 0xE4, 0x00, 0xAC, 0x20, 0, 0}, E_FAIL, S_OK},
        {"BSTR embedded zero kept", [](IStream* s) { return SaveBSTR(CString(_T("A\0B"), 3), s); },
         {0x08, 0, 0, 0, 0x41, 0, 0, 0, 0x42, 0, 0, 0}, E_FAIL, S_OK},
    };
    for (const auto& row : rows)
        qntest::SweepWriteFaults(row);
}

// A load into a target that starts as `before`: on S_OK it holds `expected`,
// on a failure still `before`.
template <class T> qntest::FaultedLoad Into(HRESULT (*load)(T&, IStream*), T before, T expected)
{
    return [=](const std::vector<unsigned char>& bytes, const qntest::Injection& at) {
        T value = before;
        const HRESULT hr = qntest::OnStream(bytes, at, [&](IStream* s) { return load(value, s); });
        EXPECT_TRUE(value == (hr == S_OK ? expected : before));
        return hr;
    };
}

TEST(StreamValues, LoadersAgainstFaults)
{
    const qntest::LoadRow rows[] = {
        {"LoadBool", Bytes().U16(0xFFFF), Into<SHORT>(&LoadBool, 7, -1), qntest::StreamFaults(E_FAIL)},
        {"LoadLONG", Bytes().U32(0x12345678), Into<LONG>(&LoadLONG, 7, 0x12345678), qntest::StreamFaults(E_FAIL)},
        {"LoadDOUBLE", Bytes().U64(0xC004000000000000ull), Into<double>(&LoadDOUBLE, 7, -2.5),
         qntest::StreamFaults(E_FAIL)},
        {"LoadBSTR", Bytes().U32(8).Utf16(_T("Tag")).U16(0),
         Into<CString>(&LoadBSTR, CString(_T("before")), CString(_T("Tag"))), qntest::StreamFaults(E_FAIL)},
    };
    for (const auto& row : rows)
        qntest::SweepReadFaults(row);
    SHORT b = 0;
    LONG l = 0;
    double d = 0;
    CString s;
    for (HRESULT hr : {SaveBool(b, nullptr), SaveLONG(l, nullptr), SaveDOUBLE(d, nullptr), SaveBSTR(s, nullptr),
                       LoadBool(b, nullptr), LoadLONG(l, nullptr), LoadDOUBLE(d, nullptr), LoadBSTR(s, nullptr)})
        EXPECT_EQ(hr, E_FAIL) << "no stream";
}

// What LoadBSTR makes of the bytes after a valid or hostile byte count.
TEST(StreamValues, LoadBSTRByteCounts)
{
    CString longText;
    for (int i = 0; i < 700; ++i) // 1402 bytes: chunks of 256, 256, 512 and the rest
        longText += WCHAR(_T('a') + i % 26);
    const struct {
        const char* name;
        std::vector<unsigned char> bytes;
        HRESULT result;
        CString text; // afterwards
        size_t consumed;
    } cases[] = {
        {"N = 0 is no text", Bytes().U32(0), S_OK, CString(), 4},
        {"text ends at a zero character", Bytes().U32(8).Utf16(_T("A")).U16(0).Utf16(_T("B")).U16(0), S_OK,
         CString(_T("A")), 12},
        {"no terminator: all characters count", Bytes().U32(4).Utf16(_T("XY")), S_OK, CString(_T("XY")), 8},
        {"odd N drops its last byte", Bytes().U32(5).Utf16(_T("AB")).U8(0x43), S_OK, CString(_T("AB")), 9},
        {"N = 2", Bytes().U32(2).U16(0), S_OK, CString(), 6},
        {"across chunks", Bytes().U32(1402).Utf16(longText).U16(0), S_OK, longText, 1406},
        {"N = 1 has no room for the terminator", Bytes().U32(1).U8(0x41), E_FAIL, CString(_T("before")), 4},
        {"N beyond the data", Bytes().U32(100).Utf16(_T("AB")).U16(0), E_FAIL, CString(_T("before")), 10},
        {"top bit set", Bytes().U32(0x80000000).Utf16(_T("AB")), E_FAIL, CString(_T("before")), 4},
        {"largest N without the top bit", Bytes().U32(0x7FFFFFFF).Utf16(_T("AB")), E_FAIL, CString(_T("before")), 8},
    };
    for (const auto& c : cases) {
        TestStream stream(c.bytes);
        CString text(_T("before"));
        EXPECT_EQ(LoadBSTR(text, &stream), c.result) << c.name;
        EXPECT_TRUE(text == c.text) << c.name;
        EXPECT_EQ(stream.Position(), c.consumed) << c.name;
    }
}

#ifdef QN_NATIVE
// Memory running out: LoadBSTR's buffer fails with E_FAIL, the text it makes
// raises the framework's memory exception; SaveBSTR writes a text it cannot
// copy as N = 0.
TEST(StreamValues, MemoryRunsOut)
{
    const auto load = [](const qntest::Armed& armed) {
        TestStream stream(Bytes().U32(6).Utf16(_T("AB")).U16(0));
        CString text(_T("kept"));
        const HRESULT hr = armed([&] { return LoadBSTR(text, &stream); });
        EXPECT_TRUE(text == (hr == S_OK ? _T("AB") : _T("kept")));
        return hr;
    };
    const auto save = [](const qntest::Armed& armed) {
        const CString text(_T("AB"));
        TestStream stream(std::vector<unsigned char>(16)); // room enough: its writes allocate nothing
        const HRESULT hr = armed([&] { return SaveBSTR(text, &stream); });
        EXPECT_EQ(stream.Position(), stream.Data()[0] == 0 ? 4u : 10u);
        return hr;
    };
    qntest::SweepAllocationFaults({"LoadBSTR", load, {E_FAIL, qntest::kRaisedMemory}});
    qntest::SweepAllocationFaults({"SaveBSTR", save, {S_OK}});
}
#endif

} // namespace
