// SECTabControlBase and SEC3DTabControl: the row of tabs.
#include <QNTabWnd.h>

#include <cstddef>

// The notification record hosts read: the platform's header, then the tab.
static_assert(offsetof(NMSECTAB, nTab) == sizeof(NMHDR) && sizeof(NMHDR) == 3 * sizeof(void*) &&
                  sizeof(NMSECTAB) == 4 * sizeof(void*),
              "NMSECTAB layout");

#include <algorithm>

IMPLEMENT_DYNAMIC(SECTabControlBase, CWnd)
IMPLEMENT_DYNAMIC(SEC3DTabControl, SECTabControlBase)

namespace {
constexpr int kScrollButtons = 2;

HFONT LabelFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }
} // namespace

// --- Construction -------------------------------------------------------------

SECTabControlBase::SECTabControlBase() = default;
SECTabControlBase::~SECTabControlBase() = default;

BOOL SECTabControlBase::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_dwTabStyle = dwStyle & 0xFFFF;
    const LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    if (!CWnd::Create(cls, _T(""), dwStyle | WS_CHILD, rect, pParentWnd, nID))
        return FALSE;
    if (m_dwTabStyle & SECTCS_TOOLTIPS)
        EnableToolTips(TRUE);
    return TRUE;
}

// --- Tabs ---------------------------------------------------------------------

int SECTabControlBase::MeasureLabel(const CString& label) const
{
    HDC hdc = ::GetDC(m_hWnd);
    const HGDIOBJ old = ::SelectObject(hdc, LabelFont());
    SIZE size = {};
    ::GetTextExtentPoint32W(hdc, label, label.GetLength(), &size);
    ::SelectObject(hdc, old);
    ::ReleaseDC(m_hWnd, hdc);
    return std::max<int>(size.cx + 2 * SECTC_LABEL_MARGIN, SECTC_MIN_TAB_WIDTH);
}

int SECTabControlBase::AddTab(LPCTSTR lpszLabel, void* pData) { return InsertTab(GetTabCount(), lpszLabel, pData); }

int SECTabControlBase::InsertTab(int nIndex, LPCTSTR lpszLabel, void* pData)
{
    nIndex = std::clamp(nIndex, 0, GetTabCount());
    CString label(lpszLabel ? lpszLabel : _T(""));
    const int width = MeasureLabel(label);
    m_tabs.insert(m_tabs.begin() + nIndex, Tab{label, pData, width});
    if (m_nActive >= nIndex)
        ++m_nActive;
    if (m_hWnd)
        Invalidate();
    return nIndex;
}

BOOL SECTabControlBase::DeleteTab(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetTabCount())
        return FALSE;
    m_tabs.erase(m_tabs.begin() + nIndex);
    if (m_nTipTab == nIndex)
        m_nTipTab = -1;
    m_nFirstVisible = std::clamp(m_nFirstVisible, 0, std::max(GetTabCount() - 1, 0));
    if (nIndex < m_nActive) {
        --m_nActive;
    } else if (nIndex == m_nActive) {
        m_nActive = -1;
        if (!m_tabs.empty())
            ActivateTab(std::min(nIndex, GetTabCount() - 1), TRUE);
        else
            Notify(SECTCN_ACTIVATE, -1);
    }
    if (m_hWnd)
        Invalidate();
    return TRUE;
}

void SECTabControlBase::DeleteAllTabs()
{
    m_tabs.clear();
    m_nActive = -1;
    m_nFirstVisible = 0;
    m_nTipTab = -1;
    if (m_hWnd)
        Invalidate();
}

BOOL SECTabControlBase::RenameTab(int nIndex, LPCTSTR lpszLabel)
{
    if (nIndex < 0 || nIndex >= GetTabCount())
        return FALSE;
    Tab& tab = m_tabs[static_cast<size_t>(nIndex)];
    tab.label = lpszLabel ? lpszLabel : _T("");
    tab.nWidth = MeasureLabel(tab.label);
    if (m_hWnd)
        Invalidate();
    return TRUE;
}

CString SECTabControlBase::GetTabLabel(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetTabCount())
        return CString();
    return m_tabs[static_cast<size_t>(nIndex)].label;
}

void* SECTabControlBase::GetTabData(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetTabCount())
        return nullptr;
    return m_tabs[static_cast<size_t>(nIndex)].pData;
}

int SECTabControlBase::FindTab(const void* pData) const
{
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        if (m_tabs[i].pData == pData)
            return static_cast<int>(i);
    }
    return -1;
}

// --- The active tab -------------------------------------------------------------

