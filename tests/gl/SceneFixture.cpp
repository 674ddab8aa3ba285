#include "SceneFixture.h"

#include "lighting/SceneState.h"
#include "lighting/ShadowMaps.h"

namespace velorun::test {

void resetSceneGlobals()
{
    cubes.clear();
    releaseShadowMaps();
    lensFlare.reset();
    for (FlareTexture* element : flareTextures)
        delete element;
    flareTextures.clear();
    camera.reset();
    spotLightCube.reset();
    for (int k = 1; k <= pointLightCount; ++k)
        pointLightCube(k).reset();
    rainbowTexture.reset();
    spotLightShader.reset();
    lightShader.reset();
    cubeShader.reset();
    modelShader.reset();
    car.reset();
    tubeB.reset();
    tubeA.reset();
    gameOver = false;
    lensFlaresEnabled = true;
}

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
        resetSceneGlobals();
    GlTest::TearDown();
}

} // namespace velorun::test
