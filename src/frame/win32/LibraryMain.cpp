// Load and unload of QNUtility.dll: the application object and DllMain.
#include <QNFrame.h>

#include "afx/LibraryStartup.h"

namespace {

// The library's statics are constructed with the library's module state
// current, so that the application object below registers with it and not
// with the host's.
struct EnterLibraryState {
    EnterLibraryState() { previous = AfxSetModuleState(AfxGetStaticModuleState()); }
    AFX_MODULE_STATE* previous;
};
EnterLibraryState g_enter;

} // namespace

CQNUtilityApp::CQNUtilityApp() : CWinApp(nullptr) {}

// The one application object of the library.
CQNUtilityApp theApp;

namespace {
struct LeaveLibraryState {
    LeaveLibraryState() { AfxSetModuleState(g_enter.previous); }
};
LeaveLibraryState g_leave;
} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    switch (dwReason) {
    case DLL_PROCESS_ATTACH:
        return AfxLibraryAttach(hInstance);
    case DLL_THREAD_DETACH:
        AfxLibraryThreadDetach();
        break;
    case DLL_PROCESS_DETACH:
        AfxLibraryDetach();
        break;
    default:
        break;
    }
    return TRUE;
}
