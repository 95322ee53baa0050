// The parts of the framework stand-ins that differ between Windows and the
// native build. Windows bodies live in src/afx/win32/, native ones in port/src/.
#pragma once

#include <QNPlatform.h>

namespace qn::afx::platform {

// Converts srcLen bytes of ANSI text (Windows: the ANSI code page; natively:
// Latin-1) to UTF-16. With dst null, returns the number of units needed;
// otherwise writes at most dstLen units and returns the number written.
int AnsiToWide(const char* src, int srcLen, WCHAR* dst, int dstLen);

// Case mapping in place of len units (Windows: the user's language rules;
// natively: ASCII letters only).
void UpperCase(WCHAR* text, int len);
void LowerCase(WCHAR* text, int len);

// Shows a message box with no hook set (Windows: MessageBoxW owned by the
// active window; natively: the text on stderr). Returns the answer.
int ShowMessageBox(LPCTSTR text, UINT type);

} // namespace qn::afx::platform
