/* A sample driver module: the serial drivers of a (fictitious) manufacturer,
 * Nordmark. Two listed entries and the protocol attached to the first.
 * Built as "HMI IO\NordmarkSerial.dll" of the demonstration installation. */
#include <QNDriverRecord.h>

#include <windows.h>

static void SetText(QNDriverChar* field, int capacity, const wchar_t* text)
{
    int i = 0;
    for (; text[i] && i < capacity - 1; ++i)
        field[i] = text[i];
    field[i] = 0;
}

void QN_DRIVER_CALL IODllInfos(QNDriverRecord* records)
{
    QNDriverRecord* r = &records[0];
    r->m_nID = 101;
    r->m_nKind = QN_DRIVER_KIND_LISTED;
    SetText(r->m_szName, QN_DRIVER_NAME_CHARS, L"Nordmark");
    SetText(r->m_szModule, QN_DRIVER_PATH_CHARS, L"NMSerial.dll");
    SetText(r->m_szHelpFile, QN_DRIVER_PATH_CHARS, L"NMSerial.chm");
    SetText(r->m_szText1, QN_DRIVER_NAME_CHARS, L"NM 200 series, RS-232");
    SetText(r->m_szChildName, QN_DRIVER_NAME_CHARS, L"NM Link");

    r = &records[1];
    r->m_nID = 102;
    r->m_nKind = QN_DRIVER_KIND_LISTED;
    SetText(r->m_szName, QN_DRIVER_NAME_CHARS, L"Nordmark");
    SetText(r->m_szModule, QN_DRIVER_PATH_CHARS, L"NMSerial485.dll");
    SetText(r->m_szText1, QN_DRIVER_NAME_CHARS, L"NM 400 series, RS-485"); /* help file left at its default */

    r = &records[2];
    r->m_nID = 103;
    r->m_nKind = QN_DRIVER_KIND_ATTACHED;
    SetText(r->m_szName, QN_DRIVER_NAME_CHARS, L"NM Link");
    SetText(r->m_szModule, QN_DRIVER_PATH_CHARS, L"NMLink.dll");
    SetText(r->m_szHelpFile, QN_DRIVER_PATH_CHARS, L"NMLink.chm");
    /* records[3] keeps m_nID 0: the list ends here. */
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
