// qnutil pick: opens the 64-colour dialog (or, with --full, the full colour
// dialog) with the resource module QNResources.dll beside qnutil.exe, and
// prints the colour chosen (RRGGBB, red first), "transparent", or "cancelled"
// (exit code 1).
//
// --do runs actions inside the open dialog, in order, each after the dialog
// has processed the previous one; they are what the command tests and the
// screenshot script use:
//   cell:N        click palette cell N (64-colour dialog)
//   transparent   click the transparent area
//   pick          press the eyedropper (starts picking)
//   key:NAME      a key stroke to the focused item (space, left, right, up, down, escape)
//   focus:ID      move the focus to item ID
//   shot:FILE     save the dialog's client area as it is on screen to FILE (.png)
//   ok, cancel    press the button
#include "Command.h"
#include "Screenshot.h"

#include <QNUtility.h>


#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace {

using qnutil::Fail;
using qnutil::Out;

const wchar_t kCommand[] = L"pick";

// --- Acting inside the modal dialog ---------------------------------------------

using Action = std::function<bool(HWND dialog)>;

// Runs the actions once the first dialog window is shown; each action is
// started by a message posted to a message-only window, so that whatever the
// previous one posted has been processed by the dialog's loop.
class Autopilot {
public:
    explicit Autopilot(std::vector<Action> actions) : m_actions(std::move(actions))
    {
        s_self = this;
        if (m_actions.empty())
            return;
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &Autopilot::Next;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QNUtilPickAutopilot";
        ::RegisterClassW(&wc);
        m_window = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                     nullptr);
        m_hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &Autopilot::Cbt, nullptr, ::GetCurrentThreadId());
    }
    ~Autopilot()
    {
        if (m_hook != nullptr)
            ::UnhookWindowsHookEx(m_hook);
        if (m_window != nullptr)
            ::DestroyWindow(m_window);
        s_self = nullptr;
    }
    Autopilot(const Autopilot&) = delete;
    Autopilot& operator=(const Autopilot&) = delete;

    bool Failed() const { return m_failed; }