BOOL SECTabControlBase::ActivateTab(int nIndex, BOOL bNotify)
{
    if (nIndex < 0 || nIndex >= GetTabCount())
        return FALSE;
    m_nActive = nIndex;
    EnsureVisible(nIndex);
    if (m_hWnd)
        Invalidate();
    if (bNotify)
        Notify(SECTCN_ACTIVATE, nIndex);
    return TRUE;
}

BOOL SECTabControlBase::ActivateNextTab(BOOL bForward, BOOL bNotify)
{
    const int count = GetTabCount();
    if (count == 0)
        return FALSE;
    const int from = m_nActive < 0 ? 0 : m_nActive;
    return ActivateTab((from + (bForward ? 1 : count - 1)) % count, bNotify);
}

void SECTabControlBase::Notify(UINT nCode, int nTab)
{
    CWnd* pParent = GetParent();
    if (!m_hWnd || !pParent)
        return;
    NMSECTAB nm = {};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    nm.hdr.code = nCode;
    nm.nTab = nTab;
    pParent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

// --- Geometry -------------------------------------------------------------------

int SECTabControlBase::GetTabHeight() const
{
    TEXTMETRICW tm = {};
    HDC hdc = ::GetDC(nullptr);
    const HGDIOBJ old = ::SelectObject(hdc, LabelFont());
    ::GetTextMetricsW(hdc, &tm);
    ::SelectObject(hdc, old);
    ::ReleaseDC(nullptr, hdc);
    return tm.tmHeight + 8;
}

BOOL SECTabControlBase::IsScrolling() const
{
    if (!m_hWnd)
        return FALSE;
    CRect client;
    GetClientRect(&client);
    int total = 0;
    for (const Tab& tab : m_tabs)
        total += tab.nWidth;
    return total > client.Width();
}

CRect SECTabControlBase::GetRowRect() const
{
    CRect row;
    GetClientRect(&row);
    if (IsScrolling())
        row.right = std::max<int>(row.left, row.right - kScrollButtons * GetTabHeight());
    return row;
}

CRect SECTabControlBase::GetTabRect(int nIndex) const
{
    if (!m_hWnd || nIndex < m_nFirstVisible || nIndex >= GetTabCount())
        return CRect(0, 0, 0, 0);
    const CRect row = GetRowRect();
    int x = row.left;
    for (int i = m_nFirstVisible; i < nIndex; ++i)
        x += m_tabs[static_cast<size_t>(i)].nWidth;
    if (x >= row.right)
        return CRect(0, 0, 0, 0);
    const int right = std::min<int>(x + m_tabs[static_cast<size_t>(nIndex)].nWidth, row.right);
    return CRect(x, row.top, right, row.bottom);
}

int SECTabControlBase::TabHitTest(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point))
        return -1;
    const CRect row = GetRowRect();
    if (point.x >= row.right) {
        const int button = GetTabHeight();
        return point.x < row.right + button ? SECTC_HIT_SCROLL_LEFT : SECTC_HIT_SCROLL_RIGHT;
    }
    for (int i = m_nFirstVisible; i < GetTabCount(); ++i) {
        if (GetTabRect(i).PtInRect(point))
            return i;
    }
    return -1;
}

void SECTabControlBase::ScrollTabs(int nTabs)
{
    const int first = std::clamp(m_nFirstVisible + nTabs, 0, std::max(GetTabCount() - 1, 0));
    if (first != m_nFirstVisible) {
        m_nFirstVisible = first;
        if (m_hWnd)
            Invalidate();
    }
}

void SECTabControlBase::EnsureVisible(int nIndex)
{
    if (!m_hWnd)
        return;
    if (nIndex < m_nFirstVisible) {
        m_nFirstVisible = nIndex;
        return;
    }
    // Move the row on until the whole tab fits (or it is the first one shown).
    const CRect row = GetRowRect();
    while (m_nFirstVisible < nIndex) {
        const CRect rc = GetTabRect(nIndex);
        if (!rc.IsRectEmpty() && rc.right - rc.left == m_tabs[static_cast<size_t>(nIndex)].nWidth && rc.right <= row.right)
            break;
        ++m_nFirstVisible;
    }
}

// --- Tool tips ------------------------------------------------------------------

void SECTabControlBase::EnableTabToolTips(BOOL bEnable)
{
    m_dwTabStyle = bEnable ? (m_dwTabStyle | SECTCS_TOOLTIPS) : (m_dwTabStyle & ~DWORD{SECTCS_TOOLTIPS});
    if (m_hWnd)
        EnableToolTips(bEnable);
}

void SECTabControlBase::UpdateToolTip(CPoint point)
{
    if (!IsToolTipsEnabled())
        return;
    CToolTipCtrl* pTip = AfxGetThreadState()->m_pToolTip;
    if (!pTip || !pTip->m_hWnd)
        return;
    const int hit = TabHitTest(point);
    if (hit != m_nTipTab) {
        m_nTipTab = hit;
        pTip->DelTool(this);
        if (hit >= 0) {
            const CRect rc = GetTabRect(hit);
            pTip->AddTool(this, GetTabLabel(hit), &rc);
        }
    }
    MSG msg = {m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y), 0, {}};
    pTip->RelayEvent(&msg);
}

