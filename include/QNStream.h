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
