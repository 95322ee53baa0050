// The platform services that type detection and name validation rest on: the
// Windows build calls the real ones (src/text/win32/NamePlatform.cpp), the
// native build has plain replacements (port/src/text_names.cpp).
#pragma once

#include <QNPlatform.h>
#include <afx/afxstr.h>

namespace qn::text {

// The CT_CTYPE1 flags of `count` characters at `text` under the user's
// default locale (GetStringTypeExW, LOCALE_USER_DEFAULT), written to `types`.
// False when the platform's classification fails. Natively: ASCII exactly as
// Windows classifies it; the letters of the Latin, Greek, Cyrillic, Armenian,
// Hebrew, Arabic, CJK, kana and Hangul blocks as C1_ALPHA; no other digits.
[[nodiscard]] bool ClassifyCharacters(LPCWSTR text, int count, WORD* types);

// A number text in the user's form to the internal form: the user's decimal
// separator becomes '.' (CQNUtility::NumStrUIToStr). False, leaving `internal`
// alone, when the text is not a number in the user's locale. Natively there is
// no user locale: the user's form is the internal form, and `internal` gets
// the text unchanged.
bool NumberTextToInternal(LPCWSTR userText, CString& internal);

// True where NumberTextToInternal always gives the text unchanged (natively),
// so that a caller may read the user's text in place.
#ifdef QN_NATIVE
inline constexpr bool kNumberTextIsInternal = true;
#else
inline constexpr bool kNumberTextIsInternal = false;
#endif

#ifdef QN_NATIVE
// Test hook of the native build: while set, ClassifyCharacters fails.
extern bool g_failNameClassification;
#endif

} // namespace qn::text
