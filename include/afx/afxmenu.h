// CMenu: the framework's owner of one menu handle (Windows only).
//
// A CMenu destroys the menu it holds when it is destroyed itself; Detach hands
// the handle over without destroying it. Objects are not copied.
#pragma once

#ifndef _WIN32
#error "afxmenu.h is Windows-only"
#endif

#include <afx/afx.h>

class QN_API CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)
public:
    // Construction
    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Each Create/Load returns FALSE (holding nothing new) when a menu is held
    // already or the platform fails.
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // The menu resource from the resource module in force, then the modules
    // of the extension chain.
    BOOL LoadMenu(LPCTSTR lpszResourceName);
    BOOL LoadMenu(UINT nIDResource);
    // Destroys the held menu (its submenus too); FALSE when none is held or
    // the platform fails (the handle is dropped either way).
    BOOL DestroyMenu();

    // Takes ownership of hMenu; FALSE for a null handle or when one is held.
    BOOL Attach(HMENU hMenu);
    // Gives up the handle without destroying it; returns it (null if none).
    HMENU Detach();

    // Attributes
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return GetSafeHmenu(); }
    // The number of items, or -1 when no menu is held.
    int GetMenuItemCount() const;
    // The command of the item at nPos: 0 for a separator, -1 for a submenu.
    UINT GetMenuItemID(int nPos) const;
    // The submenu handle at nPos (owned by this menu), or null.
    HMENU GetSubMenuHandle(int nPos) const;

    // Operations (the platform's results)
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, HWND hWndOwner, LPCRECT lpRect = nullptr) const;

    HMENU m_hMenu = nullptr;
};
