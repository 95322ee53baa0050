// The scoped error flag, the owned byte buffer and the host's version record.
#include <QNConfiguration.h>
#include <QNFrame.h>
#include <QNUtilityClass.h>
#include <afx/afx.h>

#include "support/Raised.h"

#include <gtest/gtest.h>

namespace {

TEST(KESTError, SetsBitsOnlyForFailureAtEndOfScope)
{
    const struct {
        HRESULT initial, final;
        ULONG expected;
    } cases[] = {
        {S_OK, S_OK, 0xF0000001},           {S_FALSE, S_FALSE, 0xF0000001},
        {E_FAIL, E_FAIL, 0xF0000C01},       {QN_E_TOOSHORT, QN_E_TOOSHORT, 0xF0000C01},
        {E_FAIL, S_OK, 0xF0000001},         {S_OK, E_POINTER, 0xF0000C01}, // the value at the end decides
    };
    for (const auto& c : cases) {
        ULONG flags = 0xF0000001;
        {
            CKESTError error(c.initial, &flags, 0x00000C00);
            error.m_hResult = c.final;
        }
        EXPECT_EQ(flags, c.expected) << std::hex << c.initial << " -> " << c.final;
    }
}

TEST(KESTBYTEBuffer, HoldsBytesAndRaisesForAnImpossibleSize)
{
    for (int size : {0, 300}) {
        CKESTBYTEBuffer buffer(size);
        EXPECT_EQ(buffer.m_nSize, size);
        ASSERT_NE(buffer.m_pData, nullptr); // also a zero-size block
        for (int i = 0; i < size; ++i)
            buffer.SetAt(i, static_cast<unsigned char>(i * 7));
        for (int i = 0; i < size; ++i)
            ASSERT_EQ(buffer.GetAt(i), static_cast<unsigned char*>(buffer)[i]);
        EXPECT_EQ(static_cast<void*>(buffer), static_cast<void*>(buffer.m_pData));
    }
    EXPECT_EQ(0, CauseRaised<CMemoryException>([] { CKESTBYTEBuffer buffer(-1); }));
}

TEST(HostSettings, LastModifiedBuildWritesOnlyWhatIsAskedFor)
{
    ULONG part = 7;
    ASSERT_EQ(CQNUtility::SetCurrentVersion(nullptr), S_OK);
    EXPECT_EQ(CQNUtility::GetProjectLastModifiedBuild(&part, nullptr, nullptr, nullptr), E_FAIL) << "no record";
    EXPECT_EQ(part, 7u);
    OVVersion version = {{1, 2, 3, 4, 5, 6, 7}, {11, 12, 13, 14}};
    ASSERT_EQ(CQNUtility::SetCurrentVersion(&version), S_OK);
    for (unsigned mask = 0; mask < 16; ++mask) {
        ULONG parts[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        auto given = [&](int i) { return (mask >> i) & 1 ? &parts[i] : nullptr; };
        EXPECT_EQ(CQNUtility::GetProjectLastModifiedBuild(given(0), given(1), given(2), given(3)), mask ? S_OK : E_POINTER);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(parts[i], (mask >> i) & 1 ? 11u + i : 0xEEu) << "mask " << mask << " part " << i;
    }
    CQNUtility::SetCurrentVersion(nullptr);
}

} // namespace
