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
// XML defaults (QNXml.h declares them completely).
struct IXMLDOMDocument2;
struct IXMLDOMNode;
struct IXMLDOMElement;
template <class T> class CComPtr;
template <class T> class CComQIPtr;
class CComBSTR;
#endif

// Fonts (QNFont.h declares them completely).
class CHMIFont;
template <class TYPE, class ARG_TYPE> class CList;
template <class TYPE, class ARG_TYPE> class CArray;
#ifdef _WIN32
// Menus (QNMenus.h).
class CMenu;
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

    // -- Font catalogue (include QNFont.h) --
#ifdef _WIN32
    // Builds the catalogue from the fonts the platform enumerates: S_OK, or
    // S_FALSE (nothing done) when it exists already.
    static HRESULT LoadFontList();
    // The catalogue, built first when there is none. The library owns it; the
    // pointer is valid until DeleteFontList.
    static CList<CHMIFont, CHMIFont&>* GetFontList();
    // A logical font height in pixels as points and back, at the screen's
    // vertical resolution, rounded to the nearest (halves away from zero) and
    // negated: at 96 dpi PointToPixel(8) is -11 and PixelToPoint(-11) is 8.
    // A result that does not fit 32 bits gives 1 (the platform's -1, negated).
    static long PixelToPoint(long lPixels);
    static long PointToPixel(long lPoints);
#endif
    // Destroys the catalogue: S_OK, or S_FALSE when there is none.
    static HRESULT DeleteFontList();

    // -- Menus and window helpers (include QNMenus.h) --
#ifdef _WIN32
    // Appends a menu object (from `new`) to the store; the library owns it
    // from now on. E_FAIL for a null pointer (store unchanged), else S_OK.
    static HRESULT AddSubMenu(CMenu* pMenu);
    // Deletes every stored menu object, first to last, and empties the store.
    // Always S_OK.
    static HRESULT DeleteSubMenus();
    // Makes the menu of `pMenu` the shared in-place menu (destroying the one
    // held before) and detaches it from `pMenu`. 0 for a null pointer
    // (nothing changes), else 1.
    static int SetSharedMenuFXINPLACE(CMenu* pMenu);
    // The shared in-place menu, owned by the library, or null.
    static HMENU GetSharedMenuFXINPLACE();
    // Destroys the shared in-place menu: 1 when none is held, else the
    // platform's result of DestroyMenu.
    static int DeleteSharedMenuFXINPLACE();
    // Puts the selected text of the rich edit control `hWnd` on the clipboard
    // as CF_UNICODETEXT and CF_TEXT (the system code page). E_INVALIDARG when
    // `hWnd` names no window; S_OK otherwise, also when nothing was copied
    // (no text or no selection: the clipboard is not touched).
    static HRESULT HandleRichEditCopy(HWND hWnd);
#endif
    // The new start and end along one axis when the other axis gets a new
    // size and the rectangle keeps its proportions and its centre:
    //   size  = width / height * newHeight          (Width)
    //   start = round(width * 0.5 + left - size * 0.5)
    //   end   = round(size + start)
    // (Height likewise with the axes exchanged). Rounding is to the nearest,
    // halves away from zero, through a 32-bit integer (a value outside it or
    // not a number gives -2147483648). 1, or 0 when an out-pointer is null.
    // A zero width or height is the caller's to avoid.
    static int ResizePorportional_Width(double dNewHeight, double dWidth, double dHeight, double dLeft,
                                        double* pdNewLeft, double* pdNewRight);
    static int ResizePorportional_Height(double dNewWidth, double dWidth, double dHeight, double dTop,
                                         double* pdNewTop, double* pdNewBottom);

    // --- XML defaults -------------------------------------------------------
#ifdef _WIN32
    // Include QNXml.h to call these. Every one returns S_OK or E_FAIL.

    // Opens "Defaults.xml" of the "WbPath" folder, or builds the new defaults
    // document when the file cannot be loaded, and selects the section element
    // `lpszSection` under the root "Defaults", creating root and section in
    // memory when they are missing. Initialises COM for the calling thread
    // (never uninitialised). On success `doc` holds the document and `section`
    // the section (both new references of the caller; `section` must be empty
    // on entry). E_FAIL when no document can be made, the file's root element
    // is not "Defaults" or the section cannot be made; the CComPtr form then
    // leaves `doc` as it was, the CComQIPtr form may hold the document.
    static HRESULT GetDefaultsDOM(CComQIPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMNode>& section,
                                  LPCWSTR lpszSection);
    static HRESULT GetDefaultsDOM(CComPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMNode>& section,
                                  LPCWSTR lpszSection);
    // The text (own and descendants', joined) of the first node that `query`
    // selects under `node`. E_FAIL, `strText` unchanged and nothing shown when
    // `node` is empty or nothing is selected.
    static HRESULT ReadTextElement(CComQIPtr<IXMLDOMNode>& node, CComBSTR query, CString& strText);
    static HRESULT ReadTextElement(CComPtr<IXMLDOMNode>& node, CComBSTR query, CString& strText);
    // The content of the character-data section that is the first child of the
    // first node `query` selects. E_FAIL with the message "Error reading node
    // <query>.\nNode not found." or "...\nNo CData section found." (none for an
    // empty `node`); `strText` changes only on success.
    static HRESULT ReadCDataElement(CComPtr<IXMLDOMNode>& node, CComBSTR query, CString& strText);
    // A new element `name` holding `text` replaces the node that `name` selects
    // under `parent`, or is appended as its last child. No line feed is added.
    // E_FAIL (document unchanged) when the element or its text cannot be made.
    static HRESULT UpdateTextElement(CComQIPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMNode>& parent, CComBSTR name,
                                     CComBSTR text);
    static HRESULT UpdateTextElement(CComPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMNode>& parent, CComBSTR name,
                                     CComBSTR text);
    // Appends an element `name` holding `text`, then a text node "\n". E_FAIL
    // when the element or its text cannot be made (nothing appended) or the
    // line feed cannot be made (the element stays appended).
    static HRESULT AddTextElement(CComPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMElement>& parent, CComBSTR name,
                                  CComBSTR text);
    // Appends an element `name` holding one character-data section `data`,
    // then a text node "\n"; all three are made first, so E_FAIL leaves
    // `parent` unchanged.
    static HRESULT AddCDataElement(CComPtr<IXMLDOMDocument2>& doc, CComPtr<IXMLDOMElement>& parent, CComBSTR name,
                                   CComBSTR data);
    // Shows why `doc` failed to parse (warning box): the parse error's reason,
    // `strFallback` when the error has no reason, "Unknown Error.\nPlease check
    // XML Source." when there is no parse error object; nothing for an empty
    // `doc`. Always E_FAIL, so that a caller can return its result.
    static HRESULT DisplayParseError(CComPtr<IXMLDOMDocument2>& doc, CString strFallback);
#endif

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
    // The font catalogue, null until built (QNFont.h).
    static CList<CHMIFont, CHMIFont&>* m_pFontList;
#ifdef _WIN32
    // The submenu store and the shared in-place menu (QNMenus.h).
    static CArray<CMenu*, CMenu*&> m_SubMenus;
    static CMenu m_SharedMenuFXINPLACE;
#endif
};
