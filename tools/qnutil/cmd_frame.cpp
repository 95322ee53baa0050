// qnutil commands of the library frame: version, crc, key.
#include "Command.h"

#include <QNUtility.h>

#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

namespace {

using qnutil::Fail;
using qnutil::Out;

// The file version from the loaded DLL's version resource.
int RunVersion(std::span<const std::wstring> args)
{
    if (!args.empty())
        return qnutil::Usage(L"version");
    HMODULE dll = ::GetModuleHandleW(L"QNUtility.dll");
    wchar_t path[MAX_PATH] = {};
    if (!dll || !::GetModuleFileNameW(dll, path, MAX_PATH))
        return Fail(L"version", L"QNUtility.dll is not loaded");
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    std::vector<BYTE> info(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!size || !::GetFileVersionInfoW(path, 0, size, info.data()) ||
        !::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed)
        return Fail(L"version", L"QNUtility.dll has no version resource");
    wchar_t text[64];
    std::swprintf(text, 64, L"%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                  HIWORD(fixed->dwFileVersionLS));
    Out(L"QNUtility " + std::wstring(text) + L" (" + path + L")\n");
    return 0;
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

// CRC-64 of each file, printed like sha256sum: "<crc>  <name>".
int RunCrc(std::span<const std::wstring> args)
{
    if (args.empty())
        return qnutil::Usage(L"crc");
    int status = 0;
    for (const std::wstring& name : args) {
        std::unique_ptr<FILE, FileCloser> file(name == L"-" ? nullptr : _wfopen(name.c_str(), L"rb"));
        FILE* stream = name == L"-" ? stdin : file.get();
        if (!stream) {
            status = Fail(L"crc", name + L": cannot open");
            continue;
        }
        std::vector<unsigned char> data;
        unsigned char chunk[65536];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, stream)) > 0)
            data.insert(data.end(), chunk, chunk + n);
        if (std::ferror(stream)) {
            status = Fail(L"crc", name + L": read error");
            continue;
        }
        // The library takes the byte count as an int.
        if (data.size() > size_t(std::numeric_limits<int>::max())) {
            status = Fail(L"crc", name + L": larger than 2 GiB");
            continue;
        }
        const __int64 crc = CQNUtility::GenerateCRC(data.data(), static_cast<int>(data.size()));
        Out(qnutil::Hex(static_cast<unsigned long long>(crc), 16) + L"  " + name + L"\n");
    }
    return status;
}

int RunKey(std::span<const std::wstring> args)
{
    if (!args.empty())
        return qnutil::Usage(L"key");
    CString key;
    CQNUtility::GenerateKey(key);
    Out(std::wstring(static_cast<LPCWSTR>(key)) + L"\n");
    return 0;
}

const qnutil::Registration version{L"version", L"", L"the library's version and where it was loaded from",
                                   RunVersion};
const qnutil::Registration crc{L"crc", L"FILE...", L"CRC-64/WE of each file ('-' reads standard input)", RunCrc};
const qnutil::Registration key{L"key", L"", L"a key made of the computer name, date and time", RunKey};

} // namespace
