// CDialog and CColorDialog driven from inside their modal loops: the result of
// each way out, data exchange and its failure, the owner disabled meanwhile,
// messages routed to a subclassed control's map, the template lookup order,
// and the common colour dialog without its template.
#include <afx/afxdlgs.h>

#include "support/MessageBoxRecorder.h"
#include "support/win32/DialogDriver.h"
#include "support/win32/WindowPixels.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr UINT kPing = WM_APP + 5;

// The module with the test templates (tests/fixtures/afxdialogs).
HINSTANCE DialogModule()
{
    static HINSTANCE module = ::LoadLibraryW(L"afxdialogs.dll");
    return module;
}

// A control subclassed through DDX_Control: its map answers kPing.
class CSwatch : public CStatic {
public:
    afx_msg LRESULT OnPing(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) + 1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSwatch, CStatic)
    ON_MESSAGE(kPing, OnPing)
END_MESSAGE_MAP()

class CSampleDlg : public CDialog {
public:
    explicit CSampleDlg(UINT nID = 100) : CDialog(nID) {}

    int m_nValue = 5;
    int m_bCheck = 1;
    int m_nOption = 1;
    CString m_strCombo = L"Be";
    CSwatch m_swatch;
    int m_nEndInInit = 0;
    AFX_MODULE_STATE* m_pStateInInit = nullptr;
    std::vector<WPARAM> m_keys;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, 1000, m_swatch);
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
};

void Post(HWND hWnd, UINT message, WPARAM wParam = 0) { ::PostMessageW(hWnd, message, wParam, 0); }

TEST(DialogModal, WaysOutAndDataExchange)
{
    ResourceModuleInForce resources(L"afxdialogs.dll");
    ASSERT_NE(nullptr, resources.Module());
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr));
    // saved: "value check option combo" after DoModal; key: the key PreTranslateMessage saw, or 0; boxes: validation messages
    const struct { const char* name; void (*script)(HWND); int endInInit; INT_PTR result; LPCWSTR saved; WPARAM key; size_t boxes; } cases[] = {
        {"OK saves the controls",
         [](HWND h) {
             ::SetDlgItemTextW(h, 1001, L" -42 ");
             ::CheckDlgButton(h, 1003, BST_UNCHECKED);
             ::CheckRadioButton(h, 1004, 1005, 1004);
             ::SetDlgItemTextW(h, 1002, L"Gam");
             Post(h, WM_COMMAND, IDOK);
         },
         0, IDOK, L"-42 0 0 Gam", 0, 0},
        {"Return is the default button", [](HWND h) { Post(::GetDlgItem(h, 1001), WM_KEYDOWN, VK_RETURN); }, 0, IDOK, L"5 1 1 Beta", VK_RETURN, 0},
        {"Cancel saves nothing", [](HWND h) { ::SetDlgItemTextW(h, 1001, L"9"); Post(h, WM_COMMAND, IDCANCEL); }, 0, IDCANCEL, L"5 1 1 Be", 0, 0},
        {"close box is Cancel", [](HWND h) { Post(h, WM_CLOSE); }, 0, IDCANCEL, L"5 1 1 Be", 0, 0},
        {"Escape", [](HWND h) { Post(::GetDlgItem(h, 1001), WM_KEYDOWN, VK_ESCAPE); }, 0, IDCANCEL, L"5 1 1 Be", VK_ESCAPE, 0},
        {"a value that is no number keeps the dialog open",
         [](HWND h) {
             ::SetDlgItemTextW(h, 1001, L"12x");
             Post(h, WM_COMMAND, IDOK);
             Post(h, WM_COMMAND, IDCANCEL);
         },
         0, IDCANCEL, L"5 1 1 Be", 0, 1},
        {"WM_QUIT ends the loop and is posted again", [](HWND) { ::PostQuitMessage(3); }, 0, IDABORT, L"5 1 1 Be", 0, 0},
        {"EndDialog in OnInitDialog skips the loop", nullptr, 77, 77, L"5 1 1 Be", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxRecorder boxes;
        CSampleDlg dlg;
        dlg.m_pParentWnd = &owner;
        dlg.m_nEndInInit = c.endInInit;
        BOOL ownerEnabled = TRUE;
        LRESULT ping = 0;
        INT_PTR result;
        {
            DialogDriver driver({[&](HWND h) {
                if (!c.script)
                    return;
                ownerEnabled = ::IsWindowEnabled(owner.m_hWnd);
                ping = ::SendDlgItemMessageW(h, 1000, kPing, 41, 0);
                c.script(h);
            }});
            result = dlg.DoModal();
        }
        EXPECT_EQ(c.result, result);
        CString saved;
        saved.Format(L"%d %d %d %s", dlg.m_nValue, dlg.m_bCheck, dlg.m_nOption, static_cast<LPCWSTR>(dlg.m_strCombo));
        EXPECT_EQ(CString(c.saved), saved);
        EXPECT_EQ(c.key ? std::vector<WPARAM>{c.key} : std::vector<WPARAM>{}, dlg.m_keys);
        ASSERT_EQ(c.boxes, boxes.Boxes().size());
        if (c.boxes) {
            EXPECT_EQ(CString(L"Please enter an integer."), boxes.Boxes()[0].text);
        }
        EXPECT_EQ(AfxGetStaticModuleState(), dlg.m_pStateInInit);
        EXPECT_EQ(c.script ? 42 : 0, ping); // routed to the control's map
        EXPECT_FALSE(c.script && ownerEnabled);
        EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
        EXPECT_EQ(nullptr, dlg.m_hWnd);
        EXPECT_EQ(nullptr, dlg.m_swatch.m_hWnd); // members let go with the dialog
        MSG quit;
        EXPECT_EQ(c.result == IDABORT, ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 3);
    }
    owner.DestroyWindow();
}

TEST(DialogModal, TemplateLookupOrder)
{
    const HINSTANCE exe = ::GetModuleHandleW(nullptr);
    const struct { const char* name; HINSTANCE inForce; bool inChain; UINT id; INT_PTR result; } cases[] = {
        {"module in force", DialogModule(), false, 100, IDCANCEL},
        {"found through the extension chain", exe, true, 100, IDCANCEL},
        {"missing in the module in force, no chain", exe, false, 100, -1},
        {"missing everywhere", DialogModule(), true, 4242, -1},
    };
    const HINSTANCE previous = AfxGetResourceHandle();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AfxSetResourceHandle(c.inForce);
        std::unique_ptr<CDynLinkLibrary> link;
        if (c.inChain)
            link = std::make_unique<CDynLinkLibrary>(DialogModule(), DialogModule());
        DialogDriver driver({[](HWND h) { Post(h, WM_COMMAND, IDCANCEL); }});
        CSampleDlg dlg(c.id);
        EXPECT_EQ(c.result, dlg.DoModal());
    }
    AfxSetResourceHandle(previous);
}

TEST(ColorDialog, MissingCustomTemplateIsCancel)
{
    ResourceModuleInForce resources(L"afxdialogs.dll");
    CColorDialog dlg(0, CC_ENABLETEMPLATE);
    dlg.m_cc.lpTemplateName = MAKEINTRESOURCEW(4242);
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(static_cast<DWORD>(CDERR_FINDRESFAILURE), ::CommDlgExtendedError());
}

} // namespace
