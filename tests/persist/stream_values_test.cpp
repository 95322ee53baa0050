// The value and text encodings on a stream: exact bytes, hostile byte counts,
// and every loader and saver against faults at every offset.
#include <QNStream.h>
#include <support/FaultSweep.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using qntest::Bytes;
using qntest::TestStream;

using Save = std::function<HRESULT(IStream*)>;

TEST(StreamValues, SavedBytes)
{
    struct Case {
        const char* name;
        Save save;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {"Bool true", [](IStream* s) { return SaveBool(VARIANT_TRUE, s); }, {0xFF, 0xFF}},
        {"Bool as given", [](IStream* s) { return SaveBool(SHORT(0x1234), s); }, {0x34, 0x12}},
        {"LONG -2", [](IStream* s) { return SaveLONG(LONG(-2), s); }, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"DOUBLE -0.5", [](IStream* s) { return SaveDOUBLE(-0.5, s); }, Bytes().U64(0xBFE0000000000000ull)},
        {"BSTR empty", [](IStream* s) { return SaveBSTR(CString(), s); }, {0x02, 0, 0, 0, 0, 0}},
        {"BSTR non-ASCII", [](IStream* s) { return SaveBSTR(CString(_T("\u00E4\u20AC")), s); },
         {0x06, 0, 0, 0, 0xE4, 0x00, 0xAC, 0x20, 0, 0}},
        {"BSTR embedded zero kept", [](IStream* s) { return SaveBSTR(CString(_T("A\0B"), 3), s); },
         {0x08, 0, 0, 0, 0x41, 0, 0, 0, 0x42, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        TestStream stream;
        EXPECT_EQ(c.save(&stream), S_OK) << c.name;
        EXPECT_EQ(stream.Data(), c.bytes) << c.name;
    }
}

// What LoadBSTR makes of the bytes after a valid or hostile byte count.
TEST(StreamValues, LoadBSTRByteCounts)
{
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        HRESULT result;
        const WCHAR* text; // the text afterwards
        size_t consumed;
    };
    const Case cases[] = {
        {"control: AB", Bytes().U32(6).Utf16(_T("AB")).U16(0), S_OK, _T("AB"), 10},
        {"N = 0 is no text", Bytes().U32(0), S_OK, _T(""), 4},
        {"text ends at a zero character", Bytes().U32(8).Utf16(_T("A")).U16(0).Utf16(_T("B")).U16(0), S_OK, _T("A"),
         12},
        {"no terminator: all characters count", Bytes().U32(4).Utf16(_T("XY")), S_OK, _T("XY"), 8},
        {"odd N drops its last byte", Bytes().U32(5).Utf16(_T("AB")).U8(0x43), S_OK, _T("AB"), 9},
        {"N = 3", Bytes().U32(3).Utf16(_T("Q")).U8(0), S_OK, _T("Q"), 7},
        {"N = 1 has no room for the terminator", Bytes().U32(1).U8(0x41), E_FAIL, _T("before"), 4},
        {"N beyond the data", Bytes().U32(100).Utf16(_T("AB")).U16(0), E_FAIL, _T("before"), 10},
        {"top bit set", Bytes().U32(0x80000002).Utf16(_T("AB")), E_FAIL, _T("before"), 4},
        {"all bits set", Bytes().U32(0xFFFFFFFF).Utf16(_T("AB")), E_FAIL, _T("before"), 4},
    };
    for (const Case& c : cases) {
        TestStream stream(c.bytes);
        CString text(_T("before"));
        EXPECT_EQ(LoadBSTR(text, &stream), c.result) << c.name;
        EXPECT_TRUE(text == c.text) << c.name;
        EXPECT_EQ(stream.Position(), c.consumed) << c.name;
    }
}

// A load into a target that starts as `before` and must still be it after a
// failure.
template <class T>
qntest::FaultedLoad Into(HRESULT (*load)(T&, IStream*), T before)
{
    return [load, before](const std::vector<unsigned char>& bytes, const qntest::Injection& at) {
        T value = before;
        const HRESULT hr = qntest::OnStream(bytes, at, [&](IStream* s) { return load(value, s); });
        EXPECT_EQ(hr == S_OK, !(value == before));
        return hr;
    };
}

TEST(StreamValues, LoadersAgainstFaults)
{
    const qntest::LoadRow rows[] = {
        {"LoadBool", Bytes().U16(0xFFFF), Into<SHORT>(&LoadBool, 7), qntest::StreamFaults(E_FAIL)},
        {"LoadLONG", Bytes().U32(0x12345678), Into<LONG>(&LoadLONG, 7), qntest::StreamFaults(E_FAIL)},
        {"LoadDOUBLE", Bytes().U64(0x400921FB54442D18ull), Into<double>(&LoadDOUBLE, 7),
         qntest::StreamFaults(E_FAIL)},
        {"LoadBSTR", Bytes().U32(8).Utf16(_T("Tag")).U16(0), Into<CString>(&LoadBSTR, CString(_T("before"))),
         qntest::StreamFaults(E_FAIL)},
    };
    for (const qntest::LoadRow& row : rows)
        qntest::SweepReadFaults(row);
}

// The fixed-size values compare the count written; SaveBSTR only the result.
TEST(StreamValues, SaversAgainstWriteFaults)
{
    qntest::SweepWriteFaults("SaveBool", [](IStream* s) { return SaveBool(SHORT(-1), s); }, 2, E_FAIL);
    qntest::SweepWriteFaults("SaveLONG", [](IStream* s) { return SaveLONG(LONG(5), s); }, 4, E_FAIL);
    qntest::SweepWriteFaults("SaveDOUBLE", [](IStream* s) { return SaveDOUBLE(2.5, s); }, 8, E_FAIL);
    qntest::SweepWriteFaults("SaveBSTR", [](IStream* s) { return SaveBSTR(CString(_T("ABC")), s); }, 12, S_OK);
}

TEST(StreamValues, NullStreamFails)
{
    SHORT b = 0;
    LONG l = 0;
    double d = 0;
    CString s;
    for (HRESULT hr : {SaveBool(b, nullptr), SaveLONG(l, nullptr), SaveDOUBLE(d, nullptr), SaveBSTR(s, nullptr),
                       LoadBool(b, nullptr), LoadLONG(l, nullptr), LoadDOUBLE(d, nullptr), LoadBSTR(s, nullptr)})
        EXPECT_EQ(hr, E_FAIL);
}

} // namespace
