// Result codes of the library. Functions that can fail return a 32-bit result
// code in the COM form: zero or positive is success, negative is failure. The
// platform's codes (S_OK, E_FAIL, E_POINTER, ...) come from QNPlatform.h; these
// are the library's own, failure codes of the control facility.
#pragma once

#include <QNPlatform.h>

#define QN_E_INVALIDCHAR ((HRESULT)0x800A03E9L)       // a text holds a character that is not allowed
#define QN_E_TOOLONG ((HRESULT)0x800A03EAL)           // a text is longer than allowed
#define QN_E_TOOSHORT ((HRESULT)0x800A03EBL)          // empty text, or fewer bytes left in a block than asked for
#define QN_E_LEADINGUNDERSCORE ((HRESULT)0x800A03ECL) // a valid name except that it begins with '_'

// The end-of-stream result: the Win32 end-of-file error (38) as a result code.
#define QN_E_ENDOFSTREAM ((HRESULT)0x80070026L)

// Error number (a plain int, not a result code): a literal is out of the range of its type.
#define QN_ERR_OUTOFRANGE 8022

static_assert(QN_E_INVALIDCHAR == MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 1001), "control facility, code 1001");
static_assert(QN_E_LEADINGUNDERSCORE == MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 1004), "control facility, code 1004");
