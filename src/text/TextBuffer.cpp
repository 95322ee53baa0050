#include "text/TextBuffer.h"

#include <cstdlib>
#include <cstring>

namespace qn::text {

TextBuffer::~TextBuffer() { std::free(m_data); }

bool TextBuffer::Reserve(size_t count) { return count <= m_capacity || Grow(count); }

bool TextBuffer::Append(const WCHAR* text, size_t count)
{
    if (count > m_capacity - m_length && !Grow(m_length + count))
        return false;
    std::memcpy(m_data + m_length, text, count * sizeof(WCHAR));
    m_length += count;
    return true;
}

bool TextBuffer::Grow(size_t needed)
{
    if (needed > kMaxStringLength)
        return false;
    // Grow by half again so that appending one character at a time stays linear.
    size_t capacity = m_capacity + m_capacity / 2;
    if (capacity < 64)
        capacity = 64;
    if (capacity < needed)
        capacity = needed;
    if (capacity > kMaxStringLength)
        capacity = kMaxStringLength;
    auto* grown = static_cast<WCHAR*>(std::realloc(m_data, capacity * sizeof(WCHAR)));
    if (!grown)
        return false;
    m_data = grown;
    m_capacity = capacity;
    return true;
}

BSTR AllocateString(const WCHAR* text, size_t length)
{
    if (length > kMaxStringLength)
        return nullptr;
    return ::SysAllocStringLen(text, static_cast<UINT>(length));
}

} // namespace qn::text
