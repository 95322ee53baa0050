// The entry point of a regular library built on the framework: each
// notification goes to the framework's start-up and shut-down, which run the
// library's application object.
#include "afx/LibraryStartup.h"

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
