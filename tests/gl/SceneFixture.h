#pragma once

// Fixture for tests that work on the engine's program-wide scene state
// (lighting/SceneState.h). Every global is released again while the GL
// context is still current, so nothing is deleted after the window is gone.

#include "GlFixture.h"

namespace velorun::test {

// Empties every scene global (objects destroyed, GL names deleted).
void resetSceneGlobals();

class SceneGlTest : public GlTest {
protected:
    int windowWidth() const override { return 160; }
    int windowHeight() const override { return 120; }
    void SetUp() override;
    void TearDown() override;
};

} // namespace velorun::test
