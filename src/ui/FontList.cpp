// The font catalogue's destruction (the build is in win32/FontListWin32.cpp).
#include <QNFont.h>

HRESULT CQNUtility::DeleteFontList()
{
    if (!m_pFontList)
        return S_FALSE;
    m_pFontList->RemoveAll();
    delete m_pFontList;
    m_pFontList = nullptr;
    return S_OK;
}
