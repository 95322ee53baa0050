// Checks on what the library puts into an XML document, so that a document it
// changed can always be saved and read back: names of elements, the text of
// text nodes and the content of character-data sections (XML 1.0, fifth
// edition; UTF-16 with surrogate pairs).
#pragma once

#include <QNPlatform.h>

namespace qn::xml {

// True for a non-empty name of `length` units that is an XML name without a
// colon (the documents have no namespaces, so a prefix could not be declared).
bool IsElementName(const WCHAR* name, size_t length);
// True when every unit of the text is an XML character (tab, line feed,
// carriage return, U+0020 and above except U+FFFE, U+FFFF and unpaired
// surrogates). The empty text is valid.
bool IsCharacterText(const WCHAR* text, size_t length);
// IsCharacterText, and "]]>" (the end of the section) does not occur.
bool IsCDataText(const WCHAR* text, size_t length);

} // namespace qn::xml
