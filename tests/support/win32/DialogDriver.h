// Test helper: drives a modal dialog from inside its own message loop.
//
// While alive, a hook on the calling thread watches for the first dialog
// window (class "#32770") to be shown (WM_SHOWWINDOW); the steps then run one by one, each
// from a message posted to a message-only window of this helper, so that
// whatever a step posts (key strokes, commands) is processed by the dialog's
// loop before the next step starts. No step waits for time to pass. The last
// step normally ends the dialog (IDOK, IDCANCEL). Before each step, pending
// paints of the dialog and its items run.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

class DialogDriver {
public:
    using Step = std::function<void(HWND dialog)>;

    explicit DialogDriver(std::vector<Step> steps) : m_steps(std::move(steps))
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &DialogDriver::RunStep;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QNTestDialogDriver";
        ::RegisterClassW(&wc); // fails harmlessly when already registered
        m_runner = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        s_current = this;
        m_hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &DialogDriver::OnShown, nullptr, ::GetCurrentThreadId());
    }
    ~DialogDriver()
    {
        ::UnhookWindowsHookEx(m_hook);
        ::DestroyWindow(m_runner);
        s_current = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Number of steps that ran.
    size_t StepsRun() const { return m_next; }

private:
    static constexpr UINT kRunStep = WM_APP + 0x51;

    static LRESULT CALLBACK OnShown(int code, WPARAM wParam, LPARAM lParam)
    {
        DialogDriver* self = s_current;
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam && self != nullptr &&
            self->m_dialog == nullptr) {
            wchar_t name[16] = {};
            ::GetClassNameW(call->hwnd, name, 16);
            if (lstrcmpW(name, L"#32770") == 0) {
                self->m_dialog = call->hwnd;
                ::PostMessageW(self->m_runner, kRunStep, 0, 0);
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static LRESULT CALLBACK RunStep(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        DialogDriver* self = s_current;
        if (message != kRunStep || self == nullptr)
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
        if (self->m_next < self->m_steps.size() && ::IsWindow(self->m_dialog)) {
            const size_t step = self->m_next++;
            // Steps see the dialog painted: pending paints run now (posted
            // messages would otherwise keep WM_PAINT waiting).
            ::RedrawWindow(self->m_dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            self->m_steps[step](self->m_dialog);
            if (self->m_next < self->m_steps.size())
                ::PostMessageW(hwnd, kRunStep, 0, 0);
        }
        return 0;
    }

    std::vector<Step> m_steps;
    size_t m_next = 0;
    HWND m_dialog = nullptr;
    HWND m_runner = nullptr;
    HHOOK m_hook = nullptr;
    static inline DialogDriver* s_current = nullptr;
};
