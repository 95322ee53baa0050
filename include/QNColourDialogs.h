// Colour controls and colour dialogs (Windows only).
//
// The dialogs take their templates, strings, icon and cursor from the resource
// module in force, then from the framework's chain of extension modules (the
// library carries none; samples/resources builds QNResources.dll):
//   7305  64-colour dialog: 1000 grid, 1001 target swatch, 1003 new colour
//         swatch, 1002/1004/1005 red/green/blue fields, 1006 transparent area,
//         1007 label, 1017 eyedropper icon, OK (1), Cancel (2)
//   7300  custom template of the common colour dialog (its own items, 706-710
//         among them) plus 1000 transparent area, 1001 target swatch, 1002
//         hidden with the swatch, 1017 eyedropper icon
//   7307  label of item 1007 in the 8-colour mode of the 64-colour dialog
//   7415  caption of the transparent choice
//   1029  eyedropper icon;  1015  eyedropper cursor
// A missing string paints as the empty text, a missing icon or cursor leaves
// the eyedropper without its picture, and a missing template keeps the dialog
// from opening: CKest64ColorDlg::DoModal returns -1, CKestFullColorDlg::DoModal
// returns IDCANCEL with CommDlgExtendedError() = CDERR_FINDRESFAILURE.
//
// Colour values are 0x00BBGGRR; 0x08000000 (the transparent flag alone) stands
// for no colour at all. The controls never handle input themselves: their
// owner hands mouse positions (screen coordinates) and key messages to the
// HitTest functions, which return a colour value or -1 (0xFFFFFFFF).
//
// Everything runs on the host's user-interface thread.
#pragma once

#include <QNPlatform.h>

#ifndef _WIN32
#error "QNColourDialogs.h is Windows-only"
#endif

#include <afx/afxwin.h>
#include <afx/afxdlgs.h>

// The transparent colour value and the "nothing hit" result.
#define QN_COLOR_TRANSPARENT 0x08000000UL
#define QN_COLOR_NONE 0xFFFFFFFFUL

namespace qn::colour {
class Eyedropper; // the library's own eyedropper handling, shared by both dialogs
}

// ---------------------------------------------------------------------------
// A grid of colour cells with a keyboard focus cell. Cell layout in client
// coordinates, recomputed at every paint and hit test:
//   w = (client width - 5 x columns - 2) / columns, h likewise with rows,
//   cell (c, r) spans w x h pixels from (3 + c x (w + 5), 3 + r x (h + 5)).
class QN_API CKestColorGridCtrl : public CStatic {
public:
    // Construction: focus cell (0, 0), current colour 0, no table.
    CKestColorGridCtrl();

    // Operations
    // Stores the table pointer (not a copy; it must outlive the control) and its
    // size, at least one column and one row, row by row. No repaint.
    void SetColorTable(int nColumns, int nRows, unsigned long* pColors);
    // The colour outlined as selected; the focus cell moves to its first cell
    // (row by row), or to (0, 0) when no cell has it. No repaint.
    void SetCurrentColor(unsigned long color);
    // The colour of the cell under a point in screen coordinates (cell edges
    // included), or -1 outside the window, in the gaps and in the margins.
    int HitTest(int x, int y);
    // For WM_KEYDOWN: space gives the focus cell's colour; the arrow keys move
    // the focus cell (no wrapping) and redraw both cells; -1 otherwise.
    int HitTest(MSG* pMsg);

    // Message handlers (public so that an owner can repaint the grid at once)
    afx_msg void OnPaint();
    // Redraws the whole control at once, then default processing.
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);

protected:
    DECLARE_MESSAGE_MAP()

private:
    void RedrawCellNow(int column, int row);

    unsigned long* m_pColorTable = nullptr;
    int m_nRows = 0;
    int m_nColumns = 0;
    int m_nFocusColumn = 0;
    int m_nFocusRow = 0;
    unsigned long m_clrCurrent = 0;
};

// ---------------------------------------------------------------------------
// A swatch of one colour. Display mode 1 shows it monochrome (white when red
// is not 0), 2 in 8 colours, any other value unchanged; a colour with the
// transparent flag shows the transparent caption (string 7415) on the dialog
// face colour.
class QN_API CKestStaticColorCtrl : public CStatic {
public:
    // Construction: display mode 0, colour 0.
    CKestStaticColorCtrl();

    // Stores both; no repaint.
    void SetColor(unsigned long color, int nDisplayMode);

    afx_msg void OnPaint();

protected:
    DECLARE_MESSAGE_MAP()

private:
    int m_nDisplayMode = 0;
    unsigned long m_clrColor = 0;
};

// ---------------------------------------------------------------------------
// An area that stands for no colour: HitTest gives 0x08000000 for a point in
// its window rectangle (edges included) or for WM_KEYDOWN with the space bar,
// else -1. Paints the transparent caption in the control's own font face.
class QN_API CKestTransparentCtrl : public CStatic {
public:
    unsigned long HitTest(int x, int y);
    unsigned long HitTest(MSG* pMsg);

    afx_msg void OnPaint();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);

protected:
    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------
// The 64-colour dialog (template 7305).

