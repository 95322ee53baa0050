// CopyStorageFile and RenameOldStorageFiles on real compound files in a
// scratch folder.
#include <QNStream.h>
#include <afx/atlbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// {0A0EB10E-0C8F-4323-8864-376E1A4835F5}
const CLSID kDocumentClass = {0x0A0EB10E, 0x0C8F, 0x4323, {0x88, 0x64, 0x37, 0x6E, 0x1A, 0x48, 0x35, 0xF5}};

// A folder of its own for each test, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder()
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        wchar_t name[MAX_PATH] = {};
        ::GetTempFileNameW(temp, L"qns", 0, name);
        ::DeleteFileW(name);
        m_path = name;
        ::CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder()
    {
        for (const std::wstring& name : Names())
            ::DeleteFileW(File(name.c_str()).c_str());
        ::RemoveDirectoryW(m_path.c_str());
    }

    const std::wstring& Path() const { return m_path; }
    std::wstring File(const wchar_t* name) const { return m_path + L"\\" + name; }

    // The names in the folder, exactly as the file system holds them.
    std::set<std::wstring> Names() const
    {
        std::set<std::wstring> names;
        WIN32_FIND_DATAW found = {};
        HANDLE search = ::FindFirstFileW((m_path + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (std::wstring(found.cFileName) != L"." && std::wstring(found.cFileName) != L"..")
                names.insert(found.cFileName);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return names;
    }

private:
    std::wstring m_path;
};

std::vector<char> FileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::wstring& path, const std::string& text)
{
    std::ofstream(path.c_str(), std::ios::binary) << text;
}

HRESULT WriteStream(IStorage* storage, const wchar_t* name, const std::string& text)
{
    CComPtr<IStream> stream;
    HRESULT hr = storage->CreateStream(name, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream);
    if (SUCCEEDED(hr))
        hr = stream->Write(text.data(), static_cast<ULONG>(text.size()), nullptr);
    return hr;
}

std::string ReadStream(IStorage* storage, const wchar_t* name)
{
    CComPtr<IStream> stream;
    if (FAILED(storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream)))
        return "<missing>";
    std::string text;
    char buffer[256];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read > 0)
        text.append(buffer, read);
    return text;
}

// A project file: root class, a stream, a sub-storage with a stream of its own.
void MakeProjectFile(const std::wstring& path)
{
    CComPtr<IStorage> root;
    ASSERT_EQ(::StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &root), S_OK);
    ASSERT_EQ(root->SetClass(kDocumentClass), S_OK);
    ASSERT_EQ(WriteStream(root, L"Contents", "screen 1"), S_OK);
    CComPtr<IStorage> screens;
    ASSERT_EQ(root->CreateStorage(L"Screens", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &screens),
              S_OK);
    ASSERT_EQ(WriteStream(screens, L"Main", std::string(5000, 'm')), S_OK);
}

void ExpectProjectFile(const std::wstring& path)
{
    CComPtr<IStorage> root;
    ASSERT_EQ(::StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &root), S_OK);
    STATSTG stat = {};
    ASSERT_EQ(root->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.clsid, kDocumentClass);
    EXPECT_EQ(ReadStream(root, L"Contents"), "screen 1");
    CComPtr<IStorage> screens;
    ASSERT_EQ(root->OpenStorage(L"Screens", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &screens), S_OK);
    EXPECT_EQ(ReadStream(screens, L"Main"), std::string(5000, 'm'));
}

// A copy keeps streams, storages and the root class, and leaves the source as
// it was; a failed copy leaves the folder as it was.
TEST(StorageCopy, Outcomes)
{
    struct Case {
        const char* name;
        const wchar_t* source;      // in the scratch folder
        const wchar_t* destination; // in the scratch folder
        bool destinationExists;
        int failIfExists;
        int expected;
    };
    const Case cases[] = {
        {"control: new destination", L"plan.SwxCF", L"copy.SwxCF", false, 0, 1},
        {"new destination, fail if it exists", L"plan.SwxCF", L"copy.SwxCF", false, 1, 1},
        {"existing destination replaced", L"plan.SwxCF", L"copy.SwxCF", true, 0, 1},
        {"destination exists, fail if it exists", L"plan.SwxCF", L"copy.SwxCF", true, 1, 0},
        {"source missing", L"missing.SwxCF", L"copy.SwxCF", false, 0, 0},
        {"source is no compound file", L"plain.txt", L"copy.SwxCF", false, 0, 0},
        {"destination folder missing", L"plan.SwxCF", L"no such folder\\copy.SwxCF", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        MakeProjectFile(folder.File(L"plan.SwxCF"));
        WriteFile(folder.File(L"plain.txt"), "plain text");
        const std::wstring destination = folder.File(c.destination);
        if (c.destinationExists)
            WriteFile(destination, "keep me");
        const auto before = folder.Names();
        EXPECT_EQ(CopyStorageFile(folder.File(c.source).c_str(), destination.c_str(), c.failIfExists), c.expected);
        ExpectProjectFile(folder.File(L"plan.SwxCF"));
        if (c.expected) {
            ExpectProjectFile(destination);
            continue;
        }
        EXPECT_EQ(folder.Names(), before);
        if (c.destinationExists) {
            const std::vector<char> kept = FileBytes(destination);
            EXPECT_EQ(std::string(kept.begin(), kept.end()), "keep me");
        }
    }
}

// A storage the caller holds open is used as it is and stays the caller's.
TEST(StorageCopy, FromAnOpenStorage)
{
    ScratchFolder folder;
    const std::wstring source = folder.File(L"plan.SwxCF");
    MakeProjectFile(source);
    CComPtr<IStorage> open;
    ASSERT_EQ(::StgOpenStorage(source.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &open), S_OK);
    const ULONG references = open.p->AddRef();
    open.p->Release();

    // The path given is not even looked at.
    EXPECT_EQ(CopyStorageFile(L"no such file", folder.File(L"copy.SwxCF").c_str(), 0, open), 1);
    EXPECT_EQ(open.p->AddRef(), references);
    open.p->Release();
    STATSTG stat = {};
    EXPECT_EQ(open->Stat(&stat, STATFLAG_NONAME), S_OK) << "still open";
    open.Release();
    ExpectProjectFile(folder.File(L"copy.SwxCF"));
}

TEST(StorageRename, NormalisesTheExtension)
{
    ScratchFolder folder;
    const wchar_t* before[] = {L"plan.SWXCF",  L"line 2.swxcf", L"Mixed.sWxCf",   L"done.SwxCF",
                               L"plan.txt",    L"plan.SwxCF.bak", L"swxcf",       L"notes.SwxCFx"};
    for (const wchar_t* name : before)
        WriteFile(folder.File(name), "x");
    RenameOldStorageFiles(CString(folder.Path().c_str()));
    const std::set<std::wstring> expected = {L"plan.SwxCF", L"line 2.SwxCF", L"Mixed.SwxCF",   L"done.SwxCF",
                                             L"plan.txt",   L"plan.SwxCF.bak", L"swxcf",        L"notes.SwxCFx"};
    EXPECT_EQ(folder.Names(), expected);
}

TEST(StorageRename, FolderMissingOrEmpty)
{
    ScratchFolder folder;
    RenameOldStorageFiles(CString(folder.File(L"missing").c_str()));
    RenameOldStorageFiles(CString(folder.Path().c_str()));
    EXPECT_TRUE(folder.Names().empty());
}

} // namespace
