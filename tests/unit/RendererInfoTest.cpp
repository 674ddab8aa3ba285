#include "render/RendererInfo.h"

#include <gtest/gtest.h>

namespace velorun {
namespace {

TEST(RendererInfo, OnlyCpuRasterisersCountAsSoftware)
{
    EXPECT_TRUE(isSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(isSoftwareRenderer("softpipe"));
    // GPU drivers may name LLVM too.
    EXPECT_FALSE(isSoftwareRenderer("AMD Radeon RX 6800 (navi21, LLVM 15.0.6, DRM 3.49, 6.1.0-18-amd64)"));
    EXPECT_FALSE(isSoftwareRenderer("NVIDIA H100 80GB HBM3/PCIe/SSE2"));
    EXPECT_FALSE(isSoftwareRenderer(""));
    EXPECT_FALSE(isSoftwareRenderer(nullptr));
}

} // namespace
} // namespace velorun
