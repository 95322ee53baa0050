// The application object of QNUtility.dll (its DllMain is the framework's:
// src/afx/win32/LibraryEntry.cpp).
#include <QNFrame.h>

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
