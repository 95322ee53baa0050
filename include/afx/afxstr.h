// CString: the framework's UTF-16 string class.
//
// A CString points at the characters of a reference-counted block. Copies share
// the block until one of them is written (copy-on-write), so strings passed and
// returned by value cost a counter increment. Every empty string shares one
// static block that is never freed. GetBuffer hands out the characters for
// direct writing and therefore unshares first; ReleaseBuffer sets the length
// again. Out of memory raises the framework's memory exception
// (AfxThrowMemoryException, a CMemoryException* that the catcher Delete()s).
//
// Lengths and positions are int, in UTF-16 units. Out-of-range positions and
// counts are clamped as the framework clamps them, never trusted.
#pragma once

#include <QNPlatform.h>

#include <cstdarg>
#include <type_traits>

class CString;

namespace qn::afx::detail {
// Format arguments as they go through "...": a CString as its characters.
template <class T> const T& FormatArgument(const T& value) { return value; }
LPCWSTR FormatArgument(const CString& value);
template <class... Args> inline constexpr bool kAnyCString = (std::is_same_v<std::remove_cv_t<std::remove_reference_t<Args>>, CString> || ...);
} // namespace qn::afx::detail

// The header of a string block; the characters and a terminating zero follow it.
struct CStringData {
    LONG nRefs;       // < 0: the shared empty block, never freed
    int nDataLength;  // characters in use, without the terminator
    int nAllocLength; // room for characters, without the terminator
    WCHAR* data() { return reinterpret_cast<WCHAR*>(this + 1); }
};

class QN_API CString {
public:
    // Construction
    CString();
    CString(const CString& stringSrc);
    CString(CString&& stringSrc) noexcept;
    CString(WCHAR ch, int nRepeat = 1);
    CString(LPCWSTR lpsz);
    CString(LPCWSTR lpch, int nLength);
    // ANSI text: the system's ANSI code page on Windows, Latin-1 natively.
    CString(LPCSTR lpsz);
    CString(LPCSTR lpch, int nLength);
    ~CString();

    // Attributes and element access
    int GetLength() const { return GetData()->nDataLength; }
    BOOL IsEmpty() const { return GetData()->nDataLength == 0; }
    void Empty();
    // Positions must lie in [0, GetLength()); outside, GetAt gives 0 and SetAt
    // changes nothing.
    WCHAR GetAt(int nIndex) const;
    WCHAR operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, WCHAR ch);
    operator LPCWSTR() const { return m_pchData; }

    // Assignment and concatenation
    CString& operator=(const CString& stringSrc);
    CString& operator=(CString&& stringSrc) noexcept;
    CString& operator=(WCHAR ch);
    CString& operator=(LPCWSTR lpsz);
    CString& operator=(LPCSTR lpsz);
    CString& operator+=(const CString& string);
    CString& operator+=(WCHAR ch);
    CString& operator+=(LPCWSTR lpsz);

    friend QN_API CString operator+(const CString& string1, const CString& string2);
    friend QN_API CString operator+(const CString& string, WCHAR ch);
    friend QN_API CString operator+(WCHAR ch, const CString& string);
    friend QN_API CString operator+(const CString& string, LPCWSTR lpsz);
    friend QN_API CString operator+(LPCWSTR lpsz, const CString& string);

    // Comparison. Compare is ordinal (UTF-16 unit values); CompareNoCase folds
    // ASCII letters only, the same on every platform. A null pointer compares
    // as an empty string.
    int Compare(LPCWSTR lpsz) const;
    // Compares both whole texts, embedded zeros included.
    int Compare(const CString& string) const;
    int CompareNoCase(LPCWSTR lpsz) const;

    // Extraction. Negative starts and counts count as 0; counts reaching past
    // the end stop at the end.
    CString Mid(int nFirst, int nCount) const;
    CString Mid(int nFirst) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCWSTR lpszCharSet) const;
    CString SpanExcluding(LPCWSTR lpszCharSet) const;

    // Conversions. Windows: CharUpperBuffW/CharLowerBuffW (the user's
    // language rules). Natively: ASCII letters only, no locale.
    void MakeUpper();
    void MakeLower();
    void MakeReverse();

    // Changes in place. Replace and Remove return the number of replacements
    // or removals; Insert and Delete return the new length.
    int Replace(WCHAR chOld, WCHAR chNew);
    int Replace(LPCWSTR lpszOld, LPCWSTR lpszNew);
    int Remove(WCHAR chRemove);
    int Insert(int nIndex, WCHAR ch);
    int Insert(int nIndex, LPCWSTR pstr);
    int Delete(int nIndex, int nCount = 1);

    // Trimming: white space (space, tab, CR, LF, VT, FF), one character, or any
    // character of a set.
    void TrimRight();
    void TrimRight(WCHAR chTarget);
    void TrimRight(LPCWSTR lpszTargets);
    void TrimLeft();
    void TrimLeft(WCHAR chTarget);
    void TrimLeft(LPCWSTR lpszTargets);
    void Trim() { TrimRight(); TrimLeft(); }
    void Trim(WCHAR chTarget) { TrimRight(chTarget); TrimLeft(chTarget); }
    void Trim(LPCWSTR lpszTargets) { TrimRight(lpszTargets); TrimLeft(lpszTargets); }

    // Searching: the position found, or -1. A start beyond the end finds nothing.
    int Find(WCHAR ch) const;
    int Find(WCHAR ch, int nStart) const;
    int Find(LPCWSTR lpszSub) const;
    int Find(LPCWSTR lpszSub, int nStart) const;
    int ReverseFind(WCHAR ch) const;
    int FindOneOf(LPCWSTR lpszCharSet) const;

    // Formatting: the printf subset of the framework's Unicode build, done
    // without the C runtime and without locale (so the results are the same on
    // every platform; the decimal point is always '.'):
    //   conversions  d i u x X o c C s S p e E f F g G %
    //   flags        - + 0 space #
    //   width and precision, also as * (taken from the arguments)
    //   sizes        h (16-bit; %hs %hc narrow), l (32-bit as LONG; %ls %lc
    //                wide), ll I64 (64-bit), I32, I z (pointer-sized)
    // %s and %c take WCHAR text, %S and %C the other width (ANSI/Latin-1 bytes,
    // shown one unit each). A null string shows "(null)". %p shows the pointer
    // in upper-case hexadecimal padded to its full width. %n is not supported
    // and shows nothing. A conversion the list lacks is copied as it stands.
    void Format(LPCWSTR lpszFormat, ...);
    void FormatV(LPCWSTR lpszFormat, va_list argList);
    void AppendFormat(LPCWSTR lpszFormat, ...);
    void AppendFormatV(LPCWSTR lpszFormat, va_list argList);
    // A CString argument goes to %s as its characters, as callers of the
    // framework expect (through "..." it would otherwise pass as an object).
    template <class... Args, std::enable_if_t<qn::afx::detail::kAnyCString<Args...>, int> = 0>
    void Format(LPCWSTR lpszFormat, const Args&... args)
    {
        Format(lpszFormat, qn::afx::detail::FormatArgument(args)...);
    }
    template <class... Args, std::enable_if_t<qn::afx::detail::kAnyCString<Args...>, int> = 0>
    void AppendFormat(LPCWSTR lpszFormat, const Args&... args)
    {
        AppendFormat(lpszFormat, qn::afx::detail::FormatArgument(args)...);
    }

