// The per-thread handle maps and temporary objects.
#include "afx/win32/HandleOwner.h"
#include "afx/win32/WindowState.h"

namespace {
thread_local AfxThreadWindowState* t_windowState = nullptr;
}

AfxThreadWindowState::~AfxThreadWindowState()
{
    DeleteTemps();
    if (hHookCreate)
        ::UnhookWindowsHookEx(hHookCreate);
}

void AfxThreadWindowState::DeleteTemps()
{
    // A temporary object never owns its handle: clear it before the object goes.
    // (An entry can be empty when making its object ran out of memory.)
    for (auto& [hWnd, pWnd] : tempWnd)
        if (pWnd)
            pWnd->m_hWnd = nullptr;
    for (auto& [hDC, pDC] : tempDC)
        if (pDC)
            pDC->m_hDC = pDC->m_hAttribDC = nullptr;
    for (auto& [hObject, pObject] : tempGdi)
        if (pObject)
            pObject->m_hObject = nullptr;
    tempWnd.clear();
    tempDC.clear();
    tempGdi.clear();
}

AfxThreadWindowState& AfxGetThreadWindowState()
{
    if (!t_windowState)
        t_windowState = new AfxThreadWindowState;
    return *t_windowState;
}

void AfxReleaseThreadWindowState()
{
    delete t_windowState;
    t_windowState = nullptr;
}

void AfxLockTempMaps() { ++AfxGetThreadWindowState().tempLock; }

BOOL AfxUnlockTempMaps(BOOL bDeleteTemps)
{
    AfxThreadWindowState& state = AfxGetThreadWindowState();
    if (state.tempLock > 0 && --state.tempLock == 0) {
        if (bDeleteTemps)
            state.DeleteTemps();
        return TRUE;
    }
    return FALSE;
}

// --- CWnd's side of the maps ------------------------------------------------

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd || !t_windowState)
        return nullptr;
    auto it = t_windowState->permanent.find(hWnd);
    return it == t_windowState->permanent.end() ? nullptr : it->second;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    return AfxTemporaryFor(AfxGetThreadWindowState().tempWnd, hWnd, [] { return std::make_unique<CWnd>(); },
                           [](CWnd& wnd, HWND handle) { wnd.m_hWnd = handle; });
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (!hWndNew || m_hWnd || !::IsWindow(hWndNew) || FromHandlePermanent(hWndNew))
        return FALSE;
    AfxGetThreadWindowState().permanent[hWndNew] = this;
    m_hWnd = hWndNew;
    m_hResourceModule = AfxGetResourceHandle();
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd && t_windowState) {
        auto it = t_windowState->permanent.find(hWnd);
        if (it != t_windowState->permanent.end() && it->second == this)
            t_windowState->permanent.erase(it);
    }
    return AfxDetachHandle(m_hWnd);
}

// --- Temporary device contexts and GDI objects -------------------------------

CDC* PASCAL CDC::FromHandle(HDC hDC)
{
    if (!hDC)
        return nullptr;
    return AfxTemporaryFor(AfxGetThreadWindowState().tempDC, hDC, [] { return std::make_unique<CDC>(); },
                           [](CDC& dc, HDC handle) { dc.m_hDC = dc.m_hAttribDC = handle; });
}

namespace {
// The wrapper class that matches the object's kind, so that CPen::FromHandle
// and its kind hand out an object of their own class.
std::unique_ptr<CGdiObject> NewGdiWrapper(HGDIOBJ hObject)
{
    switch (::GetObjectType(hObject)) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        return std::make_unique<CPen>();
    case OBJ_BRUSH:
        return std::make_unique<CBrush>();
    case OBJ_FONT:
        return std::make_unique<CFont>();
    case OBJ_BITMAP:
        return std::make_unique<CBitmap>();
    case OBJ_REGION:
        return std::make_unique<CRgn>();
    default:
        return std::make_unique<CGdiObject>();
    }
}
} // namespace

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return AfxTemporaryFor(AfxGetThreadWindowState().tempGdi, hObject, [hObject] { return NewGdiWrapper(hObject); },
                           [](CGdiObject& object, HGDIOBJ handle) { object.m_hObject = handle; });
}
