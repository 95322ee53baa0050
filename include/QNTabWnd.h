// The tab-window toolkit: a tab control that draws a row of tabs along one
// edge of its window, and a tab window that shows one child window per tab
// above (or below) such a control.
//
//   SECTabControlBase   the row of tabs: labels, the active tab, scrolling
//                       when the tabs do not fit, keys, tool tips; plain look
//   SEC3DTabControl     the same drawn with a raised three-dimensional look
//   SECTabWndBase       a child window per tab, the tab control along the
//                       bottom (or top) edge; Ctrl+Tab / Ctrl+Shift+Tab
//   SEC3DTabWnd         the same with a 3D tab control and a sunken frame
//
// A host builds a tabbed view like this:
//
//     SEC3DTabWnd tabs;
//     tabs.Create(pParent, CRect(0, 0, 400, 300), 100);
//     CEdit* pEdit = new CEdit;   // any window: its parent becomes `tabs`
//     pEdit->Create(WS_CHILD | ES_MULTILINE, CRect(0, 0, 0, 0), &tabs, 1);
//     tabs.AddTab(pEdit, _T("Script"));
//
// The tab window never deletes the windows of its tabs; it deletes the tab
// control it made in CreateTabCtrl.
//
// Notifications. The tab control tells its parent what the user did with
// WM_NOTIFY (NMHDR.idFrom is the control's id): SECTCN_ACTIVATE after the
// active tab changed (by click, key or ActivateTab with bNotify), SECTCN_RCLICK
// for a right-button press or release (the tab under the pointer becomes
// active first), SECTCN_LDBLCLK for a double-click on a tab. Each comes as an
// NMSECTAB that names the tab.
//
// Geometry. Each tab is as wide as its label plus SECTC_LABEL_MARGIN on both
// sides (at least SECTC_MIN_TAB_WIDTH); the row is GetTabHeight() high. When
// the tabs do not fit, two scroll buttons sit at the row's far end and the row
// starts at the first visible tab; activating a tab scrolls it into view.
//
// Windows-only.
#pragma once

#include <QNPlatform.h>
#include <afx/afxwin.h>
#include <afx/afxcmn.h>

#include <vector>

// Tab-control styles: bits of the low word, which a window of a custom class
// leaves to the class.
enum : DWORD {
    SECTCS_TABSONTOP = 0x0001,  // tabs hang from the top edge (default: bottom)
    SECTCS_TOOLTIPS = 0x0002,   // the label of the tab under the pointer as a tip
};

// WM_NOTIFY codes of the tab control.
enum : UINT {
    SECTCN_ACTIVATE = 0U - 2200U,
    SECTCN_RCLICK = 0U - 2201U,
    SECTCN_LDBLCLK = 0U - 2202U,
};

struct NMSECTAB {
    NMHDR hdr;
    int nTab; // the tab concerned (-1: none)
};

enum : int {
    SECTC_LABEL_MARGIN = 10,   // pixels left and right of a label
    SECTC_MIN_TAB_WIDTH = 40,
    SECTC_HIT_SCROLL_LEFT = -2,  // TabHitTest results besides tab indexes and -1
    SECTC_HIT_SCROLL_RIGHT = -3,
};

class QN_API SECTabControlBase : public CWnd {
    DECLARE_DYNAMIC(SECTabControlBase)
public:
    SECTabControlBase();
    ~SECTabControlBase() override;
    SECTabControlBase(const SECTabControlBase&) = delete;
    SECTabControlBase& operator=(const SECTabControlBase&) = delete;

    // Creates the control's window: dwStyle holds the window styles (WS_CHILD
    // is added) and SECTCS_* bits. FALSE when the window cannot be made.
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // --- Tabs ---
    // Adds a tab at the end (InsertTab: before nIndex, clamped to 0..count);
    // returns its index. pData is the caller's, handed back by GetTabData.
    int AddTab(LPCTSTR lpszLabel, void* pData = nullptr);
    int InsertTab(int nIndex, LPCTSTR lpszLabel, void* pData = nullptr);
    // FALSE for an index out of range. Deleting the active tab makes the tab
    // that takes its place (or the new last one) active and notifies.
    BOOL DeleteTab(int nIndex);
    void DeleteAllTabs();
    BOOL RenameTab(int nIndex, LPCTSTR lpszLabel);
    int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
    // Empty / null for an index out of range.
    CString GetTabLabel(int nIndex) const;
    void* GetTabData(int nIndex) const;
    // The index of the first tab with this data, or -1.
    int FindTab(const void* pData) const;

    // --- The active tab ---
    int GetActiveTab() const { return m_nActive; }
    // Makes the tab active, scrolls it into view and repaints; with bNotify
    // the parent gets SECTCN_ACTIVATE. FALSE for an index out of range.
    BOOL ActivateTab(int nIndex, BOOL bNotify = FALSE);
    // The next (or previous) tab, wrapping around; FALSE without tabs.
    BOOL ActivateNextTab(BOOL bForward = TRUE, BOOL bNotify = TRUE);