#ifdef _WIN32
    // Loads string resource nID from the resource module in force. FALSE (and
    // the string unchanged) when there is no such string.
    BOOL LoadString(UINT nID);
#endif

    // Platform strings. AllocSysString returns a new BSTR that the caller
    // frees; SetSysString reallocates *pbstr to this text and returns it.
    BSTR AllocSysString() const;
    BSTR SetSysString(BSTR* pbstr) const;

    // Direct buffer access. GetBuffer returns room for at least nMinBufLength
    // characters plus a terminator, with the current text in it and the block
    // unshared; ReleaseBuffer(-1) takes the length up to the first zero,
    // ReleaseBuffer(n) sets it to n (clamped to the room).
    LPWSTR GetBuffer(int nMinBufLength);
    LPWSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void FreeExtra();

private:
    CStringData* GetData() const { return reinterpret_cast<CStringData*>(m_pchData) - 1; }
    void Init();
    void AllocBuffer(int nLen);
    void AssignCopy(int nSrcLen, LPCWSTR lpszSrcData);
    void ConcatInPlace(int nSrcLen, LPCWSTR lpszSrcData);
    void CopyBeforeWrite();
    void Release();
    static void Release(CStringData* pData);
    static CString Concat(int nSrc1Len, LPCWSTR lpszSrc1Data, int nSrc2Len, LPCWSTR lpszSrc2Data);

    LPWSTR m_pchData;
};

inline LPCWSTR qn::afx::detail::FormatArgument(const CString& value) { return value; }

// Comparison with CString and with text on either side.
inline bool operator==(const CString& s1, const CString& s2)
{
    return s1.GetLength() == s2.GetLength() && s1.Compare(s2) == 0;
}
inline bool operator==(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) == 0; }
inline bool operator==(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
inline bool operator!=(const CString& s1, const CString& s2) { return !(s1 == s2); }
inline bool operator!=(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) != 0; }
inline bool operator!=(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
inline bool operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
inline bool operator<(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) < 0; }
inline bool operator<(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
inline bool operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
inline bool operator>(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) > 0; }
inline bool operator>(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
inline bool operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
inline bool operator<=(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) <= 0; }
inline bool operator<=(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
inline bool operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
inline bool operator>=(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) >= 0; }
inline bool operator>=(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }
