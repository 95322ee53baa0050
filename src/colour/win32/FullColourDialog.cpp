// CKestFullColorDlg: the common colour dialog on template 7300, with a target
// swatch, a transparent area, an eyedropper and the process-wide history.
#include <QNColourDialogs.h>

#include <QNColour.h>

#include "colour/ColourPickerLogic.h"
#include "colour/win32/ColourResources.h"
#include "colour/win32/Eyedropper.h"

#include <ctime>

using namespace qn::colour;

namespace {

constexpr UINT_PTR kRepaintTimer = 100;
constexpr UINT kRepaintDelay = 50;
constexpr unsigned long kOpeningUnset = 0xFFFFFD77;
constexpr COLORREF kCaptionFill = 0xC8D0D4;
constexpr DWORD kFullColorFlags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLETEMPLATE | CC_SOLIDCOLOR;
static_assert(kFullColorFlags == 0xA3);

// The 16 most recently chosen colours of the process (not persisted).
ColourHistory& History()
{
    static ColourHistory history;
    return history;
}

// The dialog whose hook is running, from WM_INITDIALOG until OK or Cancel.
CKestFullColorDlg* g_pActiveDialog = nullptr;

// Posted by the hook at WM_INITDIALOG: some common dialogs fill their fields
// from the result colour only after the hook has seen WM_INITDIALOG, which
// would overwrite the empty fields of a transparent choice. The transparent
// state is applied again once the dialog's initialisation is complete.
const UINT kApplyTransparentMessage = ::RegisterWindowMessageW(L"QNUtility.FullColorDlg.ApplyTransparent");

CString TrimmedText(HWND field)
{
    CString text;
    const int length = ::GetWindowTextLengthW(field);
    if (length > 0) {
        ::GetWindowTextW(field, text.GetBuffer(length + 1), length + 1);
        text.ReleaseBuffer();
    }
    text.Trim();
    return text;
}

bool PointInWindow(HWND window, CPoint screenPoint)
{
    RECT rect = {};
    return window != nullptr && ::GetWindowRect(window, &rect) && ::PtInRect(&rect, screenPoint);
}

} // namespace

IMPLEMENT_DYNAMIC(CKestFullColorDlg, CColorDialog)

BEGIN_MESSAGE_MAP(CKestFullColorDlg, CColorDialog)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------
// Construction and the host's calls

CKestFullColorDlg::CKestFullColorDlg(unsigned long clrInit, unsigned long dwFlags, CWnd* pParentWnd)
    : CColorDialog(static_cast<COLORREF>(clrInit), static_cast<DWORD>(dwFlags), pParentWnd)
{
    m_cc.Flags |= kFullColorFlags | CC_ENABLEHOOK;
    // The template's module: the resource module in force, then the chain.
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(kIddFullColor), RT_DIALOG);
    m_cc.hInstance = reinterpret_cast<HWND>(module != nullptr ? module : AfxGetResourceHandle());
    m_cc.lpTemplateName = MAKEINTRESOURCE(kIddFullColor);
    m_cc.lpfnHook = &CKestFullColorDlg::HookProc;
    m_cc.lCustData = reinterpret_cast<LPARAM>(this);
    m_cc.rgbResult = static_cast<COLORREF>(m_clrCurrent & 0x00FFFFFF);
    m_cc.lpCustColors = History().Colours();
}

void CKestFullColorDlg::SetColorMode(int nMode)
{
    m_nColorMode = nMode;
}

void CKestFullColorDlg::SetColor(unsigned long color)
{
    m_bTransparent = (color & QN_COLOR_TRANSPARENT) != 0;
    m_cc.lpCustColors = History().Colours();
    m_clrCurrent = color;
    m_cc.rgbResult = static_cast<COLORREF>(color & 0x00FFFFFF);
    if (m_clrOpening == kOpeningUnset)
        m_clrOpening = color;
}

unsigned long CKestFullColorDlg::GetColor()
{
    AddToHistory(m_cc.rgbResult);
    return m_cc.rgbResult | (m_bTransparent ? QN_COLOR_TRANSPARENT : 0);
}

void CKestFullColorDlg::AddToHistory(unsigned long color)
{
    History().Add(color, static_cast<std::int64_t>(std::time(nullptr)));
}

void CKestFullColorDlg::ApplyTransparency()
{
    SetColor(QN_COLOR_TRANSPARENT);
    UpdateRGBEditCtrls(QN_COLOR_TRANSPARENT);
}

void CKestFullColorDlg::ApplyNoTransparency()
{
    m_bNoTransparency = true;
}

// ---------------------------------------------------------------------------
// Fields and swatches

void CKestFullColorDlg::UpdateRGBEditCtrls(unsigned long color)
{
    CEdit* const fields[] = {&m_editRed, &m_editGreen, &m_editBlue};
    for (int channel = 0; channel < 3; ++channel) {
        if (fields[channel]->m_hWnd == nullptr)
            continue;
        CString text;
        if (!(color & QN_COLOR_TRANSPARENT))
            text.Format(_T("%d"), static_cast<int>((color >> (8 * channel)) & 0xFF));
        fields[channel]->SetWindowText(text);
    }
}

