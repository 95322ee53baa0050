// Steps that the colour dialog tests hand to DialogDriver: mouse messages at
// items and grid cells, typing, keys and buttons, all as messages, and checks.
#pragma once

#include "colour/ColourPickerLogic.h"
#include "support/win32/DialogDriver.h"
#include "support/win32/WindowPixels.h"

#include <gtest/gtest.h>

#include <string>

namespace qntest {

using Step = DialogDriver::Step;

inline HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

inline std::wstring Text(HWND window)
{
    wchar_t text[64] = {};
    ::GetWindowTextW(window, text, 64);
    return text;
}

// A point of item `id` (its centre, or the centre of cell `cell` of an 8 x 8
// grid), with the pointer put there, in screen or dialog client coordinates.
inline POINT PointOn(HWND dialog, int id, int cell, bool screen)
{
    const HWND item = Item(dialog, id);
    RECT rect = {};
    ::GetClientRect(item, &rect);
    POINT point = {rect.right / 2, rect.bottom / 2};
    if (cell >= 0) {
        const auto c = qn::colour::GridLayout::For(rect.right, rect.bottom, 8, 8).Cell(cell % 8, cell / 8);
        point = {c.left + c.width / 2, c.top + c.height / 2};
    }
    ::MapWindowPoints(item, screen ? nullptr : dialog, &point, 1);
    return point;
}

// A mouse message at item `id` (or one of its grid cells); for a move the
// pointer is put there first.
inline Step Mouse(int id, UINT message, WPARAM flags = MK_LBUTTON, int cell = -1)
{
    return [=](HWND dialog) {
        ASSERT_NE(nullptr, Item(dialog, id)) << id;
        const POINT screen = PointOn(dialog, id, cell, true), client = PointOn(dialog, id, cell, false);
        if (message == WM_MOUSEMOVE)
            ::SetCursorPos(screen.x, screen.y);
        ::SendMessageW(dialog, message, flags, MAKELPARAM(client.x, client.y));
    };
}

// Types into a field as a user would: focus, select all, characters.
inline Step Type(int id, const wchar_t* text)
{
    return [=](HWND dialog) {
        const HWND field = Item(dialog, id);
        ::SetFocus(field);
        ::SendMessageW(field, EM_SETSEL, 0, -1);
        ::SendMessageW(field, WM_CLEAR, 0, 0);
        for (const wchar_t* ch = text; *ch; ++ch)
            ::SendMessageW(field, WM_CHAR, *ch, 1);
    };
}

inline Step ExpectText(int id, const wchar_t* expected)
{
    return [=](HWND dialog) { EXPECT_EQ(std::wstring(expected), Text(Item(dialog, id))) << "item " << id; };
}

inline COLORREF CentrePixel(HWND dialog, int id)
{
    const WindowPixels pixels(Item(dialog, id));
    return pixels.At(pixels.Width() / 2, pixels.Height() / 2);
}

inline Step ExpectPixel(int id, COLORREF expected)
{
    return [=](HWND dialog) { EXPECT_EQ(expected, CentrePixel(dialog, id)) << "item " << id; };
}

// A key stroke through the dialog's message loop (so PreTranslateMessage sees
// it), on item `id` or on the dialog (0).
inline Step Press(int id, WPARAM key)
{
    return [=](HWND dialog) {
        const HWND target = id == 0 ? dialog : Item(dialog, id);
        ::SetFocus(target);
        ::PostMessageW(target, WM_KEYDOWN, key, 1);
    };
}

inline Step Command(WPARAM id)
{
    return [=](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, id, 0); };
}

// Picking: the capture, cursor 1015 (when the module has it) and no icon.
inline Step StartPicking(int iconId)
{
    return [=](HWND dialog) {
        const HCURSOR before = ::GetCursor();
        const HCURSOR eyedropper = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(1015));
        Mouse(iconId, WM_LBUTTONDOWN)(dialog);
        EXPECT_EQ(dialog, ::GetCapture());
        EXPECT_EQ(eyedropper != nullptr ? eyedropper : before, ::GetCursor());
        EXPECT_EQ(0, ::SendMessageW(Item(dialog, iconId), STM_GETICON, 0, 0));
    };
}

// Picking ended: no capture, the icon back, and the pointer over OK or not.
inline Step PickingEnded(int iconId, bool overOk)
{
    return [=](HWND dialog) {
        RECT ok = {};
        ::GetWindowRect(Item(dialog, IDOK), &ok);
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        const bool onOk = cursor.x == (ok.right - ok.left) / 2 + ok.left && cursor.y == (ok.bottom - ok.top) / 2 + ok.top;
        EXPECT_EQ(overOk, onOk);
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_NE(0, ::SendMessageW(Item(dialog, iconId), STM_GETICON, 0, 0));
    };
}

} // namespace qntest
