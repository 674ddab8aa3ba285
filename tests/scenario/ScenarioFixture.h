#pragma once

#include "ScenarioHarness.h"

#include <gtest/gtest.h>

namespace velorun::scenario {

// A started game per test; each test runs in its own process because the
// engine keeps its state in program-wide variables.
class GameScenario : public ::testing::Test {
protected:
    void SetUp() override { game.start(800, 600); }
    void TearDown() override { game.finish(); }

    ScenarioHarness game;
};

// Binary-exact time steps keep every timer sum exact.
constexpr double tinyStep = 1.0 / 1024.0;
constexpr double frameStep = 1.0 / 32.0;

// Inside the tube (distance 3.2 below the axis, limit 3.5) and more than one
// unit left of every obstacle, which spawn at x in [0, 2]: no hit is possible.
constexpr float safeX = -2.5f;
constexpr float safeY = -2.0f;

} // namespace velorun::scenario
