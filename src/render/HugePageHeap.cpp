#include "render/HugePageHeap.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#define VELORUN_HUGE_PAGE_HEAP 1
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14; older kernels refuse it harmlessly
#endif
#endif

namespace velorun {

namespace {

#ifdef VELORUN_HUGE_PAGE_HEAP
constexpr std::size_t hugePage = std::size_t{2} << 20;
// Room for what else set-up allocates meanwhile (decoded images, the
// driver's shader compiler), so the large blocks still land in the stretch.
constexpr std::size_t slack = std::size_t{16} << 20;
// Changing the pad switches glibc's adaptive thresholds off for good, so
// afterwards they are left where that adaptation settles once large blocks
// have come and gone: blocks below 32 MiB (glibc's ceiling) reused from the
// heap, which is trimmed only past twice that. The static defaults (128 KiB)
// would have every frame map and unmap the driver's larger buffers.
constexpr int settledMmapThreshold = 32 << 20;
constexpr int settledTrimThreshold = 2 * settledMmapThreshold;
constexpr int defaultTopPad = 128 * 1024;
constexpr int defaultMmapMax = 65536;
#endif

} // namespace

bool isSoftwareRenderer(const char* rendererName)
{
    if (!rendererName)
        return false;
    for (const char* name : {"llvmpipe", "softpipe", "swrast"})
        if (std::strstr(rendererName, name))
            return true;
    return false;
}

HugePageHeap::HugePageHeap(std::size_t bytes)
{
#ifdef VELORUN_HUGE_PAGE_HEAP
    if (bytes == 0 || bytes > (std::size_t{1} << 30))
        return;
    // malloc carves even large blocks from the heap's top chunk whenever it is
    // big enough, so growing the top by the whole stretch at once (and keeping
    // it grown) is what keeps the blocks out of fresh mappings.
    const std::size_t pad = bytes + slack;
    if (mallopt(M_TOP_PAD, static_cast<int>(pad)) != 1)
        return;
    tunedMalloc = true;

    // A request above all the free memory malloc holds (mallinfo2's fordblks)
    // fits no free chunk and not the top, so glibc extends the heap by it plus
    // the pad; with mmap off for the moment, however large the request.
    const std::size_t request = mallinfo2().fordblks + 64;
    mallopt(M_MMAP_MAX, 0);
    void* probe = std::malloc(request);
    mallopt(M_MMAP_MAX, defaultMmapMax);
    if (!probe)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(probe);
    std::free(probe); // back into the top chunk, which now spans the stretch

    // Only glibc's own brk heap lies directly below the break; anything else
    // (a sanitizer's allocator, a failed brk) is left be.
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    if (end <= start || end - start < pad || end - start > pad + request + slack)
        return;
    // Blocks are carved from the bottom of the top chunk: that is the stretch.
    const std::uintptr_t first = (start + hugePage - 1) & ~(hugePage - 1);
    const std::uintptr_t last = (start + pad) & ~(hugePage - 1);
    if (last <= first)
        return;
    begin = reinterpret_cast<char*>(first);
    length = last - first;
    // Without THP in the kernel this fails, and prefaulting alone still helps.
    madvise(begin, length, MADV_HUGEPAGE);

    // Populating writes nothing, so it may run while the stretch is in use. It
    // goes one huge page at a time, since the kernel holds the address-space
    // lock meanwhile and the main thread needs it for its own mappings, and
    // from the top down: the main thread fills the stretch from the bottom.
    prefault = std::thread([first, last] {
        for (std::uintptr_t at = last; at > first; at -= hugePage)
            if (madvise(reinterpret_cast<void*>(at - hugePage), hugePage, MADV_POPULATE_WRITE) != 0)
                break;
    });
#else
    (void)bytes;
#endif
}

HugePageHeap::~HugePageHeap()
{
    if (prefault.joinable())
        prefault.join();
#ifdef VELORUN_HUGE_PAGE_HEAP
    if (!tunedMalloc)
        return;
    mallopt(M_TOP_PAD, defaultTopPad);
    mallopt(M_MMAP_THRESHOLD, settledMmapThreshold);
    mallopt(M_TRIM_THRESHOLD, settledTrimThreshold);
#endif
}

} // namespace velorun
