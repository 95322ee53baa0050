// Common dialogs: CCommonDialog and CColorDialog over the system's ChooseColorW.
//
// DoModal hooks window creation so that the common dialog's window is
// subclassed by this object before its first message: its message map (and
// Default()) work as for any CDialog, with the library's module state current.
// m_cc.lpfnHook is the framework's own hook (it calls OnInitDialog at
// WM_INITDIALOG); a derived class may put its own hook there instead.
// Windows-only.
#pragma once

#include <afx/afxwin.h>

// The framework's hook of the common dialogs (m_cc.lpfnHook by default).
QN_API UINT_PTR CALLBACK AfxCommDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

class QN_API CCommonDialog : public CDialog {
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd);

    // The common dialog ends itself: OK and Cancel go to its own procedure.
    void OnOK() override;
    void OnCancel() override;
};

class QN_API CColorDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CColorDialog)
public:
    // m_cc: Flags = dwFlags | CC_ENABLEHOOK (| CC_RGBINIT when clrInit is not
    // 0), rgbResult = clrInit, lpCustColors = GetSavedCustomColors(),
    // lpfnHook = the framework's hook, hwndOwner set by DoModal.
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    // ChooseColorW: IDOK or IDCANCEL (also when the system refuses, e.g. a
    // missing custom template: CommDlgExtendedError() tells why). With
    // CC_ENABLETEMPLATE the template is taken from m_cc.hInstance when it
    // holds it, else through AfxFindResourceHandle (module in force, then
    // the chain); m_cc.hInstance is set to the module found.
    INT_PTR DoModal() override;

    // While the dialog is open: makes clr its current colour.
    void SetCurrentColor(COLORREF clr);
    // The colour chosen (m_cc.rgbResult).
    COLORREF GetColor() const { return m_cc.rgbResult; }
    // The process's 16 custom colours that new colour dialogs start with (white at first).
    static COLORREF* PASCAL GetSavedCustomColors();

    CHOOSECOLORW m_cc;

    // Asked (by the framework's hook) before the dialog accepts OK; TRUE keeps
    // it open. CColorDialog's accepts.
    virtual BOOL OnColorOK();
};
