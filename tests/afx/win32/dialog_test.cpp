// CDialog and CColorDialog driven from inside (a CBT hook that scripts the
// dialog when it activates): results of OK, Cancel, Escape and WM_QUIT, data
// exchange and its failure, the template lookup order, painting read back as
// pixels, and the common colour dialog subclassed with its message map.
#include <afx/afxdlgs.h>

#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr UINT kSnapshot = WM_APP + 5;
constexpr COLORREF kSwatchFill = RGB(200, 30, 40);

// Runs `script` once, when the first dialog of the thread activates.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(HWND)> script) : m_script(std::move(script))
    {
        s_current = this;
        m_hook = ::SetWindowsHookExW(WH_CBT, &DialogDriver::Hook, nullptr, ::GetCurrentThreadId());
    }
    ~DialogDriver()
    {
        ::UnhookWindowsHookEx(m_hook);
        s_current = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        DialogDriver* self = s_current;
        WCHAR className[16] = {};
        if (code == HCBT_ACTIVATE && self && self->m_script &&
            ::GetClassNameW(reinterpret_cast<HWND>(wParam), className, 16) && ::lstrcmpW(className, L"#32770") == 0) {
            auto script = std::move(self->m_script);
            self->m_script = nullptr;
            script(reinterpret_cast<HWND>(wParam));
        }
        return ::CallNextHookEx(self ? self->m_hook : nullptr, code, wParam, lParam);
    }

    static inline DialogDriver* s_current = nullptr;
    std::function<void(HWND)> m_script;
    HHOOK m_hook;
};

// The module with the test templates (tests/fixtures/afxdialogs).
HINSTANCE DialogModule()
{
    static HINSTANCE module = ::LoadLibraryW(L"afxdialogs.dll");
    return module;
}

// Makes the test module the resource module in force for a scope.
class UseResources {
public:
    explicit UseResources(HINSTANCE hInst) : m_previous(AfxGetResourceHandle()) { AfxSetResourceHandle(hInst); }
    ~UseResources() { AfxSetResourceHandle(m_previous); }

private:
    HINSTANCE m_previous;
};

// A swatch painted through CPaintDC (on screen) or the DC of WM_PRINTCLIENT,
// with CBrush, CPen and Draw3dRect.
class CSwatch : public CStatic {
public:
    void Paint(CDC& dc)
    {
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, kSwatchFill);
        dc.Draw3dRect(&rc, RGB(0, 0, 255), RGB(0, 255, 0));
        CPen pen(PS_SOLID, 1, RGB(255, 255, 0));
        CBrush brush(RGB(0, 0, 0));
        CPen* oldPen = dc.SelectObject(&pen);
        CBrush* oldBrush = dc.SelectObject(&brush);
        dc.Rectangle(4, 4, 10, 10); // yellow outline, black inside
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
    }
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        Paint(dc);
    }
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM)
    {
        Paint(*CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSwatch, CStatic)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
END_MESSAGE_MAP()

class CSampleDlg : public CDialog {
public:
    explicit CSampleDlg(UINT nID = 100) : CDialog(nID) {}

    int m_nValue = 5;
    int m_bCheck = 1;
    int m_nOption = 1;
    CString m_strCombo = L"Be";
    CSwatch m_swatch;
    CComboBox m_combo;
    int m_nEndInInit = 0;
    AFX_MODULE_STATE* m_pStateInInit = nullptr;
    std::vector<WPARAM> m_keys;
    std::vector<COLORREF> m_pixels; // read back by the snapshot

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, 1000, m_swatch);
        DDX_Control(pDX, 1002, m_combo);
        DDX_Text(pDX, 1001, m_nValue);
        DDX_Check(pDX, 1003, m_bCheck);
        DDX_Radio(pDX, 1004, m_nOption);
        DDX_CBString(pDX, 1002, m_strCombo);
    }
    BOOL OnInitDialog() override
    {
        m_pStateInInit = AfxGetModuleState();
        for (LPCWSTR item : {L"Alpha", L"Beta", L"Gamma"})
            SendDlgItemMessage(1002, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        CDialog::OnInitDialog();
        if (m_nEndInInit)
            EndDialog(m_nEndInInit);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            m_keys.push_back(pMsg->wParam);
        return CDialog::PreTranslateMessage(pMsg);
    }
    afx_msg LRESULT OnSnapshot(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSampleDlg, CDialog)
    ON_MESSAGE(kSnapshot, OnSnapshot)
END_MESSAGE_MAP()

// Reads the swatch's pixels back from a DIB it painted into (WM_PRINTCLIENT).
LRESULT CSampleDlg::OnSnapshot(WPARAM, LPARAM)
{
    CRect rcSwatch;
    m_swatch.GetClientRect(&rcSwatch);
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), rcSwatch.Width(), -rcSwatch.Height(), 1, 32, BI_RGB};
    void* bits = nullptr;
    CDC memDC;
    memDC.CreateCompatibleDC(nullptr);
    CBitmap dib;
    dib.Attach(::CreateDIBSection(memDC, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    CBitmap* old = memDC.SelectObject(&dib);
    m_swatch.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), PRF_CLIENT);
    for (CPoint p : {CPoint(0, 0), CPoint(rcSwatch.Width() - 1, rcSwatch.Height() - 1), CPoint(4, 4), CPoint(6, 6),
                     rcSwatch.CenterPoint()})
        m_pixels.push_back(memDC.GetPixel(p));
    memDC.SelectObject(old);
    return 0;
}

