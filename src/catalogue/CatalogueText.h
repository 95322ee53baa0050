// Fixed-capacity UTF-16 texts of the driver records: bounded length, exact
// comparison and copy that never go past a field.
#pragma once

#include <QNPlatform.h>

#include <cstddef>

namespace qn::catalogue {

// The number of units before the terminator, or `capacity` when the field holds
// none.
template <class Char> inline size_t BoundedLength(const Char* text, size_t capacity)
{
    size_t length = 0;
    while (length < capacity && text[length] != 0)
        ++length;
    return length;
}

template <class Char, size_t N> inline bool IsTerminated(const Char (&text)[N])
{
    return BoundedLength(text, N) < N;
}

// Copies `source` up to and including its terminator, never more than N
// units; the destination's units after the terminator keep their values.
template <class To, class From, size_t N> inline void CopyText(To (&destination)[N], const From (&source)[N])
{
    for (size_t i = 0; i < N; ++i) {
        destination[i] = static_cast<To>(source[i]);
        if (source[i] == 0)
            break;
    }
}

// Exact, case-sensitive comparison of two terminated texts of capacity N.
template <class A, class B, size_t N> inline bool TextEquals(const A (&left)[N], const B (&right)[N])
{
    for (size_t i = 0; i < N; ++i) {
        if (static_cast<WCHAR>(left[i]) != static_cast<WCHAR>(right[i]))
            return false;
        if (left[i] == 0)
            return true;
    }
    return true;
}

} // namespace qn::catalogue
