// Configuration: where the installation keeps its settings, the brand texts,
// the host's version record and the three configuration functions exported
// under plain names. The CQNUtility members (GetWBPath, GetExportDir, ...) are
// declared in QNUtilityClass.h.
//
// Registry (all values are text; the library never creates a key):
//   HKLM  SOFTWARE\Varnholt\Quillon\Install        "WbPath" (520 bytes)
//   HKLM  SOFTWARE\Varnholt\Quillon\Configuration  "Runtime Root" (520), "Templates Dir" (520),
//                                                  "BackUp" (caller's buffer), "ForceLanguage" (40 / 512)
//   HKLM  SOFTWARE\Varnholt\Quillon\Tollmark       "RootDir" (510)
//   HKCU  SOFTWARE\Varnholt\Quillon\Settings       "BackUpLanguageDir" (caller's buffer; written by SetExportDir)
// A missing value, a key that cannot be opened and a value longer than its
// capacity in bytes all read as the empty text.
//
// Project templates: "<Templates Dir>\Templates.ini", section "Templates",
// keys 1, 2, 3, ...; each value "name;file[;documentation page]", at most 511
// characters.
#pragma once

#include <QNPlatform.h>
#include <afx/afxstr.h>

// Registry keys and value names read by the library.
#define QN_REGKEY_INSTALL _T("SOFTWARE\\Varnholt\\Quillon\\Install")
#define QN_REGKEY_CONFIGURATION _T("SOFTWARE\\Varnholt\\Quillon\\Configuration")
#define QN_REGKEY_TOLLMARK _T("SOFTWARE\\Varnholt\\Quillon\\Tollmark")
#define QN_REGKEY_SETTINGS _T("SOFTWARE\\Varnholt\\Quillon\\Settings")

#define QN_REGVAL_WBPATH _T("WbPath")
#define QN_REGVAL_RUNTIME_ROOT _T("Runtime Root")
#define QN_REGVAL_TEMPLATES_DIR _T("Templates Dir")
#define QN_REGVAL_BACKUP _T("BackUp")
#define QN_REGVAL_FORCE_LANGUAGE _T("ForceLanguage")
#define QN_REGVAL_ROOTDIR _T("RootDir")
#define QN_REGVAL_EXPORT_DIR _T("BackUpLanguageDir")

// Capacities of the fixed-size reads, in bytes.
#define QN_REGCAP_PATH 520           // "WbPath", "Runtime Root", "Templates Dir", any fxhGetConfigurationStringValue
#define QN_REGCAP_ROOTDIR 510        // "RootDir"
#define QN_REGCAP_FORCE_LANGUAGE 40  // "ForceLanguage" as GetForceLanguage reads it

// The brand texts: each names a string of the language module "Brand" (the
// string identifier is given beside it). What each text says is the brand
// module's business; the names tell what the product's modules put there.
enum BrandInfoType : int {
    eBrandCompanyName = 0,       // 10050
    eBrandProductName = 1,       // 10051
    eBrandSuiteName = 2,         // 10052
    eBrandEditorName = 3,        // 10053
    eBrandRuntimeName = 4,       // 10061
    eBrandSimulatorName = 5,     // 10062
    eBrandCopyright = 6,         // 10054
    eBrandWebSite = 7,           // 10055
    eBrandSupportMail = 8,       // 10056
    eBrandSupportPhone = 9,      // 10057
    eBrandAboutTitle = 10,       // 10058
    eBrandHelpFile = 11,         // 10064
    eBrandLicenseText = 12,      // 10059
    eBrandTrademark = 13,        // 10060
    eBrandSplashTitle = 14,      // 10063
    eBrandUpdateSite = 15,       // 10066
    eBrandDocumentationSite = 16, // 10065
    eBrandShortName = 17,        // 3708
    eBrandProjectTypeName = 18,  // 3709
    eBrandFileTypeName = 19,     // 3710
};
#define QN_BRAND_INFO_COUNT 20

// The host's version record. The library reads only the four 32-bit parts of
// the project's last-modified build, which follow seven 32-bit fields of the
// host's own; a host that declares its own record keeps those four in place.
struct OVVersion {
    ULONG m_dwHostFields[7];
    ULONG m_dwLastModifiedBuild[4]; // first to fourth part
};
static_assert(sizeof(OVVersion) == 44, "OVVersion: eleven 32-bit fields");
static_assert(offsetof(OVVersion, m_dwLastModifiedBuild) == 28, "the build parts follow seven 32-bit fields");

#ifdef _WIN32
// Sets `strValue` to the named value of the "Configuration" key (at most 520
// bytes); empty when the key or value cannot be read or the value is longer.
// A null name reads the key's default value.
extern "C" QN_API void fxhGetConfigurationStringValue(LPCWSTR lpszValueName, CString& strValue);

// Template `nTemplate` of the template list: 1 with name, template file and
// documentation page set; 0, with the three strings unchanged, when the list
// has no such entry or its line lacks a name or a file. Template 0 is the
// built-in "Empty Project" (no file, "Blank.htm"); an entry without a page gets
// "NoDocumentation.htm".
extern "C" QN_API int fxGetTemplateInformation(int nTemplate, CString& strName, CString& strTemplateFile,
                                               CString& strDocumentation);

// The longest project name whose project folder and file, both named after the
// project under "<RootDir>\Local\Quillon\", stay within 259 characters; 0 when
// "RootDir" cannot be read or nothing fits.
extern "C" QN_API int fxGetAllowableFilenameLength();
#endif
