// Native CFile over POSIX descriptors. Errors are reported with the Windows
// error code of the same meaning, so that causes and codes match the Windows
// build. Share modes have no POSIX equivalent and are not enforced.
#include <afx/afx.h>

#include "afx_utf8.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// winerror.h values used below.
constexpr LONG kErrorFileNotFound = 2;
constexpr LONG kErrorPathNotFound = 3;
constexpr LONG kErrorTooManyOpenFiles = 4;
constexpr LONG kErrorAccessDenied = 5;
constexpr LONG kErrorInvalidHandle = 6;
constexpr LONG kErrorWriteProtect = 19;
constexpr LONG kErrorWriteFault = 29;
constexpr LONG kErrorGenFailure = 31;
constexpr LONG kErrorFileExists = 80;
constexpr LONG kErrorInvalidParameter = 87;
constexpr LONG kErrorDiskFull = 112;
constexpr LONG kErrorInvalidName = 123;
constexpr LONG kErrorNegativeSeek = 131;
constexpr LONG kErrorBusy = 170;
constexpr LONG kErrorFilenameExcedRange = 206;

bool DirectoryExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The Windows code for an errno; for a missing file, "path not found" when its
// folder is missing too, as Windows tells the two apart.
LONG OsError(int err, const std::string& path = std::string())
{
    switch (err) {
    case ENOENT: {
        const size_t slash = path.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        return DirectoryExists(folder) ? kErrorFileNotFound : kErrorPathNotFound;
    }
    case ENOTDIR:
        return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
        return kErrorAccessDenied;
    case EMFILE:
    case ENFILE:
        return kErrorTooManyOpenFiles;
    case EBADF:
        return kErrorInvalidHandle;
    case EROFS:
        return kErrorWriteProtect;
    case EIO:
        return kErrorWriteFault;
    case EEXIST:
        return kErrorFileExists;
    case EINVAL:
        return kErrorInvalidParameter;
    case ENOSPC:
    case EFBIG:
        return kErrorDiskFull;
    case ENAMETOOLONG:
        return kErrorFilenameExcedRange;
    case EBUSY:
    case ETXTBSY:
        return kErrorBusy;
    default:
        return kErrorGenFailure;
    }
}

[[noreturn]] void ThrowErrno(const CFile& file, int err) { CFileException::ThrowOsError(OsError(err), file.GetFilePath()); }

int Descriptor(const CFile& file)
{
    if (file.m_hFile == CFile::hFileNull)
        AfxThrowFileException(CFileException::invalidFile, kErrorInvalidHandle, file.GetFilePath());
    return static_cast<int>(file.m_hFile);
}

} // namespace

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != hFileNull)
        Abort();
    m_strFileName = lpszFileName;

    auto fail = [&](LONG error) {
        if (pError) {
            pError->m_lOsError = error;
            pError->m_cause = CFileException::OsErrorToException(error);
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    };
    if (!lpszFileName || !*lpszFileName)
        return fail(lpszFileName ? kErrorPathNotFound : kErrorInvalidName);

    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3) {
    case modeRead:
        flags |= O_RDONLY;
        break;
    case modeWrite:
        flags |= O_WRONLY;
        break;
    default:
        flags |= O_RDWR;
        break;
    }
    if (nOpenFlags & modeCreate)
        flags |= O_CREAT | ((nOpenFlags & modeNoTruncate) ? 0 : O_TRUNC);

    const std::string path = afx_port::ToUtf8(lpszFileName);
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail(OsError(errno, path));
    // Windows refuses to open a folder as a file.
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return fail(kErrorAccessDenied);
    }
    m_hFile = static_cast<UINT_PTR>(fd);
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

ULONGLONG CFile::GetPosition() const
{
    const off_t position = ::lseek(Descriptor(*this), 0, SEEK_CUR);
    if (position < 0)
        ThrowErrno(*this, errno);
    return static_cast<ULONGLONG>(position);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    const int fd = Descriptor(*this);
    const int whence = nFrom == begin ? SEEK_SET : nFrom == current ? SEEK_CUR : SEEK_END;
    const off_t position = ::lseek(fd, static_cast<off_t>(lOff), whence);
    if (position < 0) {
        if (errno == EINVAL)
            AfxThrowFileException(CFileException::badSeek, kErrorNegativeSeek, m_strFileName);
        ThrowErrno(*this, errno);
    }
    return static_cast<ULONGLONG>(position);
}

ULONGLONG CFile::GetLength() const
{
    struct stat st;
    if (::fstat(Descriptor(*this), &st) != 0)
        ThrowErrno(*this, errno);
    return static_cast<ULONGLONG>(st.st_size);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    const int fd = Descriptor(*this);
    if (dwNewLen > static_cast<ULONGLONG>(INT64_MAX))
        AfxThrowFileException(CFileException::badSeek, kErrorNegativeSeek, m_strFileName);
    if (::ftruncate(fd, static_cast<off_t>(dwNewLen)) != 0)
        ThrowErrno(*this, errno);
    // As on Windows, a position past the new end moves back to it.
    if (GetPosition() > dwNewLen)
        Seek(static_cast<LONGLONG>(dwNewLen), begin);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    const int fd = Descriptor(*this);
    auto* out = static_cast<unsigned char*>(lpBuf);
    UINT total = 0;
    while (total < nCount) {
        const ssize_t got = ::read(fd, out + total, nCount - total);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            ThrowErrno(*this, errno);
        if (got == 0)
            break;
        total += static_cast<UINT>(got);
    }
    return total;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    const int fd = Descriptor(*this);
    const auto* in = static_cast<const unsigned char*>(lpBuf);
    UINT total = 0;
    while (total < nCount) {
        const ssize_t put = ::write(fd, in + total, nCount - total);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            ThrowErrno(*this, errno);
        if (put == 0)
            AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
        total += static_cast<UINT>(put);
    }
}

void CFile::Flush()
{
    if (m_hFile == hFileNull)
        return;
    if (::fsync(static_cast<int>(m_hFile)) != 0 && errno != EINVAL)
        ThrowErrno(*this, errno);
}

void CFile::Close()
{
    int result = 0;
    int err = 0;
    if (m_hFile != hFileNull) {
        result = ::close(static_cast<int>(m_hFile));
        err = errno;
    }
    const CString name = m_strFileName;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (result != 0 && err != EINTR)
        CFileException::ThrowOsError(OsError(err), name);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        ::close(static_cast<int>(m_hFile));
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}
