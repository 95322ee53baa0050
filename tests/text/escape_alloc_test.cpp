// EscapeText and UnescapeText when memory runs out: each allocation they make
// fails in turn (native build, tests/support/AllocationFaults.h).
#include <QNUtility.h>

#ifdef QN_NATIVE
#include <support/AllocationFaults.h>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// The working buffer's growth fails with E_OUTOFMEMORY and leaves the output
// as it was; the final string's with S_FALSE (E_OUTOFMEMORY for a plain copy)
// and a null output.
TEST(EscapeAllocation, EachAllocationFailureHasItsResult)
{
    const BSTR sentinel = reinterpret_cast<BSTR>(uintptr_t(0x1234));
    const auto none = static_cast<eQNEscapeOperations>(0);
    const auto escape = [=](const WCHAR* text, eQNEscapeOperations ops, bool unescape) {
        return [=](const qntest::Armed& armed) {
            BSTR input = ::SysAllocString(text), out = sentinel;
            const HRESULT hr = armed([&] {
                return unescape ? CQNUtility::UnescapeText(input, ops, &out) : CQNUtility::EscapeText(text, ops, &out);
            });
            ::SysFreeString(input);
            if (hr == S_OK)
                ::SysFreeString(out);
            else
                EXPECT_EQ(out, hr == E_OUTOFMEMORY && ops != none ? sentinel : nullptr);
            return hr;
        };
    };
    const qntest::AllocationRow rows[] = {
        {"escape", escape(u"a\nb", eEscNewLine, false), {E_OUTOFMEMORY, S_FALSE}},
        {"unescape", escape(u"a\\nb", eEscNewLine, true), {E_OUTOFMEMORY, S_FALSE}},
        {"escape, plain copy", escape(u"a\nb", none, false), {E_OUTOFMEMORY}},
        {"unescape, plain copy", escape(u"a\\nb", none, true), {E_OUTOFMEMORY}},
        {"empty text: no working buffer", escape(u"", eEscQuote, false), {S_FALSE}},
    };
    for (const auto& row : rows)
        qntest::SweepAllocationFaults(row);
}

} // namespace
#endif
