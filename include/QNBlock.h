// The block format of archives: CKESTSaveHelper collects the bytes of one block
// in memory, CKESTLoadHelper reads typed values back from an archive while
// counting down the bytes left in the block.
//
// A typed value is one type byte followed by the value, little-endian, with no
// alignment and no padding:
//
//   1 BYTE    1 byte          5 DOUBLE  8 bytes (IEEE 754)
//   2 SHORT   2 bytes         6 INT64   8 bytes
//   3 LONG    4 bytes         7 CLSID   16 bytes (GUID memory layout)
//   4 FLOAT   4 bytes (IEEE)  8 CSTRING 32-bit byte count, then UTF-16LE text
//                                       (no terminator, no byte-order mark)
//
// Raw bytes (KESTSave, KESTLoad) carry no type byte and no length. The block
// head mark is the word 0xEFEFEFEF, the data end marker 0x1CED50DA.
//
// A block as the library's own writer frames it: head mark, 32-bit block
// identifier, 32-bit payload length (the save helper's KESTGetLength), then the
// payload (KESTCopyData). A reader reads those three words itself and passes
// the length to the loads as the count of bytes left.
//
// Results: S_OK; S_FALSE for a short read (fewer bytes came than asked for;
// the loads stop there); QN_E_TOOSHORT when the bytes left are fewer than a
// read asks for; E_FAIL for a wrong type byte or mark, and after a file
// exception, which the helpers show to the user with the exception's own
// message box. A memory exception (a save helper that cannot grow) and any
// other archive exception are not caught.
#pragma once

#include <QNPlatform.h>
#include <QNResult.h>
#include <afx/afx.h>

// The type bytes of the typed values.
enum eKESTValueType : unsigned char {
    KEST_TYPE_BYTE = 1,
    KEST_TYPE_SHORT = 2,
    KEST_TYPE_LONG = 3,
    KEST_TYPE_FLOAT = 4,
    KEST_TYPE_DOUBLE = 5,
    KEST_TYPE_INT64 = 6,
    KEST_TYPE_CLSID = 7,
    KEST_TYPE_CSTRING = 8,
};

#define KEST_BLOCK_HEAD_MARK 0xEFEFEFEFu
#define KEST_DATA_END_MARKER 0x1CED50DAu

// The bytes of one block, growing in steps of 1024 bytes. Writes go to the
// current position (the end, unless a caller moved it through
// KESTGetIntenalStorage).
class QN_API CKESTSaveHelper : public CMemFile {
public:
    CKESTSaveHelper();

    // Raw bytes into this helper, into another helper (this one is not
    // touched), or into an archive that is storing.
    HRESULT KESTSave(const void* pData, ULONG nCount);
    HRESULT KESTSave(CKESTSaveHelper& destination, const void* pData, ULONG nCount);
    HRESULT KESTSave(CArchive& destination, const void* pData, ULONG nCount);

    // The number of bytes held: the block's length.
    ULONG KESTGetLength();
    // The helper as its memory file, to seek in and read the bytes written.
    CMemFile& KESTGetIntenalStorage();

    // Type byte and value. Each returns the result of the first write that
    // fails, else S_OK.
    HRESULT KESTSaveBYTE(const unsigned char& value);
    HRESULT KESTSaveSHORT(const short& value);
    HRESULT KESTSaveLONG(const LONG& value);
    HRESULT KESTSaveFLOAT(const float& value);
    HRESULT KESTSaveDOUBLE(const double& value);
    HRESULT KESTSaveINT64(const __int64& value);
    HRESULT KESTSaveCLSID(const GUID& value);
    HRESULT KESTSaveCSTRING(const CString& value);

    // The four bytes of a mark, into this helper or a destination.
    HRESULT KESTSaveBlockHeadMark();
    HRESULT KESTSaveBlockHeadMark(CKESTSaveHelper& destination);
    HRESULT KESTSaveBlockHeadMark(CArchive& destination);
    HRESULT KESTSaveDataEndMarker();
    HRESULT KESTSaveDataEndMarker(CKESTSaveHelper& destination);
    HRESULT KESTSaveDataEndMarker(CArchive& destination);

    // The whole content of this helper, whatever its position, appended to the
    // destination; afterwards the position is at the end. Into an archive that
    // is loading: E_FAIL at once, nothing written. Stops at the first write
    // that fails (E_FAIL).
    HRESULT KESTCopyData(CKESTSaveHelper& destination);
    HRESULT KESTCopyData(CArchive& destination);
};

// Reads typed values of a block from an archive. The count of bytes left in
// the block belongs to the caller; every load takes from it the bytes it
// actually read, the type byte included.
class QN_API CKESTLoadHelper {
public:
    // Keeps the archive (not owned); S_OK.
    HRESULT KESTSetArchive(CArchive* pArchive);

    // Reads nCount raw bytes. QN_E_TOOSHORT (nothing read, nothing changed)
    // when nBytesLeft < nCount; S_FALSE when fewer came, with nCount set to
    // the number that came; E_FAIL after a file exception or without archive.
    HRESULT KESTLoad(void* pBuffer, ULONG& nCount, ULONG& nBytesLeft);

    // Type byte, then the value. A wrong type byte gives E_FAIL with the type
    // byte consumed. The value changes only when the result is S_OK.
    HRESULT KESTLoadBYTE(unsigned char& value, ULONG& nBytesLeft);
    HRESULT KESTLoadSHORT(short& value, ULONG& nBytesLeft);
    HRESULT KESTLoadLONG(LONG& value, ULONG& nBytesLeft);
    HRESULT KESTLoadFLOAT(float& value, ULONG& nBytesLeft);
    HRESULT KESTLoadDOUBLE(double& value, ULONG& nBytesLeft);
    HRESULT KESTLoadINT64(__int64& value, ULONG& nBytesLeft);
    HRESULT KESTLoadCLSID(GUID& value, ULONG& nBytesLeft);
    // The string is emptied once its length has been read and then keeps the
    // chunks read, even when a later chunk fails.
    HRESULT KESTLoadCSTRING(CString& value, ULONG& nBytesLeft);

    // Four bytes: S_OK if they are the mark, else E_FAIL (consumed either way).
    HRESULT KESTLoadBlockHeadMark(ULONG& nBytesLeft);
    HRESULT KESTLoadDataEndMarker(ULONG& nBytesLeft);

    // Reads and discards exactly one typed value of any type; E_FAIL for an
    // unknown type byte (consumed).
    HRESULT KESTLoadAndIgnore(ULONG& nBytesLeft);

private:
    // Length and characters of a string whose type byte has been read.
    HRESULT KESTLoadStringData(CString& value, ULONG& nBytesLeft);
    // Type byte, check, then the value's bytes.
    HRESULT LoadTyped(unsigned char type, void* pValue, ULONG nSize, ULONG& nBytesLeft);

    CArchive* m_pArchive = nullptr;
};
