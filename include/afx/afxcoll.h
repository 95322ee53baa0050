// The framework's non-template collections, built on the templates of
// afxtempl.h and exported with their run-time class information. None of them
// owns what its pointer elements point to, and they do not serialise.
#pragma once

#include <afx/afxtempl.h>

// A growable array of strings.
class QN_API CStringArray : public CArray<CString, LPCTSTR> {
    DECLARE_DYNAMIC(CStringArray)
public:
    CStringArray();
    ~CStringArray() override;
};

// A growable array of untyped pointers.
class QN_API CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
public:
    CPtrArray();
    ~CPtrArray() override;
};

// A list of untyped pointers, nodes carved from blocks of nBlockSize.
class QN_API CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10);
    ~CPtrList() override;
};

// A hash map from text (compared exactly, hashed with the framework's text
// hash) to untyped pointers: 17 buckets unless InitHashTable says otherwise,
// associations carved from blocks of nBlockSize (10 by default).
class QN_API CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10);
    ~CMapStringToPtr() override;
};
