// QNUtility: umbrella header. A host includes this one header to get every
// exported family.
#pragma once

#include <QNPlatform.h>
#include <QNResult.h>
#include <QNUtilityClass.h>
#include <QNFrame.h>
#include <QNText.h>
#include <QNNumeral.h>
#include <QNClassTable.h>
#include <QNColour.h>
#include <QNBlock.h>
#include <QNStream.h>
#include <QNRefObjList.h>
#include <QNInterfaceMaps.h>
#include <QNCatalogue.h>
#include <QNConfiguration.h>
#include <QNRegistry.h>
#include <QNFont.h>
#include <QNMenus.h>
#ifdef _WIN32
#include <QNXml.h>
#include <QNColourDialogs.h>
#include <QNTabWnd.h>
#include <QNWindows.h>
#endif
