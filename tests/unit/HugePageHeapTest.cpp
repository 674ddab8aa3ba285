// Start-up's huge-page heap: which renderers get it, where large blocks land
// while it is alive, and that prefaulting leaves their contents alone.
#include "render/HugePageHeap.h"

#include <gtest/gtest.h>

#if defined(__linux__) && defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#include <malloc.h>
#define VELORUN_GLIBC_HEAP 1
#endif

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace velorun {
namespace {

TEST(HugePageHeap, OnlyCpuRenderersCountAsSoftware)
{
    EXPECT_TRUE(isSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(isSoftwareRenderer("softpipe"));
    // GPU drivers may name LLVM too; they keep textures in video memory.
    EXPECT_FALSE(isSoftwareRenderer("AMD Radeon RX 6800 (navi21, LLVM 15.0.6, DRM 3.49, 6.1.0-18-amd64)"));
    EXPECT_FALSE(isSoftwareRenderer("NVIDIA H100 80GB HBM3/PCIe/SSE2"));
    EXPECT_FALSE(isSoftwareRenderer(""));
    EXPECT_FALSE(isSoftwareRenderer(nullptr));
}

TEST(HugePageHeap, NothingIsReservedForEmptyOrAbsurdSizes)
{
    {
        HugePageHeap none(0);
        EXPECT_EQ(none.begin, nullptr);
        EXPECT_EQ(none.length, 0u);
    }
    // Larger than the allocator's pad can express: refused, not truncated.
    HugePageHeap huge(std::size_t{3} << 30);
    EXPECT_EQ(huge.begin, nullptr);
    EXPECT_EQ(huge.length, 0u);
}

TEST(HugePageHeap, DriverSizedBlocksComeFromTheStretchAndKeepTheirContents)
{
    constexpr std::size_t block = std::size_t{6} * 1024 * 1024 * 4 + 4096; // one depth cube map
    constexpr int blockCount = 3;
    std::vector<unsigned char*> blocks;
    {
        HugePageHeap heap(blockCount * block + (std::size_t{1} << 20));
#ifdef VELORUN_GLIBC_HEAP
        ASSERT_GT(heap.length, 0u) << "glibc's heap should have taken the stretch";
#else
        if (heap.length == 0)
            GTEST_SKIP() << "another allocator or C library: the heap is left alone";
#endif
        const auto first = reinterpret_cast<std::uintptr_t>(heap.begin);
        const std::uintptr_t last = first + heap.length;
        for (int i = 0; i < blockCount; ++i) {
            void* p = nullptr;
            ASSERT_EQ(posix_memalign(&p, 64, block), 0);
            auto* bytes = static_cast<unsigned char*>(p);
            blocks.push_back(bytes);
            // The stretch is huge-page aligned inward, so a block may start
            // just below it; its body must lie inside.
            const auto at = reinterpret_cast<std::uintptr_t>(bytes);
            EXPECT_GE(at + block, first + (std::size_t{2} << 20)) << "block " << i;
            EXPECT_LE(at + block, last) << "block " << i;
            // Written while the helper thread may still be populating.
            for (std::size_t k = 0; k < block; k += 4096)
                bytes[k] = static_cast<unsigned char>(i * 31 + k / 4096);
        }
    } // joins the helper thread

    for (int i = 0; i < static_cast<int>(blocks.size()); ++i) {
        int wrong = 0;
        for (std::size_t k = 0; k < block; k += 4096)
            wrong += blocks[i][k] != static_cast<unsigned char>(i * 31 + k / 4096);
        EXPECT_EQ(wrong, 0) << "block " << i;
        std::free(blocks[i]);
    }
}

#ifdef VELORUN_GLIBC_HEAP
// The heap is grown by asking for a little more than the free space at its
// top. Where that request is above malloc's mmap threshold (128 KiB by
// default, and earlier work can leave more than that free at the top), it
// must still grow the heap rather than get a mapping of its own.
TEST(HugePageHeap, StretchIsTakenWhateverTheMmapThreshold)
{
    mallopt(M_MMAP_THRESHOLD, 0); // every request the top cannot serve is mapped

    HugePageHeap heap(std::size_t{8} << 20);
    EXPECT_GT(heap.length, std::size_t{8} << 20);
}
#endif

} // namespace
} // namespace velorun
