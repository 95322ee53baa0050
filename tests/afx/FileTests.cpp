// CFile on real files (natively over POSIX, under Wine over the Win32 file
// functions), CFileException causes and reports, and the message box hook.
#include <afx/afx.h>

#include "support/AfxTestPrint.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

CString ToCString(const fs::path& path)
{
#ifdef _WIN32
    return CString(path.wstring().c_str());
#else
    return CString(path.u16string().c_str());
#endif
}

// A fresh folder for one test, removed with everything in it afterwards.
class ScratchFolder {
public:
    ScratchFolder()
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        m_path = fs::temp_directory_path() / (std::string("qn_afx_") + info->name());
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    CString File(const char* name) const { return ToCString(m_path / name); }
    CString Folder() const { return ToCString(m_path); }

private:
    fs::path m_path;
};

std::vector<BYTE> ReadAll(CFile& file)
{
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    const UINT got = file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    bytes.resize(got);
    return bytes;
}

TEST(CFileTest, WriteReadSeekAndLength)
{
    ScratchFolder folder;
    const CString name = folder.File("data.bin");
    CFile file;
    ASSERT_TRUE(file.Open(name, CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(name, file.GetFilePath());

    const BYTE bytes[] = {1, 2, 3, 4, 5, 6, 7, 8};
    file.Write(bytes, sizeof bytes);
    file.Write(bytes, 0);
    EXPECT_EQ(8u, file.GetLength());
    EXPECT_EQ(8u, file.GetPosition());

    BYTE buffer[16] = {};
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer)); // at the end
    EXPECT_EQ(2u, file.Seek(2, CFile::begin));
    EXPECT_EQ(3u, file.Read(buffer, 3));
    EXPECT_EQ(3, buffer[0]);
    EXPECT_EQ(7u, file.Seek(2, CFile::current));
    EXPECT_EQ(1u, file.Read(buffer, sizeof buffer)); // short read at the end
    EXPECT_EQ(8, buffer[0]);
    EXPECT_EQ(6u, file.Seek(-2, CFile::end));
    EXPECT_EQ(8u, file.SeekToEnd());

    file.SetLength(4); // the position moves back to the new end
    EXPECT_EQ(4u, file.GetLength());
    EXPECT_EQ(4u, file.GetPosition());
    file.SetLength(10); // grows with zeros
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3, 4, 0, 0, 0, 0, 0, 0}), ReadAll(file));
    file.Flush();
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.GetFilePath().IsEmpty());
    file.Close(); // closing twice is harmless
    file.Abort();
}

TEST(CFileTest, CreateTruncatesUnlessNoTruncate)
{
    ScratchFolder folder;
    const CString name = folder.File("keep.bin");
    const BYTE bytes[] = {9, 9, 9};
    {
        CFile file(name, CFile::modeCreate | CFile::modeWrite);
        file.Write(bytes, sizeof bytes);
    } // the destructor closes
    {
        CFile file(name, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::shareDenyNone);
        EXPECT_EQ(3u, file.GetLength());
    }
    {
        CFile file(name, CFile::modeCreate | CFile::modeReadWrite);
        EXPECT_EQ(0u, file.GetLength());
    }
}

