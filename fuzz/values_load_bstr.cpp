// LoadBSTR (and the fixed-size loads between texts) over any stream bytes:
// E_FAIL or a text, never a read past what the encoding asked for, and a text
// that was read saves back to an encoding that loads the same.
#include <QNStream.h>

#include <support/TestStreams.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qntest::TestStream stream(std::vector<unsigned char>(data, data + size));
    for (int i = 0; i < 16; ++i) {
        CString text;
        LONG number = 0;
        const size_t before = stream.Position();
        const HRESULT hr = i % 4 == 3 ? LoadLONG(number, &stream) : LoadBSTR(text, &stream);
        if (hr == E_FAIL)
            break;
        if (hr != S_OK || stream.Position() > size || stream.Position() < before)
            std::abort();
        qntest::TestStream copy;
        CString back;
        if (SaveBSTR(text, &copy) != S_OK || (copy.Rewind(), LoadBSTR(back, &copy)) != S_OK || back != text)
            std::abort();
    }
    return 0;
}
