// XML defaults: element helpers over the platform's XML document object model
// and the defaults document "Defaults.xml" of the installation (Windows only).
//
// The defaults document lies in the folder that the registry value "WbPath"
// names (CQNUtility::GetWBPath). When no readable file exists, GetDefaultsDOM
// builds a new document in memory, in this order of nodes:
//   <?xml version='1.0' encoding='UTF-16'?>
//   <!--Orvista Defaults Experts Only!-->
//   <Defaults>  one element per section, one element per value under it  </Defaults>
// The library never saves the document; a caller that wants the changes on
// disk saves the document it got back (IXMLDOMDocument::save).
//
// Result codes: S_OK, or E_FAIL for every failure. ReadCDataElement and
// DisplayParseError show a warning message box (AfxMessageBox) when they fail;
// everything else fails silently. Queries are the DOM's selection expressions
// (a child element's name as a rule). Names of elements the library creates
// must be XML names without a colon, texts may hold only XML characters, and
// character data may not hold "]]>": anything else gives E_FAIL before the
// document is touched. All members live in CQNUtility (QNUtilityClass.h).
#pragma once

#ifndef _WIN32
#error "QNXml.h is Windows-only"
#endif

#include <QNPlatform.h>
#include <QNUtilityClass.h>
#include <afx/atlbase.h>

#include <msxml2.h>

// The interface identifiers that CComPtr and CComQIPtr ask for.
__CRT_UUID_DECL(IXMLDOMNode, 0x2933bf80, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMDocument, 0x2933bf81, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMElement, 0x2933bf86, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMText, 0x2933bf87, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMComment, 0x2933bf88, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMProcessingInstruction, 0x2933bf89, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e,
                0x60)
__CRT_UUID_DECL(IXMLDOMCDATASection, 0x2933bf8a, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMDocument2, 0x2933bf95, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMParseError, 0x3efaa426, 0x272f, 0x11d2, 0x83, 0x6f, 0x00, 0x00, 0xf8, 0x7a, 0x77, 0x82)

// The platform's DOM document class that the defaults document is made of.
inline constexpr CLSID QN_CLSID_DOMDocument = {
    0xf6d90f11, 0x9c73, 0x11d3, {0xb3, 0x2e, 0x00, 0xc0, 0x4f, 0x99, 0x0b, 0xb4}};

// The file name of the defaults document in the "WbPath" folder.
#define QN_DEFAULTS_FILE L"Defaults.xml"