void Post(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { ::PostMessageW(hWnd, message, wParam, lParam); }

TEST(DialogModal, ResultsAndDataExchange)
{
    UseResources resources(DialogModule());
    ASSERT_NE(nullptr, DialogModule());
    const struct {
        const char* name;
        std::function<void(HWND)> script;
        INT_PTR result;
        int value, check, option;
        const char* combo;
        size_t boxes;
    } cases[] = {
        {"OK saves the controls",
         [](HWND h) {
             ::SetDlgItemTextW(h, 1001, L" -42 ");
             ::CheckDlgButton(h, 1003, BST_UNCHECKED);
             ::CheckRadioButton(h, 1004, 1005, 1004);
             ::SetDlgItemTextW(h, 1002, L"Gam");
             Post(h, WM_COMMAND, IDOK);
         },
         IDOK, -42, 0, 0, "Gam", 0},
        {"OK keeps what OnInitDialog showed", [](HWND h) { Post(h, WM_COMMAND, IDOK); }, IDOK, 5, 1, 1, "Beta", 0},
        {"Cancel saves nothing",
         [](HWND h) {
             ::SetDlgItemTextW(h, 1001, L"9");
             Post(h, WM_COMMAND, IDCANCEL);
         },
         IDCANCEL, 5, 1, 1, "Be", 0},
        {"close box is Cancel", [](HWND h) { Post(h, WM_CLOSE); }, IDCANCEL, 5, 1, 1, "Be", 0},
        {"Escape through PreTranslateMessage", [](HWND h) { Post(::GetDlgItem(h, 1001), WM_KEYDOWN, VK_ESCAPE); }, IDCANCEL,
         5, 1, 1, "Be", 0},
        {"a value that is no number keeps the dialog open",
         [](HWND h) {
             ::SetDlgItemTextW(h, 1001, L"12x");
             Post(h, WM_COMMAND, IDOK);
             Post(h, WM_COMMAND, IDCANCEL);
         },
         IDCANCEL, 5, 1, 1, "Be", 1},
        {"WM_QUIT ends the loop and is posted again", [](HWND h) { ::PostQuitMessage(3); }, IDABORT, 5, 1, 1, "Be", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxRecorder boxes;
        CSampleDlg dlg;
        INT_PTR result;
        {
            DialogDriver driver(c.script);
            result = dlg.DoModal();
        }
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.value, dlg.m_nValue);
        EXPECT_EQ(c.check, dlg.m_bCheck);
        EXPECT_EQ(c.option, dlg.m_nOption);
        EXPECT_EQ(CString(c.combo), dlg.m_strCombo);
        EXPECT_EQ(c.boxes, boxes.Boxes().size());
        EXPECT_EQ(AfxGetStaticModuleState(), dlg.m_pStateInInit);
        EXPECT_EQ(nullptr, dlg.m_hWnd);
        EXPECT_EQ(nullptr, dlg.m_swatch.m_hWnd); // members let go with the dialog
        if (c.result == IDABORT) {
            MSG quit;
            EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
            EXPECT_EQ(3u, quit.wParam);
        }
        if (c.boxes) {
            EXPECT_EQ(CString(L"Please enter an integer."), boxes.Boxes()[0].text);
        }
    }
}

TEST(DialogModal, KeysPassThePreTranslateChainAndTheOwnerIsDisabled)
{
    UseResources resources(DialogModule());
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr));
    CSampleDlg dlg;
    dlg.m_pParentWnd = &owner;
    BOOL ownerEnabledMeanwhile = TRUE;
    HWND hOwner = owner.m_hWnd;
    DialogDriver driver([&](HWND h) {
        ownerEnabledMeanwhile = ::IsWindowEnabled(hOwner);
        Post(::GetDlgItem(h, 1001), WM_KEYDOWN, VK_F5);
        Post(::GetDlgItem(h, 1001), WM_KEYDOWN, VK_RETURN); // the default button: OK
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(::IsWindowEnabled(hOwner));
    EXPECT_EQ((std::vector<WPARAM>{VK_F5, VK_RETURN}), dlg.m_keys);
}

TEST(DialogModal, EndDialogInOnInitDialogSkipsTheLoop)
{
    UseResources resources(DialogModule());
    CSampleDlg dlg;
    dlg.m_nEndInInit = 77;
    EXPECT_EQ(77, dlg.DoModal());
}

TEST(DialogModal, TemplateLookupOrder)
{
    const HINSTANCE exe = ::GetModuleHandleW(nullptr);
    const struct {
        const char* name;
        HINSTANCE inForce;
        bool inChain;
        UINT id;
        INT_PTR result;
    } cases[] = {
        {"module in force", DialogModule(), false, 100, IDCANCEL},
        {"found through the extension chain", exe, true, 100, IDCANCEL},
        {"missing in the module in force, no chain", exe, false, 100, -1},
        {"missing everywhere", DialogModule(), true, 4242, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseResources resources(c.inForce);
        std::unique_ptr<CDynLinkLibrary> link;
        if (c.inChain)
            link = std::make_unique<CDynLinkLibrary>(DialogModule(), DialogModule());
        DialogDriver driver([](HWND h) { Post(h, WM_COMMAND, IDCANCEL); });
        CSampleDlg dlg(c.id);
        EXPECT_EQ(c.result, dlg.DoModal());
    }
}

TEST(DialogPaint, ControlsPaintThroughTheirMessageMaps)
{
    UseResources resources(DialogModule());
    CSampleDlg dlg;
    DialogDriver driver([](HWND h) {
        Post(h, kSnapshot);
        Post(h, WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    const std::vector<COLORREF> expected = {RGB(0, 0, 255), RGB(0, 255, 0), RGB(255, 255, 0), RGB(0, 0, 0), kSwatchFill};
    EXPECT_EQ(expected, dlg.m_pixels); // frame corners, pen outline, brush inside, fill
}

// The common colour dialog, subclassed: its map sees the system dialog's messages.
constexpr UINT kPick = WM_APP + 9;

class CProbeColorDialog : public CColorDialog {
public:
    using CColorDialog::CColorDialog;
    BOOL m_bInit = FALSE;
    AFX_MODULE_STATE* m_pStateInHandler = nullptr;
    BOOL OnInitDialog() override
    {
        m_bInit = TRUE;
        return CColorDialog::OnInitDialog();
    }
    afx_msg LRESULT OnPick(WPARAM, LPARAM)
    {
        m_pStateInHandler = AfxGetModuleState();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeColorDialog, CColorDialog)
    ON_MESSAGE(kPick, OnPick)
END_MESSAGE_MAP()

TEST(ColorDialog, OkCancelAndTheMessageMap)
{
    const struct {
        const char* name;
        UINT command;
        INT_PTR result;
    } cases[] = {
        {"OK", IDOK, IDOK},
        {"Cancel", IDCANCEL, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CProbeColorDialog dlg(RGB(1, 2, 3), CC_FULLOPEN);
        DialogDriver driver([&](HWND h) {
            Post(h, kPick);
            Post(h, WM_COMMAND, c.command);
        });
        EXPECT_EQ(c.result, dlg.DoModal());
        EXPECT_EQ(RGB(1, 2, 3), dlg.GetColor()); // the initial colour (CC_RGBINIT)
        EXPECT_TRUE(dlg.m_bInit);
        EXPECT_EQ(AfxGetStaticModuleState(), dlg.m_pStateInHandler);
        EXPECT_EQ(nullptr, dlg.m_hWnd);
    }
}

TEST(ColorDialog, MissingCustomTemplateIsCancel)
{
    UseResources resources(DialogModule());
    CColorDialog dlg(0, CC_ENABLETEMPLATE);
    dlg.m_cc.lpTemplateName = MAKEINTRESOURCEW(4242);
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(static_cast<DWORD>(CDERR_FINDRESFAILURE), ::CommDlgExtendedError());
}

} // namespace
