#pragma once

#include <cstddef>
#include <thread>

namespace velorun {

// Start-up allocates a few large blocks and zero-fills them at once: the
// model importer's line buffer and, on a software rasteriser such as Mesa's
// llvmpipe, which keeps textures in this process's heap, the eight 1024²
// depth cube maps (192 MB). In 4 KiB pages that is ~55 000 page faults, half
// a second on a virtual machine. While a HugePageHeap is alive, blocks
// allocated on this thread, up to `bytes` in all, come from one stretch at
// the top of the C heap that the kernel backs with 2 MiB
// transparent huge pages (where THP is enabled at all).
//
// A helper thread also has the kernel map the stretch in advance, so the
// faults (slow on a virtual machine whose host hands out memory lazily)
// overlap with the rest of set-up instead of stalling the zero-fill.
//
// It only steers where glibc's malloc places blocks and which pages the
// kernel hands out; what is stored is unchanged. Elsewhere (another C
// library, a sanitizer's allocator, an older kernel) it does nothing.
class HugePageHeap {
public:
    explicit HugePageHeap(std::size_t bytes);
    ~HugePageHeap();
    HugePageHeap(const HugePageHeap&) = delete;
    HugePageHeap& operator=(const HugePageHeap&) = delete;

    // The reserved and advised stretch; empty where nothing was done.
    char* begin = nullptr;
    std::size_t length = 0;
    bool tunedMalloc = false; // malloc's settings were changed and get settled
    std::thread prefault;
};

// True for renderers that draw on the CPU and so keep textures in our memory.
bool isSoftwareRenderer(const char* rendererName);

} // namespace velorun
