// Windows-only part of the framework stand-ins: module states, the application
// object and the chain of extension modules.
//
// A module state records, for one module (the host executable or this library),
// its instance handle, the resource module in force (where string, dialog and
// menu lookups search first) and its application object. Each thread has a
// current module state: the host's by default, the library's while a window
// procedure of the library runs (AFX_MANAGE_STATE). The chain of extension
// modules is process-wide; resource lookups that miss the module in force
// search it in order.
//
// The window classes follow at the end: message maps (afxmsg_.h), geometry
// (atltypes.h), GDI objects and device contexts (afxgdi.h), windows, dialogs
// and controls (afxwnd.h); the common colour dialog is in afxdlgs.h.
#pragma once

#ifndef _WIN32
#error "afxwin.h is Windows-only"
#endif

#include <afx/afx.h>

class CWinApp;
class CDynLinkLibrary;

struct QN_API AFX_MODULE_STATE {
    explicit AFX_MODULE_STATE(BOOL bDLL);

    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    HINSTANCE m_hCurrentResourceHandle = nullptr;
    LPCTSTR m_lpszCurrentAppName = nullptr;
    CWinApp* m_pCurrentWinApp = nullptr;
    BOOL m_bDLL;
};

// The current module state of the calling thread (the host's unless a scope
// switched it).
QN_API AFX_MODULE_STATE* AfxGetModuleState();
// The host executable's module state (made on first use).
QN_API AFX_MODULE_STATE* AfxGetAppModuleState();
// This library's module state.
QN_API AFX_MODULE_STATE* AfxGetStaticModuleState();
// Makes `state` current for the calling thread; returns the previous one.
QN_API AFX_MODULE_STATE* AfxSetModuleState(AFX_MODULE_STATE* state);

// Scope that makes a module state current and restores the previous one.
class QN_API AFX_MAINTAIN_STATE2 {
public:
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state) : m_pPrevState(AfxSetModuleState(state)) {}
    ~AFX_MAINTAIN_STATE2() { AfxSetModuleState(m_pPrevState); }
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
    AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

private:
    AFX_MODULE_STATE* m_pPrevState;
};
#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p)

// The resource module in force in the current module state.
QN_API HINSTANCE AfxGetResourceHandle();
QN_API void AfxSetResourceHandle(HINSTANCE hResource);
QN_API HINSTANCE AfxGetInstanceHandle();
QN_API CWinApp* AfxGetApp();
QN_API LPCTSTR AfxGetAppName();

// The module that holds a resource: the resource module in force first, then
// each module of the extension chain in order. Null when none has it.
QN_API HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

// Initialises the framework for the current module state's module (instance and
// resource handle, command line). Returns FALSE when hInstance is null.
QN_API BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);

// The application object. Constructing one makes it the current module
// state's application; there is one per module.
class QN_API CWinApp : public CObject {
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    LPCTSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = 0;

    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
};

// One module in the process-wide chain of extension modules. Constructing it
// appends it to the chain; destroying it removes it.
class QN_API CDynLinkLibrary : public CObject {
public:
    CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
    ~CDynLinkLibrary() override;

    HINSTANCE m_hModule;
    HINSTANCE m_hResource;
    CDynLinkLibrary* m_pNextDLL = nullptr;

    // First module of the chain (null when it is empty).
    static CDynLinkLibrary* GetChainHead();

    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;
};

// ---------------------------------------------------------------------------
// Windows, dialogs, controls, device contexts

#include <afx/atltypes.h>
#include <afx/afxmsg_.h>
#include <afx/afxgdi.h>
#include <afx/afxwnd.h>
