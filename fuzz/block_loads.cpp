// Typed loads, marks and skipping of a load helper over any bytes, with a
// block length that may be shorter or longer than the bytes: every load must
// end with a defined result and never count down more than it read.
#include <QNBlock.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5)
        return 0;
    // Bytes 0-3: the operations to run, in turn; byte 4: how far the block
    // length differs from the archive's bytes, which are the rest.
    const uint8_t* operations = data;
    std::vector<BYTE> bytes(data + 5, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive archive(&file, CArchive::load);
    CKESTLoadHelper loader;
    loader.KESTSetArchive(&archive);
    ULONG left = static_cast<ULONG>(bytes.size()) + (data[4] & 0x0F) - (data[4] >> 4);

    for (int step = 0; step < 64 && left > 0; ++step) {
        const ULONG before = left;
        unsigned char b; short s; LONG l; float f; double d; __int64 i; GUID g; CString t;
        HRESULT hr = S_OK;
        switch (operations[step % 4] % 12) {
        case 0: hr = loader.KESTLoadAndIgnore(left); break;
        case 1: hr = loader.KESTLoadBYTE(b, left); break;
        case 2: hr = loader.KESTLoadSHORT(s, left); break;
        case 3: hr = loader.KESTLoadLONG(l, left); break;
        case 4: hr = loader.KESTLoadFLOAT(f, left); break;
        case 5: hr = loader.KESTLoadDOUBLE(d, left); break;
        case 6: hr = loader.KESTLoadINT64(i, left); break;
        case 7: hr = loader.KESTLoadCLSID(g, left); break;
        case 8: hr = loader.KESTLoadCSTRING(t, left); break;
        case 9: hr = loader.KESTLoadBlockHeadMark(left); break;
        case 10: hr = loader.KESTLoadDataEndMarker(left); break;
        default: {
            unsigned char raw[8];
            ULONG count = operations[step % 4] >> 5;
            hr = loader.KESTLoad(raw, count, left);
            break;
        }
        }
        // The bytes left only go down, by no more than was read: a string
        // holds at most as many characters as the bytes it consumed.
        if (left > before || ULONG(t.GetLength()) * 2 > before - left)
            std::abort();
        if (hr != S_OK && hr != S_FALSE && hr != E_FAIL && hr != QN_E_TOOSHORT)
            std::abort();
    }
    return 0;
}