// Fills an item's client area; with `caption`, the transparent caption at
// (width / 2, height / 4), centred.
void CKestFullColorDlg::PaintCaptionSwatch(HWND hItem, COLORREF fill, bool caption)
{
    CWnd* item = CWnd::FromHandle(hItem);
    CClientDC dc(item);
    CRect client;
    item->GetClientRect(&client);
    dc.FillSolidRect(&client, fill);
    if (!caption)
        return;
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    CFont* previousFont = font != nullptr ? dc.SelectObject(CFont::FromHandle(font)) : nullptr;
    dc.SetTextAlign(TA_CENTER);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    const CString text = LoadTransparentCaption();
    dc.TextOut(client.Width() / 2, client.Height() / 4, text);
    if (previousFont != nullptr)
        dc.SelectObject(previousFont);
}

void CKestFullColorDlg::UpdateTargetColorCtrl(unsigned long color)
{
    if (m_ctlTargetColor.m_hWnd == nullptr)
        return;
    const unsigned long shown = GetConvertedTargetColor(m_nColorMode, color);
    if (color & QN_COLOR_TRANSPARENT)
        PaintCaptionSwatch(m_ctlTargetColor.m_hWnd, kCaptionFill, true);
    else
        PaintCaptionSwatch(m_ctlTargetColor.m_hWnd, static_cast<COLORREF>(shown & 0x00FFFFFF), false);
}

void CKestFullColorDlg::UpdateFinalColorCtrl(unsigned long color)
{
    if (!(color & QN_COLOR_TRANSPARENT) || m_hWnd == nullptr)
        return;
    if (const HWND sample = ::GetDlgItem(m_hWnd, kIdcCommonSample))
        PaintCaptionSwatch(sample, kCaptionFill, true);
}

// ---------------------------------------------------------------------------
// The common dialog's hook

UINT_PTR CALLBACK CKestFullColorDlg::HookProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        const auto* block = reinterpret_cast<const CHOOSECOLOR*>(lParam);
        g_pActiveDialog = block != nullptr ? reinterpret_cast<CKestFullColorDlg*>(block->lCustData) : nullptr;
        if (g_pActiveDialog != nullptr)
            g_pActiveDialog->OnHookInitDialog(hDlg);
        break;
    }
    case WM_TIMER:
        if (wParam == kRepaintTimer && g_pActiveDialog != nullptr) {
            g_pActiveDialog->UpdateTargetColorCtrl(g_pActiveDialog->m_clrCurrent);
            ::KillTimer(hDlg, kRepaintTimer);
        }
        break;
    case WM_DRAWITEM:
        // The template's target swatch is owner-drawn: it paints whenever the
        // system repaints it, not only with the dialog.
        if (wParam == kIdcTargetSwatch && g_pActiveDialog != nullptr)
            g_pActiveDialog->UpdateTargetColorCtrl(g_pActiveDialog->m_clrCurrent);
        break;
    case WM_COMMAND:
        if (wParam == IDOK || wParam == IDCANCEL) {
            if (g_pActiveDialog != nullptr)
                g_pActiveDialog->DetachItems();
            g_pActiveDialog = nullptr;
        } else if (HIWORD(wParam) == EN_CHANGE && g_pActiveDialog != nullptr &&
                   (LOWORD(wParam) == kIdcCommonRed || LOWORD(wParam) == kIdcCommonGreen ||
                    LOWORD(wParam) == kIdcCommonBlue)) {
            g_pActiveDialog->OnHookFieldChange();
        }
        break;
    default:
        if (message == kApplyTransparentMessage && message != 0 && g_pActiveDialog != nullptr) {
            g_pActiveDialog->SetColor(QN_COLOR_TRANSPARENT);
            g_pActiveDialog->UpdateRGBEditCtrls(QN_COLOR_TRANSPARENT);
            g_pActiveDialog->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
        break;
    }
    return 0; // the common dialog processes every message too
}

void CKestFullColorDlg::OnHookInitDialog(HWND hDlg)
{
    if (HWND transparent = ::GetDlgItem(hDlg, kIdcGridOrTransparent))
        m_ctlTransparent.SubclassWindow(transparent);
    if (HWND red = ::GetDlgItem(hDlg, kIdcCommonRed))
        m_editRed.Attach(red);
    if (HWND green = ::GetDlgItem(hDlg, kIdcCommonGreen))
        m_editGreen.Attach(green);
    if (HWND blue = ::GetDlgItem(hDlg, kIdcCommonBlue))
        m_editBlue.Attach(blue);
    if (HWND swatch = ::GetDlgItem(hDlg, kIdcTargetSwatch))
        m_ctlTargetColor.Attach(swatch);

    if (m_bNoTransparency) {
        m_bTransparent = false;
        ::ShowWindow(::GetDlgItem(hDlg, kIdcGridOrTransparent), SW_HIDE);
    }
    if (m_nColorMode == 3) {
        ::ShowWindow(::GetDlgItem(hDlg, kIdcTargetSwatch), SW_HIDE);
        if (HWND label = ::GetDlgItem(hDlg, kIdcTargetLabel))
            ::ShowWindow(label, SW_HIDE);
    }
    if (m_clrCurrent & QN_COLOR_TRANSPARENT) {
        SetColor(QN_COLOR_TRANSPARENT);
        UpdateRGBEditCtrls(QN_COLOR_TRANSPARENT);
        ::PostMessageW(hDlg, kApplyTransparentMessage, 0, 0);
    } else {
        UpdateTargetColorCtrl(m_clrCurrent);
    }

    Dropper().Attach(hDlg);
    ::SetTimer(hDlg, kRepaintTimer, kRepaintDelay, nullptr);
}

