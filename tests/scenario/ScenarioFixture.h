#pragma once

#include "ScenarioHarness.h"

#include <gtest/gtest.h>

namespace velorun::scenario {

// A started game per test, from the game's own start-up to its shutdown.
class GameScenario : public ::testing::Test {
protected:
    void SetUp() override { game.start(smallWidth, smallHeight); }
    void TearDown() override { game.finish(); }

    ScenarioHarness game;
};

// A started game whose pictures are looked at, in the 800 x 600 window the
// expected pixel places are worked out for.
class PictureScenario : public GameScenario {
protected:
    void SetUp() override { game.start(800, 600); }
};

// Binary-exact time steps keep every timer sum exact.
constexpr double tinyStep = 1.0 / 1024.0;
constexpr double frameStep = 1.0 / 32.0;

// Inside the tube (distance 3.2 below the axis, limit 3.5) and more than one
// unit left of every obstacle, which spawn at x in [0, 2]: no hit is possible.
constexpr float safeX = -2.5f;
constexpr float safeY = -2.0f;

} // namespace velorun::scenario
