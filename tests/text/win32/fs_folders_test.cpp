// ForceDirectoriesW/A and CQNUtility::CopyFolder on a real file system.
#include <QNUtility.h>

#include "support/win32/TempTree.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Each row: the path asked for, the answer, and a directory that must (or
// must not) exist afterwards.
TEST(ForceDirectories, MakesEveryMissingDirectoryOrAnswersFalse)
{
    TempTree tree;
    ASSERT_TRUE(TempTree::WriteFile(tree / L"file", "x"));
    const std::wstring relative = L"qnNoSuchDir" + std::to_wstring(::GetCurrentProcessId());
    std::wstring limit = tree.Root() + L"\\"; // 259 characters whose directory part is 256
    limit += std::wstring(259 - 2 - limit.size(), L'd') + L"\\f";
    std::wstring deep = tree.Root();
    while (deep.size() < 200)
        deep += L"\\level";
    const struct {
        std::wstring path;
        BOOL result;
        std::wstring directory;
        bool exists;
    } cases[] = {
        {tree.Root(), TRUE, tree.Root(), true}, {tree.Root() + L"\\", TRUE, tree.Root(), true},
        {tree / L"file", FALSE, L"", false}, {tree / L"file\\below\\deeper", FALSE, tree / L"file\\below", false},
        {tree / L"A\\B\\C", TRUE, tree / L"A\\B\\C", true},
        {tree / L"T\\U\\", TRUE, tree / L"T\\U", true}, // a trailing separator names the last one
        {tree / L"T\\U\\", TRUE, tree / L"T\\U", true}, // and a second call finds it there
        {tree / L"F/G", TRUE, tree / L"F\\G", true}, {tree / L"H\\I/", TRUE, tree / L"H\\I", true},
        {L"", FALSE, L"", false}, {relative, FALSE, relative, false}, {L"B:", FALSE, L"", false},
        {L"B:\\qn\\x", FALSE, L"", false}, {limit, FALSE, limit.substr(0, limit.size() - 2), false},
        {tree / (L"n\\" + std::wstring(260, L'x')), FALSE, tree / L"n", false}, // refused before anything is made
        {deep, TRUE, deep, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, ForceDirectoriesW(c.path.c_str())) << Narrow(c.path);
        if (!c.directory.empty()) {
            EXPECT_EQ(c.exists, TempTree::IsDirectory(c.directory)) << Narrow(c.path);
        }
    }
    EXPECT_FALSE(ForceDirectoriesW(nullptr));
    EXPECT_FALSE(ForceDirectoriesA(nullptr));
    // ANSI paths are converted from the code page.
    EXPECT_TRUE(ForceDirectoriesA((Narrow(tree.Root()) + "\\ansi\\caf\xE9").c_str()));
    wchar_t converted[4] = {};
    ::MultiByteToWideChar(CP_ACP, 0, "\xE9", 1, converted, 4);
    EXPECT_TRUE(TempTree::IsDirectory(tree / (L"ansi\\caf" + std::wstring(converted))));
}

const std::pair<const wchar_t*, const char*> kFiles[] = {
    {L"a.txt", "alpha"}, {L"sub\\b.txt", "beta"}, {L"sub\\deep\\c.txt", "gamma"}, {L"hidden.txt", "secret"}};

class CopyFolder : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ForceDirectoriesW((tree / L"src\\sub\\deep").c_str()));
        ASSERT_TRUE(ForceDirectoriesW((tree / L"src\\empty").c_str()));
        for (const auto& [file, text] : kFiles)
            ASSERT_TRUE(TempTree::WriteFile(src + L"\\" + file, text));
        ::SetFileAttributesW((src + L"\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    static BOOL Copy(const std::wstring& from, const std::wstring& to)
    {
        return CQNUtility::CopyFolder(CString(from.c_str()), CString(to.c_str()));
    }
    void ExpectCopied(const std::wstring& out)
    {
        for (const auto& [file, text] : kFiles)
            EXPECT_EQ(text, TempTree::ReadFile(out + L"\\" + file)) << Narrow(out);
        EXPECT_TRUE(TempTree::IsDirectory(out + L"\\empty")) << Narrow(out);
    }

    TempTree tree;
    const std::wstring src = tree / L"src";
};

TEST_F(CopyFolder, CopiesTheWholeTreeOverwritingAndKeepingOtherFiles)
{
    ASSERT_TRUE(Copy(src, tree / L"out\\x\\y")); // a new destination, made with its parents
    ExpectCopied(tree / L"out\\x\\y");
    ASSERT_TRUE(TempTree::WriteFile(tree / L"out\\x\\y\\a.txt", "old alpha, longer than the new one"));
    ASSERT_TRUE(TempTree::WriteFile(tree / L"out\\x\\y\\sub\\extra.txt", "extra"));
    ASSERT_TRUE(Copy(src, tree / L"out\\x\\y\\"));
    ExpectCopied(tree / L"out\\x\\y");
    EXPECT_EQ("extra", TempTree::ReadFile(tree / L"out\\x\\y\\sub\\extra.txt"));
    ASSERT_TRUE(Copy(src, tree / L"src2")); // a sibling whose name starts like the source
    ExpectCopied(tree / L"src2");
}

// A missing or empty source makes only the destination; a destination inside
// the source or in the way of what is copied is refused.
TEST_F(CopyFolder, EmptySourcesAndRefusedDestinations)
{
    ASSERT_TRUE(TempTree::WriteFile(tree / L"plain", "file"));
    ASSERT_TRUE(ForceDirectoriesW((tree / L"dst").c_str()));
    ASSERT_TRUE(TempTree::WriteFile(tree / L"dst\\sub", "in the way"));
    ASSERT_TRUE(ForceDirectoriesW((tree / L"dst2\\a.txt").c_str()));
    const struct { std::wstring source, destination; BOOL result; } cases[] = {
        {tree / L"nothing", tree / L"made0", TRUE}, {src + L"\\empty", tree / L"made1", TRUE},
        {L"", tree / L"made2", TRUE}, {src, src, FALSE}, {src, src + L"\\", FALSE}, {src, tree / L"SRC", FALSE},
        {src, src + L"\\copy", FALSE},
        {src, src + L"\\sub\\..\\copy2", FALSE}, {src, src + L"/sub/deep/copy3", FALSE},
        {src, tree / L"plain", FALSE}, // the destination is a file
        {src, tree / L"dst", FALSE},   // a subdirectory's destination is a file
        {src, tree / L"dst2", FALSE},  // a file's destination is a directory
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, Copy(c.source, c.destination)) << Narrow(c.destination);
        if (c.result) {
            EXPECT_TRUE(TempTree::IsDirectory(c.destination)) << Narrow(c.destination);
            EXPECT_FALSE(TempTree::Exists(c.destination + L"\\a.txt")) << Narrow(c.destination);
        }
    }
    for (const wchar_t* made : {L"\\copy", L"\\copy2", L"\\sub\\deep\\copy3"})
        EXPECT_FALSE(TempTree::Exists(src + made)) << Narrow(made);
}

} // namespace
