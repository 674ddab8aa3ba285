#pragma once

// Fixture for tests that work on the engine's program-wide scene state
// (lighting/SceneState.h). The game's own releaseResources puts it all back
// while the GL context is still current.

#include "GlFixture.h"

namespace velorun::test {

class SceneGlTest : public GlTest {
protected:
    int windowWidth() const override { return 160; }
    int windowHeight() const override { return 120; }
    void SetUp() override;
    void TearDown() override;
};

} // namespace velorun::test