// --- Painting ---------------------------------------------------------------------

CFont* SECTabControlBase::GetLabelFont() const { return CFont::FromHandle(LabelFont()); }

void SECTabControlBase::DrawBackground(CDC* pDC, const CRect& rcClient)
{
    const HDC hdc = pDC->m_hDC;
    ::FillRect(hdc, &rcClient, ::GetSysColorBrush(COLOR_BTNFACE));
    // The line the tabs hang from, on the edge that meets the tab window.
    const BOOL top = (m_dwTabStyle & SECTCS_TABSONTOP) != 0;
    RECT line = rcClient;
    if (top)
        line.top = line.bottom - 1;
    else
        line.bottom = line.top + 1;
    ::FillRect(hdc, &line, ::GetSysColorBrush(COLOR_WINDOWFRAME));
    if (!IsScrolling())
        return;
    const CRect row = GetRowRect();
    const int button = GetTabHeight();
    for (int i = 0; i < kScrollButtons; ++i) {
        RECT rc = {row.right + i * button, rcClient.top, row.right + (i + 1) * button, rcClient.bottom};
        ::DrawFrameControl(hdc, &rc, DFC_SCROLL,
                           (i == 0 ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT) |
                               ((i == 0 ? m_nFirstVisible == 0 : m_nFirstVisible >= GetTabCount() - 1) ? DFCS_INACTIVE
                                                                                                       : 0));
    }
}

void SECTabControlBase::DrawTab(CDC* pDC, int nIndex, const CRect& rect, BOOL bActive)
{
    const HDC hdc = pDC->m_hDC;
    RECT rc = rect;
    ::FillRect(hdc, &rc, ::GetSysColorBrush(bActive ? COLOR_WINDOW : COLOR_BTNFACE));
    ::FrameRect(hdc, &rc, ::GetSysColorBrush(COLOR_WINDOWFRAME));
    const CString label = GetTabLabel(nIndex);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextW(hdc, label, label.GetLength(), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void SECTabControlBase::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    // Draw off screen, then copy: the row repaints on every move of the pointer.
    // Declared first, the bitmap outlives the memory DC it is selected into.
    CBitmap bitmap;
    CDC mem;
    mem.CreateCompatibleDC(CDC::FromHandle(hdc));
    bitmap.CreateCompatibleBitmap(CDC::FromHandle(hdc), std::max<int>(client.Width(), 1),
                                  std::max<int>(client.Height(), 1));
    const HGDIOBJ oldBitmap = mem.SelectObject(static_cast<HGDIOBJ>(bitmap.GetSafeHandle()));
    const HGDIOBJ oldFont = mem.SelectObject(static_cast<HGDIOBJ>(LabelFont()));
    {
        CDC* pDC = &mem;
        DrawBackground(pDC, client);
        // Inactive tabs first, the active one last so that it overlaps them.
        for (int i = m_nFirstVisible; i < GetTabCount(); ++i) {
            const CRect rc = GetTabRect(i);
            if (i != m_nActive && !rc.IsRectEmpty())
                DrawTab(pDC, i, rc, FALSE);
        }
        const CRect active = GetTabRect(m_nActive);
        if (m_nActive >= 0 && !active.IsRectEmpty())
            DrawTab(pDC, m_nActive, active, TRUE);
        if (::GetFocus() == m_hWnd && !active.IsRectEmpty()) {
            RECT focus = active;
            ::InflateRect(&focus, -3, -3);
            ::DrawFocusRect(mem, &focus);
        }
    }
    ::BitBlt(hdc, 0, 0, client.Width(), client.Height(), mem, 0, 0, SRCCOPY);
    mem.SelectObject(oldFont);
    mem.SelectObject(oldBitmap);
    ::EndPaint(m_hWnd, &ps);
}

BOOL SECTabControlBase::OnEraseBkgnd(CDC*) { return TRUE; }

// --- Mouse and keys ---------------------------------------------------------------

void SECTabControlBase::OnLButtonDown(UINT, CPoint point)
{
    const int hit = TabHitTest(point);
    if (hit == SECTC_HIT_SCROLL_LEFT || hit == SECTC_HIT_SCROLL_RIGHT) {
        ScrollTabs(hit == SECTC_HIT_SCROLL_LEFT ? -1 : 1);
        return;
    }
    if (GetStyle() & WS_TABSTOP)
        SetFocus();
    if (hit >= 0 && hit != m_nActive)
        ActivateTab(hit, TRUE);
}

void SECTabControlBase::OnLButtonUp(UINT, CPoint) {}

void SECTabControlBase::OnLButtonDblClk(UINT, CPoint point)
{
    const int hit = TabHitTest(point);
    if (hit >= 0)
        Notify(SECTCN_LDBLCLK, hit);
}

void SECTabControlBase::OnRButtonDown(UINT, CPoint point)
{
    const int hit = TabHitTest(point);
    if (hit >= 0 && hit != m_nActive)
        ActivateTab(hit, TRUE);
    Notify(SECTCN_RCLICK, hit < 0 ? -1 : hit);
}

void SECTabControlBase::OnMouseMove(UINT, CPoint point) { UpdateToolTip(point); }

void SECTabControlBase::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nChar) {
    case VK_LEFT: ActivateNextTab(FALSE); break;
    case VK_RIGHT: ActivateNextTab(TRUE); break;
    case VK_HOME: ActivateTab(0, TRUE); break;
    case VK_END: ActivateTab(GetTabCount() - 1, TRUE); break;
    default: CWnd::OnKeyDown(nChar, nRepCnt, nFlags); break;
    }
}

