// EscapeText and UnescapeText when memory runs out (native build: the faults
// are injected into the library's allocation points).
#include <QNUtility.h>

#ifdef QN_NATIVE
#include "text/TextBuffer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

class EscapeAllocation : public testing::Test {
protected:
    void TearDown() override { qn::text::TestAllocationFaults() = {}; }

    BSTR m_input = ::SysAllocString(u"a\\nb");
    ~EscapeAllocation() override { ::SysFreeString(m_input); }
};

BSTR Sentinel() { return reinterpret_cast<BSTR>(uintptr_t(0x1234)); }

TEST_F(EscapeAllocation, WorkingBufferFailureIsOutOfMemoryAndLeavesTheOutput)
{
    qn::text::TestAllocationFaults().workBuffer = true;
    BSTR out = Sentinel();
    EXPECT_EQ(E_OUTOFMEMORY, CQNUtility::EscapeText(u"a\nb", eEscNewLine, &out));
    EXPECT_EQ(Sentinel(), out);
    EXPECT_EQ(E_OUTOFMEMORY, CQNUtility::UnescapeText(m_input, eEscNewLine, &out));
    EXPECT_EQ(Sentinel(), out);
}

TEST_F(EscapeAllocation, FinalStringFailureIsSFalseWithANullOutput)
{
    qn::text::TestAllocationFaults().finalString = true;
    BSTR out = Sentinel();
    EXPECT_EQ(S_FALSE, CQNUtility::EscapeText(u"a\nb", eEscNewLine, &out));
    EXPECT_EQ(nullptr, out);
    out = Sentinel();
    EXPECT_EQ(S_FALSE, CQNUtility::UnescapeText(m_input, eEscNewLine, &out));
    EXPECT_EQ(nullptr, out);
}

TEST_F(EscapeAllocation, PlainCopyFailureIsOutOfMemory)
{
    qn::text::TestAllocationFaults().finalString = true;
    BSTR out = Sentinel();
    EXPECT_EQ(E_OUTOFMEMORY, CQNUtility::EscapeText(u"abc", static_cast<eQNEscapeOperations>(0), &out));
    EXPECT_EQ(nullptr, out);
    out = Sentinel();
    EXPECT_EQ(E_OUTOFMEMORY, CQNUtility::UnescapeText(m_input, static_cast<eQNEscapeOperations>(0), &out));
    EXPECT_EQ(nullptr, out);
}

TEST_F(EscapeAllocation, EmptyInputNeedsNoWorkingBuffer)
{
    // Nothing to grow: only the final string is allocated.
    qn::text::TestAllocationFaults().workBuffer = true;
    BSTR out = nullptr;
    EXPECT_EQ(S_OK, CQNUtility::EscapeText(u"", eEscQuote, &out));
    ASSERT_NE(nullptr, out);
    EXPECT_EQ(0u, ::SysStringLen(out));
    ::SysFreeString(out);
}

} // namespace
#endif
