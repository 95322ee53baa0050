/* Entry point of the resource-only module: nothing to initialise. */
#include <windows.h>

BOOL WINAPI ResourceModuleEntry(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
