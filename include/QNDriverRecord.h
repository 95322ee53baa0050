/* The record a driver module fills: the 2100-byte layout that QNUtility hands
 * to the "IODllInfos" entry point of every module in the driver folder. Plain
 * C with fixed-width types, so a driver module written in C or C++, 32-bit or
 * 64-bit, sees the same bytes:
 *
 *   offset  size  field            default        meaning
 *        0     4  reserved         (library's)    leave untouched
 *        4     4  m_nID            0              > 0 in every filled record; the first
 *                                                 record with m_nID <= 0 ends the list
 *        8     4  m_nKind          0              1 attached entry, 2 listed entry,
 *                                                 anything else: ignored
 *       12     4  m_nParam         0              passed through
 *       16   256  m_szName[128]    ""             kind 2: manufacturer; kind 1: the name
 *                                                 a listed entry's m_szChildName gives
 *      272   520  m_szModule[260]  ""             runtime module, relative to the runtime
 *                                                 "Bin" folder
 *      792   520  m_szHelpFile[260] "Orvista.chm" help file, relative to the help folder
 *     1312   256  m_szText1[128]   ""             passed through
 *     1568   256  m_szChildName[128] ""           kind 2: name of its attached entries
 *     1824     4  m_nValue         0              passed through
 *     1828   256  m_szText2[128]   ""             passed through
 *     2084     4  m_nBits          0x15C          bits 0-1 mode, bits 2-9 flags 2 to 9;
 *                                                 bits 10-31 are not carried
 *     2088    10  m_wParam1..5     100 50 50 20 0 passed through
 *     2098     2  m_wFlags         4              bit 4 (QN_DRIVER_LISTED) set: listed
 *
 * Texts are UTF-16 and must end with a zero unit inside their field: a record
 * with a text that does not is skipped. The entry point receives the first of
 * QN_DRIVER_RECORD_COUNT records, all at their defaults, fills them from the
 * first on, and must not keep a pointer to them: the module is unloaded as
 * soon as the call returns.
 *
 *   void __cdecl IODllInfos(QNDriverRecord* records);   exported undecorated (.def)
 */
#ifndef QN_DRIVER_RECORD_H
#define QN_DRIVER_RECORD_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One UTF-16 code unit: wchar_t on Windows, so L"..." literals fit. */
#if defined(_WIN32)
typedef wchar_t QNDriverChar;
#elif defined(__cplusplus)
typedef char16_t QNDriverChar;
#else
typedef uint16_t QNDriverChar;
#endif

#define QN_DRIVER_RECORD_COUNT 50   /* records handed to one call */
#define QN_DRIVER_RECORD_SIZE 2100  /* bytes per record */
#define QN_DRIVER_NAME_CHARS 128    /* capacities in UTF-16 units, terminator included */
#define QN_DRIVER_PATH_CHARS 260

#define QN_DRIVER_KIND_ATTACHED 1
#define QN_DRIVER_KIND_LISTED 2
#define QN_DRIVER_LISTED 0x0004     /* m_wFlags: the record is catalogued */

/* m_nBits: bits 0-1 mode, then one bit each for flags 2 to 9. */
#define QN_DRIVER_MODE_MASK 0x0003u
#define QN_DRIVER_FLAG(n) (1u << (n)) /* n from 2 to 9 */
#define QN_DRIVER_BITS_USED 0x03FFu
#define QN_DRIVER_BITS_DEFAULT 0x015Cu /* flags 2, 3, 4, 6 and 8 */

typedef struct QNDriverRecord {
    uint32_t reserved; /* the library's; a driver module leaves it as it is */
    int32_t m_nID;
    int32_t m_nKind;
    int32_t m_nParam;
    QNDriverChar m_szName[QN_DRIVER_NAME_CHARS];
    QNDriverChar m_szModule[QN_DRIVER_PATH_CHARS];
    QNDriverChar m_szHelpFile[QN_DRIVER_PATH_CHARS];
    QNDriverChar m_szText1[QN_DRIVER_NAME_CHARS];
    QNDriverChar m_szChildName[QN_DRIVER_NAME_CHARS];
    int32_t m_nValue;
    QNDriverChar m_szText2[QN_DRIVER_NAME_CHARS];
    uint32_t m_nBits;
    uint16_t m_wParam1;
    uint16_t m_wParam2;
    uint16_t m_wParam3;
    uint16_t m_wParam4;
    uint16_t m_wParam5;
    uint16_t m_wFlags;
} QNDriverRecord;

/* The entry point's type (the C calling convention on 32-bit Windows). */
#if defined(_WIN32)
#define QN_DRIVER_CALL __cdecl
#else
#define QN_DRIVER_CALL
#endif
typedef void(QN_DRIVER_CALL* QNIODllInfosFn)(QNDriverRecord* records);
#define QN_DRIVER_ENTRY_NAME "IODllInfos"

#ifdef __cplusplus
#define QN_DRIVER_STATIC_ASSERT(cond, text) static_assert(cond, text)
#else
#define QN_DRIVER_STATIC_ASSERT(cond, text) _Static_assert(cond, text)
#endif

QN_DRIVER_STATIC_ASSERT(sizeof(QNDriverChar) == 2, "a text unit is 16 bits");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_nID) == 4, "m_nID at 4");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_nKind) == 8, "m_nKind at 8");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_nParam) == 12, "m_nParam at 12");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_szName) == 16, "m_szName at 16");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_szModule) == 272, "m_szModule at 272");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_szHelpFile) == 792, "m_szHelpFile at 792");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_szText1) == 1312, "m_szText1 at 1312");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_szChildName) == 1568, "m_szChildName at 1568");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_nValue) == 1824, "m_nValue at 1824");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_szText2) == 1828, "m_szText2 at 1828");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_nBits) == 2084, "bit field at 2084");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_wParam1) == 2088, "m_wParam1 at 2088");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_wParam2) == 2090, "m_wParam2 at 2090");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_wParam3) == 2092, "m_wParam3 at 2092");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_wParam4) == 2094, "m_wParam4 at 2094");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_wParam5) == 2096, "m_wParam5 at 2096");
QN_DRIVER_STATIC_ASSERT(offsetof(QNDriverRecord, m_wFlags) == 2098, "m_wFlags at 2098");
QN_DRIVER_STATIC_ASSERT(sizeof(QNDriverRecord) == QN_DRIVER_RECORD_SIZE, "a record is 2100 bytes");

#ifdef __cplusplus
}
#endif

#endif /* QN_DRIVER_RECORD_H */
