// The static state of CQNUtility, with its values at load. Objects are
// constructed in the order they stand here when the library loads and
// destroyed in the reverse order when it unloads.
#include <QNUtilityClass.h>
#include <QNFont.h>
#include <QNMenus.h>

// --- Text and numbers: last detection error, sequence names --------------------
int CQNUtility::m_nLastParserError = 0;
int CQNUtility::m_nMaxNameLength = 0;
int CQNUtility::m_nIncrement = 0;
CString CQNUtility::m_cstrNumberBase;
CString CQNUtility::m_cstrNameBase;

// --- Configuration: process-wide settings handed over by the host --------------
int CQNUtility::m_bCleanCloseNoSave = 0;
OVVersion* CQNUtility::stVersion = nullptr;

// --- Persistence: class identifier translation ---------------------------------
// Empty maps with the framework's 17 buckets and blocks of 10 entries; they are
// re-made with 1511 buckets when the conversion table is first needed.
CMapGUIDToGUID CQNUtility::m_GUIDTable(10);
CMapGUIDToGUID CQNUtility::m_GUIDReverse(10);
int CQNUtility::m_iEnabled = 0;
int CQNUtility::m_bGuidTableInitialized = 0;

// --- Fonts, menus and windows ---------------------------------------------------
CList<CHMIFont, CHMIFont&>* CQNUtility::m_pFontList = nullptr;
#ifdef _WIN32
// The submenus stored are not deleted at unload; the shared menu's destructor
// destroys the menu it still holds.
CArray<CMenu*, CMenu*&> CQNUtility::m_SubMenus;
CMenu CQNUtility::m_SharedMenuFXINPLACE;
#endif
