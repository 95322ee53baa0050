// Resource loads of the colour dialogs and controls, and shared helpers.
#include "colour/win32/ColourResources.h"

namespace qn::colour {

CString LoadResourceString(UINT id)
{
    // Strings live in blocks of 16: block (id / 16) + 1 holds string id.
    const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE((id >> 4) + 1), RT_STRING);
    if (module == nullptr)
        return CString();
    const WCHAR* text = nullptr;
    const int length = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        return CString();
    return CString(text, length);
}

HICON LoadEyedropperIcon()
{
    const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(kIdiEyedropper), RT_GROUP_ICON);
    return module != nullptr ? ::LoadIconW(module, MAKEINTRESOURCEW(kIdiEyedropper)) : nullptr;
}

HCURSOR LoadEyedropperCursor()
{
    const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(kIdcEyedropper), RT_GROUP_CURSOR);
    return module != nullptr ? ::LoadCursorW(module, MAKEINTRESOURCEW(kIdcEyedropper)) : nullptr;
}

unsigned long ScreenPixelUnderCursor()
{
    POINT point = {};
    ::GetCursorPos(&point);
    CClientDC screen(nullptr);
    const COLORREF pixel = ::GetPixel(screen.m_hDC, point.x, point.y);
    return pixel == CLR_INVALID ? 0 : static_cast<unsigned long>(pixel & 0x00FFFFFF);
}

void MoveMouseOverOkButton(HWND hDlg)
{
    const HWND ok = ::GetDlgItem(hDlg, IDOK);
    if (ok == nullptr)
        return;
    RECT rect = {};
    ::GetWindowRect(ok, &rect);
    ::SetCursorPos((rect.right - rect.left) / 2 + rect.left, (rect.bottom - rect.top) / 2 + rect.top);
}

} // namespace qn::colour
