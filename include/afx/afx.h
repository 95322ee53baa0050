// The framework's core: the object base class with run-time class information,
// the exceptions (thrown as pointers, caught as `CException* e` and freed with
// `e->Delete()`), files, memory files, archives and the message box entry point.
#pragma once

#include <QNPlatform.h>
#include <afx/afxstr.h>

class CObject;
class CArchive;

// Calling convention mark of the framework's helper functions (HashKey...).
#ifndef AFXAPI
#  define AFXAPI
#endif

// An opaque place in a collection (list node, map association).
struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(static_cast<INT_PTR>(-1)))

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

// The object as a class_name* when it is one (IsKindOf), else null; null stays null.
#define DYNAMIC_DOWNCAST(class_name, object) \
    (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), object)))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

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

// pObject when it is of pClass or derives from it, else null.
QN_API CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);

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

// File errors. m_cause is one of the causes below; m_lOsError is the system's
// error code (Windows: GetLastError(); natively the errno translated to the
// Windows code of the same meaning, so both builds report alike), -1 when
// there is none; m_strFileName names the file.
class QN_API CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszArchiveName = nullptr);

    // The cause for a Windows error code (generic when the code has no better one).
    static int OsErrorToException(LONG lOsError);
    [[noreturn]] static void ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = nullptr);

    // A sentence naming the file and the cause, e.g. "An error occurred while
    // accessing C:\x.dat.".
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

// Archive errors: reading a storing archive (writeOnly), writing a loading one
// (readOnly), running out of data (endOfFile), using a closed one (generic).
class QN_API CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

    explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] QN_API void AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
[[noreturn]] QN_API void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);

// ---------------------------------------------------------------------------
// Files. Errors raise CFileException*; Open alone reports through its
// pError argument and returns FALSE instead.

class QN_API CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    // The handle of a file that is not open.
    static constexpr UINT_PTR hFileNull = static_cast<UINT_PTR>(-1);

    CFile();
    // Opens the file; raises CFileException* when it cannot.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    // Closes the file if it is open; errors of that close are dropped.
    ~CFile() override;

    // modeCreate makes a new empty file (modeNoTruncate keeps an existing
    // one). FALSE when the file cannot be opened; pError then holds the cause.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

    virtual ULONGLONG GetPosition() const;
    // Moves the position; returns the new one. Before the start: badSeek.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);

    // Reads up to nCount bytes; returns how many were read (0 at the end).
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes all nCount bytes, or raises (diskFull when fewer were written).
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual void Flush();
    virtual void Close();
    // Closes without raising.
    virtual void Abort();

    virtual CString GetFilePath() const { return m_strFileName; }
    BOOL IsOpen() const { return m_hFile != hFileNull; }

    UINT_PTR m_hFile;

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};

// A file in one growable memory block. The block grows in steps of the grow
// size given to the constructor through the virtual Alloc/Realloc/Free/
// GrowFile, which a derived class may replace; a write that cannot grow the
// block raises CMemoryException (an attached block with a grow size of 0 never
// grows). The block comes from malloc: a caller that Detach()es it frees it.
class QN_API CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    // Works in the caller's block (not freed here). nGrowBytes == 0: the
    // block's bytes are the file and it cannot grow; otherwise the file starts
    // empty and grows into a new block of its own when the caller's is full.
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the block over to the caller and leaves the file empty.
    BYTE* Detach();

    ULONGLONG GetPosition() const override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG dwNewLen) override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    void Flush() override;
    void Close() override;
    void Abort() override;
    // A memory file is not opened by name.
    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;

protected:
    virtual BYTE* Alloc(UINT_PTR nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, UINT_PTR nBytes);
    virtual void Free(BYTE* lpMem);
    // Makes the block at least dwNewLen bytes long (in grow-size steps).
    virtual void GrowFile(UINT_PTR dwNewLen);

    UINT m_nGrowBytes;
    UINT_PTR m_nPosition;
    UINT_PTR m_nBufferSize;
    UINT_PTR m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;
};

// ---------------------------------------------------------------------------
// Archives: buffered reading (load) or writing (store) over a CFile.
// A storing archive writes its buffer to the file when it is full and on
// Flush/Close; a loading archive reads ahead and, on Flush/Close, moves the
// file back to the first byte it has not handed out.

class QN_API CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

    // nBufSize below 128 counts as 128. lpBuf, when given, is the buffer (of
    // nBufSize bytes, owned by the caller).
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // Closes (flushes) unless bNoFlushOnDelete; exceptions of that are dropped.
    ~CArchive();

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
    CFile* GetFile() const { return m_pFile; }

    // Reads up to nMax bytes; returns how many (fewer only at the end of the file).
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    void Flush();
    void Close();
    // Detaches from the file without writing what is buffered.
    void Abort();

    // Values in the processor's (little-endian) order. Reading past the end
    // raises CArchiveException(endOfFile).
    CArchive& operator<<(BYTE by) { return WriteValue(by); }
    CArchive& operator<<(WORD w) { return WriteValue(w); }
    CArchive& operator<<(LONG l) { return WriteValue(l); }
    CArchive& operator<<(DWORD dw) { return WriteValue(dw); }
#ifdef _WIN32 // natively LONG is int already
    CArchive& operator<<(int i) { return WriteValue(static_cast<LONG>(i)); }
#endif
    CArchive& operator<<(float f) { return WriteValue(f); }
    CArchive& operator<<(double d) { return WriteValue(d); }
    CArchive& operator>>(BYTE& by) { return ReadValue(by); }
    CArchive& operator>>(WORD& w) { return ReadValue(w); }
    CArchive& operator>>(LONG& l) { return ReadValue(l); }
    CArchive& operator>>(DWORD& dw) { return ReadValue(dw); }
#ifdef _WIN32
    CArchive& operator>>(int& i);
#endif
    CArchive& operator>>(float& f) { return ReadValue(f); }
    CArchive& operator>>(double& d) { return ReadValue(d); }

    CString m_strFileName;

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

private:
    template <class T> CArchive& WriteValue(const T& value)
    {
        Write(&value, sizeof value);
        return *this;
    }
    template <class T> CArchive& ReadValue(T& value)
    {
        ReadExactly(&value, sizeof value);
        return *this;
    }
    void ReadExactly(void* lpBuf, UINT nCount);
    void CheckOpen() const;
    void FillBuffer();

    CFile* m_pFile;
    UINT m_nMode;
    int m_nBufSize;
    BOOL m_bUserBuf;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
};
