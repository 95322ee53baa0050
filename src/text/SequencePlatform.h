// The platform services that sequence naming rests on, kept behind a few small
// functions: the Windows build calls the real ones (src/text/win32/), the
// native build has plain replacements (port/src/text_sequence.cpp).
#pragma once

#include <QNPlatform.h>
#include <afx/afxstr.h>

namespace qn::text {

// Where the run of characters at the end of `name` that the platform
// classifies as decimal digits begins (GetStringTypeExW, LOCALE_USER_DEFAULT,
// CT_CTYPE1, C1_DIGIT); `length` when there is none. False when the
// classification fails. Natively only '0' to '9' are digits.
[[nodiscard]] bool FindTrailingDigits(LPCWSTR name, int length, int* digitsStart);

// The decimal digits of any script in `digits` replaced by '0' to '9'
// (FoldStringW, MAP_FOLDDIGITS). Left unchanged when folding fails, and always
// natively, where there are no other digits.
void FoldDigits(CString& digits);

// The integer of a decimal text, read as VarI4FromStr reads it under the
// system default locale without user overrides; DISP_E_OVERFLOW when it does
// not fit 32 bits, DISP_E_TYPEMISMATCH when it is no number. Natively an
// optional '-' and the digits '0' to '9' are read.
[[nodiscard]] HRESULT ReadInt32(LPCWSTR text, LONG* value);

// The value as text, written as VarBstrFromI4 writes it in the same locale.
[[nodiscard]] HRESULT WriteInt32(LONG value, CString& text);

#ifdef QN_NATIVE
// Test hook of the native build: while set, FindTrailingDigits fails.
extern bool g_failDigitClassification;
#endif

} // namespace qn::text
