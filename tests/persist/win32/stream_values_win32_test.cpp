// The value loaders on the platform's own memory streams: HGLOBAL streams
// (CreateStreamOnHGlobal) and shell memory streams (SHCreateMemStream), which
// report a read past the end as a short read rather than as a failure. Every
// prefix of a valid encoding fails with E_FAIL, the whole one loads.
#include <QNStream.h>
#include <afx/atlbase.h>
#include <support/TestStreams.h>

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using qntest::Bytes;

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
            CComPtr<IStream> shell;
            shell.Attach(::SHCreateMemStream(c.encoding.data(), static_cast<UINT>(size)));
            ASSERT_NE(shell.p, nullptr);
            EXPECT_EQ(c.load(shell), expected) << c.name << " on SHCreateMemStream, " << size << " bytes";

            CComPtr<IStream> hglobal;
            ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &hglobal), S_OK);
            ULONG written = 0;
            if (size) {
                ASSERT_EQ(hglobal->Write(c.encoding.data(), static_cast<ULONG>(size), &written), S_OK);
            }
            const LARGE_INTEGER zero = {};
            ASSERT_EQ(hglobal->Seek(zero, STREAM_SEEK_SET, nullptr), S_OK);
            EXPECT_EQ(c.load(hglobal), expected) << c.name << " on an HGLOBAL stream, " << size << " bytes";
        }
    }
}

} // namespace
