// Persistence on COM streams: the portable encodings of single values and
// texts, and the objects saved and loaded through streams and storage files.
#pragma once

#include <QNPlatform.h>
#include <QNResult.h>
#include <afx/afxstr.h>

// --- Value and text encodings --------------------------------------------------
//
// Each value is written at the stream's position as it stands: little-endian,
// no type tag, no alignment, no padding.
//
//   Bool    2 bytes   the caller's 16-bit value unchanged (-1 true, 0 false)
//   LONG    4 bytes   signed 32-bit
//   DOUBLE  8 bytes   IEEE 754 double
//   BSTR    4 + N     unsigned 32-bit byte count N, then the UTF-16LE characters
//                     and one zero character (N = 2 * characters + 2); N = 0
//                     stands for no text and reads back as an empty text.
//
// Every function returns S_OK or E_FAIL; the stream is not owned.

// Write the value. E_FAIL when the write fails or reports fewer bytes written.
QN_API HRESULT SaveBool(const SHORT& value, IStream* pStream);
QN_API HRESULT SaveLONG(const LONG& value, IStream* pStream);
QN_API HRESULT SaveDOUBLE(const double& value, IStream* pStream);

// Read the value. E_FAIL when the read fails or gives fewer bytes; `value` is
// then unchanged.
QN_API HRESULT LoadBool(SHORT& value, IStream* pStream);
QN_API HRESULT LoadLONG(LONG& value, IStream* pStream);
QN_API HRESULT LoadDOUBLE(double& value, IStream* pStream);

// Writes the text as a platform string with its terminator. An empty text is
// written as N = 2 and one zero character.
QN_API HRESULT SaveBSTR(const CString& text, IStream* pStream);

// Reads a text written by SaveBSTR. The text ends at its first zero character.
// E_FAIL when the count or the characters cannot be read (the stream reports
// S_FALSE or a failure) or when N cannot be held as a platform string; `text`
// is then unchanged.
QN_API HRESULT LoadBSTR(CString& text, IStream* pStream);

// --- Objects on streams and storage files ------------------------------------
//
// A persisted object is its class identifier (16 bytes in GUID memory layout),
// then whatever the object's own stream save writes; an all-zero identifier
// stands for no object. Loading (CQNUtility::KESTOleLoadFromStream) translates
// stored class identifiers to their current ones while translation is enabled
// (CQNUtility::CLSIDEnabled). Windows only: objects are made by COM.

#ifdef _WIN32

// The extended persistence interface that host objects may implement; the
// library only calls it. What the long parameter means is the object's affair.
struct IExtPersistStream : public IUnknown {
    // Saves the object's data (not its class identifier) to pStm, clearing its
    // dirty flag when fClearDirty is TRUE.
    virtual HRESULT STDMETHODCALLTYPE SaveWithParam(IStream* pStm, BOOL fClearDirty, LONG lParam) = 0;
};
// {2E92CF32-CC2C-4643-A336-4D671A67C357}
inline constexpr IID IID_IExtPersistStream = {
    0x2E92CF32, 0xCC2C, 0x4643, {0xA3, 0x36, 0x4D, 0x67, 0x1A, 0x67, 0xC3, 0x57}};
__CRT_UUID_DECL(IExtPersistStream, 0x2E92CF32, 0xCC2C, 0x4643, 0xA3, 0x36, 0x4D, 0x67, 0x1A, 0x67, 0xC3, 0x57)

// Saves pPersist in the persisted-object form. With IExtPersistStream: the
// class identifier (GetClassID, WriteClassStm), then SaveWithParam(pStream,
// TRUE, lParam); the first failing step's code, else SaveWithParam's. Without
// it: exactly OleSaveToStream. OLE_E_BLANK, writing nothing, when pPersist is
// null. Neither pointer is kept.
QN_API HRESULT KESTSaveToStream(IPersistStream* pPersist, IStream* pStream, LONG lParam);

// Copies the compound file lpszSource to lpszDestination with all its streams
// and sub-storages, and gives the copy the source's root class identifier.
// pSource, when given, is the source already open (read access at least); it
// is used instead of opening lpszSource and is not released. When
// bFailIfExists is 0 an existing destination is replaced; otherwise the copy
// fails and the destination stays untouched. Non-zero on success; 0 on any
// failure, which may leave a partly written destination.
QN_API int CopyStorageFile(LPCWSTR lpszSource, LPCWSTR lpszDestination, int bFailIfExists,
                           IStorage* pSource = nullptr);

// Renames every file of `folder` whose name ends in ".SwxCF" in any letter case
// so that it ends in exactly ".SwxCF". Renames that fail are skipped.
QN_API void RenameOldStorageFiles(CString folder);

#endif // _WIN32