UINT SECTabControlBase::OnGetDlgCode() { return DLGC_WANTARROWS; }

void SECTabControlBase::OnSize(UINT, int, int)
{
    if (m_nActive >= 0)
        EnsureVisible(m_nActive);
    Invalidate();
}

BEGIN_MESSAGE_MAP(SECTabControlBase, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

// --- SEC3DTabControl --------------------------------------------------------------

SEC3DTabControl::SEC3DTabControl() = default;
SEC3DTabControl::~SEC3DTabControl() = default;

void SEC3DTabControl::DrawBackground(CDC* pDC, const CRect& rcClient)
{
    SECTabControlBase::DrawBackground(pDC, rcClient);
    // The tab window's frame continues along the edge the tabs hang from.
    const HDC hdc = pDC->m_hDC;
    const BOOL top = (GetStyle() & SECTCS_TABSONTOP) != 0;
    RECT line = rcClient;
    if (top) {
        line.top = line.bottom - 1;
        ::FillRect(hdc, &line, ::GetSysColorBrush(COLOR_3DHILIGHT));
    } else {
        line.bottom = line.top + 1;
        ::FillRect(hdc, &line, ::GetSysColorBrush(COLOR_3DDKSHADOW));
    }
}

void SEC3DTabControl::DrawTab(CDC* pDC, int nIndex, const CRect& rect, BOOL bActive)
{
    const HDC hdc = pDC->m_hDC;
    const BOOL top = (GetStyle() & SECTCS_TABSONTOP) != 0;
    // Inactive tabs stand 2 pixels back from the edge they hang from; the
    // active one reaches over that edge so it joins the window above it.
    RECT rc = rect;
    if (top) {
        rc.top += bActive ? 0 : 2;
        rc.bottom -= bActive ? 0 : 1;
    } else {
        rc.top += bActive ? 0 : 1;
        rc.bottom -= bActive ? 0 : 2;
    }
    ::FillRect(hdc, &rc, ::GetSysColorBrush(bActive ? COLOR_BTNFACE : COLOR_3DLIGHT));

    auto line = [hdc](int x1, int y1, int x2, int y2, int colour) {
        RECT r = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
        ::FillRect(hdc, &r, ::GetSysColorBrush(colour));
    };
    const int l = rc.left, r = rc.right - 1, t = rc.top, b = rc.bottom - 1;
    if (top) {
        line(l, t + 2, l, b, COLOR_3DHILIGHT);      // leading edge
        line(l + 2, t, r - 2, t, COLOR_3DHILIGHT);  // outer edge
        line(l + 1, t + 1, l + 1, t + 1, COLOR_3DHILIGHT);
        line(r - 1, t + 2, r - 1, b, COLOR_3DSHADOW);
        line(r, t + 2, r, b, COLOR_3DDKSHADOW);
        line(r - 1, t + 1, r - 1, t + 1, COLOR_3DDKSHADOW);
    } else {
        line(l, t, l, b - 2, COLOR_3DHILIGHT);
        line(l + 1, b - 1, l + 1, b - 1, COLOR_3DHILIGHT);
        line(l + 2, b, r - 2, b, COLOR_3DDKSHADOW);     // outer edge
        line(l + 2, b - 1, r - 2, b - 1, COLOR_3DSHADOW);
        line(r - 1, t, r - 1, b - 2, COLOR_3DSHADOW);
        line(r, t, r, b - 2, COLOR_3DDKSHADOW);
        line(r - 1, b - 1, r - 1, b - 1, COLOR_3DDKSHADOW);
    }
    const CString label = GetTabLabel(nIndex);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextW(hdc, label, label.GetLength(), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}
