// Class identifiers as keys of the framework's hash maps, and the map type of
// the class identifier conversion table (CQNUtility::CLSIDLookup and
// CQNUtility::CLSIDReverseLookup).
#pragma once

#include <QNPlatform.h>
#include <afx/afxtempl.h>

// The hash of a class identifier is the platform's 16-bit identifier hash
// (UuidHash); the map takes it modulo its bucket count. Keys compare as 16-byte
// values.
template <> QN_API UINT AFXAPI HashKey<const GUID&>(const GUID& key);

typedef CMap<GUID, const GUID&, GUID, const GUID&> CMapGUIDToGUID;
