#include "SceneFixture.h"

#include "game/StartUp.h"

namespace velorun::test {

void SceneGlTest::SetUp()
{
    GlTest::SetUp();
    if (HasFatalFailure())
        return;
    // The game turns blending on before the scene is set up.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void SceneGlTest::TearDown()
{
    if (window)
        releaseResources();
    GlTest::TearDown();
}

} // namespace velorun::test
