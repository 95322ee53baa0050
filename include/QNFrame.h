// Library frame: the application object, the resource-module scope, the owned
// byte buffer and the scoped error flag.
#pragma once

#include <QNPlatform.h>
#include <QNResult.h>
#include <QNUtilityClass.h>

// An owned block of bytes of a fixed size, allocated at construction.
class QN_API CKESTBYTEBuffer {
public:
    // Allocates `nSize` uninitialised bytes; an allocation failure (or a
    // negative size) raises the framework's memory exception.
    explicit CKESTBYTEBuffer(int nSize);
    ~CKESTBYTEBuffer();

    // Neither checks `nPos` against m_nSize: the caller keeps it in range.
    unsigned char GetAt(int nPos) const { return m_pData[nPos]; }
    void SetAt(int nPos, unsigned char value) { m_pData[nPos] = value; }

    operator unsigned char*() { return m_pData; }
    operator void*() { return m_pData; }

    int m_nSize;
    unsigned char* m_pData;

    // A buffer owns its block and is never copied.
    CKESTBYTEBuffer(const CKESTBYTEBuffer&) = delete;
    CKESTBYTEBuffer& operator=(const CKESTBYTEBuffer&) = delete;
};

// Sets flag bits in a caller's word when the scope ends with a failure code.
class QN_API CKESTError {
public:
    CKESTError(HRESULT hResult, ULONG* pFlags, ULONG dwFlag) : m_hResult(hResult), m_pFlags(pFlags), m_dwFlag(dwFlag) {}
    // ORs m_dwFlag into *m_pFlags if m_hResult is negative at the end of the scope.
    ~CKESTError();

    CKESTError(const CKESTError&) = default;
    CKESTError& operator=(const CKESTError&) = default;

    HRESULT m_hResult;
    ULONG* m_pFlags;
    ULONG m_dwFlag;
};

#ifdef _WIN32
#include <afx/afxwin.h>

// The library's application object; it exists because the framework's start-up
// for a regular library expects one.
class QN_API CQNUtilityApp : public CWinApp {
public:
    CQNUtilityApp();
};

// Switches the resource module in force for one block of code and restores it
// at the end. Scopes nest; each restores what it found.
class QN_API CResourceScope {
public:
    // Makes `hResource` the module in force if it is not null; never loads or
    // frees anything.
    explicit CResourceScope(HINSTANCE hResource);
    // Looks for the language module "<exe folder>\<name>.<language>" (the
    // executable's own name when `lpszModuleName` is null): the forced language,
    // then the user's locale, then its neutral locale, then "ENU". The module
    // found becomes the module in force and is freed at the end of the scope;
    // when none is found nothing changes.
    explicit CResourceScope(LPCWSTR lpszModuleName);
    ~CResourceScope();

    CResourceScope(const CResourceScope&) = delete;
    CResourceScope& operator=(const CResourceScope&) = delete;

    HINSTANCE m_hPrevResource;
    int m_bFreeOnExit;
};
#endif
