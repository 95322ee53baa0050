// Test access to CQNUtility's private static members (the class befriends this).
#pragma once

#include <QNUtilityClass.h>

struct CQNUtilityTestAccess {
    // Class identifier translation state (read only).
    static const CMapGUIDToGUID& GUIDTable() { return CQNUtility::m_GUIDTable; }
    static const CMapGUIDToGUID& GUIDReverse() { return CQNUtility::m_GUIDReverse; }
    static int Enabled() { return CQNUtility::m_iEnabled; }
    static int GuidTableInitialized() { return CQNUtility::m_bGuidTableInitialized; }
    static void Compute64CRC(__int64& crc, const void* data, int count) { CQNUtility::Compute64CRC(crc, data, count); }
#ifdef _WIN32
    static void BuildKey(CString& key, LPCWSTR computerName, const SYSTEMTIME& when)
    {
        CQNUtility::BuildKey(key, computerName, when);
    }
#endif
};
