// Windows bodies of CString's platform parts: the ANSI code page, the user's
// case rules and string resources.
#include <afx/afx.h>

#include "afx/Platform.h"
#include "afx/win32/ResourceHandle.h"

namespace qn::afx::platform {

int AnsiToWide(const char* src, int srcLen, WCHAR* dst, int dstLen)
{
    if (!src || srcLen <= 0)
        return 0;
    return ::MultiByteToWideChar(CP_ACP, 0, src, srcLen, dst, dst ? dstLen : 0);
}

void UpperCase(WCHAR* text, int len)
{
    if (len > 0)
        ::CharUpperBuffW(text, static_cast<DWORD>(len));
}

void LowerCase(WCHAR* text, int len)
{
    if (len > 0)
        ::CharLowerBuffW(text, static_cast<DWORD>(len));
}

} // namespace qn::afx::platform

BOOL CString::LoadString(UINT nID)
{
    // With a zero buffer size LoadStringW hands out a pointer to the resource's
    // own characters (not terminated) and their count: no length limit.
    // Strings lie in blocks of 16; the lookup starts at the resource module in
    // force and goes on through the chain of extension modules.
    const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW((nID >> 4) + 1), RT_STRING);
    if (!module)
        return FALSE;
    const WCHAR* resource = nullptr;
    const int len = ::LoadStringW(module, nID, reinterpret_cast<LPWSTR>(&resource), 0);
    if (len <= 0 || !resource)
        return FALSE;
    *this = CString(resource, len);
    return TRUE;
}
