// The keys a frame reads presses of, the toggles among them that need no GL
// context (F2, F4, F5 and F6) and the mip-mapping mode cycle with its console
// messages.
#include "game/StartUp.h"
#include "game/Toggles.h"
#include "input/PressQueue.h"
#include "lighting/SceneState.h"
#include "replay/ReplayFile.h"
#include "rules/RunCommands.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace velorun {
namespace {

// Every key whose presses a frame reads is named once, in input::pressKeys,
// with what it asks; the order of that list and of input::heldKeys is what a
// recording stores, and every command has one handler: the run's commands or
// a toggle.
TEST(PressKeys, TheListTheHandlersAndTheRecordingFormatAgree)
{
    // The held keys' bits in the recordings of formats 3 and 4.
    const int held[] = {GLFW_KEY_RIGHT, GLFW_KEY_LEFT, GLFW_KEY_UP, GLFW_KEY_DOWN, GLFW_KEY_ESCAPE};
    for (std::size_t bit = 0; bit < std::size(held); ++bit) {
        std::string bytes;
        RecordedSize size;
        writeReplayFrame(bytes, ReplayFrame{input::FrameInput{0.5, input::keyBit(held[bit]), 0, {}}, {}},
                         size);
        EXPECT_EQ(static_cast<unsigned char>(bytes.at(1)), 1u << bit) << "held key " << held[bit];
    }
    EXPECT_EQ(input::keyBit(input::startButtonKey), 1u << 5) << "the gamepad's Start";
    // The order recordings of formats 3 and 4 were written in: another would
    // replay them with other keys.
    const int recorded[] = {
        GLFW_KEY_R,  GLFW_KEY_ENTER, GLFW_KEY_KP_ENTER, GLFW_KEY_P,         input::startButtonKey,
        GLFW_KEY_F2, GLFW_KEY_F3,    GLFW_KEY_F4,       GLFW_KEY_F5,        GLFW_KEY_F6,
        GLFW_KEY_F9, GLFW_KEY_M,     GLFW_KEY_F11,      input::focusLostKey};
    ASSERT_EQ(std::size(recorded), input::pressKeys.size());
    for (std::size_t code = 0; code < input::pressKeys.size(); ++code) {
        const int key = input::pressKeys[code].key;
        EXPECT_EQ(key, recorded[code]) << "place " << code;
        std::string bytes;
        RecordedSize size;
        writeReplayFrame(bytes, ReplayFrame{input::FrameInput{0.5, 0, 0, {key}}, std::nullopt}, size);
        EXPECT_EQ(static_cast<unsigned char>(bytes.back()), code) << "key " << key << " is stored elsewhere";
    }
    for (int c = 0; c < input::commandCount; ++c) {
        const auto command = static_cast<input::Command>(c);
        const auto toggled = std::count_if(toggles.begin(), toggles.end(), [command](const Toggle& toggle) {
            return toggle.command == command;
        });
        EXPECT_EQ(toggled + (isRunCommand(command) ? 1 : 0), 1)
            << "command " << c << " has no handler, or two";
        EXPECT_TRUE(std::any_of(input::pressKeys.begin(), input::pressKeys.end(),
                                [command](const input::PressKey& key) { return key.command == command; }))
            << "no key asks for command " << c;
    }
}

TEST(KeyToggles, MipmapModeCycles0To1To2To0)
{
    EXPECT_EQ(nextMipmapMode(0), 1);
    EXPECT_EQ(nextMipmapMode(1), 2);
    EXPECT_EQ(nextMipmapMode(2), 0);
}

TEST(KeyToggles, MipmapModeOutsideTheCycleStays)
{
    for (int mode : {3, 7, -1})
        EXPECT_EQ(nextMipmapMode(mode), mode);
}

TEST(KeyToggles, MipmapModeMessages)
{
    EXPECT_STREQ(mipmapModeMessage(1), "mip mapping nearest neighbor");
    EXPECT_STREQ(mipmapModeMessage(2), "mip mapping bilinear");
    EXPECT_STREQ(mipmapModeMessage(0), "mip mapping off");
}

TEST(KeyToggles, NoMessageForAModeOutsideTheCycle)
{
    EXPECT_EQ(mipmapModeMessage(3), nullptr);
    EXPECT_EQ(mipmapModeMessage(-1), nullptr);
}

// Every test starts and ends with the game's start values.
class KeyCallbackTest : public ::testing::Test {
protected:
    void SetUp() override { releaseResources(); }
    void TearDown() override { releaseResources(); }

