// The resource module in force, provided by the module-state code.
#pragma once

#include <QNPlatform.h>

QN_API HINSTANCE AfxGetResourceHandle();
