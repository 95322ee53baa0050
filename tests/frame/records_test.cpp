// The owned byte buffer and the scoped error flag.
#include <QNFrame.h>
#include <afx/afx.h>

#include <gtest/gtest.h>

namespace {

TEST(KESTError, SetsBitsOnlyForFailureAtEndOfScope)
{
    struct Case {
        HRESULT initial;
        HRESULT final;
        ULONG expected;
    };
    const Case cases[] = {
        {S_OK, S_OK, 0xF0000001},                   // success: untouched
        {S_FALSE, S_FALSE, 0xF0000001},             // success with less: untouched
        {E_FAIL, E_FAIL, 0xF0000001 | 0x00000C00},  // failure: exactly the given bits
        {QN_E_TOOSHORT, QN_E_TOOSHORT, 0xF0000C01}, // the library's own failure codes too
        {E_FAIL, S_OK, 0xF0000001},                 // updated to success during the scope
        {S_OK, E_POINTER, 0xF0000C01},              // updated to failure during the scope
    };
    for (const Case& c : cases) {
        ULONG flags = 0xF0000001;
        {
            CKESTError error(c.initial, &flags, 0x00000C00);
            error.m_hResult = c.final;
        }
        EXPECT_EQ(flags, c.expected) << std::hex << c.initial << " -> " << c.final;
    }
}

TEST(KESTError, AssignmentCopiesAllFields)
{
    ULONG a = 0, b = 0;
    CKESTError first(E_FAIL, &a, 1);
    {
        CKESTError second(S_OK, &b, 2);
        second = first;
        EXPECT_EQ(second.m_hResult, E_FAIL);
        EXPECT_EQ(second.m_pFlags, &a);
        EXPECT_EQ(second.m_dwFlag, 1u);
    }
    EXPECT_EQ(a, 1u); // the copy reported into the first word
    EXPECT_EQ(b, 0u);
}

TEST(KESTBYTEBuffer, HoldsBytesAndFreesOnDestruction)
{
    CKESTBYTEBuffer buffer(300);
    EXPECT_EQ(buffer.m_nSize, 300);
    ASSERT_NE(buffer.m_pData, nullptr);
    for (int i = 0; i < 300; ++i)
        buffer.SetAt(i, static_cast<unsigned char>(i * 7));
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(buffer.GetAt(i), static_cast<unsigned char>(i * 7));
    EXPECT_EQ(static_cast<unsigned char*>(buffer), buffer.m_pData);
    EXPECT_EQ(static_cast<void*>(buffer), static_cast<void*>(buffer.m_pData));
}

TEST(KESTBYTEBuffer, ZeroSizeIsAValidEmptyBlock)
{
    CKESTBYTEBuffer buffer(0);
    EXPECT_EQ(buffer.m_nSize, 0);
    EXPECT_NE(buffer.m_pData, nullptr);
}

TEST(KESTBYTEBuffer, ImpossibleSizeRaisesMemoryException)
{
    bool raised = false;
    try {
        CKESTBYTEBuffer buffer(-1);
    } catch (CMemoryException* e) {
        raised = true;
        e->Delete();
    }
    EXPECT_TRUE(raised);
}

} // namespace
