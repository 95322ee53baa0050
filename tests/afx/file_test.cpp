// CFile on real files (natively over POSIX, under Wine over the Win32 file
// functions), the causes and texts of the framework's exceptions, and the
// message box hook they are reported through.
#include <afx/afx.h>

#include "support/AfxTestPrint.h"
#include "support/MessageBoxRecorder.h"
#include "support/Raised.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// A fresh folder for one test, removed with everything in it afterwards.
struct ScratchFolder {
    fs::path path = fs::temp_directory_path() / "qn_afx_file_test";
    ScratchFolder() { fs::remove_all(path), fs::create_directories(path); }
    ~ScratchFolder() { std::error_code ignored; fs::remove_all(path, ignored); }
    CString File(const char* name) const { return (*name ? path / name : path).string<WCHAR>().c_str(); } // "": the folder
};

TEST(CFileTest, WriteReadSeekAndLength)
{
    ScratchFolder folder;
    const CString name = folder.File("data.bin");
    const BYTE bytes[] = {1, 2, 3, 4, 5, 6, 7, 8};
    CFile(name, CFile::modeCreate | CFile::modeWrite).Write(bytes, sizeof bytes); // the destructor closes
    CFile file;
    ASSERT_TRUE(file.Open(name, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
    EXPECT_EQ(name, file.GetFilePath());
    BYTE buffer[16] = {};
    EXPECT_EQ(7u, file.Seek(-1, CFile::end));
    EXPECT_EQ(1u, file.Read(buffer, sizeof buffer)); // short read at the end
    EXPECT_EQ(8, buffer[0]);
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer));
    EXPECT_EQ(6u, file.Seek(-2, CFile::current));
    file.SetLength(4); // the position moves back to the new end
    EXPECT_EQ(4u, file.GetPosition());
    file.SetLength(6); // grows with zeros
    file.SeekToBegin();
    EXPECT_EQ(6u, file.Read(buffer, sizeof buffer));
    EXPECT_EQ(0, std::memcmp("\1\2\3\4\0\0", buffer, 6));
    file.Close();
    EXPECT_TRUE(file.GetFilePath().IsEmpty());
    file.Close(); // closing twice is harmless
    EXPECT_EQ(0u, CFile(name, CFile::modeCreate | CFile::modeReadWrite).GetLength()); // truncated
}

