// The eyedropper both colour dialogs share (see Eyedropper.h).
#include "colour/win32/Eyedropper.h"

#include "colour/win32/ColourResources.h"

namespace qn::colour {

void Eyedropper::Attach(HWND dialog)
{
    if (HWND item = ::GetDlgItem(dialog, kIdcEyedropperIcon))
        m_iconControl.Attach(item);
    m_icon = LoadEyedropperIcon();
    if (m_iconControl.m_hWnd != nullptr)
        m_iconControl.SetIcon(m_icon);
}

void Eyedropper::Detach()
{
    if (m_iconControl.m_hWnd != nullptr)
        m_iconControl.Detach();
}

bool Eyedropper::OnIcon(CPoint screen) const
{
    if (m_iconControl.m_hWnd == nullptr)
        return false;
    CRect rect;
    m_iconControl.GetWindowRect(&rect);
    return rect.PtInRect(screen) != FALSE;
}

void Eyedropper::Start()
{
    m_picking = 1;
    m_dialog.SetCapture();
    m_iconControl.SetIcon(nullptr);
    m_savedCursor = ::GetCursor();
    if (HCURSOR cursor = LoadEyedropperCursor())
        ::SetCursor(cursor);
    m_iconControl.Invalidate();
}

void Eyedropper::Restore()
{
    ::ReleaseCapture();
    ::SetCursor(m_savedCursor);
    if (m_iconControl.m_hWnd != nullptr) {
        m_iconControl.SetIcon(m_icon);
        m_iconControl.Invalidate();
    }
}

bool Eyedropper::Move(UINT flags, unsigned long& colour)
{
    m_dragged = false;
    if (m_picking == 0)
        return false;
    colour = ScreenPixelUnderCursor();
    m_dragged = flags == MK_LBUTTON;
    return true;
}

} // namespace qn::colour