    static void press(int key) { applyToggle(nullptr, key); }
};

TEST_F(KeyCallbackTest, F2TogglesTheFrameTimeLine)
{
    press(GLFW_KEY_F2);
    EXPECT_TRUE(settings.showFrameTime);
    press(GLFW_KEY_F2);
    EXPECT_FALSE(settings.showFrameTime);
}

// The handler only keeps presses for the frame: repeats, releases and keys
// no frame reads are dropped, and nothing acts before the frame does.
TEST_F(KeyCallbackTest, KeepsOnlyPressesOfTheKeysAFrameReads)
{
    input::keyCallback(nullptr, GLFW_KEY_F2, 0, GLFW_REPEAT, 0);
    input::keyCallback(nullptr, GLFW_KEY_F4, 0, GLFW_RELEASE, 0);
    input::keyCallback(nullptr, GLFW_KEY_LEFT, 0, GLFW_PRESS, 0);
    input::keyCallback(nullptr, GLFW_KEY_F6, 0, GLFW_PRESS, 0);
    input::attentionLost(); // and back before the frame: nothing to pause for
    input::keyCallback(nullptr, GLFW_KEY_R, 0, GLFW_PRESS, 0);
    input::FrameInput kept;
    input::takePendingPresses(kept, false);
    EXPECT_EQ(kept.presses, (std::vector<int>{GLFW_KEY_F6, GLFW_KEY_R}));
    EXPECT_TRUE(settings.lensFlaresEnabled);
    input::attentionLost(); // still away when the frame reads
    input::takePendingPresses(kept, true);
    EXPECT_EQ(kept.presses.back(), input::focusLostKey);
}

TEST_F(KeyCallbackTest, F4ThreeTimesReturnsToModeZeroWithThreeMessages)
{
    ::testing::internal::CaptureStdout();
    press(GLFW_KEY_F4);
    EXPECT_EQ(settings.mipmapModeSetting, 1);
    press(GLFW_KEY_F4);
    EXPECT_EQ(settings.mipmapModeSetting, 2);
    press(GLFW_KEY_F4);
    EXPECT_EQ(settings.mipmapModeSetting, 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "mip mapping nearest neighbor\nmip mapping bilinear\nmip mapping off\n");
}

TEST_F(KeyCallbackTest, F4WithAModeOutsideTheCycleDoesNothing)
{
    settings.mipmapModeSetting = 5;
    ::testing::internal::CaptureStdout();
    press(GLFW_KEY_F4);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(settings.mipmapModeSetting, 5);
}

TEST_F(KeyCallbackTest, F4AndF5EachCopyOnlyTheirOwnSettingIntoTheCar)
{
    car = std::make_unique<scene::Model>();
    // Owner values that differ from both settings show which field a key writes.
    car->mipmapMode = 2;
    car->nearestFilter = true;

    ::testing::internal::CaptureStdout();
    press(GLFW_KEY_F4);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(car->mipmapMode, 1);
    EXPECT_TRUE(car->nearestFilter) << "F4 wrote the nearest-filter setting too";

    car->mipmapMode = 2;
    press(GLFW_KEY_F5);
    EXPECT_TRUE(settings.nearestFilterSetting);
    EXPECT_TRUE(car->nearestFilter);
    EXPECT_EQ(car->mipmapMode, 2) << "F5 wrote the mip-mapping setting too";

    press(GLFW_KEY_F5);
    EXPECT_FALSE(car->nearestFilter);
    car.reset();
}

TEST_F(KeyCallbackTest, F5PrintsNothing)
{
    ::testing::internal::CaptureStdout();
    press(GLFW_KEY_F5);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(settings.nearestFilterSetting);
}

TEST_F(KeyCallbackTest, OtherKeysAreIgnored)
{
    ::testing::internal::CaptureStdout();
    for (int key :
         {GLFW_KEY_F1, GLFW_KEY_F7, GLFW_KEY_F8, GLFW_KEY_F10, GLFW_KEY_A, GLFW_KEY_RIGHT, GLFW_KEY_ESCAPE})
        press(key);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(settings.showFrameTime);
    EXPECT_TRUE(settings.lensFlaresEnabled);
    EXPECT_FALSE(settings.nearestFilterSetting);
    EXPECT_EQ(settings.mipmapModeSetting, 0);
    EXPECT_FALSE(settings.wireframe);
    EXPECT_FALSE(settings.blending);
}

} // namespace
} // namespace velorun
