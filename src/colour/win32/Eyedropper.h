// The eyedropper of both colour dialogs: icon 1029 shown in item 1017; a press
// on it starts picking (the mouse captured, the icon cleared, cursor 1015 in
// place of the saved one); every mouse move reads the screen pixel under the
// pointer and notes whether it was a drag with only the left button down;
// ending restores capture, cursor and icon. The state lives in the dialogs'
// own members (their order is part of the exported classes): this works on
// them by reference. Windows-only.
#pragma once

#include <QNColourDialogs.h>

namespace qn::colour {

class Eyedropper {
public:
    Eyedropper(CWnd& dialog, CStatic& iconControl, HICON& icon, int& picking, HCURSOR& savedCursor, bool& dragged)
        : m_dialog(dialog), m_iconControl(iconControl), m_icon(icon), m_picking(picking),
          m_savedCursor(savedCursor), m_dragged(dragged)
    {
    }

    // Attaches the dialog's item 1017 and shows icon 1029 in it (when found).
    void Attach(HWND dialog);
    void Detach();

    bool Picking() const { return m_picking != 0; }
    // A point in screen coordinates on the icon control.
    bool OnIcon(CPoint screen) const;
    void Start();
    // Picking 0, then `refreshFields` (the dialog's fields from its colour),
    // then capture released, the saved cursor and the icon restored.
    template <typename RefreshFields> void End(RefreshFields refreshFields)
    {
        m_picking = 0;
        refreshFields();
        Restore();
    }
    // A mouse move: while picking, true with the pixel under the pointer in
    // `colour`; dragged = picking and only the left button down.
    bool Move(UINT flags, unsigned long& colour);
    // A left button release that ends picking (after a drag).
    bool ReleaseEnds() const { return m_dragged && m_picking != 0; }

private:
    void Restore();

    CWnd& m_dialog;
    CStatic& m_iconControl;
    HICON& m_icon;
    int& m_picking;
    HCURSOR& m_savedCursor;
    bool& m_dragged;
};

} // namespace qn::colour
