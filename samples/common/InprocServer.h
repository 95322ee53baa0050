// The plumbing every small in-process COM server of this tree shares: a class
// factory per class, the count of live objects and locks that DllCanUnloadNow
// answers from, and registration under HKEY_CLASSES_ROOT\CLSID as regsvr32
// does it. A server defines the table of its classes (kServerClasses) and gets
// DllMain, DllGetClassObject, DllCanUnloadNow, DllRegisterServer and
// DllUnregisterServer from InprocServer.cpp. Windows only.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstddef>
#include <new>
#include <utility>

namespace inproc {

// Creates an object of one class and answers riid from it. The factory has
// checked ppv (and cleared it) and refused aggregation before it calls this.
using CreateFn = HRESULT (*)(REFIID riid, void** ppv);

struct ServerClass {
    const CLSID* clsid;
    const wchar_t* name; // the class key's default value
    CreateFn create;
};

// Defined by the server.
extern const ServerClass kServerClasses[];
extern const std::size_t kServerClassCount;

// A member of every object the server hands out: while one lives, the module
// cannot be unloaded.
class ModuleReference {
public:
    ModuleReference();
    ~ModuleReference();
    ModuleReference(const ModuleReference&) = delete;
    ModuleReference& operator=(const ModuleReference&) = delete;
    static LONG Count(); // objects, factories and server locks alive now
};

// The reference count of an object the server hands out; it starts at 1 and
// holds the module while the object lives. The object's AddRef and Release
// return Increment() and Decrement(this), and its QueryInterface returns
// Answer(ppv, the interface asked for or nullptr).
class ReferenceCount {
protected:
    ULONG Increment() { return ::InterlockedIncrement(&m_count); }
    HRESULT Answer(void** ppv, void* found)
    {
        if (!ppv)
            return E_POINTER;
        *ppv = found;
        if (!found)
            return E_NOINTERFACE;
        Increment();
        return S_OK;
    }
    template <class T> ULONG Decrement(T* self)
    {
        const ULONG left = ::InterlockedDecrement(&m_count);
        if (left == 0)
            delete self;
        return left;
    }

private:
    ModuleReference m_module;
    LONG m_count = 1;
};

// Creates a T (whose reference count starts at 1), answers riid and drops the
// creating reference, so the object dies at once when riid is not answered.
template <class T, class... Args>
HRESULT CreateAndQuery(REFIID riid, void** ppv, Args&&... args)
{
    T* object = new (std::nothrow) T(std::forward<Args>(args)...);
    if (!object)
        return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

} // namespace inproc
