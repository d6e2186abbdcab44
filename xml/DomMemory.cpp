#include "xml/DomMemory.h"

#include <QtGlobal>

#include <pugixml.hpp>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <thread>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif
#endif

namespace {

constexpr size_t kStep = 1 << 20;   // pages made per call
constexpr size_t kAhead = 8 << 20;  // how far they run ahead of the parse
constexpr int kRegions = 8;

struct Region
{
    // Set and cleared under g_mutex.
    char* m_pBase = nullptr;
    size_t m_nCapacity = 0;
    long m_nHolders = 0;  // blocks in use, and its scope while it lasts
    // Shared by the parse, which takes blocks, and the thread making pages.
    std::atomic<size_t> m_nUsed{0};
    size_t m_nMade = 0;  // under m_mutex
    bool m_bStop = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
};

std::mutex g_mutex;
Region g_regions[kRegions];
thread_local Region* t_pRegion = nullptr;

// Under g_mutex.
void Drop(Region& r)
{
    if (--r.m_nHolders > 0)
        return;
#ifdef Q_OS_LINUX
    ::munmap(r.m_pBase, r.m_nCapacity);
#endif
    r.m_pBase = nullptr;
    r.m_nCapacity = 0;
}

void* Allocate(size_t n)
{
    if (Region* r = t_pRegion) {
        // Only the parsing thread takes blocks from its region.
        const size_t nSize = (n + 15) & ~size_t(15);
        const size_t nAt = r->m_nUsed.load(std::memory_order_relaxed);
        if (nAt + nSize <= r->m_nCapacity) {
            r->m_nUsed.store(nAt + nSize, std::memory_order_relaxed);
            {
                const std::lock_guard lock(g_mutex);
                ++r->m_nHolders;
            }
            if ((nAt + nSize) / kStep != nAt / kStep) {
                // Under its lock, so that the wake-up cannot fall between the
                // page maker's test and its wait.
                const std::lock_guard lock(r->m_mutex);
                r->m_wake.notify_one();
            }
            return r->m_pBase + nAt;
        }
    }
    return std::malloc(n);
}

void Deallocate(void* p)
{
    {
        const std::lock_guard lock(g_mutex);
        for (Region& r : g_regions) {
            if (r.m_pBase && p >= r.m_pBase && p < r.m_pBase + r.m_nCapacity) {
                Drop(r);
                return;
            }
        }
    }
    std::free(p);
}

// Set before main. A block outside every region is heap memory, whichever
// function took it.
const bool g_bInstalled = [] {
    pugi::set_memory_management_functions(Allocate, Deallocate);
    return true;
}();

#ifdef Q_OS_LINUX
void MakeRegionPages(Region& r)
{
    std::unique_lock lock(r.m_mutex);
    for (;;) {
        r.m_wake.wait(lock, [&r] {
            return r.m_bStop || r.m_nMade < std::min(r.m_nCapacity, r.m_nUsed.load(std::memory_order_relaxed) + kAhead);
        });
        if (r.m_bStop)
            return;
        const size_t nFrom = r.m_nMade;
        const size_t nTo = std::min(r.m_nCapacity, nFrom + kStep);
        lock.unlock();
        // Where the system cannot, the parse makes its pages itself.
        const bool bMade = MakePages(r.m_pBase + nFrom, nTo - nFrom);
        lock.lock();
        if (!bMade)
            return;
        r.m_nMade = nTo;
    }
}
#endif

}  // namespace

bool MakePages(char* p, size_t n)
{
#ifdef Q_OS_LINUX
    const size_t nPage = 4096;
    const auto nStart = (reinterpret_cast<uintptr_t>(p) + nPage - 1) & ~(nPage - 1);
    const auto nEnd = (reinterpret_cast<uintptr_t>(p) + n) & ~(nPage - 1);
    if (nEnd <= nStart + 16 * nPage)
        return true;
    return ::madvise(reinterpret_cast<void*>(nStart), nEnd - nStart, MADV_POPULATE_WRITE) == 0;
#else
    Q_UNUSED(p);
    Q_UNUSED(n);
    return false;
#endif
}

struct CDomMemoryScope::Impl
{
    Region* m_pRegion = nullptr;
    std::thread m_maker;
};

CDomMemoryScope::CDomMemoryScope(size_t nExpected)
    : m_pImpl(std::make_unique<Impl>())
{
    Q_UNUSED(g_bInstalled);
#ifdef Q_OS_LINUX
    const size_t nCapacity = (std::max<size_t>(nExpected, 1) + kStep - 1) / kStep * kStep;
    void* p = ::mmap(nullptr, nCapacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED)
        return;
    {
        const std::lock_guard lock(g_mutex);
        for (Region& r : g_regions) {
            if (!r.m_pBase) {
                r.m_pBase = static_cast<char*>(p);
                r.m_nCapacity = nCapacity;
                r.m_nHolders = 1;
                r.m_nUsed.store(0, std::memory_order_relaxed);
                m_pImpl->m_pRegion = &r;
                break;
            }
        }
    }
    if (!m_pImpl->m_pRegion) {
        ::munmap(p, nCapacity);
        return;
    }
    Region& r = *m_pImpl->m_pRegion;
    {
        const std::lock_guard lock(r.m_mutex);
        r.m_nMade = 0;
        r.m_bStop = false;
    }
    t_pRegion = &r;
    m_pImpl->m_maker = std::thread([&r] { MakeRegionPages(r); });
#else
    Q_UNUSED(nExpected);
#endif
}

CDomMemoryScope::~CDomMemoryScope()
{
    Region* r = m_pImpl->m_pRegion;
    if (!r)
        return;
    t_pRegion = nullptr;
    {
        const std::lock_guard lock(r->m_mutex);
        r->m_bStop = true;
    }
    r->m_wake.notify_one();
    m_pImpl->m_maker.join();
#ifdef Q_OS_LINUX
    // Pages made beyond what the parse took are given back at once.
    const size_t nUsed = (r->m_nUsed.load(std::memory_order_relaxed) + 4095) & ~size_t(4095);
    if (r->m_nMade > nUsed)
        ::madvise(r->m_pBase + nUsed, r->m_nMade - nUsed, MADV_DONTNEED);
#endif
    const std::lock_guard lock(g_mutex);
    Drop(*r);
}

bool CDomMemoryScope::HasRegion() const
{
    return m_pImpl->m_pRegion != nullptr;
}

int CDomMemoryScope::RegionsInUse()
{
    const std::lock_guard lock(g_mutex);
    return static_cast<int>(std::count_if(std::begin(g_regions), std::end(g_regions),
                                          [](const Region& r) { return r.m_pBase != nullptr; }));
}
