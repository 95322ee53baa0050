// Run-time class information and construction of the exported collections.
#include <afx/afxcoll.h>

IMPLEMENT_DYNAMIC(CStringArray, CObject)
CStringArray::CStringArray() = default;
CStringArray::~CStringArray() = default;

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
CPtrArray::CPtrArray() = default;
CPtrArray::~CPtrArray() = default;

IMPLEMENT_DYNAMIC(CPtrList, CObject)
CPtrList::CPtrList(INT_PTR nBlockSize) : CList<void*, void*>(nBlockSize) {}
CPtrList::~CPtrList() = default;

IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
CMapStringToPtr::CMapStringToPtr(INT_PTR nBlockSize) : CMap<CString, LPCTSTR, void*, void*>(nBlockSize) {}
CMapStringToPtr::~CMapStringToPtr() = default;
