// The owned byte buffer and the scoped error flag.
#include <QNFrame.h>

#include <afx/afx.h>

#include <cstddef>
#include <new>

// The layouts hosts compile against: the fields in declaration order, each at
// its natural alignment.
static_assert(offsetof(CKESTBYTEBuffer, m_nSize) == 0 && offsetof(CKESTBYTEBuffer, m_pData) == sizeof(void*) &&
                  sizeof(CKESTBYTEBuffer) == 2 * sizeof(void*),
              "CKESTBYTEBuffer layout");
static_assert(offsetof(CKESTError, m_hResult) == 0 && offsetof(CKESTError, m_pFlags) == sizeof(void*) &&
                  offsetof(CKESTError, m_dwFlag) == 2 * sizeof(void*) && sizeof(CKESTError) == 3 * sizeof(void*),
              "CKESTError layout");

CKESTBYTEBuffer::CKESTBYTEBuffer(int nSize) : m_nSize(nSize), m_pData(nullptr)
{
    if (nSize < 0)
        AfxThrowMemoryException();
    m_pData = new (std::nothrow) unsigned char[static_cast<size_t>(nSize)];
    if (!m_pData)
        AfxThrowMemoryException();
}

CKESTBYTEBuffer::~CKESTBYTEBuffer()
{
    delete[] m_pData;
    m_pData = nullptr;
}

CKESTError::~CKESTError()
{
    if (m_hResult < 0 && m_pFlags)
        *m_pFlags |= m_dwFlag;
}
