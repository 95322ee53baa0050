// The value and text encodings on a stream: exact bytes, round trips, and
// every loader against a stream that ends, short-reads or fails at every byte
// offset of a valid encoding.
#include <QNStream.h>
#include <support/TestStreams.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using qntest::Bytes;
using qntest::StreamFault;
using qntest::TestStream;

std::vector<unsigned char> Saved(const std::function<HRESULT(IStream*)>& save)
{
    TestStream stream;
    EXPECT_EQ(save(&stream), S_OK);
    EXPECT_EQ(stream.References(), 0);
    return stream.Data();
}

TEST(StreamValues, SavedBytes)
{
    struct Case {
        const char* name;
        std::function<HRESULT(IStream*)> save;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {"Bool true", [](IStream* s) { return SaveBool(VARIANT_TRUE, s); }, {0xFF, 0xFF}},
        {"Bool false", [](IStream* s) { return SaveBool(VARIANT_FALSE, s); }, {0x00, 0x00}},
        {"Bool as given", [](IStream* s) { return SaveBool(SHORT(0x1234), s); }, {0x34, 0x12}},
        {"LONG 2600", [](IStream* s) { return SaveLONG(LONG(2600), s); }, {0x28, 0x0A, 0x00, 0x00}},
        {"LONG -2", [](IStream* s) { return SaveLONG(LONG(-2), s); }, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"DOUBLE 1.0", [](IStream* s) { return SaveDOUBLE(1.0, s); }, Bytes().U64(0x3FF0000000000000ull)},
        {"DOUBLE -0.5", [](IStream* s) { return SaveDOUBLE(-0.5, s); }, Bytes().U64(0xBFE0000000000000ull)},
        {"BSTR empty", [](IStream* s) { return SaveBSTR(CString(), s); }, {0x02, 0, 0, 0, 0, 0}},
        {"BSTR AB", [](IStream* s) { return SaveBSTR(CString(_T("AB")), s); },
         {0x06, 0, 0, 0, 0x41, 0, 0x42, 0, 0, 0}},
        {"BSTR non-ASCII", [](IStream* s) { return SaveBSTR(CString(_T("\u00E4\u20AC")), s); },
         {0x06, 0, 0, 0, 0xE4, 0x00, 0xAC, 0x20, 0, 0}},
        {"BSTR embedded zero kept", [](IStream* s) { return SaveBSTR(CString(_T("A\0B"), 3), s); },
         {0x08, 0, 0, 0, 0x41, 0, 0, 0, 0x42, 0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Saved(c.save), c.bytes) << c.name;
}

TEST(StreamValues, RoundTrips)
{
    TestStream stream;
    const SHORT flags[] = {VARIANT_TRUE, VARIANT_FALSE, SHRT_MIN, SHRT_MAX};
    const LONG longs[] = {0, -1, LONG(0x80000000), 0x7FFFFFFF, 2600};
    const double doubles[] = {0.0, -0.0, 3.141592653589793, std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::denorm_min()};
    CString longText;
    for (int i = 0; i < 3000; ++i)
        longText += WCHAR(0x20 + i % 0x3000);
    const CString texts[] = {CString(), CString(_T("x")), CString(_T("Tag.Level 1")), longText};

    for (SHORT v : flags)
        ASSERT_EQ(SaveBool(v, &stream), S_OK);
    for (LONG v : longs)
        ASSERT_EQ(SaveLONG(v, &stream), S_OK);
    for (double v : doubles)
        ASSERT_EQ(SaveDOUBLE(v, &stream), S_OK);
    for (const CString& v : texts)
        ASSERT_EQ(SaveBSTR(v, &stream), S_OK);

    stream.Rewind();
    for (SHORT v : flags) {
        SHORT got = 0;
        ASSERT_EQ(LoadBool(got, &stream), S_OK);
        EXPECT_EQ(got, v);
    }
    for (LONG v : longs) {
        LONG got = 0;
        ASSERT_EQ(LoadLONG(got, &stream), S_OK);
        EXPECT_EQ(got, v);
    }
    for (double v : doubles) {
        double got = 0;
        ASSERT_EQ(LoadDOUBLE(got, &stream), S_OK);
        EXPECT_EQ(std::memcmp(&got, &v, sizeof v), 0) << v;
    }
    for (const CString& v : texts) {
        CString got(_T("previous"));
        ASSERT_EQ(LoadBSTR(got, &stream), S_OK);
        EXPECT_TRUE(got == v);
    }
    EXPECT_EQ(stream.Position(), stream.Data().size());
    EXPECT_EQ(stream.References(), 0);
}

// What LoadBSTR makes of the bytes after a valid or hostile byte count.
TEST(StreamValues, LoadBSTRByteCounts)
{
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        HRESULT result;
        const WCHAR* text;  // expected text on success
        size_t consumed;    // bytes the load takes from the stream
    };
    const Case cases[] = {
        {"control: AB", Bytes().U32(6).Utf16(_T("AB")).U16(0), S_OK, _T("AB"), 10},
        {"N = 0 is no text", Bytes().U32(0), S_OK, _T(""), 4},
        {"N = 2 is the empty text", Bytes().U32(2).U16(0), S_OK, _T(""), 6},
        {"text ends at a zero character", Bytes().U32(8).Utf16(_T("A")).U16(0).Utf16(_T("B")).U16(0), S_OK,
         _T("A"), 12},
        {"no terminator: all characters count", Bytes().U32(4).Utf16(_T("XY")), S_OK, _T("XY"), 8},
        {"odd N drops its last byte", Bytes().U32(5).Utf16(_T("AB")).U8(0x43), S_OK, _T("AB"), 9},
        {"N = 3", Bytes().U32(3).Utf16(_T("Q")).U8(0), S_OK, _T("Q"), 7},
        {"N = 1 has no room for the terminator", Bytes().U32(1).U8(0x41), E_FAIL, nullptr, 4},
        {"N beyond the data", Bytes().U32(100).Utf16(_T("AB")).U16(0), E_FAIL, nullptr, 10},
        {"huge N on a short stream", Bytes().U32(0x7FFFFFFF).Utf16(_T("AB")), E_FAIL, nullptr, 8},
        {"top bit set", Bytes().U32(0x80000002).Utf16(_T("AB")), E_FAIL, nullptr, 4},
        {"all bits set", Bytes().U32(0xFFFFFFFF).Utf16(_T("AB")), E_FAIL, nullptr, 4},
        {"count cut short", Bytes({0x06, 0x00}), E_FAIL, nullptr, 2},
    };
    for (const Case& c : cases) {
        TestStream stream(c.bytes);
        CString text(_T("before"));
        EXPECT_EQ(LoadBSTR(text, &stream), c.result) << c.name;
        if (c.result == S_OK)
            EXPECT_TRUE(text == c.text) << c.name;
        else
            EXPECT_TRUE(text == _T("before")) << c.name << ": a failed load keeps the text";
        EXPECT_EQ(stream.Position(), c.consumed) << c.name;
        EXPECT_EQ(stream.References(), 0) << c.name;
    }
}

// Each loader over its valid encoding; any fault inside the encoding must give
// E_FAIL, no read beyond the encoding, and the target unchanged.
struct Loader {
    const char* name;
    std::vector<unsigned char> encoding;
    // Loads into a target that starts as its "before" value; true if it still is.
    std::function<HRESULT(IStream*, bool& unchanged)> load;
};

// A load into a target that starts as `before`.
template <class T>
std::function<HRESULT(IStream*, bool&)> Into(HRESULT (*load)(T&, IStream*), const T& before)
{
    return [load, before](IStream* s, bool& unchanged) {
        T v = before;
        const HRESULT hr = load(v, s);
        unchanged = v == before;
        return hr;
    };
}

std::vector<Loader> Loaders()
{
    return {
        {"LoadBool", Bytes().U16(0xFFFF), Into<SHORT>(&LoadBool, 7)},
        {"LoadLONG", Bytes().U32(0x12345678), Into<LONG>(&LoadLONG, 7)},
        {"LoadDOUBLE", Bytes().U64(0x400921FB54442D18ull), Into<double>(&LoadDOUBLE, 7)},
        {"LoadBSTR", Bytes().U32(8).Utf16(_T("Tag")).U16(0), Into<CString>(&LoadBSTR, CString(_T("before")))},
    };
}

TEST(StreamValues, LoadersAgainstFaultsAtEveryOffset)
{
    for (const Loader& loader : Loaders()) {
        const size_t size = loader.encoding.size();
        {
            TestStream control(loader.encoding);
            bool unchanged = true;
            ASSERT_EQ(loader.load(&control, unchanged), S_OK) << loader.name << ": control";
            EXPECT_FALSE(unchanged) << loader.name;
            EXPECT_EQ(control.Position(), size) << loader.name;
        }
        for (StreamFault fault : qntest::kReadFaults) {
            for (size_t offset = 0; offset < size; ++offset) {
                TestStream stream(loader.encoding);
                stream.InjectFault(fault, offset);
                bool unchanged = false;
                EXPECT_EQ(loader.load(&stream, unchanged), E_FAIL)
                    << loader.name << ", " << qntest::FaultName(fault) << " at " << offset;
                EXPECT_TRUE(unchanged) << loader.name << ", " << qntest::FaultName(fault) << " at " << offset;
                EXPECT_LE(stream.FurthestReadRequest(), size) << loader.name << " asked for more than it needs";
                EXPECT_EQ(stream.References(), 0) << loader.name;
            }
        }
    }
}

// A write that fails or comes short gives E_FAIL for the fixed-size values.
// SaveBSTR compares no counts: only a failing write is an error.
TEST(StreamValues, SaversAgainstWriteFaults)
{
    struct Case {
        const char* name;
        std::function<HRESULT(IStream*)> save;
        size_t size;
        bool comparesCounts;
    };
    const Case cases[] = {
        {"SaveBool", [](IStream* s) { return SaveBool(SHORT(-1), s); }, 2, true},
        {"SaveLONG", [](IStream* s) { return SaveLONG(LONG(5), s); }, 4, true},
        {"SaveDOUBLE", [](IStream* s) { return SaveDOUBLE(2.5, s); }, 8, true},
        {"SaveBSTR", [](IStream* s) { return SaveBSTR(CString(_T("ABC")), s); }, 12, false},
    };
    for (const Case& c : cases) {
        for (size_t offset = 0; offset < c.size; ++offset) {
            TestStream failing;
            failing.InjectFault(StreamFault::WriteFail, offset);
            EXPECT_EQ(c.save(&failing), E_FAIL) << c.name << " write failure at " << offset;

            TestStream shortWrite;
            shortWrite.InjectFault(StreamFault::WriteShort, offset);
            EXPECT_EQ(c.save(&shortWrite), c.comparesCounts ? E_FAIL : S_OK) << c.name << " short write at " << offset;
        }
    }
}

TEST(StreamValues, NullStreamFails)
{
    SHORT b = 0;
    LONG l = 0;
    double d = 0;
    CString s;
    EXPECT_EQ(SaveBool(b, nullptr), E_FAIL);
    EXPECT_EQ(SaveLONG(l, nullptr), E_FAIL);
    EXPECT_EQ(SaveDOUBLE(d, nullptr), E_FAIL);
    EXPECT_EQ(SaveBSTR(s, nullptr), E_FAIL);
    EXPECT_EQ(LoadBool(b, nullptr), E_FAIL);
    EXPECT_EQ(LoadLONG(l, nullptr), E_FAIL);
    EXPECT_EQ(LoadDOUBLE(d, nullptr), E_FAIL);
    EXPECT_EQ(LoadBSTR(s, nullptr), E_FAIL);
}

} // namespace
