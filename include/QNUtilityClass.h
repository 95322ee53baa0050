// CQNUtility: the library's static utility class. It has only static members;
// no instance is ever made. Each subsystem declares its members in its own
// section below; the static state is defined in src/frame/UtilityState.cpp.
#pragma once

#include <QNPlatform.h>
#include <QNResult.h>
#include <afx/afxstr.h>
#include <QNClassTable.h>

#ifdef _WIN32
class CComVariant;
#endif

// The data type decided for a literal; its values are in QNNumeral.h.
enum QNDataType : int;

class QN_API CQNUtility {
public:
    // --- Library frame ------------------------------------------------------

    // 64-bit CRC (CRC-64/WE) of `count` bytes at `data`; 0 when count <= 0.
    static __int64 GenerateCRC(const void* data, int count);

    // Sets `key` (overwriting it) to computer name + date ("ddmmyy" picture:
    // day, the letters "mm", two-digit year) + time ("HHmmss"). Always S_OK.
    static HRESULT GenerateKey(CString& key);

    // --- Configuration ------------------------------------------------------

    // --- Persistence --------------------------------------------------------

    // -- Class identifier translation --
    // Translation is active while more enables than disables have been asked
    // for. The maps are filled from the conversion table on the first lookup
    // made while it is active and kept until the library unloads.

    // Non-zero: one more request to translate. Zero: one request fewer; no
    // effect when none is outstanding.
    static void CLSIDEnabled(int bEnable);
    // Fills both maps from the conversion table once; later calls return at once.
    static void GuidConvertInit();
    // The current class identifier for a stored one; the argument itself when
    // it is no stored identifier or translation is off.
    static GUID CLSIDLookup(const GUID& stored);
    // The same on the registry text form: the current identifier in registry
    // form (upper case, braces), or the argument unchanged, character for
    // character, when it is not a stored identifier (or no identifier at all).
    static CString CLSIDLookup(CString stored);
    // The stored class identifier for a current one, or the argument.
    static GUID CLSIDReverseLookup(const GUID& current);
    static CString CLSIDReverseLookup(CString current);

#ifdef _WIN32
    // -- Objects on streams (Windows) --
    // Loads a persisted object (class identifier, then the object's data) and
    // stores the interface riid of it in *ppvObj, a new reference owned by the
    // caller. Translation off: exactly OleLoadFromStream. Translation on: a
    // stored identifier is replaced by its current one; an all-zero identifier
    // gives S_OK with *ppvObj null; a stream without the 16 bytes of an
    // identifier gives 0x80070026 (end of stream), any other failed read of
    // them its own code; E_POINTER when ppvObj is null. Otherwise the code of
    // the first failing step: creation in process (*ppvObj untouched), the
    // object's IPersistStream::Load, the query for riid. A created object is
    // released on failure; the stream stands wherever the failing step left it.
    static HRESULT KESTOleLoadFromStream(IStream* pStream, REFIID riid, void** ppvObj);
    // Reads a variant written by the host: a 16-bit type, then 1, 2, 4 or 8
    // bytes, a persisted object (VT_DISPATCH, VT_UNKNOWN), or a text that is
    // converted to the type with VariantChangeType. Objects that fail to load
    // give S_OK and a null object. E_FAIL when the stream ends or gives fewer
    // bytes than a part needs; a failing read's own code; E_OUTOFMEMORY for a
    // text no platform string can hold; the conversion's code.
    static HRESULT KESTReadFromStream(CComVariant& var, IStream* pStream);
#endif

    // --- Text and numbers ---------------------------------------------------

    // -- Numerals: type detection, names (portable) --
    // The numeral parser's evaluation helper; defined in QNNumeral.h.
    class CNumeralParserHelper;

    // The data type of the literal in `strText`, typed in the user's form (the
    // user's decimal separator is read as '.'). *plValue (if not null) gets the
    // saturated 32-bit value of an integer literal, 0 for other literals,
    // whatever the outcome. QNDT_INVALID for anything else, with the reason in
    // GetLastParserError(): 0 for a syntax error (the parser also writes its
    // diagnostic line to the standard error stream), QN_ERR_OUTOFRANGE when the
    // literal does not fit its type.
    static QNDataType ParserAndGetDataType(CString strText, LONG* plValue = nullptr);
    // True when strText is an integer or a real literal.
    static bool IsNumberOnly(CString strText);
    // The helper error number of the last detection that failed (0 at load; a
    // successful detection leaves it alone).
    static int GetLastParserError();
    // S_OK for a name of 1 to 32 characters that begins with a letter and goes
    // on with letters, digits and '_' (letters and digits as the user's locale
    // classifies them); else, in this order, QN_E_TOOLONG, QN_E_TOOSHORT,
    // QN_E_INVALIDCHAR, QN_E_LEADINGUNDERSCORE (valid but for one leading '_'),
    // or E_FAIL when the platform cannot classify the characters.
    static HRESULT IsValidName(CString strName);
    // IsValidName for names of ASCII letters and digits only: QN_E_INVALIDCHAR
    // at the first other character. `strName` is not changed.
    static HRESULT IsValidEnglishFilename(CString& strName);
    // TRUE when every character of strText is below 128 (also for the empty text).
    static BOOL IsASCII(const CString& strText);

    // --- Fonts, menus and windows -------------------------------------------

    // --- XML defaults -------------------------------------------------------

private:
    CQNUtility() {}

    // Class identifier translation: stored -> current and current -> stored,
    // the count of outstanding enables, and whether the maps have been filled.
    static CMapGUIDToGUID m_GUIDTable;
    static CMapGUIDToGUID m_GUIDReverse;
    static int m_iEnabled;
    static int m_bGuidTableInitialized;

    // Advances `crc` over `count` bytes with no initial or final step; no change
    // when count <= 0.
    static void Compute64CRC(__int64& crc, const void* data, int count);
#ifdef _WIN32
    // The key of GenerateKey for a given computer name and local time.
    static void BuildKey(CString& key, LPCWSTR computerName, const SYSTEMTIME& when);
#endif

    friend struct CQNUtilityTestAccess;

public:
    // --- Static state (values at load in UtilityState.cpp) ------------------
    static int m_nLastParserError;
    static int m_nMaxNameLength;
    static int m_nIncrement;
    static CString m_cstrNumberBase;
    static CString m_cstrNameBase;
    static int m_bCleanCloseNoSave;
};