private:
    static constexpr UINT kNext = WM_APP + 0x3A;

    static LRESULT CALLBACK Cbt(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam && s_self != nullptr &&
            s_self->m_dialog == nullptr) {
            wchar_t name[16] = {};
            ::GetClassNameW(call->hwnd, name, 16);
            if (lstrcmpW(name, L"#32770") == 0) {
                s_self->m_dialog = call->hwnd;
                ::PostMessageW(s_self->m_window, kNext, 0, 0);
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static LRESULT CALLBACK Next(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        Autopilot* self = s_self;
        if (message != kNext || self == nullptr)
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
        if (self->m_next < self->m_actions.size() && ::IsWindow(self->m_dialog)) {
            ::RedrawWindow(self->m_dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            if (!self->m_actions[self->m_next++](self->m_dialog)) {
                self->m_failed = true;
                ::PostMessageW(self->m_dialog, WM_COMMAND, IDCANCEL, 0);
                self->m_next = self->m_actions.size();
            } else if (self->m_next < self->m_actions.size()) {
                ::PostMessageW(hwnd, kNext, 0, 0);
            }
        }
        return 0;
    }

    std::vector<Action> m_actions;
    size_t m_next = 0;
    HWND m_dialog = nullptr;
    HWND m_window = nullptr;
    HHOOK m_hook = nullptr;
    bool m_failed = false;
    static inline Autopilot* s_self = nullptr;
};

bool ClickAt(HWND dialog, HWND item, POINT point, UINT message = WM_LBUTTONDOWN)
{
    if (item == nullptr)
        return false;
    ::MapWindowPoints(item, dialog, &point, 1);
    ::SendMessageW(dialog, message, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    return true;
}

bool ClickCentre(HWND dialog, int id)
{
    const HWND item = ::GetDlgItem(dialog, id);
    RECT rect = {};
    if (item == nullptr || !::GetClientRect(item, &rect))
        return false;
    return ClickAt(dialog, item, {rect.right / 2, rect.bottom / 2});
}

// The centre of cell `index` of the 8 x 8 grid (the layout of the grid control).
bool ClickCell(HWND dialog, int index)
{
    const HWND grid = ::GetDlgItem(dialog, 1000);
    RECT rect = {};
    if (grid == nullptr || index < 0 || index > 63 || !::GetClientRect(grid, &rect))
        return false;
    const int w = (rect.right - 42) / 8, h = (rect.bottom - 42) / 8;
    return ClickAt(dialog, grid, {3 + (index % 8) * (w + 5) + w / 2, 3 + (index / 8) * (h + 5) + h / 2});
}

std::optional<UINT> KeyNamed(const std::wstring& name)
{
    struct Key {
        const wchar_t* name;
        UINT key;
    };
    static const Key keys[] = {{L"space", VK_SPACE}, {L"left", VK_LEFT},     {L"right", VK_RIGHT},
                               {L"up", VK_UP},       {L"down", VK_DOWN},     {L"escape", VK_ESCAPE}};
    for (const Key& key : keys) {
        if (name == key.name)
            return key.key;
    }
    return std::nullopt;
}

std::optional<int> Number(const std::wstring& text, int low, int high)
{
    if (text.size() > 5)
        return std::nullopt;
    return qnutil::DecimalIn(text, low, high);
}

// One action of --do; nullopt for an unknown one.
std::optional<Action> ParseAction(const std::wstring& text, bool full)
{
    const size_t colon = text.find(L':');
    const std::wstring verb = text.substr(0, colon);
    const std::wstring argument = colon == std::wstring::npos ? L"" : text.substr(colon + 1);
    const int transparentId = full ? 1000 : 1006;
    if (verb == L"ok" || verb == L"cancel") {
        const WPARAM id = verb == L"ok" ? IDOK : IDCANCEL;
        return Action([id](HWND dialog) { return ::PostMessageW(dialog, WM_COMMAND, id, 0) != FALSE; });
    }
    if (verb == L"transparent")
        return Action([transparentId](HWND dialog) { return ClickCentre(dialog, transparentId); });
    if (verb == L"pick")
        return Action([](HWND dialog) { return ClickCentre(dialog, 1017); });
    if (verb == L"cell" && !full) {
        const std::optional<int> index = Number(argument, 0, 63);
        if (!index)
            return std::nullopt;
        return Action([cell = *index](HWND dialog) { return ClickCell(dialog, cell); });
    }
    if (verb == L"focus") {
        const std::optional<int> id = Number(argument, 1, 65535);
        if (!id)
            return std::nullopt;
        return Action([id = *id](HWND dialog) {
            const HWND item = ::GetDlgItem(dialog, id);
            ::SetFocus(item);
            return item != nullptr;
        });
    }
    if (verb == L"key") {
        const std::optional<UINT> key = KeyNamed(argument);
        if (!key)
            return std::nullopt;
        return Action([key = *key](HWND dialog) {
            const HWND focus = ::GetFocus();
            return ::PostMessageW(focus != nullptr ? focus : dialog, WM_KEYDOWN, key, 1) != FALSE;
        });
    }
    if (verb == L"shot" && !argument.empty())
        return Action([path = argument](HWND dialog) { return qnutil::SaveWindowPng(dialog, path); });
    return std::nullopt;
}

// --- The command ------------------------------------------------------------------

std::optional<ULONG> ParseStartColour(const std::wstring& text)
{
    if (text == L"transparent")
        return 0x08000000UL;
    if (text.size() != 6)
        return std::nullopt;
    CColor colour;
    if (!colour.SetString(text.c_str()))
        return std::nullopt;
    return static_cast<ULONG>(colour);
}

int RunPick(std::span<const std::wstring> args)
{
    bool full = false;
    std::optional<int> mode;
    ULONG start = 0;
    std::wstring resources = qnutil::ProgramFolder() + L"QNResources.dll";
    std::vector<std::wstring> actionTexts;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == L"--full") {
            full = true;
        } else if (args[i] == L"--mode" && hasValue) {
            mode = Number(args[++i], 0, 12);
            if (!mode)
                return Fail(kCommand, L"mode '" + args[i] + L"' is not one of 0 to 12");
        } else if ((args[i] == L"--colour" || args[i] == L"--color") && hasValue) {
            const std::optional<ULONG> colour = ParseStartColour(args[++i]);
            if (!colour)
                return Fail(kCommand, L"'" + args[i] + L"' is neither RRGGBB nor transparent");
            start = *colour;
        } else if (args[i] == L"--resources" && hasValue) {
            resources = args[++i];
        } else if (args[i] == L"--do" && hasValue) {
            const std::wstring& list = args[++i];
            for (size_t from = 0; from <= list.size();) {
                const size_t comma = std::min(list.find(L',', from), list.size());
                actionTexts.push_back(list.substr(from, comma - from));
                from = comma + 1;
            }
        } else {
            return qnutil::Usage(kCommand);
        }
    }
    std::vector<Action> actions;
    for (const std::wstring& text : actionTexts) {
        std::optional<Action> action = ParseAction(text, full);
        if (!action)
            return Fail(kCommand, L"unknown action '" + text + L"'");
        actions.push_back(std::move(*action));
    }

    const qnutil::OwnedModule library(::LoadLibraryW(resources.c_str()));
    if (!library.get())
        return Fail(kCommand, resources + L": cannot load the resource module");
    AfxSetResourceHandle(library.get());
    qnutil::ComScope com;

    INT_PTR result = 0;
    ULONG chosen = 0;
    bool failed = false;
    {
        Autopilot autopilot(std::move(actions));
        if (full) {
            CKestFullColorDlg dialog;
            dialog.SetColorMode(mode.value_or(1));
            dialog.SetColor(start);
            result = dialog.DoModal();
            if (result == IDCANCEL && ::CommDlgExtendedError() != 0)
                return Fail(kCommand, L"the full colour dialog cannot open (template 7300 missing?)");
            chosen = result == IDOK ? dialog.GetColor() : 0;
        } else {
            CKest64ColorDlg dialog(static_cast<e64ColorControlMode>(mode.value_or(0)));
            dialog.SetColor(start);
            result = dialog.DoModal();
            if (result == -1)
                return Fail(kCommand, L"the 64-colour dialog cannot open (template 7305 missing?)");
            chosen = dialog.GetColor();
        }
        failed = autopilot.Failed();
    }
    if (failed)
        return Fail(kCommand, L"an action of --do could not be carried out");
    if (result != IDOK) {
        Out(L"cancelled\n");
        return 1;
    }
    if (chosen & 0x08000000UL) {
        Out(L"transparent\n");
        return 0;
    }
    Out(std::wstring(static_cast<LPCWSTR>(CColor(chosen & 0x00FFFFFF).GetString())) + L"\n");
    return 0;
}

const qnutil::Registration pick{
    kCommand, L"[--full] [--mode N] [--colour RRGGBB|transparent] [--resources DLL] [--do ACTION,...]",
    L"the 64-colour (or, with --full, the full) colour dialog; prints the colour chosen", RunPick};

} // namespace
