// Shared by the two halves of CString (String.cpp: blocks, sharing, assignment,
// comparison and buffers; StringEdit.cpp: extraction, searching and the
// editing members). Internal to the library.
#pragma once

#include <afx/afx.h>

#include <climits>
#include <cstring>

namespace qn::afx::string {

// The longest text a block can hold: its size in bytes must fit an int.
constexpr int kMaxLength = static_cast<int>((INT_MAX - sizeof(CStringData)) / sizeof(WCHAR)) - 1;

// A new block with room for nAlloc characters, nLen of them in use, counted
// once. Throws CMemoryException when the room cannot be had.
CStringData* NewBlock(int nLen, int nAlloc);

// The length of a zero-terminated text (0 for null); beyond kMaxLength it
// reports kMaxLength + 1, which every caller refuses.
int SafeLength(LPCWSTR lpsz);

inline void CopyChars(WCHAR* dst, const WCHAR* src, int n)
{
    if (n > 0)
        std::memmove(dst, src, static_cast<size_t>(n) * sizeof(WCHAR));
}

} // namespace qn::afx::string
