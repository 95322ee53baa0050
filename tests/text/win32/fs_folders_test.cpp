// ForceDirectoriesW/A and CQNUtility::CopyFolder on a real file system.
#include <QNUtility.h>

#include "support/win32/TempTree.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ForceDirectories : public testing::Test {
protected:
    TempTree tree;
};

TEST_F(ForceDirectories, ExistingPathsAreAnsweredWithoutCreating)
{
    ASSERT_TRUE(TempTree::WriteFile(tree / L"file", "x"));
    struct Case {
        std::wstring path;
        int expected;
    };
    const Case cases[] = {
        {tree.Root(), TRUE},
        {tree.Root() + L"\\", TRUE},
        {tree / L"file", FALSE},
        {tree / L"file\\below", FALSE},
        {tree / L"file\\below\\deeper", FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, !!ForceDirectoriesW(c.path.c_str())) << std::string(c.path.begin(), c.path.end());
    EXPECT_FALSE(TempTree::Exists(tree / L"file\\below"));
}

TEST_F(ForceDirectories, CreatesEveryMissingDirectoryOnThePath)
{
    // A trailing separator names the directory the chain has just made; a
    // second call finds it there.
    const struct {
        const wchar_t* path;
        const wchar_t* made;
    } cases[] = {
        {L"A\\B\\C", L"A\\B\\C"}, {L"T\\U\\", L"T\\U"}, {L"T\\U\\", L"T\\U"},
        {L"F/G", L"F\\G"},       {L"H\\I/", L"H\\I"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(ForceDirectoriesW((tree / c.path).c_str())) << std::string(c.path, c.path + wcslen(c.path));
        EXPECT_TRUE(TempTree::IsDirectory(tree / c.made)) << std::string(c.path, c.path + wcslen(c.path));
    }
}

TEST_F(ForceDirectories, PathsThatCannotBeMadeGiveFalse)
{
    const std::wstring relative = L"qnNoSuchDir" + std::to_wstring(::GetCurrentProcessId());
    const wchar_t* const cases[] = {nullptr, L"", relative.c_str(), L"B:", L"B:\\qn\\x"};
    for (const wchar_t* path : cases)
        EXPECT_FALSE(ForceDirectoriesW(path)) << (path ? std::string(path, path + wcslen(path)) : "null");
    EXPECT_FALSE(TempTree::Exists(relative));
}

TEST_F(ForceDirectories, PathLimits)
{
    // A whole path of 259 characters whose directory part is 256: over the
    // directory limit.
    std::wstring path = tree.Root() + L"\\";
    path += std::wstring(259 - 2 - path.size(), L'd') + L"\\f";
    ASSERT_EQ(259u, path.size());
    EXPECT_FALSE(ForceDirectoriesW(path.c_str()));
    EXPECT_FALSE(TempTree::Exists(path.substr(0, path.size() - 2)));

    // 260 characters and more are refused before anything is made.
    const std::wstring tooLong = tree / (L"n\\" + std::wstring(260, L'x'));
    EXPECT_FALSE(ForceDirectoriesW(tooLong.c_str()));
    EXPECT_FALSE(TempTree::Exists(tree / L"n"));

    // Deep chains below the limits are made.
    std::wstring deep = tree.Root();
    while (deep.size() < 200)
        deep += L"\\level";
    EXPECT_TRUE(ForceDirectoriesW(deep.c_str()));
    EXPECT_TRUE(TempTree::IsDirectory(deep));
}

TEST_F(ForceDirectories, AnsiPathsAreConvertedFromTheCodePage)
{
    EXPECT_FALSE(ForceDirectoriesA(nullptr));
    std::string ansi(tree.Root().begin(), tree.Root().end());
    ansi += "\\ansi\\caf\xE9";
    EXPECT_TRUE(ForceDirectoriesA(ansi.c_str()));
    wchar_t converted[4] = {};
    ::MultiByteToWideChar(CP_ACP, 0, "\xE9", 1, converted, 4);
    EXPECT_TRUE(TempTree::IsDirectory(tree / (L"ansi\\caf" + std::wstring(converted))));
}

class CopyFolder : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ForceDirectoriesW((tree / L"src\\sub\\deep").c_str()));
        ASSERT_TRUE(ForceDirectoriesW((tree / L"src\\empty").c_str()));
        ASSERT_TRUE(TempTree::WriteFile(tree / L"src\\a.txt", "alpha"));
        ASSERT_TRUE(TempTree::WriteFile(tree / L"src\\sub\\b.txt", "beta"));
        ASSERT_TRUE(TempTree::WriteFile(tree / L"src\\sub\\deep\\c.txt", "gamma"));
        ASSERT_TRUE(TempTree::WriteFile(tree / L"src\\hidden.txt", "secret"));
        ::SetFileAttributesW((tree / L"src\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    static BOOL Copy(const std::wstring& from, const std::wstring& to)
    {
        return CQNUtility::CopyFolder(CString(from.c_str()), CString(to.c_str()));
    }

    TempTree tree;
};

TEST_F(CopyFolder, CopiesTheWholeTreeIntoANewDestination)
{
    ASSERT_TRUE(Copy(tree / L"src", tree / L"out\\x\\y"));
    const std::wstring out = tree / L"out\\x\\y";
    EXPECT_EQ("alpha", TempTree::ReadFile(out + L"\\a.txt"));
    EXPECT_EQ("beta", TempTree::ReadFile(out + L"\\sub\\b.txt"));
    EXPECT_EQ("gamma", TempTree::ReadFile(out + L"\\sub\\deep\\c.txt"));
    EXPECT_EQ("secret", TempTree::ReadFile(out + L"\\hidden.txt"));
    EXPECT_TRUE(TempTree::IsDirectory(out + L"\\empty"));
}

TEST_F(CopyFolder, OverwritesFilesOfTheSameNameAndKeepsOthers)
{
    ASSERT_TRUE(ForceDirectoriesW((tree / L"dst\\sub").c_str()));
    ASSERT_TRUE(TempTree::WriteFile(tree / L"dst\\a.txt", "old alpha, longer than the new one"));
    ASSERT_TRUE(TempTree::WriteFile(tree / L"dst\\sub\\extra.txt", "extra"));
    ASSERT_TRUE(Copy(tree / L"src", tree / L"dst\\"));
    EXPECT_EQ("alpha", TempTree::ReadFile(tree / L"dst\\a.txt"));
    EXPECT_EQ("extra", TempTree::ReadFile(tree / L"dst\\sub\\extra.txt"));
    EXPECT_EQ("gamma", TempTree::ReadFile(tree / L"dst\\sub\\deep\\c.txt"));
}

TEST_F(CopyFolder, MissingOrEmptySourceMakesOnlyTheDestination)
{
    const std::wstring sources[] = {tree / L"nothing", tree / L"src\\empty", L""};
    for (int i = 0; i < 3; ++i) {
        const std::wstring made = tree / (L"made" + std::to_wstring(i));
        EXPECT_TRUE(Copy(sources[i], made)) << i;
        EXPECT_TRUE(TempTree::IsDirectory(made)) << i;
        EXPECT_FALSE(TempTree::Exists(made + L"\\a.txt")) << i;
    }
}

TEST_F(CopyFolder, RefusesADestinationInsideItsSource)
{
    const std::wstring src = tree / L"src";
    const std::wstring cases[] = {
        src,
        src + L"\\",
        tree / L"SRC",
        src + L"\\copy",
        src + L"\\sub\\..\\copy2",
        src + L"/sub/deep/copy3",
    };
    for (const std::wstring& destination : cases)
        EXPECT_FALSE(Copy(src, destination)) << std::string(destination.begin(), destination.end());
    EXPECT_FALSE(TempTree::Exists(src + L"\\copy"));
    EXPECT_FALSE(TempTree::Exists(src + L"\\copy2"));
    EXPECT_FALSE(TempTree::Exists(src + L"\\sub\\deep\\copy3"));
    // A sibling whose name merely starts like the source is no problem.
    EXPECT_TRUE(Copy(src, tree / L"src2"));
    EXPECT_EQ("beta", TempTree::ReadFile(tree / L"src2\\sub\\b.txt"));
}

TEST_F(CopyFolder, StopsWithFalseWhenSomethingCannotBeCopied)
{
    // The destination itself is a file.
    ASSERT_TRUE(TempTree::WriteFile(tree / L"plain", "file"));
    EXPECT_FALSE(Copy(tree / L"src", tree / L"plain"));
    // A subdirectory's destination is a file.
    ASSERT_TRUE(ForceDirectoriesW((tree / L"dst").c_str()));
    ASSERT_TRUE(TempTree::WriteFile(tree / L"dst\\sub", "in the way"));
    EXPECT_FALSE(Copy(tree / L"src", tree / L"dst"));
    // A file's destination is a directory.
    ASSERT_TRUE(ForceDirectoriesW((tree / L"dst2\\a.txt").c_str()));
    EXPECT_FALSE(Copy(tree / L"src", tree / L"dst2"));
}

} // namespace
