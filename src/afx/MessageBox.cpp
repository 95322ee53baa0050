// AfxMessageBox: the one place every message box of the library goes through,
// and the hook that tests use to observe and answer them.
#include <afx/afx.h>

#include "Platform.h"

namespace {

// Process-wide: message boxes are shown from the host's user-interface thread.
AFX_MESSAGEBOX_HOOK g_hook = nullptr;
void* g_hookContext = nullptr;

} // namespace

AFX_MESSAGEBOX_HOOK AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK hook, void* context, void** pPrevContext)
{
    AFX_MESSAGEBOX_HOOK previous = g_hook;
    if (pPrevContext)
        *pPrevContext = g_hookContext;
    g_hook = hook;
    g_hookContext = hook ? context : nullptr;
    return previous;
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT)
{
    static const WCHAR kEmpty[] = {0};
    if (!lpszText)
        lpszText = kEmpty;
    if (g_hook)
        return g_hook(lpszText, nType, g_hookContext);
    return afx_platform::ShowMessageBox(lpszText, nType);
}
