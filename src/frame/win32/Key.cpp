// CQNUtility::GenerateKey: computer name, date and time.
#include <QNUtilityClass.h>

void CQNUtility::BuildKey(CString& key, LPCWSTR computerName, const SYSTEMTIME& when)
{
    // Lower-case "mm" is no date picture: the letters pass through as they stand.
    wchar_t date[32] = {};
    wchar_t time[32] = {};
    ::GetDateFormatW(LOCALE_SYSTEM_DEFAULT, 0, &when, L"ddmmyy", date, 32);
    ::GetTimeFormatW(LOCALE_SYSTEM_DEFAULT, 0, &when, L"HHmmss", time, 32);
    key = computerName;
    key += date;
    key += time;
}

HRESULT CQNUtility::GenerateKey(CString& key)
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ::GetComputerNameW(name, &size);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    BuildKey(key, name, now);
    return S_OK;
}
