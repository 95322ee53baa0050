// The real message box, owned by the active window of the calling thread and
// titled with the application's name.
#include <afx/afxwin.h>

#include "afx/Platform.h"

int qn::afx::platform::ShowMessageBox(LPCTSTR text, UINT type)
{
    return ::MessageBoxW(::GetActiveWindow(), text, AfxGetAppName(), type);
}
