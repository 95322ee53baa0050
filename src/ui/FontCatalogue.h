// The rules of the font catalogue that do not need the platform: which
// enumerated fonts are listed, where a record goes in the sorted list, and the
// platform's rounded multiply-divide of the height conversions.
#pragma once

#include <QNFont.h>

namespace qn::ui {

// The character sets panels support.
bool IsCatalogueCharset(unsigned charset);
// True when an enumerated font with this full name and character set is
// listed: a supported character set, not a vertical face ("@..."), and not
// "Small Fonts" in Shift-JIS.
bool IsCatalogueFont(const WCHAR* fullName, unsigned charset);
// Inserts a copy of `font` before the first record whose description orders
// after its own (ordinal), or appends it; nothing when a record with the same
// face and character set comes first. Records without a description (null or
// empty) are passed over; a new one without a description goes before the
// first record that has one. True when the record was inserted.
bool InsertSorted(CHMIFontList& list, CHMIFont& font);
// Ordinal comparison of two zero-terminated texts (wcscmp).
int CompareOrdinal(const WCHAR* a, const WCHAR* b);
// value * numerator / denominator, rounded to the nearest with halves away
// from zero, through 64 bits; -1 for a zero denominator or a result beyond
// +-2147483647 (the platform's MulDiv).
int MulDivRounded(int value, int numerator, int denominator);

} // namespace qn::ui
