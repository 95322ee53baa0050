// The stream encodings on the platform's own memory streams: HGLOBAL streams
// (CreateStreamOnHGlobal) and shell memory streams (SHCreateMemStream), which
// report a read past the end as a short read rather than as a failure.
#include <QNStream.h>
#include <support/TestStreams.h>

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using qntest::Bytes;

// A platform stream and its release.
struct StreamRef {
    IStream* p = nullptr;
    ~StreamRef()
    {
        if (p)
            p->Release();
    }
};

std::vector<unsigned char> HGlobalBytes(IStream* stream)
{
    HGLOBAL memory = nullptr;
    EXPECT_EQ(::GetHGlobalFromStream(stream, &memory), S_OK);
    STATSTG stat = {};
    EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    const auto* data = static_cast<const unsigned char*>(::GlobalLock(memory));
    std::vector<unsigned char> bytes(data, data + stat.cbSize.QuadPart);
    ::GlobalUnlock(memory);
    return bytes;
}

void Rewind(IStream* stream)
{
    LARGE_INTEGER zero = {};
    ASSERT_EQ(stream->Seek(zero, STREAM_SEEK_SET, nullptr), S_OK);
}

TEST(StreamValuesWin32, BytesOnAnHGlobalStream)
{
    StreamRef stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &stream.p), S_OK);
    ASSERT_EQ(SaveBool(VARIANT_TRUE, stream.p), S_OK);
    ASSERT_EQ(SaveLONG(2600L, stream.p), S_OK);
    ASSERT_EQ(SaveDOUBLE(1.0, stream.p), S_OK);
    ASSERT_EQ(SaveBSTR(CString(L"AB"), stream.p), S_OK);
    ASSERT_EQ(SaveBSTR(CString(), stream.p), S_OK);
    const std::vector<unsigned char> expected = Bytes()
                                                    .U16(0xFFFF)
                                                    .U32(2600)
                                                    .U64(0x3FF0000000000000ull)
                                                    .U32(6)
                                                    .Utf16(L"AB")
                                                    .U16(0)
                                                    .U32(2)
                                                    .U16(0);
    EXPECT_EQ(HGlobalBytes(stream.p), expected);

    Rewind(stream.p);
    SHORT flag = 0;
    LONG number = 0;
    double real = 0;
    CString text, empty(L"x");
    EXPECT_EQ(LoadBool(flag, stream.p), S_OK);
    EXPECT_EQ(LoadLONG(number, stream.p), S_OK);
    EXPECT_EQ(LoadDOUBLE(real, stream.p), S_OK);
    EXPECT_EQ(LoadBSTR(text, stream.p), S_OK);
    EXPECT_EQ(LoadBSTR(empty, stream.p), S_OK);
    EXPECT_EQ(flag, VARIANT_TRUE);
    EXPECT_EQ(number, 2600);
    EXPECT_EQ(real, 1.0);
    EXPECT_TRUE(text == L"AB");
    EXPECT_TRUE(empty.IsEmpty());
}

// Every loader over every prefix of its valid encoding, on both platform
// streams: the full encoding loads, any shorter one fails with E_FAIL.
TEST(StreamValuesWin32, TruncatedEncodingsOnPlatformStreams)
{
    struct Case {
        const char* name;
        std::vector<unsigned char> encoding;
        std::function<HRESULT(IStream*)> load;
    };
    const Case cases[] = {
        {"LoadBool", Bytes().U16(1), [](IStream* s) { SHORT v; return LoadBool(v, s); }},
        {"LoadLONG", Bytes().U32(0x80000000u), [](IStream* s) { LONG v; return LoadLONG(v, s); }},
        {"LoadDOUBLE", Bytes().U64(0x4000000000000000ull), [](IStream* s) { double v; return LoadDOUBLE(v, s); }},
        {"LoadBSTR", Bytes().U32(8).Utf16(L"Tag").U16(0), [](IStream* s) { CString v; return LoadBSTR(v, s); }},
        {"LoadBSTR odd", Bytes().U32(5).Utf16(L"Ta").U8(0), [](IStream* s) { CString v; return LoadBSTR(v, s); }},
    };
    for (const Case& c : cases) {
        for (size_t size = 0; size <= c.encoding.size(); ++size) {
            const HRESULT expected = size == c.encoding.size() ? S_OK : E_FAIL;

            StreamRef shell;
            shell.p = ::SHCreateMemStream(c.encoding.data(), static_cast<UINT>(size));
            ASSERT_NE(shell.p, nullptr);
            EXPECT_EQ(c.load(shell.p), expected) << c.name << " on SHCreateMemStream, " << size << " bytes";

            StreamRef hglobal;
            ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &hglobal.p), S_OK);
            ULONG written = 0;
            if (size) {
                ASSERT_EQ(hglobal.p->Write(c.encoding.data(), static_cast<ULONG>(size), &written), S_OK);
            }
            Rewind(hglobal.p);
            EXPECT_EQ(c.load(hglobal.p), expected) << c.name << " on an HGLOBAL stream, " << size << " bytes";
        }
    }
}

} // namespace