    // --- Geometry ---
    int GetTabHeight() const;
    // The rectangle of the tab in client coordinates; empty when it is
    // scrolled out of view or the index is out of range.
    CRect GetTabRect(int nIndex) const;
    // The tab under the point (client coordinates), SECTC_HIT_SCROLL_LEFT/RIGHT
    // on a scroll button, or -1.
    int TabHitTest(CPoint point) const;
    int GetFirstVisibleTab() const { return m_nFirstVisible; }
    // TRUE when the tabs do not all fit and the scroll buttons show.
    BOOL IsScrolling() const;
    // Moves the row by whole tabs (negative: towards the first tab).
    void ScrollTabs(int nTabs);

    // --- Tool tips ---
    // Switches the label tips on or off (the SECTCS_TOOLTIPS style bit).
    void EnableTabToolTips(BOOL bEnable);

protected:
    // Draws one tab. The base draws a flat framed box; the active tab uses the
    // button face and bold-free black text, the others the 3D shadow face.
    virtual void DrawTab(CDC* pDC, int nIndex, const CRect& rect, BOOL bActive);
    // Draws the scroll buttons and the line the tabs hang from.
    virtual void DrawBackground(CDC* pDC, const CRect& rcClient);

    void Notify(UINT nCode, int nTab);
    CRect GetRowRect() const;  // where the tabs go (the client area less the scroll buttons)
    CFont* GetLabelFont() const;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    // The right-button handler: presses and releases alike make the tab under
    // the pointer active and send SECTCN_RCLICK.
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    struct Tab {
        CString label;
        void* pData;
        int nWidth;
    };
    int MeasureLabel(const CString& label) const;
    void EnsureVisible(int nIndex);
    void UpdateToolTip(CPoint point);

    std::vector<Tab> m_tabs;
    int m_nActive = -1;
    int m_nFirstVisible = 0;
    DWORD m_dwTabStyle = 0;
    int m_nTipTab = -1;
};

class QN_API SEC3DTabControl : public SECTabControlBase {
    DECLARE_DYNAMIC(SEC3DTabControl)
public:
    SEC3DTabControl();
    ~SEC3DTabControl() override;

protected:
    // A raised tab: highlight on the leading and outer edges, shadow and dark
    // shadow on the trailing edge; the active tab is 2 pixels taller and open
    // towards the tab window's client area.
    void DrawTab(CDC* pDC, int nIndex, const CRect& rect, BOOL bActive) override;
    void DrawBackground(CDC* pDC, const CRect& rcClient) override;
};

class QN_API SECTabWndBase : public CWnd {
    DECLARE_DYNAMIC(SECTabWndBase)
public:
    SECTabWndBase();
    ~SECTabWndBase() override;
    SECTabWndBase(const SECTabWndBase&) = delete;
    SECTabWndBase& operator=(const SECTabWndBase&) = delete;

    // Creates the window as a child of pParentWnd and then its tab control
    // through CreateTabCtrl(dwTabCtrlStyle, SECTW_TABCTRL_ID), keeping
    // dwTabCtrlStyle as the stored tab-control style. FALSE when either fails.
    BOOL Create(CWnd* pParentWnd, const RECT& rect, UINT nID,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                DWORD dwTabCtrlStyle = WS_CHILD | WS_VISIBLE | SECTCS_TOOLTIPS);

    // Creates the tab control (a SECTabControlBase here), stores it in
    // m_pTabCtrl and creates its window with the stored style.
    virtual BOOL CreateTabCtrl(DWORD dwStyle, UINT nID);

    // --- Tabs ---
    // Makes pWnd a child of the tab window and adds a tab for it; the first
    // tab becomes active. Returns the index, -1 when pWnd has no window.
    int AddTab(CWnd* pWnd, LPCTSTR lpszLabel);
    // Removes the tab of pWnd (the window stays, hidden); FALSE when no tab has it.
    BOOL RemoveTab(CWnd* pWnd);
    BOOL RenameTab(CWnd* pWnd, LPCTSTR lpszLabel);
    BOOL ActivateTab(CWnd* pWnd);
    BOOL ActivateTab(int nIndex);
    int GetTabCount() const;
    // The window of the active tab, or null.
    CWnd* GetActiveWnd() const;
    SECTabControlBase* GetTabControl() const { return m_pTabCtrl; }
    // The area the tab windows fill, in client coordinates.
    virtual CRect GetClientArea() const;

    // Ctrl+Tab / Ctrl+Shift+Tab in the tab window or any window inside it
    // switch to the next / previous tab.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    enum : UINT { SECTW_TABCTRL_ID = 0xE900 };

protected:
    // Places the tab control and the active window, shows only the latter.
    virtual void RecalcLayout();
    void ShowActive();

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg LRESULT OnTabNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    SECTabControlBase* m_pTabCtrl = nullptr;  // owned, made by CreateTabCtrl
    DWORD m_dwTabCtrlStyle = 0;               // the style CreateTabCtrl gives the control
};

class QN_API SEC3DTabWnd : public SECTabWndBase {
    DECLARE_DYNAMIC(SEC3DTabWnd)
public:
    SEC3DTabWnd();
    ~SEC3DTabWnd() override;

    // Creates a SEC3DTabControl.
    BOOL CreateTabCtrl(DWORD dwStyle, UINT nID) override;
    // Inside the sunken 2-pixel frame.
    CRect GetClientArea() const override;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