void CKestFullColorDlg::OnHookFieldChange()
{
    if (m_editRed.m_hWnd == nullptr || m_editGreen.m_hWnd == nullptr || m_editBlue.m_hWnd == nullptr)
        return;
    const CString red = TrimmedText(m_editRed.m_hWnd);
    const CString green = TrimmedText(m_editGreen.m_hWnd);
    const CString blue = TrimmedText(m_editBlue.m_hWnd);
    if (red.IsEmpty() || green.IsEmpty() || blue.IsEmpty())
        return; // emptied fields keep a transparent choice
    const unsigned long r = static_cast<unsigned long>(TextToInt(red)) & 0xFF;
    const unsigned long g = static_cast<unsigned long>(TextToInt(green)) & 0xFF;
    const unsigned long b = static_cast<unsigned long>(TextToInt(blue)) & 0xFF;
    SetColor(b * 0x10000 + g * 0x100 + r);
    // The swatch follows the fields at once (not only at the next repaint).
    UpdateTargetColorCtrl(m_clrCurrent);
}

void CKestFullColorDlg::DetachItems()
{
    if (m_ctlTransparent.m_hWnd != nullptr)
        m_ctlTransparent.UnsubclassWindow();
    CWnd* const attached[] = {&m_editRed, &m_editGreen, &m_editBlue, &m_ctlTargetColor};
    for (CWnd* wnd : attached) {
        if (wnd->m_hWnd != nullptr)
            wnd->Detach();
    }
    Dropper().Detach();
}

// ---------------------------------------------------------------------------
// Messages of the dialog window

void CKestFullColorDlg::OnPaint()
{
    Default();
    if (m_ctlTransparent.m_hWnd != nullptr)
        m_ctlTransparent.OnPaint();
    UpdateTargetColorCtrl(m_clrCurrent);
    UpdateFinalColorCtrl(m_clrCurrent);
}

Eyedropper CKestFullColorDlg::Dropper()
{
    return Eyedropper(*this, m_ctlEyedropperIcon, m_hEyedropperIcon, m_nPicking, m_hSavedCursor, m_bDragged);
}

void CKestFullColorDlg::RestoreToNormal()
{
    Dropper().End([this] { UpdateRGBEditCtrls(m_clrCurrent); });
}

void CKestFullColorDlg::RestoreOpeningColor()
{
    m_clrCurrent = m_clrOpening;
    RestoreToNormal();
}

void CKestFullColorDlg::MoveMouseOverOkButton()
{
    qn::colour::MoveMouseOverOkButton(m_hWnd);
}

void CKestFullColorDlg::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    Default();
    CPoint screen(point);
    ClientToScreen(&screen);

    if (m_nPicking) {
        const HWND spectrum = ::GetDlgItem(m_hWnd, kIdcCommonSpectrum);
        const bool inSpectrum = PointInWindow(spectrum, screen);
        RestoreToNormal();
        if (!inSpectrum)
            MoveMouseOverOkButton();
        return;
    }
    if (Dropper().OnIcon(screen)) {
        Dropper().Start();
        return;
    }
    if (!m_bNoTransparency && m_ctlTransparent.m_hWnd != nullptr &&
        m_ctlTransparent.HitTest(screen.x, screen.y) != QN_COLOR_NONE) {
        SetColor(QN_COLOR_TRANSPARENT);
        UpdateRGBEditCtrls(QN_COLOR_TRANSPARENT);
    } else {
        // A click anywhere else clears a transparent choice.
        SetColor(m_cc.rgbResult);
    }
    // Show the choice at once: the paint handler brings the swatches up to date.
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CKestFullColorDlg::OnMouseMove(UINT nFlags, CPoint point)
{
    if (Dropper().Move(nFlags, m_clrCurrent))
        UpdateRGBEditCtrls(m_clrCurrent);
    CColorDialog::OnMouseMove(nFlags, point);
}

void CKestFullColorDlg::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (Dropper().ReleaseEnds()) {
        RestoreToNormal();
        MoveMouseOverOkButton();
    }
    CColorDialog::OnLButtonUp(nFlags, point);
}

void CKestFullColorDlg::OnRButtonDown(UINT nFlags, CPoint point)
{
    CColorDialog::OnRButtonDown(nFlags, point);
    if (m_nPicking)
        RestoreOpeningColor();
}

void CKestFullColorDlg::OnCancel()
{
    if (m_nPicking) {
        RestoreOpeningColor();
        return;
    }
    CColorDialog::OnCancel();
}
