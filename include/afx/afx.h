// The framework's core: the object base class with run-time class information,
// the exceptions (thrown as pointers, caught as `CException* e` and freed with
// `e->Delete()`), files, memory files, archives and the message box entry point.
#pragma once

#include <QNPlatform.h>
#include <afx/afxstr.h>

class CObject;
class CArchive;

// ---------------------------------------------------------------------------
// Run-time class information

struct QN_API CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();         // null unless the class is DYNCREATE
    CRuntimeClass* (*m_pfnGetBaseClass)();   // null for CObject

    // A new object of the class (owned by the caller), or null when the class
    // cannot be made dynamically.
    CObject* CreateObject() const;
    // TRUE when this class is pBaseClass or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name) \
public:                             \
    static CRuntimeClass* GetThisClass(); \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define QN_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, schema, create)                             \
    CRuntimeClass* class_name::GetThisClass()                                                              \
    {                                                                                                      \
        static CRuntimeClass runtimeClass = {#class_name, static_cast<int>(sizeof(class_name)), schema,    \
                                             create, &base_class_name::GetThisClass};                      \
        return &runtimeClass;                                                                              \
    }                                                                                                      \
    CRuntimeClass* class_name::GetRuntimeClass() const { return class_name::GetThisClass(); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    QN_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                 \
    CObject* class_name::CreateObject() { return new class_name; }       \
    QN_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, 0xFFFF, &class_name::CreateObject)

// ---------------------------------------------------------------------------
// The object base class. Objects are not copyable, as in the framework.

class QN_API CObject {
public:
    static CRuntimeClass* GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    virtual BOOL IsSerializable() const;
    // Writes the object to or reads it from an archive; CObject has nothing to save.
    virtual void Serialize(CArchive& ar);

    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

protected:
    CObject() = default;
};

// ---------------------------------------------------------------------------
// Message boxes. Every message box of the library goes through AfxMessageBox.
// While a hook is set it is called instead of showing anything and its return
// value is the answer; without one, Windows shows MessageBoxW owned by the
// active window and the native build writes the text to stderr and answers IDOK.

typedef int (*AFX_MESSAGEBOX_HOOK)(LPCTSTR text, UINT type, void* context);

// Sets the hook (null removes it) and the context passed to it. Returns the
// previous hook; its context goes to *pPrevContext when that is not null.
QN_API AFX_MESSAGEBOX_HOOK AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK hook, void* context,
                                                void** pPrevContext = nullptr);

// Shows a message box; returns the button chosen (IDOK, IDCANCEL, IDYES...).
QN_API int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

// ---------------------------------------------------------------------------
// Exceptions

class QN_API CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE);
    ~CException() override;

    // Frees a caught exception (does nothing for the static memory exception).
    void Delete();

    // Copies the exception's message (at most nMaxError - 1 characters and a
    // terminator) into lpszError. FALSE when the exception has no message.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;

    // Shows the message in a message box of type nType; returns the answer.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

protected:
    BOOL m_bAutoDelete;
};

class QN_API CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class QN_API CNotSupportedException : public CException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

// Throws the one static CMemoryException (allocating under memory exhaustion
// would fail); its Delete() does nothing.
[[noreturn]] QN_API void AfxThrowMemoryException();
[[noreturn]] QN_API void AfxThrowNotSupportedException();
