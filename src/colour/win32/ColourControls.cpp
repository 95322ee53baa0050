// The colour grid, the colour swatch and the transparent area: statics that
// their dialog subclasses and feeds with mouse positions and key messages.
#include <QNColourDialogs.h>

#include <QNColour.h>

#include "colour/ColourPickerLogic.h"
#include "colour/win32/ColourResources.h"

using qn::colour::GridCell;
using qn::colour::GridLayout;

namespace qn::colour {

CString LoadTransparentCaption()
{
    return LoadResourceString(kIdsTransparentCaption);
}

void DrawCaption(CDC& dc, const CRect& rect, LPCTSTR faceName)
{
    LOGFONT logFont = {};
    logFont.lfHeight = -MulDiv(8, dc.GetDeviceCaps(LOGPIXELSY), 72);
    logFont.lfWeight = FW_NORMAL;
    logFont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpyn(logFont.lfFaceName, faceName, LF_FACESIZE);
    CFont font;
    if (!font.CreateFontIndirect(&logFont))
        return;
    CFont* previous = dc.SelectObject(&font);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    CRect textRect(rect);
    const CString caption = LoadTransparentCaption();
    dc.DrawText(caption, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SelectObject(previous);
}

void RedrawNow(CWnd& wnd, const RECT* rect)
{
    wnd.RedrawWindow(rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool HasFocus(const CWnd& wnd)
{
    return wnd.m_hWnd != nullptr && ::GetFocus() == wnd.m_hWnd;
}

} // namespace qn::colour

namespace {

constexpr COLORREF Rgb(unsigned long color) { return static_cast<COLORREF>(color & 0x00FFFFFF); }

void Line(CDC& dc, int x1, int y1, int x2, int y2)
{
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
}

// The sunken frame of one cell: each line up to, not including, its end point.
void DrawSunkenFrame(CDC& dc, const GridCell& cell)
{
    const int L = cell.left, T = cell.top, w = cell.width, h = cell.height;
    struct Edge {
        int sysColor;
        int x1, y1, x2, y2;
    };
    const Edge edges[] = {
        {COLOR_3DSHADOW, L, T, L + w, T},
        {COLOR_3DSHADOW, L, T, L, T + h + 1},
        {COLOR_3DDKSHADOW, L + 1, T + 1, L + w - 1, T + 1},
        {COLOR_3DDKSHADOW, L + 1, T + 1, L + 1, T + h - 1},
        {COLOR_3DHILIGHT, L + w, T, L + w, T + h + 1},
        {COLOR_3DHILIGHT, L, T + h, L + w + 1, T + h},
        {COLOR_3DLIGHT, L + w - 1, T + 1, L + w - 1, T + h},
        {COLOR_3DLIGHT, L + 1, T + h - 1, L + w, T + h - 1},
    };
    for (const Edge& edge : edges) {
        CPen pen(PS_SOLID, 1, ::GetSysColor(edge.sysColor));
        CPen* previous = dc.SelectObject(&pen);
        Line(dc, edge.x1, edge.y1, edge.x2, edge.y2);
        dc.SelectObject(previous);
    }
}

} // namespace

// ===========================================================================
// CKestColorGridCtrl

BEGIN_MESSAGE_MAP(CKestColorGridCtrl, CStatic)
    ON_WM_PAINT()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CKestColorGridCtrl::CKestColorGridCtrl() = default;

void CKestColorGridCtrl::SetColorTable(int nColumns, int nRows, unsigned long* pColors)
{
    m_nColumns = nColumns;
    m_nRows = nRows;
    m_pColorTable = pColors;
}

void CKestColorGridCtrl::SetCurrentColor(unsigned long color)
{
    m_clrCurrent = color;
    m_nFocusColumn = 0;
    m_nFocusRow = 0;
    if (m_pColorTable == nullptr)
        return;
    for (int index = 0; index < m_nRows * m_nColumns; ++index) {
        if (m_pColorTable[index] == color) {
            m_nFocusColumn = index % m_nColumns;
            m_nFocusRow = index / m_nColumns;
            return;
        }
    }
}

int CKestColorGridCtrl::HitTest(int x, int y)
{
    CRect window;
    GetWindowRect(&window);
    if (x < window.left || x > window.right || y < window.top || y > window.bottom)
        return -1;
    if (m_pColorTable == nullptr || m_nColumns < 1 || m_nRows < 1)
        return -1;
    CPoint point(x, y);
    ScreenToClient(&point);
    CRect client;
    GetClientRect(&client);
    const int index = GridLayout::For(client.Width(), client.Height(), m_nColumns, m_nRows).IndexAt(point.x, point.y);
    return index < 0 ? -1 : static_cast<int>(m_pColorTable[index]);
}

int CKestColorGridCtrl::HitTest(MSG* pMsg)
{
    if (pMsg == nullptr || pMsg->message != WM_KEYDOWN)
        return -1;
    if (pMsg->wParam == VK_SPACE) {
        const bool inside = m_pColorTable != nullptr && m_nFocusColumn >= 0 && m_nFocusColumn < m_nColumns &&
                            m_nFocusRow >= 0 && m_nFocusRow < m_nRows;
        return inside ? static_cast<int>(m_pColorTable[m_nFocusRow * m_nColumns + m_nFocusColumn]) : -1;
    }
    const int oldColumn = m_nFocusColumn, oldRow = m_nFocusRow;
    if (qn::colour::MoveFocusCell(static_cast<unsigned>(pMsg->wParam), m_nColumns, m_nRows, m_nFocusColumn, m_nFocusRow)) {
        RedrawCellNow(oldColumn, oldRow);
        RedrawCellNow(m_nFocusColumn, m_nFocusRow);
    }
    return -1;
}

void CKestColorGridCtrl::RedrawCellNow(int column, int row)
{
    if (m_nColumns < 1 || m_nRows < 1)
        return;
    CRect client;
    GetClientRect(&client);
    const GridCell cell = GridLayout::For(client.Width(), client.Height(), m_nColumns, m_nRows).Cell(column, row);
    CRect rect(cell.left, cell.top, cell.left + cell.width, cell.top + cell.height);
    rect.InflateRect(3, 3);
    qn::colour::RedrawNow(*this, &rect);
}

void CKestColorGridCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, ::GetSysColor(COLOR_3DFACE));
    if (m_pColorTable == nullptr || m_nRows < 1 || m_nColumns < 1)
        return;

    const GridLayout layout = GridLayout::For(client.Width(), client.Height(), m_nColumns, m_nRows);
    const bool focused = qn::colour::HasFocus(*this);
    for (int row = 0; row < m_nRows; ++row) {
        for (int column = 0; column < m_nColumns; ++column) {
            const unsigned long color = m_pColorTable[row * m_nColumns + column];
            const GridCell cell = layout.Cell(column, row);
            const int L = cell.left, T = cell.top, w = cell.width, h = cell.height;
            dc.FillSolidRect(L, T, w, h, Rgb(color));

            const int saved = dc.SaveDC();
            DrawSunkenFrame(dc, cell);
            dc.RestoreDC(saved);

            if (color == m_clrCurrent) {
                CGdiObject* previousPen = dc.SelectStockObject(BLACK_PEN);
                CGdiObject* previousBrush = dc.SelectStockObject(HOLLOW_BRUSH);
                dc.Rectangle(L - 1, T - 1, L + w + 2, T + h + 2);
                dc.SelectObject(previousBrush);
                dc.SelectObject(previousPen);
            }
            if (focused && column == m_nFocusColumn && row == m_nFocusRow) {
                CRect focus(L - 2, T - 2, L + w + 3, T + h + 3);
                dc.DrawFocusRect(&focus);
            }
        }
    }
}

void CKestColorGridCtrl::OnSetFocus(CWnd* pOldWnd)
{
    (void)pOldWnd;
    qn::colour::RedrawNow(*this, nullptr);
    Default();
}

void CKestColorGridCtrl::OnKillFocus(CWnd* pNewWnd)
{
    (void)pNewWnd;
    qn::colour::RedrawNow(*this, nullptr);
    Default();
}

// ===========================================================================
// CKestStaticColorCtrl

BEGIN_MESSAGE_MAP(CKestStaticColorCtrl, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CKestStaticColorCtrl::CKestStaticColorCtrl() = default;

void CKestStaticColorCtrl::SetColor(unsigned long color, int nDisplayMode)
{
    m_clrColor = color;
    m_nDisplayMode = nDisplayMode;
}

void CKestStaticColorCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);

