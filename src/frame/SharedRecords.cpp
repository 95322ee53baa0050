// The owned byte buffer and the scoped error flag.
#include <QNFrame.h>

#include <afx/afx.h>

#include <new>

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
