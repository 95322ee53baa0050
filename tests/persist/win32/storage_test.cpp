// CopyStorageFile and RenameOldStorageFiles on real compound files.
#include <QNStream.h>
#include <afx/atlbase.h>
#include <support/win32/TempTree.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// {0A0EB10E-0C8F-4323-8864-376E1A4835F5}
const CLSID kDocumentClass = {0x0A0EB10E, 0x0C8F, 0x4323, {0x88, 0x64, 0x37, 0x6E, 0x1A, 0x48, 0x35, 0xF5}};
const DWORD kExclusive = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

std::set<std::wstring> Names(const TempTree& tree)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileW((tree / L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found))
        if (found.cFileName[0] != L'.')
            names.insert(found.cFileName);
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return names;
}

// A project file: root class, a stream in a sub-storage. `check` reads it back.
void ProjectFile(const std::wstring& path, bool check)
{
    CComPtr<IStorage> root, screens;
    CComPtr<IStream> stream;
    char text[5000];
    if (!check) {
        ASSERT_EQ(::StgCreateDocfile(path.c_str(), STGM_CREATE | kExclusive, 0, &root), S_OK);
        ASSERT_EQ(root->SetClass(kDocumentClass), S_OK);
        ASSERT_EQ(root->CreateStorage(L"Screens", STGM_CREATE | kExclusive, 0, 0, &screens), S_OK);
        ASSERT_EQ(screens->CreateStream(L"Main", STGM_CREATE | kExclusive, 0, 0, &stream), S_OK);
        std::fill(text, text + sizeof text, 'm');
        ASSERT_EQ(stream->Write(text, sizeof text, nullptr), S_OK);
        return;
    }
    ASSERT_EQ(::StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &root), S_OK);
    STATSTG stat = {};
    ASSERT_EQ(root->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.clsid, kDocumentClass);
    ASSERT_EQ(root->OpenStorage(L"Screens", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &screens), S_OK);
    ASSERT_EQ(screens->OpenStream(L"Main", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream), S_OK);
    ULONG read = 0;
    EXPECT_EQ(stream->Read(text, sizeof text, &read), S_OK);
    EXPECT_EQ(std::string(text, read), std::string(5000, 'm'));
}

// A copy keeps storages, streams and the root class, and leaves the source as
// it was; a failed copy leaves the folder as it was.
TEST(StorageCopy, Outcomes)
{
    const struct {
        const char* name;
        const wchar_t* source;
        const wchar_t* destination;
        bool destinationExists;
        int failIfExists;
        int expected;
    } cases[] = {
        {"control: new destination", L"plan.SwxCF", L"copy.SwxCF", false, 0, 1},
        {"new destination, fail if it exists", L"plan.SwxCF", L"copy.SwxCF", false, 1, 1},
        {"existing destination replaced", L"plan.SwxCF", L"copy.SwxCF", true, 0, 1},
        {"destination exists, fail if it exists", L"plan.SwxCF", L"copy.SwxCF", true, 1, 0},
        {"source missing", L"missing.SwxCF", L"copy.SwxCF", false, 0, 0},
        {"source is no compound file", L"plain.txt", L"copy.SwxCF", false, 0, 0},
        {"destination folder missing", L"plan.SwxCF", L"no such folder\\copy.SwxCF", false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempTree tree;
        ProjectFile(tree / L"plan.SwxCF", false);
        TempTree::WriteFile(tree / L"plain.txt", "plain text");
        if (c.destinationExists)
            TempTree::WriteFile(tree / c.destination, "keep me");
        const auto before = Names(tree);
        EXPECT_EQ(CopyStorageFile((tree / c.source).c_str(), (tree / c.destination).c_str(), c.failIfExists),
                  c.expected);
        ProjectFile(tree / L"plan.SwxCF", true);
        if (c.expected) {
            ProjectFile(tree / c.destination, true);
        } else {
            EXPECT_EQ(Names(tree), before);
            EXPECT_EQ(TempTree::ReadFile(tree / c.destination), c.destinationExists ? "keep me" : "<missing>");
        }
    }

    // A storage the caller holds open is used as it is (the path given is not
    // looked at) and stays the caller's.
    TempTree tree;
    ProjectFile(tree / L"plan.SwxCF", false);
    CComPtr<IStorage> open;
    ASSERT_EQ(::StgOpenStorage((tree / L"plan.SwxCF").c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr,
                               0, &open),
              S_OK);
    EXPECT_EQ(CopyStorageFile(L"no such file", (tree / L"copy.SwxCF").c_str(), 0, open), 1);
    EXPECT_EQ(open.p->AddRef(), 2u);
    open.p->Release();
    open.Release();
    ProjectFile(tree / L"copy.SwxCF", true);
}

TEST(StorageRename, NormalisesTheExtension)
{
    TempTree tree;
    for (const wchar_t* name : {L"plan.SWXCF", L"line 2.swxcf", L"Mixed.sWxCf", L"done.SwxCF", L"plan.txt",
                                L"plan.SwxCF.bak", L"swxcf", L"notes.SwxCFx"})
        TempTree::WriteFile(tree / name, "x");
    RenameOldStorageFiles(CString((tree / L"missing").c_str()));
    RenameOldStorageFiles(CString(tree.Root().c_str()));
    const std::set<std::wstring> expected = {L"plan.SwxCF", L"line 2.SwxCF",   L"Mixed.SwxCF", L"done.SwxCF",
                                             L"plan.txt",   L"plan.SwxCF.bak", L"swxcf",       L"notes.SwxCFx"};
    EXPECT_EQ(Names(tree), expected);
}

} // namespace
