// CKest64ColorDlg: the 64-colour picker on template 7305.
#include <QNColourDialogs.h>

#include <QNColour.h>

#include "colour/ColourPickerLogic.h"
#include "colour/win32/ColourResources.h"
#include "colour/win32/Eyedropper.h"

using namespace qn::colour;

namespace {

// The grid reads the palette but never writes it; its interface takes a
// plain pointer.
unsigned long* PaletteTable()
{
    static_assert(sizeof(ULONG) == sizeof(unsigned long), "the palette is a table of colour values");
    return const_cast<unsigned long*>(reinterpret_cast<const unsigned long*>(k64Palette.data()));
}

int ReadField(CEdit& field)
{
    CString text;
    field.GetWindowText(text);
    return TextToInt(text);
}

void WriteNumber(CEdit& field, int value)
{
    CString text;
    text.Format(_T("%d"), value);
    field.SetWindowText(text);
}

} // namespace

BEGIN_MESSAGE_MAP(CKest64ColorDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_EN_SETFOCUS(kIdcRed, OnSetfocusEditRed)
    ON_EN_SETFOCUS(kIdcGreen, OnSetfocusEditGreen)
    ON_EN_SETFOCUS(kIdcBlue, OnSetfocusEditBlue)
    ON_EN_KILLFOCUS(kIdcRed, OnKillfocusEditRed)
    ON_EN_KILLFOCUS(kIdcGreen, OnKillfocusEditGreen)
    ON_EN_KILLFOCUS(kIdcBlue, OnKillfocusEditBlue)
    ON_EN_CHANGE(kIdcRed, OnChangeEditRed)
    ON_EN_CHANGE(kIdcGreen, OnChangeEditGreen)
    ON_EN_CHANGE(kIdcBlue, OnChangeEditBlue)
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------
// Construction and the host's calls

CKest64ColorDlg::CKest64ColorDlg(e64ColorControlMode eMode, CWnd* pParent)
    : CDialog(kIdd64Color, pParent), m_eControlMode(eMode)
{
    m_ctlGrid.SetColorTable(8, 8, PaletteTable());
    m_ctlGrid.SetCurrentColor(0);
}

void CKest64ColorDlg::SetColor(unsigned long color)
{
    m_clrCurrent = color;
    m_clrOpening = color;
}

unsigned long CKest64ColorDlg::GetColor()
{
    return m_clrCurrent;
}

void CKest64ColorDlg::ApplyNoTransparency()
{
    m_bNoTransparency = true;
}

// ---------------------------------------------------------------------------
// Dialog life

void CKest64ColorDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kIdcBlue, m_editBlue);
    DDX_Control(pDX, kIdcGreen, m_editGreen);
    DDX_Control(pDX, kIdcRed, m_editRed);
    DDX_Control(pDX, kIdcTargetSwatch, m_ctlTargetColor);
    DDX_Control(pDX, kIdcNewSwatch, m_ctlNewColor);
    DDX_Control(pDX, kIdcGridOrTransparent, m_ctlGrid);
    DDX_Control(pDX, kIdcTransparent, m_ctlTransparent);
}

BOOL CKest64ColorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_editRed.SetLimitText(3);
    m_editGreen.SetLimitText(3);
    m_editBlue.SetLimitText(3);
    if (m_eControlMode == e64Color8Colors) {
        if (CWnd* label = GetDlgItem(kIdcLabel))
            label->SetWindowText(LoadResourceString(kIdsEightColorLabel));
        m_ctlTransparent.ShowWindow(SW_HIDE);
        m_ctlTransparent.EnableWindow(FALSE);
    }
    if (m_bNoTransparency)
        m_ctlTransparent.ShowWindow(SW_HIDE);

    Dropper().Attach(m_hWnd);
    return TRUE;
}

BOOL CKest64ColorDlg::DestroyWindow()
{
    Dropper().Detach();
    return CDialog::DestroyWindow();
}

void CKest64ColorDlg::OnCancel()
{
    if (m_nPicking) {
        RestoreOpeningColor();
        return;
    }
    CDialog::OnCancel();
}

