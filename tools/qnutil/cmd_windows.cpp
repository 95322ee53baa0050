// qnutil sound: the sound settings dialog (template 7400 of QNResources.dll
// beside qnutil.exe) offering the names given; prints the sound and the option
// chosen, or "cancelled" (exit code 1).
// qnutil tabs: a window with a 3D tab window of three pages, for a person to
// try (Ctrl+Tab, clicks, narrowing the window until the tabs scroll).
// Both take --shot FILE: the window is saved as a PNG once it has painted, and
// closed (the dialog as cancelled); the screenshot script uses it.
#include "Command.h"
#include "Screenshot.h"

#include <QNUtility.h>

#include <optional>

namespace {

using qnutil::Fail;
using qnutil::Out;

constexpr UINT kShot = WM_APP + 0x51;

// Saves the window once everything posted before has been handled, then closes it.
bool Shoot(HWND window, const std::wstring& path)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    return qnutil::SaveWindowPng(window, path);
}

// --- sound ---------------------------------------------------------------------

class SoundDlg : public CSoundConfigDlg {
public:
    using CSoundConfigDlg::CSoundConfigDlg;
    std::wstring shot;
    bool shotFailed = false;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CSoundConfigDlg::OnInitDialog();
        if (!shot.empty())
            PostMessage(kShot);
        return result;
    }
    LRESULT OnShot(WPARAM, LPARAM)
    {
        shotFailed = !Shoot(m_hWnd, shot);
        EndDialog(IDCANCEL);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SoundDlg, CSoundConfigDlg)
    ON_MESSAGE(kShot, OnShot)
END_MESSAGE_MAP()

int RunSound(std::span<const std::wstring> args)
{
    const wchar_t* const kCommand = L"sound";
    int option = 0;
    std::wstring sound, shot;
    std::vector<std::wstring> names;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == L"--option" && hasValue) {
            const std::wstring& text = args[++i];
            if (text.size() != 1 || text[0] < L'0' || text[0] > L'1')
                return Fail(kCommand, L"option '" + text + L"' is not 0 or 1");
            option = text[0] - L'0';
        } else if (args[i] == L"--sound" && hasValue) {
            sound = args[++i];
        } else if (args[i] == L"--shot" && hasValue) {
            shot = args[++i];
        } else if (args[i].rfind(L"--", 0) == 0) {
            return qnutil::Usage(kCommand);
        } else {
            names.push_back(args[i]);
        }
    }
    const qnutil::OwnedModule resources(::LoadLibraryExW((qnutil::ProgramFolder() + L"QNResources.dll").c_str(),
                                                         nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!resources.get())
        return Fail(kCommand, L"QNResources.dll: cannot load the resource module");
    CResourceScope scope(resources.get());
    qnutil::ComScope com;

    SoundDlg dialog(nullptr, option, CString(sound.c_str()));
    dialog.shot = shot;
    for (const std::wstring& name : names)
        dialog.m_arrSounds.Add(name.c_str());
    const INT_PTR result = dialog.DoModal();
    if (result == -1)
        return Fail(kCommand, L"the sound dialog cannot open (template 7400 missing?)");
    if (dialog.shotFailed)
        return Fail(kCommand, shot + L": cannot write the screenshot");
    if (!shot.empty())
        return 0;
    if (result != IDOK) {
        Out(L"cancelled\n");
        return 1;
    }
    Out(L"sound: " + std::wstring(static_cast<LPCWSTR>(dialog.m_strSound)) + L"\noption: " +
        std::to_wstring(dialog.m_nOption) + L"\n");
    return 0;
}

const qnutil::Registration sound{L"sound", L"[--option 0|1] [--sound TEXT] [--shot FILE.png] NAME...",
                                 L"the sound settings dialog; prints the sound and option chosen", RunSound};

// --- tabs ------------------------------------------------------------------------

class TabsFrame : public CWnd {
public:
    std::wstring shot;
    bool shotFailed = false;

    BOOL Open()
    {
        if (!CreateEx(0, nullptr, _T("qnutil tabs"), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 60, 60, 460, 300, nullptr,
                      nullptr))
            return FALSE;
        CRect client;
        GetClientRect(&client);
        if (!m_tabs.Create(this, client, 100))
            return FALSE;
        static const struct {
            LPCTSTR label;
            LPCTSTR text;
        } pages[] = {
            {_T("Screens"), _T("Main overview\r\nTank farm\r\nAlarms")},
            {_T("Tags"), _T("Level_1  INT\r\nValve_3  BOOL\r\nSetpoint REAL")},
            {_T("Drivers"), _T("Serial, 19200 baud\r\nEthernet, port 502")},
        };
        for (size_t i = 0; i < 3; ++i) {
            m_pages[i].CreateEx(0, _T("EDIT"), pages[i].text, WS_CHILD | ES_MULTILINE | ES_READONLY, 0, 0, 0, 0,
                                m_tabs.m_hWnd, reinterpret_cast<HMENU>(i + 1));
            m_pages[i].SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)));
            m_tabs.AddTab(&m_pages[i], pages[i].label);
        }
        m_tabs.ActivateTab(1);
        ShowWindow(SW_SHOW);
        if (!shot.empty())
            PostMessage(kShot);
        return TRUE;
    }
    // The host's message loop: Ctrl+Tab goes through the tab window first.
    int Run()
    {
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (m_tabs.m_hWnd && m_tabs.PreTranslateMessage(&msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        return 0;
    }

protected:
    void OnSize(UINT, int cx, int cy)
    {
        if (m_tabs.m_hWnd)
            m_tabs.MoveWindow(0, 0, cx, cy);
    }
    void OnDestroy() { ::PostQuitMessage(0); }
    LRESULT OnShot(WPARAM, LPARAM)
    {
        shotFailed = !Shoot(m_hWnd, shot);
        DestroyWindow();
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    SEC3DTabWnd m_tabs;
    CWnd m_pages[3];
};
BEGIN_MESSAGE_MAP(TabsFrame, CWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_MESSAGE(kShot, OnShot)
END_MESSAGE_MAP()

int RunTabs(std::span<const std::wstring> args)
{
    const wchar_t* const kCommand = L"tabs";
    std::wstring shot;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--shot" && i + 1 < args.size())
            shot = args[++i];
        else
            return qnutil::Usage(kCommand);
    }
    qnutil::ComScope com;
    TabsFrame frame;
    frame.shot = shot;
    if (!frame.Open())
        return Fail(kCommand, L"cannot create the window");
    frame.Run();
    if (frame.shotFailed)
        return Fail(kCommand, shot + L": cannot write the screenshot");
    return 0;
}

const qnutil::Registration tabs{L"tabs", L"[--shot FILE.png]", L"a 3D tab window with three pages, to try out",
                                RunTabs};

} // namespace
