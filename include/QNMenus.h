// Menus and window helpers: the store of submenus that the library deletes on
// request, the one shared in-place menu, the rich-edit copy to the clipboard
// and the proportional resize about the centre. The members live in
// CQNUtility (QNUtilityClass.h); this header brings in what calling them needs.
//
// Ownership: a CMenu given to AddSubMenu belongs to the library from then on
// (DeleteSubMenus deletes it with `delete`, so it must come from `new`). The
// shared in-place menu owns the handle it took from the CMenu given to
// SetSharedMenuFXINPLACE; the given object is left holding no menu.
#pragma once

#include <QNPlatform.h>
#include <QNUtilityClass.h>
#include <afx/afxtempl.h>
#ifdef _WIN32
#include <afx/afxmenu.h>
#endif
