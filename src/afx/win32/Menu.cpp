// CMenu: the owner of one menu handle.
#include <afx/afxmenu.h>
#include <afx/afxwin.h>

#include "afx/win32/HandleOwner.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

CMenu::~CMenu() { DestroyMenu(); }

BOOL CMenu::Attach(HMENU hMenu) { return AfxAttachHandle(m_hMenu, hMenu); }

HMENU CMenu::Detach() { return AfxDetachHandle(m_hMenu); }

BOOL CMenu::CreateMenu() { return !m_hMenu && Attach(::CreateMenu()); }

BOOL CMenu::CreatePopupMenu() { return !m_hMenu && Attach(::CreatePopupMenu()); }

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName)
{
    if (m_hMenu)
        return FALSE;
    HINSTANCE module = AfxFindResourceHandle(lpszResourceName, RT_MENU);
    return module && Attach(::LoadMenuW(module, lpszResourceName));
}

BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEW(nIDResource)); }

BOOL CMenu::DestroyMenu()
{
    HMENU hMenu = Detach();
    return hMenu ? ::DestroyMenu(hMenu) : FALSE;
}

int CMenu::GetMenuItemCount() const { return m_hMenu ? ::GetMenuItemCount(m_hMenu) : -1; }

UINT CMenu::GetMenuItemID(int nPos) const { return m_hMenu ? ::GetMenuItemID(m_hMenu, nPos) : UINT(-1); }

HMENU CMenu::GetSubMenuHandle(int nPos) const { return m_hMenu ? ::GetSubMenu(m_hMenu, nPos) : nullptr; }

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return m_hMenu && ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return m_hMenu && ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return m_hMenu && ::RemoveMenu(m_hMenu, nPosition, nFlags); }

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) { return m_hMenu && ::DeleteMenu(m_hMenu, nPosition, nFlags); }

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, HWND hWndOwner, LPCRECT lpRect) const
{
    return m_hMenu && ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWndOwner, lpRect);
}
