// The one attach/detach rule of the framework's handle owners (CWnd, CMenu,
// CDC, CGdiObject) and the one way a temporary object is made for a handle
// that no owner holds.
#pragma once

#include <memory>
#include <unordered_map>

#include <afx/afxwin.h>

// An owner takes a handle only when it holds none and the handle is not null.
template <class Handle> BOOL AfxAttachHandle(Handle& slot, Handle handle)
{
    if (!handle || slot)
        return FALSE;
    slot = handle;
    return TRUE;
}

// Hands the handle back without destroying it; the owner holds none after.
template <class Handle> Handle AfxDetachHandle(Handle& slot)
{
    Handle handle = slot;
    slot = nullptr;
    return handle;
}

// The temporary object of `handle` in `map`, made by `make` on first use and
// given the handle by `wrap`; null for a null handle. The temporary never owns
// the handle (AfxThreadWindowState::DeleteTemps takes it back before deleting).
template <class Object, class Handle, class Make, class Wrap>
Object* AfxTemporaryFor(std::unordered_map<Handle, std::unique_ptr<Object>>& map, Handle handle, Make make, Wrap wrap)
{
    if (!handle)
        return nullptr;
    std::unique_ptr<Object>& temp = map[handle];
    if (!temp) {
        temp = make();
        wrap(*temp, handle);
    }
    return temp.get();
}
