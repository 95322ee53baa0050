// Numerals: the data types decided for a literal, the evaluation helper that the
// numeral parser's actions call, and the parser itself.
//
// A literal is a decimal, hexadecimal ("0x1F") or octal ("017") integer with an
// optional 64-bit suffix 'L', a real ("1.5", "2e-3", "5.") with an optional
// suffix 'F' or 'D', a boolean ("true", "false") or a character constant
// ("'a'", "'\n'", "'\101'", "'\u41'"), with white space around it. Most hosts
// only need CQNUtility::ParserAndGetDataType; the parser and the helper are
// exported for tools that want the parse in detail.
#pragma once

#include <QNPlatform.h>
#include <QNUtilityClass.h>
#include <afx/afxstr.h>

// The data type of a literal. The values are shared with stored data: never
// renumber them.
enum QNDataType : int {
    QNDT_UNKNOWN = -1, // no type decided; what the helper's reset leaves
    QNDT_NUMBER = 0,   // never produced by the parser; counts as a number
    QNDT_BOOL = 1,
    QNDT_INT8 = 2,
    QNDT_CHAR = 3,
    QNDT_INT16 = 4,
    QNDT_INT32 = 5,
    QNDT_INT64 = 6,   // also the type reported with an integer range error
    QNDT_FLOAT = 7,
    QNDT_DOUBLE = 8,
    QNDT_INVALID = 9, // not an acceptable literal (type detection's failure)
};
static_assert(sizeof(QNDataType) == 4, "QNDataType is a 32-bit value");

// Collects the characters of the literal being parsed and decides its type.
// The parser's semantic actions call the setters in text order; afterwards
// the caller reads Error(), GetDataType() and m_lIntegerValue. One helper
// serves one parse.
//
// The four texts are owned CStrings (an empty text stands for "none"); the
// Get... members return pointers to them, valid while the helper lives, and
// the Set... members that take a pointer copy the text it points to (which
// may be one of the helper's own).
class QN_API CQNUtility::CNumeralParserHelper {
public:
    // Construction
    CNumeralParserHelper();
    // Deep copies: every text gets a block of its own.
    CNumeralParserHelper(const CNumeralParserHelper& other);
    CNumeralParserHelper& operator=(const CNumeralParserHelper& other);
    ~CNumeralParserHelper();

    // Type of the whole literal, set at the end of a successful parse.
    void SetDataType(QNDataType eType) { m_eDataType = eType; }
    QNDataType GetDataType() const { return m_eDataType; }

    // Empties the number, sets the type to QNDT_UNKNOWN and clears the minus flag.
    void ResetNumber();
    // Appends one character to the number; returns &m_bstrNumber. Under memory
    // exhaustion the character is dropped and the number stays as it was.
    CString* NumberAppend(WCHAR ch);
    // Radix of the integer being read: 8, 10 or 16.
    void SetNumberType(int nRadix) { m_nNumberType = nRadix; }
    // Replaces the number by a copy of *pText.
    void SetNumber(const CString* pText);
    CString* GetNumber() { return &m_bstrNumber; }

    // Keeps the number as the integer part of a real, then resets the number.
    void SetIntegerPart();
    CString* GetIntegerPart() { return &m_bstrIntegerPart; }
    // Mantissa = integer part, '.', fraction; then resets the number.
    void SetFloat(const CString* pIntegerPart, const CString* pFraction);
    // Mantissa = a copy of *pText; then resets the number.
    void SetReal(const CString* pText);
    CString* GetReal() { return &m_bstrReal; }
    // Exponent = a copy of *pText; then resets the number.
    void SetExponent(const CString* pText);
    // Exponent = '-' followed by *pText (the parser calls this only for a minus
    // sign; `chSign` is not looked at); then resets the number.
    void SetExponent(WCHAR chSign, const CString* pText);
    CString* GetExponent() { return &m_bstrExponent; }

    // Notes the minus sign and negates the integer value.
    void SetMinusSign();
    // The saturated value of the integer literal (0 to 2147483647).
    void SetIntegerValue(LONG lValue) { m_lIntegerValue = lValue; }

    // The type of the integer literal whose digits (and suffix) the number
    // holds; consumes the number. A value outside the 64-bit range of its
    // radix, or outside 32 bits without the suffix 'L', records
    // QN_ERR_OUTOFRANGE and returns QNDT_INT64.
    QNDataType IntegerLiteral();
    // The type of the real in the mantissa and exponent (QNDT_FLOAT or
    // QNDT_DOUBLE); consumes all four texts. Outside the double range, or
    // outside the single range with the suffix 'F', records QN_ERR_OUTOFRANGE.
    QNDataType FloatLiteral();

    // Records an error number (QN_ERR_OUTOFRANGE) and clears the minus flag.
    void ReportError(int nError)
    {
        m_nError = nError;
        m_bMinusSign = false;
    }
    // 0, or the error number of a range error.
    int Error() const { return m_nError; }
    // A syntax error records nothing: the parser's exit code tells it.
    void SyntaxError() {}

    // Data, in this order.
    CString m_bstrNumber;      // digits (and suffix letters) of the number being read
    int m_nNumberType;         // radix of the integer: 8, 10 or 16
    CString m_bstrIntegerPart; // integer digits of a real, kept at its dot
    CString m_bstrReal;        // mantissa of a real: "12.5", "5." or "12"
    CString m_bstrExponent;    // exponent of a real: digits, '-' first when negative
    QNDataType m_eDataType;
    bool m_bMinusSign;
    int m_nError;            // 0 or QN_ERR_OUTOFRANGE
    LONG m_lIntegerValue;    // saturated value of an integer, negated after a minus sign
};

// How a parse ended.
enum QNNumeralExitCode : int {
    QN_NUMERAL_RUNNING = 0,
    QN_NUMERAL_SUCCESS = 1,
    QN_NUMERAL_SYNTAX_ERROR = 2,
    QN_NUMERAL_STACK_OVERFLOW = 3,
};

// Parses the NUL-terminated `lpszText` (null reads as the empty text) with
// `helper` as the helper in use and returns the exit code. On success the
// helper holds the decided type; its Error() may still report a range error.
// A syntax error or a stack overflow writes one diagnostic line to the
// process's standard error stream ("Unexpected 'x', line 1, column 3").
// The parser's state is one per process: parses must not overlap.
QN_API int ParseNumeral(LPCWSTR lpszText, CQNUtility::CNumeralParserHelper& helper);

// The diagnosis of the last parse ("Missing eof", "Unexpected 'x'"; empty
// when it succeeded), in the parser's own buffer, valid until the next parse.
// *pnLine and *pnColumn (each may be null) receive the position the parse
// stopped at, both counted from 1.
QN_API LPCSTR GetNumeralParserMessage(int* pnLine, int* pnColumn);
