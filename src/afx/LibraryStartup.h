// Framework start-up and shut-down of a regular library with an application
// object. The library's DllMain calls these at each notification.
#pragma once

#include <afx/afxwin.h>

// Process attach: checks that 8 KB of local memory can be had (FALSE refuses
// the load), initialises the framework for the library's module state, runs
// the application object's initialisation and joins the extension chain.
BOOL AfxLibraryAttach(HINSTANCE hInstance);
// Thread detach: releases per-thread framework state of the library.
void AfxLibraryThreadDetach();
// Process detach: runs the application's exit routine and leaves the chain.
void AfxLibraryDetach();
