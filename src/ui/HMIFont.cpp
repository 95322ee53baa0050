// CHMIFont: one font face in one character set, owning its strings.
#include <QNFont.h>
#include <afx/atlbase.h>

#include <cstddef>

namespace {

size_t UnitCount(const WCHAR* text)
{
    size_t n = 0;
    if (text) {
        while (text[n])
            ++n;
    }
    return n;
}

// A new copy of `text` (null stays null); raises the memory exception.
BSTR CopyOf(const WCHAR* text)
{
    if (!text)
        return nullptr;
    BSTR copy = ::SysAllocStringLen(text, static_cast<UINT>(UnitCount(text)));
    if (!copy)
        AfxThrowMemoryException();
    return copy;
}

BSTR CopyOf(BSTR text)
{
    if (!text)
        return nullptr;
    BSTR copy = ::SysAllocStringLen(text, ::SysStringLen(text));
    if (!copy)
        AfxThrowMemoryException();
    return copy;
}

// Frees *target and makes it a copy of `source`, unless both are one string.
void Reassign(BSTR& target, BSTR source)
{
    if (target == source)
        return;
    BSTR copy = CopyOf(source);
    ::SysFreeString(target);
    target = copy;
}

} // namespace

CHMIFont::CHMIFont()
{
    // The layout hosts compile against: the virtual table pointer, then the
    // fields in declaration order, each pointer-aligned (the fields are private,
    // so they are pinned here).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(offsetof(CHMIFont, m_bstrFace) == sizeof(void*) && offsetof(CHMIFont, m_nCharset) == 2 * sizeof(void*) &&
                      offsetof(CHMIFont, m_bstrDescription) == 3 * sizeof(void*) &&
                      offsetof(CHMIFont, m_bstrOriginalFace) == 4 * sizeof(void*) && sizeof(CHMIFont) == 5 * sizeof(void*),
                  "CHMIFont layout");
#pragma GCC diagnostic pop
    static const WCHAR kEmpty[] = {0};
    Init(kEmpty, 1, nullptr, kEmpty);
}

CHMIFont::CHMIFont(unsigned short* face, unsigned char charset, unsigned short* script, unsigned short* originalFace)
{
    Init(reinterpret_cast<const WCHAR*>(face), charset, reinterpret_cast<const WCHAR*>(script),
         reinterpret_cast<const WCHAR*>(originalFace));
}

CHMIFont::CHMIFont(const WCHAR* face, unsigned char charset, const WCHAR* script, const WCHAR* originalFace)
{
    Init(face, charset, script, originalFace);
}

void CHMIFont::Init(const WCHAR* face, unsigned char charset, const WCHAR* script, const WCHAR* originalFace)
{
    // The strings are made first, so that a failed allocation leaks nothing.
    const size_t faceLength = UnitCount(face);
    const size_t scriptLength = UnitCount(script);
    CComBSTR description;
    if (scriptLength == 0) {
        description.Attach(CopyOf(face));
    } else {
        // security: both lengths come from NUL-terminated texts of the caller.
        const size_t total = faceLength + 2 + scriptLength + 1;
        if (total > 0x3FFFFFF0u)
            AfxThrowMemoryException();
        description = CComBSTR(static_cast<int>(total));
        WCHAR* out = description;
        for (size_t i = 0; i < faceLength; ++i)
            *out++ = face[i];
        *out++ = L' ';
        *out++ = L'(';
        for (size_t i = 0; i < scriptLength; ++i)
            *out++ = script[i];
        *out++ = L')';
    }
    CComBSTR faceCopy;
    faceCopy.Attach(CopyOf(face));
    CComBSTR originalCopy;
    originalCopy.Attach(CopyOf(originalFace));
    m_bstrFace = faceCopy.Detach();
    m_nCharset = charset;
    m_bstrDescription = description.Detach();
    m_bstrOriginalFace = originalCopy.Detach();
}

CHMIFont::CHMIFont(const CHMIFont& other)
{
    m_nCharset = other.m_nCharset;
    // The copies are owned until all three are made.
    CComBSTR face, description;
    face.Attach(CopyOf(other.m_bstrFace));
    description.Attach(CopyOf(other.m_bstrDescription));
    m_bstrOriginalFace = CopyOf(other.m_bstrOriginalFace);
    m_bstrFace = face.Detach();
    m_bstrDescription = description.Detach();
}

CHMIFont& CHMIFont::operator=(const CHMIFont& other)
{
    Reassign(m_bstrFace, other.m_bstrFace);
    m_nCharset = other.m_nCharset;
    Reassign(m_bstrDescription, other.m_bstrDescription);
    Reassign(m_bstrOriginalFace, other.m_bstrOriginalFace);
    return *this;
}

CHMIFont::~CHMIFont()
{
    ::SysFreeString(m_bstrFace);
    ::SysFreeString(m_bstrDescription);
    ::SysFreeString(m_bstrOriginalFace);
}

int CHMIFont::operator==(const CHMIFont& other) const
{
    if (m_nCharset != other.m_nCharset)
        return 0;
    if (!m_bstrFace || !other.m_bstrFace)
        return !m_bstrFace && !other.m_bstrFace;
    const UINT length = ::SysStringLen(m_bstrFace);
    if (length != ::SysStringLen(other.m_bstrFace))
        return 0;
    for (UINT i = 0; i < length; ++i) {
        if (m_bstrFace[i] != other.m_bstrFace[i])
            return 0;
    }
    return 1;
}