// What the target swatch (item 1001) shows. Other values leave the swatch's
// colour alone.
enum e64ColorControlMode {
    e64ColorMonochrome = 0, // the monochrome rendering
    e64Color8Colors = 1,    // the 8-colour rendering; no transparent choice
};

class QN_API CKest64ColorDlg : public CDialog {
public:
    // The constructor, SetColor, GetColor and ApplyNoTransparency are public:
    // they are how a host opens the dialog and reads the choice. DoModal
    // returns IDOK, IDCANCEL, or -1 when template 7305 is missing.
    explicit CKest64ColorDlg(e64ColorControlMode eMode = e64ColorMonochrome, CWnd* pParent = nullptr);

    // The opening colour (restored when picking is cancelled) and the current one.
    virtual void SetColor(unsigned long color);
    // The chosen colour; 0x08000000 for the transparent choice.
    unsigned long GetColor();
    // Hides the transparent area when the dialog opens.
    void ApplyNoTransparency();

    BOOL DestroyWindow() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnCancel() override;

    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSetfocusEditRed();
    afx_msg void OnSetfocusEditGreen();
    afx_msg void OnSetfocusEditBlue();
    afx_msg void OnKillfocusEditRed();
    afx_msg void OnKillfocusEditGreen();
    afx_msg void OnKillfocusEditBlue();
    afx_msg void OnChangeEditRed();
    afx_msg void OnChangeEditGreen();
    afx_msg void OnChangeEditBlue();
    DECLARE_MESSAGE_MAP()

private:
    void UpdateRGBEditCtrls(unsigned long color);
    void UpdateControls();
    void UpdateTargetColor();
    unsigned long FindClosestColor(unsigned long channel);
    void RestoreToNormal();
    void MoveMouseOverOkButton();

    qn::colour::Eyedropper Dropper();
    unsigned long HitTestPalette(CPoint point);
    void ChangeField(CEdit& field, int channel);
    void LeaveField(CEdit& field, int channel);
    void RestoreOpeningColor();

    CStatic m_ctlEyedropperIcon;
    int m_nPicking = 0;
    HCURSOR m_hSavedCursor = nullptr;
    HICON m_hEyedropperIcon = nullptr;
    unsigned long m_clrOpening = 0;
    bool m_bDragged = false;
    CEdit m_editBlue;
    CEdit m_editGreen;
    CEdit m_editRed;
    CKestStaticColorCtrl m_ctlTargetColor;
    CKestStaticColorCtrl m_ctlNewColor;
    CKestColorGridCtrl m_ctlGrid;
    CKestTransparentCtrl m_ctlTransparent;
    unsigned long m_clrCurrent = 0;
    e64ColorControlMode m_eControlMode;
    bool m_bNoTransparency = false;
    // True while the dialog writes the fields itself: their change
    // notifications then leave the current colour alone, so that emptied
    // fields keep a transparent choice.
    bool m_bWritingFields = false;
};

// ---------------------------------------------------------------------------
// The full colour dialog: the common colour dialog, fully open, on template
// 7300, with a target swatch, a transparent area, an eyedropper and the
// process-wide history of the 16 most recently chosen colours (its custom
// colours). Only one can be open at a time.
class QN_API CKestFullColorDlg : public CColorDialog {
    DECLARE_DYNAMIC(CKestFullColorDlg)

public:
    // Construction: colour mode 1, current colour 0, opening colour unset.
    explicit CKestFullColorDlg(unsigned long clrInit = 0, unsigned long dwFlags = 0, CWnd* pParentWnd = nullptr);

    // The target colour mode (0 to 12) the swatch shows the colour in.
    void SetColorMode(int nMode);
    // The colour shown; the first call also makes it the opening colour.
    virtual void SetColor(unsigned long color);
    // Records the dialog's result colour in the history and returns it, with
    // 0x08000000 set for a transparent choice.
    virtual unsigned long GetColor();

    void AddToHistory(unsigned long color);
    void ApplyTransparency();
    // Hides the transparent area when the dialog opens.
    void ApplyNoTransparency();
    void UpdateRGBEditCtrls(unsigned long color);
    void UpdateTargetColorCtrl(unsigned long color);
    void UpdateFinalColorCtrl(unsigned long color);
    void RestoreToNormal();
    void MoveMouseOverOkButton();

protected:
    void OnCancel() override;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    static UINT_PTR CALLBACK HookProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
    void OnHookInitDialog(HWND hDlg);
    void OnHookFieldChange();
    void DetachItems();
    void PaintCaptionSwatch(HWND hItem, COLORREF fill, bool caption);
    qn::colour::Eyedropper Dropper();
    void RestoreOpeningColor();

    bool m_bTransparent = false;
    int m_nColorMode = 1;
    CEdit m_editRed;
    CEdit m_editGreen;
    CEdit m_editBlue;
    CStatic m_ctlTargetColor;
    CStatic m_ctlEyedropperIcon;
    bool m_bNoTransparency = false;
    int m_nPicking = 0;
    unsigned long m_clrOpening = 0xFFFFFD77;
    unsigned long m_clrCurrent = 0;
    HCURSOR m_hSavedCursor = nullptr;
    HICON m_hEyedropperIcon = nullptr;
    CKestTransparentCtrl m_ctlTransparent;
    bool m_bDragged = false;
};
