// Shared by the object stream tests: the test COM server (registered for the
// whole run by objects_support.cpp), the persisted-object bytes of its classes
// and small helpers.
#pragma once

#include <QNStream.h>
#include <QNUtilityClass.h>
#include <afx/atlbase.h>
#include <fixtures/comserver/ComServer.h>
#include <support/TestStreams.h>

#include <string>
#include <vector>

namespace objtest {

// The number of comserver.dll's objects alive now.
LONG LiveObjects();

// Enables class translation for one scope.
class TranslationOn {
public:
    TranslationOn() { CQNUtility::CLSIDEnabled(1); }
    TranslationOn(const TranslationOn&) = delete;
    TranslationOn& operator=(const TranslationOn&) = delete;
    ~TranslationOn() { CQNUtility::CLSIDEnabled(0); }
};

// The 16 bytes of a class identifier in GUID memory layout.
std::vector<unsigned char> GuidBytes(const GUID& id);
// A persisted Widget: identifier, name (BSTR text form), number.
std::vector<unsigned char> WidgetBytes(const GUID& id, const wchar_t* name, LONG number);
// A persisted ExtSaver as SaveWithParam writes it.
std::vector<unsigned char> ExtSaverBytes(LONG param, LONG number);
std::vector<unsigned char> Join(std::initializer_list<std::vector<unsigned char>> parts);

// The class, name and number an object of the server reports.
struct Probed {
    CLSID clsid = CLSID_NULL;
    std::wstring name;
    LONG number = 0;
};
Probed Probe(IUnknown* object);

} // namespace objtest
