// The firework particle system's CPU side: buffer roles, random texels and
// the state before the fireworks start.
#include "particles/ParticleSystem.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <string>

namespace velorun {
namespace {

TEST(ParticleRoles, BuffersAlternateFrameByFrame)
{
    ParticleBufferRoles roles;
    EXPECT_EQ(roles.currVB, 0u);
    EXPECT_EQ(roles.currTFB, 1u);
    roles.swap();
    EXPECT_EQ(roles.currVB, 1u);
    EXPECT_EQ(roles.currTFB, 0u);
    roles.swap();
    EXPECT_EQ(roles.currVB, 0u);
    EXPECT_EQ(roles.currTFB, 1u);
}

TEST(ParticleRoles, ReadAndWrittenBuffersNeverCoincide)
{
    ParticleBufferRoles roles;
    for (int frame = 0; frame < 11; ++frame) {
        const unsigned written = roles.currTFB;
        roles.swap();
        ASSERT_NE(roles.currVB, roles.currTFB) << "after frame " << frame;
        ASSERT_EQ(roles.currVB, written) << "the next update reads what was just written";
        ASSERT_LE(roles.currTFB, 1u);
    }
}

TEST(ParticleRoles, SystemStartsIdleAndSwapsLikeTheRoles)
{
    ::testing::internal::CaptureStdout();
    {
        ParticleSystem system;
        EXPECT_EQ(system.updateProgram, nullptr);
        EXPECT_EQ(system.billboardProgram, nullptr);
        EXPECT_TRUE(system.isFirst);
        EXPECT_EQ(system.currVB, 0u);
        EXPECT_EQ(system.currTFB, 1u);
        EXPECT_EQ(system.particleBuffers[0], 0u);
        EXPECT_EQ(system.particleBuffers[1], 0u);
        EXPECT_EQ(system.transformFeedbacks[0], 0u);
        EXPECT_EQ(system.transformFeedbacks[1], 0u);
        EXPECT_EQ(system.randomTexture.textureObj, 0u);
        EXPECT_FALSE(system.fireworksTexture);
        EXPECT_EQ(system.time, 0);
        EXPECT_EQ(system.vao, 0u);

        system.swapBuffers();
        EXPECT_EQ(system.currVB, 1u);
        EXPECT_EQ(system.currTFB, 0u);
        system.swapBuffers();
        EXPECT_EQ(system.currVB, 0u);
        EXPECT_EQ(system.currTFB, 1u);
    }
    ::testing::internal::GetCapturedStdout();
}

TEST(ParticleRoles, FarewellIsPrintedEvenWhenTheFireworksNeverStarted)
{
    ::testing::internal::CaptureStdout();
    {
        ParticleSystem unused;
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "particle destructor\n");
}

TEST(ParticleRoles, ThousandRandomTexelsHold3000ValuesInZeroToOne)
{
    GameRandom random;
    const std::vector<float> texels = randomTexels(1000, random);
    ASSERT_EQ(texels.size(), 3000u);
    for (float v : texels) {
        ASSERT_GE(v, 0.0f);
        ASSERT_LE(v, 1.0f);
    }
}

TEST(ParticleRoles, RandomTexelsTakeTheNextDrawsInRedGreenBlueOrder)
{
    // Two generators in the same state: one drawn by hand, one by the texture.
    GameRandom byHand;
    std::vector<float> expected;
    for (int i = 0; i < 3000; ++i)
        expected.push_back(static_cast<float>(byHand.draw()) / 32767.0f);
    GameRandom random;
    const std::vector<float> texels = randomTexels(1000, random);
    ASSERT_EQ(texels.size(), expected.size());
    for (std::size_t i = 0; i < texels.size(); ++i)
        ASSERT_EQ(texels[i], expected[i]) << "texel " << i / 3 << " component " << i % 3;
}

TEST(ParticleRoles, RandomTexelsContinueTheSequence)
{
    GameRandom random;
    const std::vector<float> first = randomTexels(2, random);
    const std::vector<float> second = randomTexels(2, random);
    GameRandom again;
    const std::vector<float> both = randomTexels(4, again);
    ASSERT_EQ(both.size(), 12u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(both[i], first[i]);
        EXPECT_EQ(both[i + 6], second[i]);
    }
}

TEST(ParticleRoles, ZeroTexelsDrawNothing)
{
    GameRandom random;
    EXPECT_TRUE(randomTexels(0, random).empty());
    EXPECT_EQ(random.draw(), GameRandom{}.draw());
}

} // namespace
} // namespace velorun
