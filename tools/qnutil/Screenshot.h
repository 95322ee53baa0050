// qnutil: a window as it is on the screen, saved as a PNG through WIC (the
// screenshots in docs/images come from here). COM must be initialised.
#pragma once

#include <QNPlatform.h>

#include <string>

namespace qnutil {

// The window's client area copied from the screen. false
// when the window has no area or WIC fails.
bool SaveWindowPng(HWND window, const std::wstring& path);

} // namespace qnutil
