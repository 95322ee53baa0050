#include "AllocationFaults.h"

#ifdef QN_NATIVE
#include <afx/afx.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

extern "C" void* __real_malloc(size_t size);
extern "C" void* __real_realloc(void* block, size_t size);
extern "C" void* __real_calloc(size_t count, size_t size);

namespace {

bool g_armed = false;
size_t g_count = 0, g_failAt = 0;

bool Fails() { return g_armed && ++g_count == g_failAt; }

} // namespace

extern "C" void* __wrap_malloc(size_t size) { return Fails() ? nullptr : __real_malloc(size); }
extern "C" void* __wrap_realloc(void* block, size_t size) { return Fails() ? nullptr : __real_realloc(block, size); }
extern "C" void* __wrap_calloc(size_t count, size_t size) { return Fails() ? nullptr : __real_calloc(count, size); }

void* operator new(size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new(size_t size)
{
    void* block = operator new(size, std::nothrow);
    return block ? block : throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
void operator delete[](void* block, size_t) noexcept { std::free(block); }

namespace qntest {

HRESULT WithAllocationFault(size_t nth, const std::function<HRESULT()>& call, size_t* made)
{
    g_count = 0;
    g_failAt = nth;
    g_armed = true;
    HRESULT hr = kRaisedMemory;
    try {
        hr = call();
    } catch (CMemoryException* e) {
        e->Delete();
    }
    g_armed = false;
    return made ? *made = g_count, hr : hr;
}

void SweepAllocationFaults(const AllocationRow& row)
{
    SCOPED_TRACE(row.name);
    size_t made = 0;
    ASSERT_EQ(row.run([&](const std::function<HRESULT()>& call) { return WithAllocationFault(0, call, &made); }),
              S_OK)
        << "control";
    ASSERT_EQ(made, row.outcomes.size()) << "allocations made";
    for (size_t nth = 1; nth <= made; ++nth)
        EXPECT_EQ(row.run([&](const std::function<HRESULT()>& call) { return WithAllocationFault(nth, call); }),
                  row.outcomes[nth - 1])
            << "allocation " << nth << " failing";
}

} // namespace qntest
#endif
