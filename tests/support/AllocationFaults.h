// The one allocation-fault harness (native build). The test programs are
// linked with malloc, realloc and calloc wrapped and with operator new
// replaced (tests/support/AllocationFaults.cpp), so every allocation of the
// library, the framework and the port's platform strings passes one counter.
// While a call under test runs armed, allocation number N fails: a null
// pointer, or std::bad_alloc from operator new. A sweep runs the call once to
// count its allocations, then once for each of them failing, and compares each
// outcome with its table row.
#pragma once

#include <QNPlatform.h>

#include <functional>
#include <vector>

namespace qntest {

// The outcome of a call out of which the framework's memory exception came.
inline constexpr HRESULT kRaisedMemory = static_cast<HRESULT>(0xE0ED0001);

// Runs `call` with allocation `nth` (from 1; 0: none) failing; `made` gets the
// number of allocations the call asked for.
HRESULT WithAllocationFault(size_t nth, const std::function<HRESULT()>& call, size_t* made = nullptr);

using Armed = std::function<HRESULT(const std::function<HRESULT()>& call)>;

struct AllocationRow {
    const char* name;
    // Prepares its inputs, runs the call under test through `armed`, checks
    // what the call left (for the outcome it gave) and returns the outcome.
    std::function<HRESULT(const Armed& armed)> run;
    // The outcome with the 1st, 2nd, ... allocation failing; the call must make
    // exactly this many allocations, and succeed (S_OK) when none fails.
    std::vector<HRESULT> outcomes;
};

void SweepAllocationFaults(const AllocationRow& row);

} // namespace qntest
