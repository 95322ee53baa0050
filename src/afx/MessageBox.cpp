// AfxMessageBox: the one place every message box of the library goes through,
// and the hook that tests use to observe and answer them.
#include <afx/afx.h>

#include "afx/Platform.h"

namespace {

// Process-wide: message boxes are shown from the host's user-interface thread.
AFX_MESSAGEBOX_HOOK g_hook = nullptr;
void* g_hookContext = nullptr;

// winuser.h values, written out for the native build.
constexpr UINT kTypeMask = 0x0000000F;
constexpr UINT kIconMask = 0x000000F0;
constexpr UINT kYesNoCancel = 0x00000003;
constexpr UINT kYesNo = 0x00000004;

// A box asked for without an icon gets the framework's default one: the
// exclamation mark for OK and OK/Cancel boxes, the question mark for questions.
UINT WithDefaultIcon(UINT type)
{
    if (type & kIconMask)
        return type;
    switch (type & kTypeMask) {
    case MB_OK:
    case MB_OKCANCEL:
        return type | MB_ICONEXCLAMATION;
    case kYesNo:
    case kYesNoCancel:
        return type | MB_ICONQUESTION;
    default:
        return type;
    }
}

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
    nType = WithDefaultIcon(nType);
    if (g_hook)
        return g_hook(lpszText, nType, g_hookContext);
    return qn::afx::platform::ShowMessageBox(lpszText, nType);
}
