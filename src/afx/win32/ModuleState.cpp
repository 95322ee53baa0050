// Module states, the application object and the chain of extension modules.
#include <afx/afxwin.h>

#include "afx/LibraryStartup.h"
#include "afx/win32/WindowState.h"

#include <memory>

namespace {

thread_local AFX_MODULE_STATE* t_currentState = nullptr;

CDynLinkLibrary* g_chainHead = nullptr;

// The library's own entry in the extension chain, made at process attach.
std::unique_ptr<CDynLinkLibrary> g_libraryLink;

} // namespace

AFX_MODULE_STATE::AFX_MODULE_STATE(BOOL bDLL) : m_bDLL(bDLL) {}

AFX_MODULE_STATE* AfxGetAppModuleState()
{
    static AFX_MODULE_STATE state = [] {
        AFX_MODULE_STATE s(FALSE);
        s.m_hCurrentInstanceHandle = ::GetModuleHandleW(nullptr);
        s.m_hCurrentResourceHandle = s.m_hCurrentInstanceHandle;
        return s;
    }();
    return &state;
}

AFX_MODULE_STATE* AfxGetStaticModuleState()
{
    static AFX_MODULE_STATE state(TRUE);
    return &state;
}

AFX_MODULE_STATE* AfxGetModuleState() { return t_currentState ? t_currentState : AfxGetAppModuleState(); }

AFX_MODULE_STATE* AfxSetModuleState(AFX_MODULE_STATE* state)
{
    AFX_MODULE_STATE* previous = AfxGetModuleState();
    t_currentState = state;
    return previous;
}

HINSTANCE AfxGetResourceHandle() { return AfxGetModuleState()->m_hCurrentResourceHandle; }

void AfxSetResourceHandle(HINSTANCE hResource) { AfxGetModuleState()->m_hCurrentResourceHandle = hResource; }

HINSTANCE AfxGetInstanceHandle() { return AfxGetModuleState()->m_hCurrentInstanceHandle; }

CWinApp* AfxGetApp() { return AfxGetModuleState()->m_pCurrentWinApp; }

LPCTSTR AfxGetAppName() { return AfxGetModuleState()->m_lpszCurrentAppName; }

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType)
{
    HINSTANCE inForce = AfxGetResourceHandle();
    if (inForce && ::FindResourceW(inForce, lpszName, lpszType))
        return inForce;
    for (CDynLinkLibrary* link = g_chainHead; link; link = link->m_pNextDLL) {
        if (link->m_hResource && ::FindResourceW(link->m_hResource, lpszName, lpszType))
            return link->m_hResource;
    }
    return nullptr;
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow)
{
    if (!hInstance)
        return FALSE;
    AFX_MODULE_STATE* state = AfxGetModuleState();
    state->m_hCurrentInstanceHandle = hInstance;
    state->m_hCurrentResourceHandle = hInstance;
    if (CWinApp* app = state->m_pCurrentWinApp) {
        app->m_hInstance = hInstance;
        app->m_lpCmdLine = lpCmdLine;
        app->m_nCmdShow = nCmdShow;
    }
    return TRUE;
}

// --- CWinApp ----------------------------------------------------------------

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName)
{
    AFX_MODULE_STATE* state = AfxGetModuleState();
    state->m_pCurrentWinApp = this;
    state->m_lpszCurrentAppName = lpszAppName;
}

CWinApp::~CWinApp()
{
    for (AFX_MODULE_STATE* state : {AfxGetStaticModuleState(), AfxGetAppModuleState()}) {
        if (state->m_pCurrentWinApp == this)
            state->m_pCurrentWinApp = nullptr;
    }
}

BOOL CWinApp::InitApplication() { return TRUE; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

// --- CDynLinkLibrary --------------------------------------------------------

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource) : m_hModule(hModule), m_hResource(hResource)
{
    CDynLinkLibrary** tail = &g_chainHead;
    while (*tail)
        tail = &(*tail)->m_pNextDLL;
    *tail = this;
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    for (CDynLinkLibrary** link = &g_chainHead; *link; link = &(*link)->m_pNextDLL) {
        if (*link == this) {
            *link = m_pNextDLL;
            break;
        }
    }
}

CDynLinkLibrary* CDynLinkLibrary::GetChainHead() { return g_chainHead; }

// --- Library start-up and shut-down -----------------------------------------

BOOL AfxLibraryAttach(HINSTANCE hInstance)
{
    // The framework refuses to load when 8 KB of local memory cannot be had.
    HLOCAL probe = ::LocalAlloc(LMEM_FIXED, 8 * 1024);
    if (!probe)
        return FALSE;
    ::LocalFree(probe);

    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    static TCHAR emptyCommandLine[] = _T("");
    if (!AfxWinInit(hInstance, nullptr, emptyCommandLine, 0))
        return FALSE;
    CWinApp* app = AfxGetApp();
    if (app && (!app->InitApplication() || !app->InitInstance())) {
        app->ExitInstance();
        return FALSE;
    }
    g_libraryLink = std::make_unique<CDynLinkLibrary>(hInstance, hInstance);
    return TRUE;
}

void AfxLibraryThreadDetach()
{
    // The thread's handle maps and temporary objects go; a thread leaving while
    // a library scope is current must not leave a dangling state behind.
    AfxReleaseThreadWindowState();
    if (t_currentState == AfxGetStaticModuleState())
        t_currentState = nullptr;
}

void AfxLibraryDetach()
{
    {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        if (CWinApp* app = AfxGetApp())
            app->ExitInstance();
    }
    AfxReleaseThreadWindowState(); // the unloading thread's temporary maps
    g_libraryLink.reset();
}
