// Native message box: no window system, so the text goes to stderr (as UTF-8)
// and the answer is IDOK.
#include "afx/Platform.h"
#include "afx_utf8.h"

#include <cstdio>

int qn::afx::platform::ShowMessageBox(LPCTSTR text, UINT)
{
    const std::string utf8 = afx_port::ToUtf8(text);
    std::fprintf(stderr, "%s\n", utf8.c_str());
    return IDOK;
}