BOOL CKest64ColorDlg::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        const HWND focus = ::GetFocus();
        unsigned long result = QN_COLOR_NONE;
        if (focus != nullptr && focus == m_ctlTransparent.m_hWnd)
            result = m_ctlTransparent.HitTest(pMsg);
        else if (focus != nullptr && focus == m_ctlGrid.m_hWnd)
            result = static_cast<unsigned long>(m_ctlGrid.HitTest(pMsg));
        if (result != QN_COLOR_NONE) {
            m_clrCurrent = result;
            UpdateRGBEditCtrls(m_clrCurrent);
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CKest64ColorDlg::OnPaint()
{
    Default();
    m_ctlTransparent.OnPaint();
    m_ctlGrid.OnPaint();
    UpdateControls();
}

// ---------------------------------------------------------------------------
// Fields

void CKest64ColorDlg::UpdateRGBEditCtrls(unsigned long color)
{
    // The fields' change notifications would rebuild the colour from the
    // texts; while the dialog writes them itself they are ignored, and the
    // swatches are brought up to date once at the end.
    m_bWritingFields = true;
    if (color & QN_COLOR_TRANSPARENT) {
        m_editRed.SetWindowText(_T(""));
        m_editGreen.SetWindowText(_T(""));
        m_editBlue.SetWindowText(_T(""));
    } else {
        WriteNumber(m_editRed, static_cast<int>(color & 0xFF));
        WriteNumber(m_editGreen, static_cast<int>((color >> 8) & 0xFF));
        WriteNumber(m_editBlue, static_cast<int>((color >> 16) & 0xFF));
    }
    m_bWritingFields = false;
    UpdateTargetColor();
}

void CKest64ColorDlg::UpdateControls()
{
    UpdateRGBEditCtrls(m_clrCurrent);
}

void CKest64ColorDlg::UpdateTargetColor()
{
    if (m_ctlNewColor.m_hWnd != nullptr) {
        m_ctlNewColor.SetColor(m_clrCurrent, 0);
        RedrawNow(m_ctlNewColor, nullptr);
    }
    if (m_eControlMode == e64ColorMonochrome)
        m_ctlTargetColor.SetColor(m_clrCurrent, 1);
    else if (m_eControlMode == e64Color8Colors)
        m_ctlTargetColor.SetColor(m_clrCurrent, 2);
    if (m_ctlTargetColor.m_hWnd != nullptr)
        RedrawNow(m_ctlTargetColor, nullptr);
}

unsigned long CKest64ColorDlg::FindClosestColor(unsigned long channel)
{
    return Closest64Level(channel);
}

// A change of field `channel` (0 red, 1 green, 2 blue): out-of-range values are
// written back as "0" or "255", and the colour takes the new channel.
void CKest64ColorDlg::ChangeField(CEdit& field, int channel)
{
    if (m_bWritingFields || field.m_hWnd == nullptr)
        return;
    int value = ReadField(field);
    if (value < 0 || value > 255) {
        field.SetWindowText(value < 0 ? _T("0") : _T("255"));
        value = ReadField(field);
    }
    m_clrCurrent = WithChannel(m_clrCurrent, static_cast<Channel>(channel), value);
    UpdateTargetColor();
}

void CKest64ColorDlg::LeaveField(CEdit& field, int channel)
{
    int value = ReadField(field);
    value = value < 0 ? 0 : value > 255 ? 255 : value;
    WriteNumber(field, value);
    m_clrCurrent = WithChannel(m_clrCurrent, static_cast<Channel>(channel), value);
    UpdateRGBEditCtrls(m_clrCurrent);
}

void CKest64ColorDlg::OnChangeEditRed() { ChangeField(m_editRed, 0); }
void CKest64ColorDlg::OnChangeEditGreen() { ChangeField(m_editGreen, 1); }
void CKest64ColorDlg::OnChangeEditBlue() { ChangeField(m_editBlue, 2); }
void CKest64ColorDlg::OnKillfocusEditRed() { LeaveField(m_editRed, 0); }
void CKest64ColorDlg::OnKillfocusEditGreen() { LeaveField(m_editGreen, 1); }
void CKest64ColorDlg::OnKillfocusEditBlue() { LeaveField(m_editBlue, 2); }

void CKest64ColorDlg::OnSetfocusEditRed()
{
    m_editRed.SetSel(0, -1);
    m_editRed.SendMessage(EM_SCROLLCARET, 0, 0);
}

void CKest64ColorDlg::OnSetfocusEditGreen()
{
    m_editGreen.SetSel(0, -1);
    m_editGreen.SendMessage(EM_SCROLLCARET, 0, 0);
}

void CKest64ColorDlg::OnSetfocusEditBlue()
{
    m_editBlue.SetSel(0, -1);
    m_editBlue.SendMessage(EM_SCROLLCARET, 0, 0);
}

// ---------------------------------------------------------------------------
// Mouse and eyedropper

unsigned long CKest64ColorDlg::HitTestPalette(CPoint point)
{
    ClientToScreen(&point);
    unsigned long result = static_cast<unsigned long>(m_ctlGrid.HitTest(point.x, point.y));
    // A hidden or disabled transparent area (8-colour mode, no transparency)
    // offers nothing.
    if (result == QN_COLOR_NONE && m_ctlTransparent.IsWindowVisible() && m_ctlTransparent.IsWindowEnabled())
        result = m_ctlTransparent.HitTest(point.x, point.y);
    return result;
}

Eyedropper CKest64ColorDlg::Dropper()
{
    return Eyedropper(*this, m_ctlEyedropperIcon, m_hEyedropperIcon, m_nPicking, m_hSavedCursor, m_bDragged);
}

void CKest64ColorDlg::RestoreToNormal()
{
    Dropper().End([this] { UpdateRGBEditCtrls(m_clrCurrent); });
}

void CKest64ColorDlg::RestoreOpeningColor()
{
    m_clrCurrent = m_clrOpening;
    m_ctlGrid.SetCurrentColor(m_clrCurrent);
    UpdateRGBEditCtrls(m_clrCurrent);
    RestoreToNormal();
}

void CKest64ColorDlg::MoveMouseOverOkButton()
{
    qn::colour::MoveMouseOverOkButton(m_hWnd);
}

void CKest64ColorDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    CPoint screen(point);
    ClientToScreen(&screen);
    if (m_nPicking) {
        RestoreToNormal();
        MoveMouseOverOkButton();
    } else if (Dropper().OnIcon(screen)) {
        Dropper().Start();
    } else {
        const unsigned long result = HitTestPalette(point);
        if (result != QN_COLOR_NONE) {
            m_clrCurrent = result;
            m_ctlGrid.SetCurrentColor(m_clrCurrent);
            UpdateRGBEditCtrls(m_clrCurrent);
            RedrawNow(m_ctlGrid, nullptr);
        }
    }
    CDialog::OnLButtonDown(nFlags, point);
}

void CKest64ColorDlg::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    const unsigned long result = HitTestPalette(point);
    if (result != QN_COLOR_NONE) {
        m_clrCurrent = result;
        UpdateRGBEditCtrls(m_clrCurrent);
        EndDialog(IDOK);
        return;
    }
    CDialog::OnLButtonDblClk(nFlags, point);
}

void CKest64ColorDlg::OnMouseMove(UINT nFlags, CPoint point)
{
    if (Dropper().Move(nFlags, m_clrCurrent))
        UpdateRGBEditCtrls(m_clrCurrent);
    CDialog::OnMouseMove(nFlags, point);
}

void CKest64ColorDlg::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (Dropper().ReleaseEnds()) {
        RestoreToNormal();
        MoveMouseOverOkButton();
    }
    CDialog::OnLButtonUp(nFlags, point);
}

void CKest64ColorDlg::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (m_nPicking)
        RestoreOpeningColor();
    CDialog::OnRButtonDown(nFlags, point);
}
