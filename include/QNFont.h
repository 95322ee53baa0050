// Fonts: the font record CHMIFont and the process-wide font catalogue.
//
// The catalogue (CQNUtility::GetFontList, QNUtilityClass.h) lists the fonts
// installed on the machine that panels can show: one record per face and
// character set, for the character sets 0 (Western), 2 (symbol), 128
// (Shift-JIS), 129 (Hangul), 134 (GB2312), 136 (Big5) and 204 (Cyrillic),
// without vertical faces ("@...") and without "Small Fonts" in Shift-JIS.
// It is sorted by description ("Arial (Western)") in code-unit order (an
// upper-case Z before a lower-case a), built on first use and kept until the
// host calls CQNUtility::DeleteFontList; a later use builds it anew.
#pragma once

#include <QNPlatform.h>
#include <QNUtilityClass.h>
#include <afx/afxtempl.h>

// One font face in one character set. The record owns its three strings
// (allocated with SysAllocString); copies are deep. Allocation failures raise
// the framework's memory exception.
class QN_API CHMIFont {
public:
    // Construction
    // Empty face, description and original face; character set 1 (default).
    CHMIFont();
    // Face and original face are copied (null stays null). The description is
    // the face, followed by " (" + script + ")" when a script is given and not
    // empty.
    CHMIFont(unsigned short* face, unsigned char charset, unsigned short* script, unsigned short* originalFace);
    CHMIFont(const WCHAR* face, unsigned char charset, const WCHAR* script, const WCHAR* originalFace = nullptr);
    CHMIFont(const CHMIFont& other);
    CHMIFont& operator=(const CHMIFont& other);
    virtual ~CHMIFont();

    // Attributes: the strings stay owned by the record.
    BSTR Face() const { return m_bstrFace; }
    operator unsigned short*() const { return reinterpret_cast<unsigned short*>(m_bstrFace); }
    unsigned char Charset() const { return m_nCharset; }
    BSTR Description() const { return m_bstrDescription; }
    BSTR OriginalFace() const { return m_bstrOriginalFace; }

    // Non-zero when face (code unit for code unit; two null faces are equal,
    // a null and a non-null one are not) and character set are equal; the
    // description and the original face are not compared.
    int operator==(const CHMIFont& other) const;

private:
    void Init(const WCHAR* face, unsigned char charset, const WCHAR* script, const WCHAR* originalFace);

    BSTR m_bstrFace = nullptr;
    unsigned char m_nCharset = 1;
    BSTR m_bstrDescription = nullptr;
    BSTR m_bstrOriginalFace = nullptr;
};

// The catalogue's type.
typedef CList<CHMIFont, CHMIFont&> CHMIFontList;
