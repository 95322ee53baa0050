// A host program built only against the installed SDK tree: it includes the
// umbrella header, links the import library and calls the DLL.
#include <QNUtility.h>

#include <cstdio>

int main()
{
    const char digits[] = "123456789";
    const unsigned long long crc = static_cast<unsigned long long>(CQNUtility::GenerateCRC(digits, 9));

    CString key;
    const HRESULT hr = CQNUtility::GenerateKey(key);

    ULONG flags = 0;
    {
        CKESTError error(E_FAIL, &flags, 4);
    }
    const bool ok = crc == 0x62EC59E3F1A4F00Aull && hr == S_OK && key.GetLength() >= 12 && flags == 4;
    std::printf("sdk host: crc %016llX key length %d flags %lu -> %s\n", crc, key.GetLength(),
                static_cast<unsigned long>(flags), ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
