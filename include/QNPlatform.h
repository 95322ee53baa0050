// The one place that brings in the platform headers and defines the export
// macro. Every QNUtility header includes this first.
//
// Windows build: the real SDK (<windows.h>, COM, OLE automation).
// Native build (Linux, for sanitizers, fuzzing and benchmarks): the small shim in
// port/ that supplies the same names with the same sizes.
#pragma once

#ifdef _WIN32
#  ifndef _WIN32_WINNT
#    define _WIN32_WINNT 0x0601
#  endif
#  ifndef WINVER
#    define WINVER _WIN32_WINNT
#  endif
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  ifndef UNICODE
#    define UNICODE
#  endif
#  ifndef _UNICODE
#    define _UNICODE
#  endif
#  include <windows.h>
#  include <ole2.h>
#  include <oleauto.h>
#  include <objidl.h>
#  include <tchar.h>
// A host that brought in <windows.h> without UNICODE before this header gets
// the narrow TCHAR behind the library's LPCTSTR parameters: refuse it here.
static_assert(sizeof(TCHAR) == sizeof(WCHAR),
              "QNUtility needs the Unicode <windows.h>: define UNICODE and _UNICODE before including it, "
              "or include the QNUtility headers first");
#else
#  include <qnport/windows_port.h>
#endif

#include <cstddef>
#include <cstdint>

// QN_API marks what QNUtility.dll exports. The DLL's own sources are built with
// QN_BUILDING_DLL; hosts get the import form; the native static build gets nothing.
#if defined(_WIN32) && defined(QN_BUILDING_DLL)
#  define QN_API __declspec(dllexport)
#elif defined(_WIN32) && !defined(QN_STATIC)
#  define QN_API __declspec(dllimport)
#else
#  define QN_API
#endif

// Text literal of the UTF-16 character type on both builds: L"..." on Windows,
// u"..." natively. Portable code writes _T("...").
#ifndef _T
#  define _T(x) L##x
#endif

static_assert(sizeof(WCHAR) == 2, "WCHAR must be a 16-bit UTF-16 unit");
static_assert(sizeof(LONG) == 4 && sizeof(ULONG) == 4 && sizeof(DWORD) == 4, "32-bit LONG/ULONG/DWORD");
static_assert(sizeof(HRESULT) == 4, "HRESULT is 32 bits");
static_assert(sizeof(GUID) == 16, "GUID is 16 bytes");