TEST(CFileTest, OpenFailuresGiveTheirCauses)
{
    ScratchFolder folder;
    CFile(folder.File("present.bin"), CFile::modeCreate | CFile::modeWrite).Close();
    const struct { const char* name; CString path; UINT flags; int cause; LONG osError; } cases[] = {
        {"control: present file", folder.File("present.bin"), CFile::modeRead, CFileException::none, -1},
        {"missing file", folder.File("absent.bin"), CFile::modeRead, CFileException::fileNotFound, 2},
        {"missing folder", folder.File("nowhere/absent.bin"), CFile::modeRead, CFileException::badPath, 3},
        {"create in a missing folder", folder.File("nowhere/new.bin"), CFile::modeCreate | CFile::modeWrite,
         CFileException::badPath, 3},
        {"folder as file", folder.File(""), CFile::modeRead, CFileException::accessDenied, 5},
        {"empty name", CString(), CFile::modeRead, CFileException::badPath, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFile file;
        CFileException error;
        EXPECT_EQ(c.cause == CFileException::none, file.Open(c.path, c.flags, &error));
        EXPECT_EQ(c.cause, error.m_cause);
        EXPECT_EQ(c.osError, error.m_lOsError);
        EXPECT_EQ(c.cause == CFileException::none ? CString() : c.path, error.m_strFileName);
        file.Close(); // the constructor form (below) throws the same cause
        EXPECT_EQ(c.cause == CFileException::none ? -1 : c.cause,
                  CauseRaised<CFileException>([&] { CFile thrown(c.path, c.flags); }));
    }
}

TEST(CFileTest, BadSeeksAndClosedFilesRaise)
{
    ScratchFolder folder;
    const CString name = folder.File("seek.bin");
    const struct { const char* name; bool closed; void (*operation)(CFile&); int cause; } cases[] = {
        {"control", false, [](CFile& f) { f.Seek(0, CFile::end); }, -1},
        {"seek before the start", false, [](CFile& f) { f.Seek(-1, CFile::begin); }, CFileException::badSeek},
        {"seek before the start from the end", false, [](CFile& f) { f.Seek(-5, CFile::end); }, CFileException::badSeek},
        {"read closed", true, [](CFile& f) { BYTE b; f.Read(&b, 1); }, CFileException::invalidFile},
        {"write closed", true, [](CFile& f) { BYTE b = 0; f.Write(&b, 1); }, CFileException::invalidFile},
        {"length closed", true, [](CFile& f) { f.GetLength(); }, CFileException::invalidFile},
        {"position closed", true, [](CFile& f) { f.GetPosition(); }, CFileException::invalidFile},
        {"seek closed", true, [](CFile& f) { f.Seek(0, CFile::begin); }, CFileException::invalidFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFile file(name, CFile::modeCreate | CFile::modeReadWrite);
        if (c.closed)
            file.Close();
        EXPECT_EQ(c.cause, CauseRaised<CFileException>([&] { c.operation(file); }));
    }
}

TEST(CFileExceptionTest, CausesMessagesAndReports)
{
    const struct { LONG error; int cause; } causes[] = {
        {0, CFileException::none},      {2, CFileException::fileNotFound}, {38, CFileException::endOfFile},
        {267, CFileException::badPath}, {99999, CFileException::generic},  {-1, CFileException::generic},
    };
    for (const auto& c : causes)
        EXPECT_EQ(c.cause, CFileException::OsErrorToException(c.error)) << c.error;
    EXPECT_EQ(CFileException::diskFull, CauseRaised<CFileException>([] { CFileException::ThrowOsError(112); }));

    CFileException fileError(CFileException::fileNotFound, 2, _T("b.dat"));
    CFileException unnamed(CFileException::accessDenied);
    CFileException unknown(99, -1, _T("d.dat"));
    CArchiveException archive(CArchiveException::endOfFile, _T("x.arc"));
    CArchiveException archiveNegative(-1, _T("y.arc")), archiveUnknown(99, _T("z.arc"));
    CMemoryException memory(FALSE);
    CNotSupportedException unsupported(FALSE);
    CException base;
    const struct { CException* exception; LPCTSTR text; /* null: no message */ } cases[] = {
        {&fileError, _T("b.dat was not found.")},
        {&unnamed, _T("Access to an unnamed file was denied.")},
        {&unknown, _T("An error occurred while accessing d.dat.")}, // unknown causes read as generic
        {&archive, _T("An unexpected end of file was found while reading x.arc.")},
        {&archiveNegative, _T("An unexpected error occurred while accessing y.arc.")},
        {&archiveUnknown, _T("An unexpected error occurred while accessing z.arc.")},
        {&memory, _T("Out of memory.")},
        {&unsupported, _T("An unsupported operation was attempted.")},
        {&base, nullptr},
    };
    MessageBoxRecorder boxes(IDCANCEL);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(CString(c.text)));
        WCHAR text[128] = {'?'};
        UINT help = 7;
        EXPECT_EQ(c.text != nullptr, c.exception->GetErrorMessage(text, 128, &help));
        EXPECT_EQ(0u, help);
        EXPECT_EQ(CString(c.text), CString(text));
        boxes.Clear();
        EXPECT_EQ(IDCANCEL, c.exception->ReportError());
        ASSERT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ(CString(c.text ? c.text : _T("No error message is available.")), boxes.Boxes()[0].text);
    }
    // Messages are cut to the buffer, terminator included; no buffer, no message.
    WCHAR small[6];
    EXPECT_TRUE(fileError.GetErrorMessage(small, 6));
    EXPECT_EQ(CString(_T("b.dat")), CString(small));
    EXPECT_FALSE(fileError.GetErrorMessage(nullptr, 6));
    EXPECT_FALSE(memory.GetErrorMessage(small, 0));
}

TEST(MessageBoxHook, DefaultIconsAnswersAndNesting)
{
    const struct { UINT asked; UINT shown; } cases[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},         {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
        {MB_YESNO, MB_YESNO | MB_ICONQUESTION},      {3 /* yes, no, cancel */, 3 | MB_ICONQUESTION},
        {5 /* retry, cancel: no icon */, 5},         {MB_YESNO | MB_ICONINFORMATION, MB_YESNO | MB_ICONINFORMATION},
    };
    MessageBoxRecorder outer(IDYES);
    for (const auto& c : cases) {
        outer.Clear();
        EXPECT_EQ(IDYES, AfxMessageBox(_T("question"), c.asked));
        ASSERT_EQ(1u, outer.Boxes().size());
        EXPECT_EQ(c.shown, outer.Boxes()[0].type) << c.asked;
    }
    {
        MessageBoxRecorder inner(IDNO); // nests: the outer one comes back afterwards
        EXPECT_EQ(IDNO, AfxMessageBox(nullptr));
        EXPECT_TRUE(inner.Boxes().at(0).text.IsEmpty());
    }
    EXPECT_EQ(IDYES, AfxMessageBox(_T("again")));
}

} // namespace
