// The one printer of framework strings: CString as UTF-8 (in quotes for
// GoogleTest), so that failures show text.
#pragma once

#include <afx/afxstr.h>

#include <ostream>
#include <string>

inline std::string ToUtf8ForTest(LPCWSTR text, int len)
{
    std::string out;
    for (int i = 0; i < len; ++i) {
        const unsigned cp = static_cast<unsigned>(text[i]);
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

inline std::string ToUtf8ForTest(const CString& text) { return ToUtf8ForTest(text, text.GetLength()); }

inline void PrintTo(const CString& s, std::ostream* os)
{
    *os << '"' << ToUtf8ForTest(s, s.GetLength()) << '"';
}
