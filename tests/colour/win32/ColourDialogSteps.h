// Steps that the colour dialog tests hand to DialogDriver: clicks at points of
// items, typing, keys and buttons, all as messages.
#pragma once

#include "colour/ColourPickerLogic.h"
#include "support/win32/DialogDriver.h"

#include <gtest/gtest.h>

#include <string>

namespace colourtest {

using Step = DialogDriver::Step;

inline HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

// A point of an item (its client coordinates) in the dialog's client coordinates.
inline POINT InDialog(HWND dialog, HWND item, POINT point)
{
    ::MapWindowPoints(item, dialog, &point, 1);
    return point;
}

inline POINT Centre(HWND window)
{
    RECT rect = {};
    ::GetClientRect(window, &rect);
    return {rect.right / 2, rect.bottom / 2};
}

// The centre of a cell of the 8 x 8 grid, in the grid's client coordinates.
inline POINT CellCentre(HWND grid, int index)
{
    RECT rect = {};
    ::GetClientRect(grid, &rect);
    const auto layout = qncolour::GridLayout::For(rect.right, rect.bottom, 8, 8);
    const auto cell = layout.Cell(index % 8, index / 8);
    return {cell.left + cell.width / 2, cell.top + cell.height / 2};
}

inline void Mouse(HWND dialog, UINT message, WPARAM flags, POINT client)
{
    ::SendMessageW(dialog, message, flags, MAKELPARAM(client.x, client.y));
}

// A mouse message at a point of item `id` (its centre unless given).
inline Step MouseOn(int id, UINT message, WPARAM flags = MK_LBUTTON)
{
    return [=](HWND dialog) {
        const HWND item = Item(dialog, id);
        ASSERT_NE(nullptr, item) << id;
        Mouse(dialog, message, flags, InDialog(dialog, item, Centre(item)));
    };
}

inline Step MouseOnCell(int gridId, int index, UINT message)
{
    return [=](HWND dialog) {
        const HWND grid = Item(dialog, gridId);
        Mouse(dialog, message, MK_LBUTTON, InDialog(dialog, grid, CellCentre(grid, index)));
    };
}

// The pointer over a grid cell, then a mouse move with the given buttons.
inline Step MoveOverCell(int gridId, int index, WPARAM flags)
{
    return [=](HWND dialog) {
        const HWND grid = Item(dialog, gridId);
        POINT screen = CellCentre(grid, index);
        ::ClientToScreen(grid, &screen);
        ::SetCursorPos(screen.x, screen.y);
        POINT client = screen;
        ::ScreenToClient(dialog, &client);
        Mouse(dialog, WM_MOUSEMOVE, flags, client);
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

inline std::wstring Text(HWND window)
{
    wchar_t text[64] = {};
    ::GetWindowTextW(window, text, 64);
    return text;
}

inline Step ExpectText(int id, const wchar_t* expected)
{
    return [=](HWND dialog) { EXPECT_EQ(std::wstring(expected), Text(Item(dialog, id))) << "item " << id; };
}

// A key stroke through the dialog's message loop (so PreTranslateMessage sees it).
inline Step PressOn(int id, WPARAM key)
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

inline Step Check(std::function<void(HWND)> check) { return check; }

} // namespace colourtest
