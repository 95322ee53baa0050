// Window classes for the hosts' user interface: the tab control and tab
// window that work inside a COM component, and the sound settings dialog.
//
// SEC3DTabControlCS and SEC3DTabWndCS are the toolkit's 3D tab control and
// tab window (QNTabWnd.h) with one addition: whenever a mouse message reaches
// them they make the library's module state current for a moment, keep the
// thread's tool-tip control attached to the window it was attached to, and
// switch tool tips off for the window; the message then goes on under the
// host's module state.
//
// Windows-only.
#pragma once

#include <QNTabWnd.h>
#include <afx/afxcoll.h>

class QN_API SEC3DTabControlCS : public SEC3DTabControl {
    DECLARE_DYNAMIC(SEC3DTabControlCS)
public:
    SEC3DTabControlCS();
    ~SEC3DTabControlCS() override;

    // Mouse handlers: each runs COMSafeManageState, then passes the message
    // on: move, left down/up/double-click to the base's handlers, right down
    // and up to the base's one right-button handler, the middle button and the
    // right double-click to the default processing.
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);

protected:
    DECLARE_MESSAGE_MAP()

private:
    void COMSafeManageState();
};

class QN_API SEC3DTabWndCS : public SEC3DTabWnd {
    DECLARE_DYNAMIC(SEC3DTabWndCS)
public:
    SEC3DTabWndCS();
    ~SEC3DTabWndCS() override;

    // Makes a SEC3DTabControlCS the tab control and creates its window with
    // the stored tab-control style plus WS_VISIBLE, an empty rectangle and
    // nID; dwStyle is not used. Non-zero when the control object exists.
    BOOL CreateTabCtrl(DWORD dwStyle, UINT nID) override;

    // The ten mouse messages: COMSafeManageState, then the default processing.
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);

protected:
    DECLARE_MESSAGE_MAP()

private:
    void COMSafeManageState();
};

// The sound settings dialog (template 7400 of the host's resource module):
// a drop-down combo box 7401 offering m_arrSounds, and a radio group that
// begins with 7403.
class QN_API CSoundConfigDlg : public CDialog {
    DECLARE_DYNAMIC(CSoundConfigDlg)
public:
    enum { IDD = 7400 };

    // m_strSound and m_arrSounds empty; m_nOption starts at 0 (the caller
    // sets it before showing the dialog).
    explicit CSoundConfigDlg(CWnd* pParent = nullptr);
    CSoundConfigDlg(CWnd* pParent, int nOption, CString strSound);
    ~CSoundConfigDlg() override;

    CComboBox m_ctlSound;   // control 7401
    int m_nOption;          // the checked button of the group at 7403 (0: the first)
    CString m_strSound;     // in: the text to select; out: the text entered or selected
    CStringArray m_arrSounds; // the texts the combo box offers, in order

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Fills the combo box, selects the first item that begins with
    // m_strSound (none when it is empty), centres the dialog; returns 1.
    BOOL OnInitDialog() override;
    // Nothing happens while the combo box's text is empty.
    void OnOK() override;
    DECLARE_MESSAGE_MAP()
};
