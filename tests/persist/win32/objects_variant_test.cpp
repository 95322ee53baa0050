// KESTReadFromStream: each kind of variant part, the conversion of texts to the
// stated type, objects that do and do not load, hostile text counts, and every
// valid encoding cut, short-read or failed at each of its byte offsets.
#include "objects_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace objtest;
using qntest::Bytes;
using qntest::StreamFault;
using qntest::TestStream;

// The value part of a variant (everything after the type and reserved words).
std::vector<unsigned char> ValueBytes(const VARIANT& var, size_t size)
{
    const auto* value = reinterpret_cast<const unsigned char*>(&var.llVal);
    return std::vector<unsigned char>(value, value + size);
}

std::vector<unsigned char> TextVariant(VARTYPE type, const wchar_t* text)
{
    return Bytes().U16(type).U32(std::wcslen(text) * 2 + 2).Utf16(text).U16(0).Get();
}

TEST(VariantRead, FixedSizeValues)
{
    struct Case {
        VARTYPE type;
        std::vector<unsigned char> value;
    };
    const Case cases[] = {
        {VT_I1, {0x80}},
        {VT_UI1, {0xFF}},
        {VT_I2, {0x34, 0x12}},
        {VT_BOOL, {0xFF, 0xFF}},
        {VT_UI2, {0xFE, 0xFF}},
        {VT_I4, {0x01, 0x02, 0x03, 0x84}},
        {VT_R4, Bytes().U32(0x3FC00000)},
        {VT_ERROR, Bytes().U32(0x80004005)},
        {VT_UI4, {0xFF, 0xFF, 0xFF, 0xFF}},
        {VT_INT, {0x2A, 0, 0, 0}},
        {VT_UINT, {0, 0, 0, 0x80}},
        {VT_R8, Bytes().U64(0x400921FB54442D18ull)},
        {VT_CY, Bytes().U64(0x0000000000003039ull)},
        {VT_DATE, Bytes().U64(0x40E5F4C000000000ull)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type);
        // Something to be cleared first, and bytes after the value to be left.
        CComVariant var(L"previous");
        TestStream stream(Bytes().U16(c.type).Raw(c.value).U32(0xDDDDDDDD));
        ASSERT_EQ(CQNUtility::KESTReadFromStream(var, &stream), S_OK);
        EXPECT_EQ(var.vt, c.type);
        EXPECT_EQ(ValueBytes(var, c.value.size()), c.value);
        EXPECT_EQ(stream.Position(), 2 + c.value.size());
        EXPECT_EQ(stream.FurthestReadRequest(), 2 + c.value.size());
    }
}

TEST(VariantRead, TextsConvertedToTheirType)
{
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        HRESULT expected;
        VARTYPE type;
        LONGLONG integer;     // for VT_I8 / VT_UI8 / VT_I4
        const wchar_t* text;  // for VT_BSTR; null: a null platform string
    };
    const Case cases[] = {
        {"VT_I8 from 5", TextVariant(VT_I8, L"5"), S_OK, VT_I8, 5, nullptr},
        {"VT_I8 negative", TextVariant(VT_I8, L"-9000000000"), S_OK, VT_I8, -9000000000LL, nullptr},
        {"VT_UI8", TextVariant(VT_UI8, L"4294967296"), S_OK, VT_UI8, 4294967296LL, nullptr},
        {"VT_BSTR", TextVariant(VT_BSTR, L"AB"), S_OK, VT_BSTR, 0, L"AB"},
        {"VT_BSTR empty", TextVariant(VT_BSTR, L""), S_OK, VT_BSTR, 0, L""},
        {"VT_BSTR without text", Bytes().U16(VT_BSTR).U32(0), S_OK, VT_BSTR, 0, nullptr},
        {"VT_EMPTY", TextVariant(VT_EMPTY, L"ignored"), S_OK, VT_EMPTY, 0, nullptr},
        {"VT_NULL", TextVariant(VT_NULL, L""), S_OK, VT_NULL, 0, nullptr},
        {"VT_I8 not a number", TextVariant(VT_I8, L"x"), DISP_E_TYPEMISMATCH, VT_BSTR, 0, L"x"},
        {"VT_I8 out of range", TextVariant(VT_I8, L"99999999999999999999"), DISP_E_OVERFLOW, VT_BSTR, 0,
         L"99999999999999999999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CComVariant var(42);
        TestStream stream(c.bytes);
        EXPECT_EQ(CQNUtility::KESTReadFromStream(var, &stream), c.expected);
        EXPECT_EQ(var.vt, c.type);
        EXPECT_EQ(stream.Position(), c.bytes.size());
        if (c.type == VT_I8 || c.type == VT_UI8)
            EXPECT_EQ(var.llVal, c.integer);
        if (c.type == VT_BSTR && !c.text)
            EXPECT_EQ(var.bstrVal, nullptr);
        if (c.type == VT_BSTR && c.text)
            EXPECT_STREQ(var.bstrVal, c.text);
    }
}