    const bool transparent = (m_clrColor & QN_COLOR_TRANSPARENT) != 0;
    COLORREF paint;
    if (transparent)
        paint = ::GetSysColor(COLOR_3DFACE);
    else if (m_nDisplayMode == 1)
        paint = (m_clrColor & 0xFF) != 0 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    else if (m_nDisplayMode == 2)
        paint = Rgb(FindClosest8Color(m_clrColor));
    else
        paint = Rgb(m_clrColor);
    dc.FillSolidRect(&client, paint);
    if (transparent)
        qn::colour::DrawCaption(dc, client, _T("MS Sans Serif"));
}

// ===========================================================================
// CKestTransparentCtrl

BEGIN_MESSAGE_MAP(CKestTransparentCtrl, CStatic)
    ON_WM_PAINT()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

unsigned long CKestTransparentCtrl::HitTest(int x, int y)
{
    CRect window;
    GetWindowRect(&window);
    const bool inside = x >= window.left && x <= window.right && y >= window.top && y <= window.bottom;
    return inside ? QN_COLOR_TRANSPARENT : QN_COLOR_NONE;
}

unsigned long CKestTransparentCtrl::HitTest(MSG* pMsg)
{
    const bool space = pMsg != nullptr && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_SPACE;
    return space ? QN_COLOR_TRANSPARENT : QN_COLOR_NONE;
}

void CKestTransparentCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, ::GetSysColor(COLOR_3DFACE));

    // The caption in the face of the control's own font; without one, the face
    // of the default GUI font.
    LOGFONT current = {};
    HFONT controlFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0));
    if (controlFont == nullptr || ::GetObject(controlFont, sizeof(current), &current) == 0)
        ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof(current), &current);
    qn::colour::DrawCaption(dc, client, current.lfFaceName);

    if (qn::colour::HasFocus(*this)) {
        CRect focus(client);
        focus.DeflateRect(2, 2);
        dc.DrawFocusRect(&focus);
    }
}

void CKestTransparentCtrl::OnSetFocus(CWnd* pOldWnd)
{
    (void)pOldWnd;
    qn::colour::RedrawNow(*this, nullptr);
    Default();
}

void CKestTransparentCtrl::OnKillFocus(CWnd* pNewWnd)
{
    (void)pNewWnd;
    qn::colour::RedrawNow(*this, nullptr);
    Default();
}
