// CQNUtility: the library's static utility class. It has only static members;
// no instance is ever made. Each subsystem declares its members in its own
// section below; the static state is defined in src/frame/UtilityState.cpp.
#pragma once

#include <QNPlatform.h>
#include <QNResult.h>
#include <QNText.h>
#include <afx/afxstr.h>
#include <QNClassTable.h>

#ifdef _WIN32
class CComVariant;
#endif

// The data type decided for a literal; its values are in QNNumeral.h.
enum QNDataType : int;
// The brand texts and the host's version record; both in QNConfiguration.h.
enum BrandInfoType : int;
struct OVVersion;

class QN_API CQNUtility {
public:
    // --- Library frame ------------------------------------------------------

    // 64-bit CRC (CRC-64/WE) of `count` bytes at `data`; 0 when count <= 0.
    static __int64 GenerateCRC(const void* data, int count);

    // Sets `key` (overwriting it) to computer name + date ("ddmmyy" picture:
    // day, the letters "mm", two-digit year) + time ("HHmmss"). Always S_OK.
    static HRESULT GenerateKey(CString& key);

    // --- Configuration ------------------------------------------------------
    // The keys and values read here are listed in QNConfiguration.h. Nothing
    // is cached: each call reads the registry or the file anew.

#ifdef _WIN32
    // Sets `strPath` to "WbPath" of the "Install" key (empty when the value is
    // missing or longer than 520 bytes) and returns S_OK; E_FAIL, with strPath
    // unchanged, when the key cannot be opened for reading.
    static HRESULT GetWBPath(CString& strPath);
    // The export folder: "BackUpLanguageDir" (current user) when it names an
    // existing entry, else "BackUp" (local machine). The buffer (cbBuffer
    // bytes, zero-filled first) gets the folder, which also becomes the
    // process's current directory: S_OK; *pcbBuffer then holds the size of the
    // value read, terminator included. S_FALSE, with an all-zero buffer, when
    // neither gives a folder; E_POINTER, touching nothing, when either pointer
    // is null. A value that leaves no room for a terminator in the buffer
    // counts as not read.
    static HRESULT GetExportDir(LPWSTR lpszBuffer, ULONG* pcbBuffer);
    // Stores the folder of `lpszPath` (drive and directory, ending with its
    // separator; null counts as empty) as "BackUpLanguageDir" of the current
    // user's "Settings" key, which must exist: S_OK, or E_FAIL when the key
    // cannot be opened to set values.
    static HRESULT SetExportDir(LPCWSTR lpszPath);
    // Brand text `eInfo` from the language module "Brand" (see CResourceScope):
    // S_OK, the string empty when no module holds the text; S_FALSE, the
    // string unchanged, for a value outside 0 to 19.
    static HRESULT GetBrandInfo(BrandInfoType eInfo, CString& strText);
    static ULONG CurrentBrand();
#endif
    // The host's clean-close flag, kept for it and never read by the library.
    static void SetCleanCloseNoSave(int bCleanCloseNoSave);
    static int GetCleanCloseNoSave();
    // Keeps a pointer to the host's version record (not owned; null allowed).
    // Always S_OK.
    static HRESULT SetCurrentVersion(OVVersion* pVersion);
    // Writes each requested part of the project's last-modified build from the
    // record given to SetCurrentVersion: S_OK; E_POINTER when all four
    // pointers are null; E_FAIL, writing nothing, when no record was given.
    static HRESULT GetProjectLastModifiedBuild(ULONG* pdwPart1, ULONG* pdwPart2, ULONG* pdwPart3, ULONG* pdwPart4);

    // -- Language and locale --
    // Language abbreviations: "ENU" 0x0409, "JPN" 0x0411, "FRA" 0x040C,
    // "DEU" 0x0407, "ITA" 0x0410, "ESP" 0x040A; anything else 0x0409.
#ifdef _WIN32
    // "ForceLanguage" exactly as stored (read with full access, at most 19
    // characters); empty when it cannot be read.
    static void GetForceLanguage(CString& strLanguage);
    // The locale of the forced language, upper-cased (0x0409 when none).
    static ULONG GetLocaleFromForceLanguage();
    // The locale of a loaded module's file-name extension; 0 when the platform
    // gives no file name for the handle.
    static ULONG GetModuleLocaleFromExt(HINSTANCE hModule);
    // The locale of the path's file-name extension, upper-cased (0x0409 when
    // there is none or it is no abbreviation of the table).
    static ULONG GetModuleLocaleFromExt(LPCWSTR lpszPath);
    // Classifies the user's default locale: Japanese 3, 4; Korean 4, 5;
    // Chinese (Taiwan) 1, 2; other Chinese 1, 1; any other 2, 3.
    static void GetUserDefaultLocaleAndSystemLanguage(int& nFirst, int& nSecond);
#endif

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

    // -- Escaping, script text, sequence names (portable) --

