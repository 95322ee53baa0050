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

TEST_F(EscapeAllocation, EachAllocationFailureHasItsResult)
{
    const eQNEscapeOperations none = static_cast<eQNEscapeOperations>(0);
    const struct {
        const char* name;
        bool workBuffer, finalString;
        eQNEscapeOperations ops;
        HRESULT result;
        bool outputLeft; // else set to null
    } cases[] = {
        {"no fault", false, false, eEscNewLine, S_OK, false},
        {"working buffer", true, false, eEscNewLine, E_OUTOFMEMORY, true},
        {"final string", false, true, eEscNewLine, S_FALSE, false},
        {"final string of a plain copy", false, true, none, E_OUTOFMEMORY, false},
    };
    for (const auto& c : cases) {
        qn::text::TestAllocationFaults().workBuffer = c.workBuffer;
        qn::text::TestAllocationFaults().finalString = c.finalString;
        for (bool unescape : {false, true}) {
            BSTR out = Sentinel();
            EXPECT_EQ(c.result, unescape ? CQNUtility::UnescapeText(m_input, c.ops, &out)
                                         : CQNUtility::EscapeText(u"a\nb", c.ops, &out))
                << c.name << (unescape ? ", unescape" : ", escape");
            if (c.outputLeft)
                EXPECT_EQ(Sentinel(), out) << c.name;
            else if (FAILED(c.result) || c.result == S_FALSE)
                EXPECT_EQ(nullptr, out) << c.name;
            else
                ::SysFreeString(out);
        }
    }
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
