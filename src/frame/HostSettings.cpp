// The two settings a host hands to the library: the clean-close flag and its
// version record.
#include <QNConfiguration.h>
#include <QNUtilityClass.h>

void CQNUtility::SetCleanCloseNoSave(int bCleanCloseNoSave) { m_bCleanCloseNoSave = bCleanCloseNoSave; }

int CQNUtility::GetCleanCloseNoSave() { return m_bCleanCloseNoSave; }

HRESULT CQNUtility::SetCurrentVersion(OVVersion* pVersion)
{
    stVersion = pVersion;
    return S_OK;
}

HRESULT CQNUtility::GetProjectLastModifiedBuild(ULONG* pdwPart1, ULONG* pdwPart2, ULONG* pdwPart3, ULONG* pdwPart4)
{
    ULONG* parts[4] = {pdwPart1, pdwPart2, pdwPart3, pdwPart4};
    if (!pdwPart1 && !pdwPart2 && !pdwPart3 && !pdwPart4)
        return E_POINTER;
    // The host must have given a record first. Without one there is nothing to
    // read: E_FAIL rather than a read through a null pointer.
    if (!stVersion)
        return E_FAIL;
    for (int i = 0; i < 4; ++i) {
        if (parts[i])
            *parts[i] = stVersion->m_dwLastModifiedBuild[i];
    }
    return S_OK;
}