    // Writes a new copy of `lpszText` (null counts as empty) with the escapes
    // that `ops` selects to *pbstrOut, which the caller frees (its old value is
    // overwritten, not freed). S_OK; E_POINTER when pbstrOut is null (nothing
    // written); E_OUTOFMEMORY when the working buffer cannot be had (*pbstrOut
    // untouched) or, with ops 0, when the copy cannot be made (also for a null
    // text; *pbstrOut then null); S_FALSE when the final string cannot be
    // allocated (*pbstrOut null).
    static HRESULT EscapeText(LPCWSTR lpszText, eQNEscapeOperations ops, BSTR* pbstrOut);
    // Reads the escapes that `ops` selects in all SysStringLen(bstrText)
    // characters (embedded NULs included; a null BSTR counts as empty) into a
    // new string at *pbstrOut, owned by the caller. Result codes as EscapeText,
    // and E_FAIL (*pbstrOut untouched) for \u or \U under eEscUnicode.
    static HRESULT UnescapeText(BSTR bstrText, eQNEscapeOperations ops, BSTR* pbstrOut);
    // Copies the text at *ppText up to `chDelimiter` or the end into
    // lpszToken (which must have room; nothing is checked), terminates it, and
    // moves *ppText past the character that stopped the copy. TRUE when the
    // delimiter stopped it; FALSE at the end of the text (*ppText then stands
    // past the terminator) and, changing nothing, when an argument is null.
    static BOOL NextToken(LPCWSTR* ppText, WCHAR chDelimiter, LPWSTR lpszToken);

    // Script text: lines end with CR LF, "//" starts a comment to the end of
    // the line, "..." is a literal within a line (\" and "" stay inside it).
    // The position of the first `strFind` at or after `nStart` that stands
    // outside literals and comments; -1 when there is none, when the quotes of
    // its line do not pair, or when strFind is empty.
    static int FindSkipStringAndComment(CString strText, CString strFind, int nStart);
    // The position of the last `chFind` outside literals and comments, or -1.
    static int ReverseFindSkipStringAndComment(CString strText, WCHAR chFind);
    // Replaces, from nStart on, every strFind outside literals and comments by
    // strReplace (never searching inside a replacement); returns the count.
    static int ReplaceSkipStringAndComment(CString& strText, CString strFind, CString strReplace, int nStart);
    // The text without the spaces an expression does not need: spaces outside
    // literals and comments go, except at position 0 and after '+' or '-'; a
    // comment loses the carriage return that ends it.
    static CString RemoveUnnecessarySpace(CString strText);

    // Next name of a numbered sequence ("Switch08" -> "Switch09", "Lamp" ->
    // "Lamp01"), starting a new sequence in the shared state (m_cstrNameBase,
    // m_cstrNumberBase, m_nIncrement, m_nMaxNameLength). S_OK, or E_UNEXPECTED
    // (name unchanged) when the character classification fails.
    static HRESULT MakeNextSequenceName(CString& strName, int nIncrement, int nMaxLength);
    // The next name of the sequence in the shared state; `strName` is
    // overwritten whatever it held. Always S_OK.
    static HRESULT MakeNextSequenceName(CString& strName);

#ifdef _WIN32
    // -- Locale-aware number conversion (Windows) --
    // User form: the user's default locale. Internal form: English neutral
    // (0x10009) without user overrides, '.' as decimal separator. Each returns
    // the platform conversion's result code; on failure the output keeps its
    // old value. A null output pointer gives E_POINTER.
    static HRESULT FloatToStrUI(float fValue, CString& strOut);
    static HRESULT StrToFloatUI(LPCWSTR lpszText, float* pfValue);
    static HRESULT FloatToStrInternal(float fValue, CString& strOut);
    static HRESULT StrInternalToFloat(LPCWSTR lpszText, float* pfValue);
    static HRESULT DoubleToStrUI(double dValue, CString& strOut);
    static HRESULT StrToDoubleUI(LPCWSTR lpszText, double* pdValue);
    static HRESULT DoubleToStrInternal(double dValue, CString& strOut);
    static HRESULT StrInternalToDouble(LPCWSTR lpszText, double* pdValue);
    static HRESULT IntToStrUI(int nValue, CString& strOut);
    static HRESULT StrToIntUI(LPCWSTR lpszText, int* pnValue);
    static HRESULT IntToStrInternal(int nValue, CString& strOut);
    static HRESULT StrInternalToInt(LPCWSTR lpszText, int* pnValue);
    static HRESULT ShortToStrInternal(short nValue, CString& strOut);
    static HRESULT StrInternalToShort(LPCWSTR lpszText, short* pnValue);
    static HRESULT StrToShortUI(LPCWSTR lpszText, short* pnValue);
    // StrToDoubleUI that also reads the integer literals of the numeral
    // grammar ("0x1F", "017", "5L"; saturated to 32 bits).
    static HRESULT StrToDoubleUIExt(LPCWSTR lpszText, double* pdValue);
    // Internal-form number text to the user form: every '.' becomes the user's
    // decimal separator. S_FALSE when there was no '.' (output = input);
    // E_FAIL when the input is no number (output already replaced); S_OK.
    static HRESULT StrToNumStrUI(LPCWSTR lpszText, CString& strOut);
    // User-form number text to the internal form: the user's decimal separator
    // becomes '.'. E_FAIL (output unchanged) when the input is no number in the
    // user's locale; S_FALSE when it held no separator; S_OK.
    static HRESULT NumStrUIToStr(LPCWSTR lpszText, CString& strOut);
    // `lValue` with the user's digit grouping and no fraction digits ("1,234,567");
    // the empty text when formatting fails. The user's number format is read on
    // the first call and kept.
    static CString LocaleFormat(LONG lValue);

    // -- Folders (Windows) --
    // Copies the tree `strSource` into `strDestination` (made if missing),
    // overwriting files of the same name. TRUE when everything was copied (also
    // for a missing or empty source); FALSE at the first entry that cannot be
    // copied, and before anything is made when the destination is the source or
    // lies inside it.
    static BOOL CopyFolder(CString strSource, CString strDestination);
#endif

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
    static OVVersion* stVersion;
};
