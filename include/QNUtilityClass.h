// CQNUtility: the library's static utility class. It has only static members;
// no instance is ever made. Each subsystem declares its members in its own
// section below; the static state is defined in src/frame/UtilityState.cpp.
#pragma once

#include <QNPlatform.h>
#include <QNResult.h>
#include <afx/afxstr.h>

class QN_API CQNUtility {
public:
    // --- Library frame ------------------------------------------------------

    // 64-bit CRC (CRC-64/WE) of `count` bytes at `data`; 0 when count <= 0.
    static __int64 GenerateCRC(const void* data, int count);

    // Sets `key` (overwriting it) to computer name + date ("ddmmyy" picture:
    // day, the letters "mm", two-digit year) + time ("HHmmss"). Always S_OK.
    static HRESULT GenerateKey(CString& key);

    // --- Configuration ------------------------------------------------------

    // --- Persistence --------------------------------------------------------

    // --- Text and numbers ---------------------------------------------------

    // --- Fonts, menus and windows -------------------------------------------

    // --- XML defaults -------------------------------------------------------

private:
    CQNUtility() {}

    // Advances `crc` over `count` bytes with no initial or final step; no change
    // when count <= 0.
    static void Compute64CRC(__int64& crc, const void* data, int count);
#ifdef _WIN32
    // The key of GenerateKey for a given computer name and local time.
    static void BuildKey(CString& key, LPCWSTR computerName, const SYSTEMTIME& when);
#endif

    friend struct CQNUtilityTestAccess;

public:
    // --- Static state (values at load in UtilityState.cpp) ------------------
    static int m_nLastParserError;
    static int m_nMaxNameLength;
    static int m_nIncrement;
    static CString m_cstrNumberBase;
    static CString m_cstrNameBase;
    static int m_bCleanCloseNoSave;
};
