// What scene set-up leaves in the programs, and how the lit pass draws the car.
#include "SceneFixture.h"

#include "app/KeyCallback.h"
#include "lighting/LightRig.h"
#include "lighting/LitPass.h"
#include "lighting/SceneSetup.h"
#include "lighting/SceneState.h"
#include "lighting/ShadowMaps.h"
#include "render/Projections.h"

#include <cmath>
#include <glm/glm.hpp>

namespace velorun::test {
namespace {

using SceneSetupTest = SceneGlTest;

float floatUniform(GLuint program, const char* name)
{
    float value = -1.0f;
    glGetUniformfv(program, glGetUniformLocation(program, name), &value);
    return value;
}

int intUniform(GLuint program, const char* name)
{
    int value = -1;
    glGetUniformiv(program, glGetUniformLocation(program, name), &value);
    return value;
}

glm::vec3 vec3Uniform(GLuint program, const char* name)
{
    glm::vec3 value(-1.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), &value.x);
    return value;
}

TEST_F(SceneSetupTest, UploadsTheFixedValuesEachProgramNeeds)
{
    setupScene(window, keyCallback);
    const float cutOff = std::cos(glm::radians(17.0f));
    const GLuint model = modelShader->program;
    EXPECT_NEAR(floatUniform(model, "cutOff"), cutOff, 1e-6f);
    EXPECT_EQ(intUniform(model, "renderSpot"), 1);
    // The lit pass rebuilds shadow distances with the shadow projection's planes.
    EXPECT_FLOAT_EQ(floatUniform(model, "near_plane"), shadowNear);
    EXPECT_FLOAT_EQ(floatUniform(model, "far_plane"), shadowFarPlane);
    EXPECT_EQ(intUniform(model, "texture_diffuse1"), 0);
    EXPECT_EQ(vec3Uniform(model, "objectColor"), glm::vec3(1.0f));
    EXPECT_EQ(vec3Uniform(model, "lightColor"), glm::vec3(1.0f));

    const GLuint cube = cubeShader->program;
    EXPECT_NEAR(floatUniform(cube, "cutOff"), cutOff, 1e-6f);
    EXPECT_EQ(intUniform(cube, "colorTexture"), 0);
    EXPECT_EQ(vec3Uniform(cube, "objectColor"), glm::vec3(1.0f));
    EXPECT_EQ(vec3Uniform(cube, "lightColor"), glm::vec3(1.0f));
}

TEST_F(SceneSetupTest, TheCarIsNotLitByTheSpotLightItCarries)
{
    setupScene(window, keyCallback);
    // The car is the last model the lit pass draws, so what "renderSpot"
    // holds afterwards is what the car was drawn with.
    renderScene(window);
    EXPECT_EQ(intUniform(modelShader->program, "renderSpot"), 0);
}

} // namespace
} // namespace velorun::test
