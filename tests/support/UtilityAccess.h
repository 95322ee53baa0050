// Test access to CQNUtility's private static members (the class befriends this).
#pragma once

#include <QNUtilityClass.h>

struct CQNUtilityTestAccess {
    static void Compute64CRC(__int64& crc, const void* data, int count) { CQNUtility::Compute64CRC(crc, data, count); }
#ifdef _WIN32
    static void BuildKey(CString& key, LPCWSTR computerName, const SYSTEMTIME& when)
    {
        CQNUtility::BuildKey(key, computerName, when);
    }
#endif
};