TEST(VariantRead, OddTextCountKeepsItsBytes)
{
    CComVariant var;
    TestStream stream(Bytes().U16(VT_BSTR).U32(5).U8('A').U8(0).U8('B').U16(0));
    ASSERT_EQ(CQNUtility::KESTReadFromStream(var, &stream), S_OK);
    EXPECT_EQ(::SysStringByteLen(var.bstrVal), 3u);
}

TEST(VariantRead, Objects)
{
    struct Case {
        const char* name;
        VARTYPE type;
        std::vector<unsigned char> object;
        const CLSID* created; // null: the variant holds a null object
    };
    const Case cases[] = {
        {"VT_UNKNOWN of a stored class", VT_UNKNOWN, WidgetBytes(CLSID_FixtureWidgetStored, L"Fan", 2),
         &CLSID_FixtureWidget},
        {"VT_DISPATCH", VT_DISPATCH, WidgetBytes(CLSID_FixtureWidget, L"Fan", 2), &CLSID_FixtureWidget},
        {"VT_UNKNOWN, class not registered", VT_UNKNOWN, GuidBytes(CLSID_FixtureUnregistered), nullptr},
        {"VT_DISPATCH, object without IDispatch", VT_DISPATCH, ExtSaverBytes(1, 2), nullptr},
        {"VT_UNKNOWN, object without IPersistStream", VT_UNKNOWN, GuidBytes(CLSID_FixtureNoPersist), nullptr},
        {"VT_UNKNOWN, no object", VT_UNKNOWN, GuidBytes(CLSID_NULL), nullptr},
        {"VT_UNKNOWN at the end of the stream", VT_UNKNOWN, {}, nullptr},
        {"VT_DISPATCH, object data cut short", VT_DISPATCH, Bytes().Raw(GuidBytes(CLSID_FixtureWidget)).U32(40),
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslationOn on;
        CComVariant var(L"previous");
        TestStream stream(Bytes().U16(c.type).Raw(c.object));
        EXPECT_EQ(CQNUtility::KESTReadFromStream(var, &stream), S_OK);
        EXPECT_EQ(var.vt, c.type);
        if (c.created) {
            ASSERT_NE(var.punkVal, nullptr);
            EXPECT_EQ(Probe(var.punkVal).clsid, *c.created);
            EXPECT_EQ(Probe(var.punkVal).name, L"Fan");
        } else {
            EXPECT_EQ(var.punkVal, nullptr);
        }
        EXPECT_EQ(var.Clear(), S_OK);
        EXPECT_EQ(LiveObjects(), 0);
        EXPECT_EQ(stream.References(), 0);
    }
}

// Counts no platform string can hold fail before anything is allocated; a
// huge count on a short stream fails once the stream runs dry, having held
// no more memory than the bytes that came.
TEST(VariantRead, HostileTextCounts)
{
    struct Case {
        const char* name;
        ULONG count;
        size_t textBytes;
        HRESULT expected;
    };
    const Case cases[] = {
        {"count 1 (N - 2 wraps)", 1, 8, E_OUTOFMEMORY},
        {"count with the top bit set", 0x80000001u, 8, E_OUTOFMEMORY},
        {"largest count", 0xFFFFFFFFu, 8, E_OUTOFMEMORY},
        {"count 0x7FFFFFFF", 0x7FFFFFFFu, 8, E_FAIL},
        {"count beyond the data", 0x40000000u, 100, E_FAIL},
        {"count 2, data short", 2, 1, E_FAIL},
        {"count 3, data short", 3, 2, E_FAIL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (VARTYPE type : {VARTYPE(VT_BSTR), VARTYPE(VT_I8), VARTYPE(VT_EMPTY)}) {
            CComVariant var;
            TestStream stream(Bytes().U16(type).U32(c.count).Raw(std::vector<unsigned char>(c.textBytes, 'a')));
            EXPECT_EQ(CQNUtility::KESTReadFromStream(var, &stream), c.expected);
            EXPECT_EQ(var.vt, type) << "the type read stays, with no value";
            EXPECT_EQ(var.llVal, 0);
            EXPECT_LE(stream.FurthestReadRequest(), 6u + c.textBytes + 64 * 1024);
            EXPECT_EQ(var.Clear(), S_OK);
        }
    }
}

// Every type the stream may name, with nothing after it: the variant must stay
// safe to clear whatever the type.
TEST(VariantRead, EveryTypeOnAnEmptyRest)
{
    for (unsigned type = 0; type <= 0xFFFF; type += (type < 0x100 ? 1 : 0x101)) {
        SCOPED_TRACE(testing::Message() << "type " << type);
        CComVariant var;
        TestStream stream(Bytes().U16(type));
        const HRESULT hr = CQNUtility::KESTReadFromStream(var, &stream);
        if (type == VT_UNKNOWN || type == VT_DISPATCH)
            EXPECT_EQ(hr, S_OK);
        else
            EXPECT_EQ(hr, E_FAIL);
        EXPECT_EQ(var.vt, VARTYPE(type));
        var.Clear();
        EXPECT_EQ(stream.References(), 0);
    }
}

// Each valid encoding, with the stream ending, short-reading or failing at
// every byte offset: the defined code, no read beyond the encoding, nothing
// left alive. A cut in an object's part is no error (null object, S_OK).
TEST(VariantRead, FaultAtEveryOffset)
{
    struct Encoding {
        const char* name;
        std::vector<unsigned char> bytes;
        bool object;
    };
    const Encoding encodings[] = {
        {"VT_I4", Bytes().U16(VT_I4).U32(77), false},
        {"VT_R8", Bytes().U16(VT_R8).U64(0x3FF0000000000000ull), false},
        {"VT_BOOL", Bytes().U16(VT_BOOL).U16(0xFFFF), false},
        {"VT_BSTR", TextVariant(VT_BSTR, L"AB"), false},
        {"VT_I8 as text", TextVariant(VT_I8, L"5"), false},
        {"VT_UNKNOWN", Join({Bytes().U16(VT_UNKNOWN), WidgetBytes(CLSID_FixtureWidgetStored, L"Motor", 9)}), true},
    };
    const HRESULT kFailure = STG_E_ACCESSDENIED;
    for (const Encoding& e : encodings) {
        {
            SCOPED_TRACE(testing::Message() << e.name << ", control");
            TranslationOn on;
            CComVariant var;
            TestStream stream(e.bytes);
            ASSERT_EQ(CQNUtility::KESTReadFromStream(var, &stream), S_OK);
            if (e.object)
                EXPECT_NE(var.punkVal, nullptr);
        }
        for (StreamFault fault : qntest::kReadFaults) {
            for (size_t offset = 0; offset < e.bytes.size(); ++offset) {
                SCOPED_TRACE(testing::Message() << e.name << ", " << qntest::FaultName(fault) << " at " << offset);
                TranslationOn on;
                CComVariant var;
                TestStream stream(e.bytes);
                stream.InjectFault(fault, offset, kFailure);
                const HRESULT hr = CQNUtility::KESTReadFromStream(var, &stream);
                if (e.object && offset >= 2) {
                    EXPECT_EQ(hr, S_OK);
                    EXPECT_EQ(var.vt, VT_UNKNOWN);
                    EXPECT_EQ(var.punkVal, nullptr);
                } else {
                    EXPECT_EQ(hr, fault == StreamFault::ReadFail ? kFailure : E_FAIL);
                }
                EXPECT_LE(stream.FurthestReadRequest(), e.bytes.size());
                EXPECT_EQ(var.Clear(), S_OK);
                EXPECT_EQ(LiveObjects(), 0);
                EXPECT_EQ(stream.References(), 0);
            }
        }
    }
}

} // namespace
