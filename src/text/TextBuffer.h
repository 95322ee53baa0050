// Working memory of the escaping conversions. It never throws: a failed
// allocation is reported as false, and the conversions turn that into the
// result code their interface defines (E_OUTOFMEMORY for the working buffer,
// S_FALSE for the caller's final string).
#pragma once

#include <QNPlatform.h>

#include <cstddef>

namespace qn::text {

// The most characters a platform string holds: its byte count (without the
// terminator) must fit the 32-bit length prefix.
constexpr size_t kMaxStringLength = 0x7FFFFFF0;

// A growable run of UTF-16 characters.
class TextBuffer {
public:
    TextBuffer() = default;
    ~TextBuffer();
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    // Room for at least `count` characters in all; false when it cannot be had.
    [[nodiscard]] bool Reserve(size_t count);
    [[nodiscard]] bool Append(WCHAR ch)
    {
        if (m_length == m_capacity && !Grow(m_length + 1))
            return false;
        m_data[m_length++] = ch;
        return true;
    }
    [[nodiscard]] bool Append(const WCHAR* text, size_t count);

    size_t Length() const { return m_length; }
    const WCHAR* Data() const { return m_data; }
    // The last character; the buffer must not be empty.
    WCHAR Back() const { return m_data[m_length - 1]; }
    void PopBack() { --m_length; }

private:
    bool Grow(size_t needed);

    WCHAR* m_data = nullptr;
    size_t m_length = 0;
    size_t m_capacity = 0;
};

// A new platform string holding `length` characters of `text` (embedded NULs
// included), or null when it cannot be allocated. The caller owns it.
BSTR AllocateString(const WCHAR* text, size_t length);

} // namespace qn::text