TEST(CFileTest, OpenFailuresGiveTheirCauses)
{
    ScratchFolder folder;
    {
        CFile existing(folder.File("present.bin"), CFile::modeCreate | CFile::modeWrite);
    }
    struct Case {
        const char* name;
        CString path;
        UINT flags;
        BOOL opened;
        int cause;
        LONG osError;
    };
    const Case cases[] = {
        {"control: present file", folder.File("present.bin"), CFile::modeRead, TRUE, CFileException::none, -1},
        {"missing file", folder.File("absent.bin"), CFile::modeRead, FALSE, CFileException::fileNotFound, 2},
        {"missing folder", folder.File("nowhere/absent.bin"), CFile::modeRead, FALSE, CFileException::badPath, 3},
        {"create in missing folder", folder.File("nowhere/new.bin"), CFile::modeCreate | CFile::modeWrite, FALSE,
         CFileException::badPath, 3},
        {"folder as file", folder.Folder(), CFile::modeRead, FALSE, CFileException::accessDenied, 5},
        {"empty name", CString(), CFile::modeRead, FALSE, CFileException::badPath, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFile file;
        CFileException error;
        EXPECT_EQ(c.opened, file.Open(c.path, c.flags, &error));
        EXPECT_EQ(c.cause, error.m_cause);
        EXPECT_EQ(c.osError, error.m_lOsError);
        if (!c.opened) {
            EXPECT_EQ(c.path, error.m_strFileName);
            EXPECT_FALSE(file.IsOpen());
        }
    }

    // The constructor form throws the same exception.
    int cause = CFileException::none;
    try {
        CFile file(folder.File("absent.bin"), CFile::modeRead);
    } catch (CFileException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(CFileException::fileNotFound, cause);
}

TEST(CFileTest, ClosedFileAndBadSeekRaise)
{
    ScratchFolder folder;
    CFile file(folder.File("seek.bin"), CFile::modeCreate | CFile::modeReadWrite);
    struct Case {
        const char* name;
        void (*operation)(CFile&);
        int cause;
    };
    const Case cases[] = {
        {"seek before the start", [](CFile& f) { f.Seek(-1, CFile::begin); }, CFileException::badSeek},
        {"seek before the start from the end", [](CFile& f) { f.Seek(-5, CFile::end); }, CFileException::badSeek},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int cause = -1;
        try {
            c.operation(file);
        } catch (CFileException* e) {
            cause = e->m_cause;
            e->Delete();
        }
        EXPECT_EQ(c.cause, cause);
    }

    file.Close();
    const Case closed[] = {
        {"read", [](CFile& f) { BYTE b; f.Read(&b, 1); }, CFileException::invalidFile},
        {"write", [](CFile& f) { BYTE b = 0; f.Write(&b, 1); }, CFileException::invalidFile},
        {"length", [](CFile& f) { f.GetLength(); }, CFileException::invalidFile},
        {"position", [](CFile& f) { f.GetPosition(); }, CFileException::invalidFile},
        {"seek", [](CFile& f) { f.Seek(0, CFile::begin); }, CFileException::invalidFile},
    };
    for (const Case& c : closed) {
        SCOPED_TRACE(c.name);
        int cause = -1;
        try {
            c.operation(file);
        } catch (CFileException* e) {
            cause = e->m_cause;
            e->Delete();
        }
        EXPECT_EQ(c.cause, cause);
    }
}

TEST(CFileExceptionTest, CausesOfSystemErrors)
{
    struct Case {
        LONG error;
        int cause;
    };
    const Case cases[] = {
        {0, CFileException::none},          {2, CFileException::fileNotFound},   {3, CFileException::badPath},
        {4, CFileException::tooManyOpenFiles}, {5, CFileException::accessDenied}, {6, CFileException::invalidFile},
        {16, CFileException::removeCurrentDir}, {32, CFileException::sharingViolation},
        {33, CFileException::lockViolation}, {38, CFileException::endOfFile},   {112, CFileException::diskFull},
        {131, CFileException::badSeek},      {21, CFileException::hardIO},      {123, CFileException::badPath},
        {99999, CFileException::generic},    {-1, CFileException::generic},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(c.cause, CFileException::OsErrorToException(c.error));
    }
}

TEST(CFileExceptionTest, ReportErrorShowsTheFileAndCause)
{
    struct Case {
        int cause;
        LPCTSTR file;
        LPCTSTR text;
    };
    const Case cases[] = {
        {CFileException::generic, _T("C:\\data\\a.dat"), _T("An error occurred while accessing C:\\data\\a.dat.")},
        {CFileException::fileNotFound, _T("b.dat"), _T("b.dat was not found.")},
        {CFileException::diskFull, _T("c.dat"), _T("Disk full while accessing c.dat.")},
        {CFileException::accessDenied, nullptr, _T("Access to an unnamed file was denied.")},
        {99, _T("d.dat"), _T("An error occurred while accessing d.dat.")}, // unknown causes read as generic
    };
    MessageBoxRecorder boxes(IDCANCEL);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(CString(c.text)));
        boxes.Clear();
        CFileException e(c.cause, -1, c.file);
        EXPECT_EQ(IDCANCEL, e.ReportError());
        ASSERT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ(CString(c.text), boxes.Boxes()[0].text);
        EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), boxes.Boxes()[0].type);
    }

    // GetErrorMessage cuts to the buffer, terminator included.
    CFileException e(CFileException::fileNotFound, 2, _T("b.dat"));
    WCHAR small[6];
    UINT help = 7;
    EXPECT_TRUE(e.GetErrorMessage(small, 6, &help));
    EXPECT_EQ(CString(_T("b.dat")), CString(small));
    EXPECT_EQ(0u, help);
    EXPECT_FALSE(e.GetErrorMessage(nullptr, 6));
    // Every exception sets the help context (none: 0) and says whether it has a message.
    CMemoryException memory(FALSE);
    CNotSupportedException unsupported(FALSE);
    CArchiveException archive(CArchiveException::endOfFile, _T("x.arc"));
    struct Base final : CException {
    } base;
    const std::pair<const CException*, BOOL> exceptions[] = {
        {&memory, TRUE}, {&unsupported, TRUE}, {&archive, TRUE}, {&base, FALSE}};
    for (const auto& [exception, hasMessage] : exceptions) {
        help = 7;
        WCHAR text[8] = {_T('?')};
        EXPECT_EQ(hasMessage, exception->GetErrorMessage(text, 8, &help));
        EXPECT_EQ(0u, help);
        EXPECT_EQ(hasMessage ? 7 : 0, CString(text).GetLength());
    }

    boxes.Clear();
    CArchiveException a(CArchiveException::endOfFile, _T("x.arc"));
    a.ReportError(MB_OK | MB_ICONINFORMATION);
    CException plain;
    plain.ReportError();
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ(CString(_T("An unexpected end of file was found while reading x.arc.")), boxes.Boxes()[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), boxes.Boxes()[0].type); // an icon given is kept
    EXPECT_EQ(CString(_T("No error message is available.")), boxes.Boxes()[1].text);
}

