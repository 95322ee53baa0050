// CFileFind over a real directory.
#include <afx/afxfind.h>

#include "support/AfxTestPrint.h"
#include "support/win32/TempTree.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

struct Entry {
    CString path;
    BOOL directory;
    BOOL dots;
};

// Every entry the search visits, by name.
std::map<std::wstring, Entry> Visit(CFileFind& finder)
{
    std::map<std::wstring, Entry> entries;
    BOOL more = TRUE;
    while (more) {
        more = finder.FindNextFile();
        entries[std::wstring(static_cast<LPCWSTR>(finder.GetFileName()))] = {finder.GetFilePath(),
                                                                            finder.IsDirectory(), finder.IsDots()};
    }
    return entries;
}

TEST(CFileFind, VisitsEveryEntryOnce)
{
    TempTree tree;
    ASSERT_TRUE(TempTree::WriteFile(tree / L"a.txt", "a"));
    ASSERT_TRUE(TempTree::WriteFile(tree / L"b.dat", "b"));
    ASSERT_TRUE(::CreateDirectoryW((tree / L"sub").c_str(), nullptr));

    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((tree / L"*.*").c_str()));
    EXPECT_EQ(CString(tree.Root().c_str()), finder.GetRoot());
    // Nothing is current before the first FindNextFile.
    EXPECT_TRUE(finder.GetFileName().IsEmpty());
    EXPECT_FALSE(finder.IsDirectory());

    const auto entries = Visit(finder);
    ASSERT_EQ(5u, entries.size());
    const struct {
        const wchar_t* name;
        BOOL directory;
        BOOL dots;
    } expected[] = {{L".", TRUE, TRUE}, {L"..", TRUE, TRUE}, {L"a.txt", FALSE, FALSE},
                    {L"b.dat", FALSE, FALSE}, {L"sub", TRUE, FALSE}};
    for (const auto& e : expected) {
        const auto found = entries.find(e.name);
        ASSERT_NE(entries.end(), found) << std::string(e.name, e.name + wcslen(e.name));
        EXPECT_EQ(e.directory, found->second.directory);
        EXPECT_EQ(e.dots, found->second.dots);
        EXPECT_EQ(CString((tree / e.name).c_str()), found->second.path);
    }
    // The search is over: the last entry stays readable until Close.
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_FALSE(finder.GetFileName().IsEmpty());
    finder.Close();
    EXPECT_TRUE(finder.GetFileName().IsEmpty());
    EXPECT_TRUE(finder.GetRoot().IsEmpty());
    EXPECT_FALSE(finder.FindNextFile());
}

TEST(CFileFind, PatternsThatMatchNothing)
{
    TempTree tree;
    CFileFind finder;
    EXPECT_FALSE(finder.FindFile((tree / L"*.none").c_str()));
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_TRUE(finder.GetFilePath().IsEmpty());
    EXPECT_FALSE(finder.FindFile((tree / L"missing\\*.*").c_str()));
    EXPECT_FALSE(finder.IsDots());
}

TEST(CFileFind, OneMatchAndTheRootOfADrive)
{
    TempTree tree;
    ASSERT_TRUE(TempTree::WriteFile(tree / L"only.txt", "x"));
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((tree / L"only.txt").c_str()));
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_EQ(CString(L"only.txt"), finder.GetFileName());
    EXPECT_TRUE(finder.MatchesMask(FILE_ATTRIBUTE_ARCHIVE) || !finder.MatchesMask(FILE_ATTRIBUTE_DIRECTORY));

    ASSERT_TRUE(finder.FindFile(L"C:\\*.*"));
    EXPECT_EQ(CString(L"C:\\"), finder.GetRoot());
    finder.FindNextFile();
    EXPECT_EQ(CString(L"C:\\") + finder.GetFileName(), finder.GetFilePath());
}

} // namespace
