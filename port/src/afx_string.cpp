// Native bodies of CString's platform parts: no code pages and no locale, so
// ANSI text is taken as Latin-1 and only ASCII letters change case.
#include "afx/Platform.h"

namespace qn::afx::platform {

int AnsiToWide(const char* src, int srcLen, WCHAR* dst, int dstLen)
{
    if (!src || srcLen <= 0)
        return 0;
    if (!dst)
        return srcLen;
    const int n = srcLen < dstLen ? srcLen : dstLen;
    for (int i = 0; i < n; ++i)
        dst[i] = static_cast<WCHAR>(static_cast<unsigned char>(src[i]));
    return n;
}

void UpperCase(WCHAR* text, int len)
{
    for (int i = 0; i < len; ++i) {
        if (text[i] >= 'a' && text[i] <= 'z')
            text[i] = static_cast<WCHAR>(text[i] - ('a' - 'A'));
    }
}

void LowerCase(WCHAR* text, int len)
{
    for (int i = 0; i < len; ++i) {
        if (text[i] >= 'A' && text[i] <= 'Z')
            text[i] = static_cast<WCHAR>(text[i] + ('a' - 'A'));
    }
}

} // namespace qn::afx::platform
