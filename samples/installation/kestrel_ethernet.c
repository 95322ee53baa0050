/* A sample driver module: the Ethernet drivers of a (fictitious) manufacturer,
 * Kestrel, and one more listed entry for Nordmark, which joins the Nordmark
 * entries of NordmarkSerial.dll. Built as "HMI IO\KestrelEthernet.dll" of the
 * demonstration installation. */
#include <QNDriverRecord.h>

#include <windows.h>

static void SetText(QNDriverChar* field, int capacity, const wchar_t* text)
{
    int i = 0;
    for (; text[i] && i < capacity - 1; ++i)
        field[i] = text[i];
    field[i] = 0;
}

typedef struct Entry {
    int32_t id;
    int32_t kind;
    const wchar_t* name;
    const wchar_t* module;
    const wchar_t* helpFile;
    const wchar_t* childName;
} Entry;

static const Entry kEntries[] = {
    {201, QN_DRIVER_KIND_LISTED, L"Kestrel", L"KSEthernet.dll", L"KSEthernet.chm", L"KS TCP"},
    {202, QN_DRIVER_KIND_ATTACHED, L"KS TCP", L"KSTcp.dll", L"KSTcp.chm", L""},
    {203, QN_DRIVER_KIND_ATTACHED, L"KS UDP", L"KSUdp.dll", L"KSUdp.chm", L""}, /* no entry names it */
    {204, QN_DRIVER_KIND_LISTED, L"Nordmark", L"NMEthernet.dll", L"NMEthernet.chm", L""},
};

void QN_DRIVER_CALL IODllInfos(QNDriverRecord* records)
{
    int i;
    for (i = 0; i < (int)(sizeof kEntries / sizeof kEntries[0]); ++i) {
        QNDriverRecord* r = &records[i];
        r->m_nID = kEntries[i].id;
        r->m_nKind = kEntries[i].kind;
        SetText(r->m_szName, QN_DRIVER_NAME_CHARS, kEntries[i].name);
        SetText(r->m_szModule, QN_DRIVER_PATH_CHARS, kEntries[i].module);
        SetText(r->m_szHelpFile, QN_DRIVER_PATH_CHARS, kEntries[i].helpFile);
        SetText(r->m_szChildName, QN_DRIVER_NAME_CHARS, kEntries[i].childName);
    }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
