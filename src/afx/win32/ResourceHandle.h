// The resource module in force, provided by the module-state code.
#pragma once

#include <QNPlatform.h>

QN_API HINSTANCE AfxGetResourceHandle();
// The module that holds a resource: the module in force, then the extension chain.
QN_API HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