TEST(MessageBoxHook, RecordsAnswersAndRestores)
{
    struct Case {
        UINT asked;
        UINT shown;
    };
    const Case cases[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},
        {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
        {MB_YESNO, MB_YESNO | MB_ICONQUESTION},
        {MB_YESNO | MB_ICONINFORMATION, MB_YESNO | MB_ICONINFORMATION},
        {MB_OK | MB_ICONERROR, MB_OK | MB_ICONERROR},
    };
    MessageBoxRecorder outer(IDYES);
    for (const Case& c : cases)
        EXPECT_EQ(IDYES, AfxMessageBox(_T("question"), c.asked));
    ASSERT_EQ(sizeof cases / sizeof cases[0], outer.Boxes().size());
    for (size_t i = 0; i < outer.Boxes().size(); ++i)
        EXPECT_EQ(cases[i].shown, outer.Boxes()[i].type);

    {
        MessageBoxRecorder inner(IDNO); // nests: the outer one comes back afterwards
        EXPECT_EQ(IDNO, AfxMessageBox(nullptr));
        ASSERT_EQ(1u, inner.Boxes().size());
        EXPECT_TRUE(inner.Boxes()[0].text.IsEmpty());
    }
    EXPECT_EQ(IDYES, AfxMessageBox(_T("again")));
    EXPECT_EQ(CString(_T("again")), outer.Boxes().back().text);
    EXPECT_EQ(sizeof cases / sizeof cases[0] + 1, outer.Boxes().size());
}

} // namespace
