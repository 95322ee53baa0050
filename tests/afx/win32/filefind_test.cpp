// CFileFind over a real directory.
#include <afx/afxfind.h>

#include "support/AfxTestPrint.h"
#include "support/win32/TempTree.h"

#include <gtest/gtest.h>

namespace {

TEST(CFileFind, VisitsEveryEntryOnce)
{
    TempTree tree;
    ASSERT_TRUE(TempTree::WriteFile(tree / L"a.txt", "a"));
    ASSERT_TRUE(::CreateDirectoryW((tree / L"sub").c_str(), nullptr));
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((tree / L"*.*").c_str()));
    EXPECT_EQ(CString(tree.Root().c_str()), finder.GetRoot());
    EXPECT_TRUE(finder.GetFileName().IsEmpty()); // nothing is current before the first FindNextFile
    CString seen;
    for (BOOL more = TRUE; more;) {
        more = finder.FindNextFile();
        EXPECT_EQ(CString((tree / L"").c_str()) + finder.GetFileName(), finder.GetFilePath());
        seen.AppendFormat(L"%s:%d%d|", static_cast<LPCWSTR>(finder.GetFileName()), finder.IsDirectory(), finder.IsDots());
    }
    const CString expected[] = {L".:11|", L"..:11|", L"a.txt:00|", L"sub:10|"};
    for (const CString& e : expected)
        EXPECT_NE(-1, seen.Find(e)) << ToUtf8ForTest(seen);
    EXPECT_EQ(4, seen.Remove(L'|'));
    EXPECT_FALSE(finder.GetFileName().IsEmpty()); // the last entry stays readable until Close
    finder.Close();
    EXPECT_TRUE(finder.GetFileName().IsEmpty());
    EXPECT_FALSE(finder.FindNextFile());
}

TEST(CFileFind, NoMatchOneMatchAndADrivesRoot)
{
    TempTree tree;
    CFileFind finder;
    EXPECT_FALSE(finder.FindFile((tree / L"*.none").c_str()));
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_TRUE(finder.GetFilePath().IsEmpty());
    EXPECT_FALSE(finder.FindFile((tree / L"missing\\*.*").c_str()));
    ASSERT_TRUE(TempTree::WriteFile(tree / L"only.txt", "x"));
    ASSERT_TRUE(finder.FindFile((tree / L"only.txt").c_str()));
    EXPECT_FALSE(finder.FindNextFile()); // the one match is current
    EXPECT_EQ(CString(L"only.txt"), finder.GetFileName());
    ASSERT_TRUE(finder.FindFile(L"C:\\*.*"));
    EXPECT_EQ(CString(L"C:\\"), finder.GetRoot()); // the root of a drive keeps its separator
}

} // namespace
