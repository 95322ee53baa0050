// CColor text input: SetString parses host text as three hexadecimal fields,
// GetColorrefFromName compares it with the named colours. Any UTF-16 text must
// give a defined result without reading past its end.
#include <QNColour.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<WCHAR> text(size / 2 + 1, 0);
    for (size_t i = 0; i + 1 < size; i += 2)
        text[i / 2] = static_cast<WCHAR>(data[i] | data[i + 1] << 8);

    CColor colour(0x5A000000);
    const bool read = colour.SetString(text.data());
    const ULONG value = colour;
    if ((value >> 24) != 0x5A || (!read && (value & 0xFFFFFF) != 0))
        std::abort();
    // A colour read from its own text reads back the same.
    CColor again;
    if (!again.SetString(colour.GetString()) || (static_cast<ULONG>(again) & 0xFFFFFF) != (value & 0xFFFFFF))
        std::abort();

    CString name(text.data(), static_cast<int>(size / 2));
    const ULONG named = CColor::GetColorrefFromName(name);
    if (named != 0xFFFFFFFF && (named >> 24) != 0)
        std::abort();
    return 0;
}
