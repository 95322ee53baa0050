// What the colour dialogs and controls load from the host's resource module,
// and the few drawing helpers they share. Windows-only.
#pragma once

#include <QNColourDialogs.h>

namespace qn::colour {

// Resources
constexpr UINT kIdd64Color = 7305;
constexpr UINT kIddFullColor = 7300;
constexpr UINT kIdsEightColorLabel = 7307;
constexpr UINT kIdsTransparentCaption = 7415;
constexpr UINT kIdiEyedropper = 1029;
constexpr UINT kIdcEyedropper = 1015;

// Items of both templates
constexpr int kIdcGridOrTransparent = 1000; // 7305: the grid; 7300: the transparent area
constexpr int kIdcTargetSwatch = 1001;
constexpr int kIdcEyedropperIcon = 1017;
// 7305
constexpr int kIdcRed = 1002;
constexpr int kIdcNewSwatch = 1003;
constexpr int kIdcGreen = 1004;
constexpr int kIdcBlue = 1005;
constexpr int kIdcTransparent = 1006;
constexpr int kIdcLabel = 1007;
// 7300: the common colour dialog's own items, and the static hidden with the swatch
constexpr int kIdcCommonRed = 706;
constexpr int kIdcCommonGreen = 707;
constexpr int kIdcCommonBlue = 708;
constexpr int kIdcCommonSample = 709;
constexpr int kIdcCommonSpectrum = 710;
constexpr int kIdcTargetLabel = 1002;

// Loads through the framework's lookup: the resource module in force, then the
// extension chain. A string no module holds is the empty text; a missing
// icon or cursor is null. Icons and cursors are shared (never destroyed).
CString LoadResourceString(UINT id);
HICON LoadEyedropperIcon();
HCURSOR LoadEyedropperCursor();

CString LoadTransparentCaption();
// The transparent caption in black, transparent background, centred on one
// line, in an 8-point font of the given face.
void DrawCaption(CDC& dc, const CRect& rect, LPCTSTR faceName);
// Invalidate, erase and update at once (the whole window for a null rect).
void RedrawNow(CWnd& wnd, const RECT* rect);
bool HasFocus(const CWnd& wnd);
// The colour of the screen pixel under the mouse pointer.
unsigned long ScreenPixelUnderCursor();
// Moves the mouse pointer to the centre of the dialog's OK button, if it has one.
void MoveMouseOverOkButton(HWND hDlg);

} // namespace qn::colour
