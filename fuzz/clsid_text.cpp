// Text lookups of the class table over any text: the text comes back unchanged,
// or it named a stored (current) identifier and the answer is the registry form
// of the pair's other identifier, which leads back to the same pair.
#include <QNUtility.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CString text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        WCHAR c;
        std::memcpy(&c, data + i, sizeof c);
        if (c == 0)
            break;
        text += c;
    }
    CQNUtility::CLSIDEnabled(1);
    for (const bool forward : {true, false}) {
        const CString answer = forward ? CQNUtility::CLSIDLookup(text) : CQNUtility::CLSIDReverseLookup(text);
        if (answer == text)
            continue;
        GUID given, got;
        if (answer.GetLength() != 38 || FAILED(::CLSIDFromString(text, &given)) ||
            FAILED(::CLSIDFromString(answer, &got)))
            std::abort();
        const GUID back = forward ? CQNUtility::CLSIDReverseLookup(got) : CQNUtility::CLSIDLookup(got);
        if (back != given)
            std::abort();
    }
    CQNUtility::CLSIDEnabled(0);
    return 0;
}
