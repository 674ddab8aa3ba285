// The spot light scene set-up gives the lit programs, and how the lit pass draws the car.
#include "SceneFixture.h"

#include "input/PressQueue.h"
#include "lighting/LitPass.h"
#include "lighting/SceneSetup.h"
#include "lighting/SceneState.h"

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

// Nothing else shows the spot light's 17-degree cone, so its cosine is read
// back from both programs that light with it.
TEST_F(SceneSetupTest, SpotConeReachesBothLitProgramsAndTheCarItRidesOnIsNotLitByIt)
{
    setupScene(window, input::keyCallback);
    for (const GLuint program : {modelShader->program, cubeShader->program})
        EXPECT_NEAR(floatUniform(program, "cutOff"), std::cos(glm::radians(17.0f)), 1e-6f);
    // The car is the last model the lit pass draws, so what "renderSpot"
    // holds afterwards is what the car was drawn with.
    renderScene(glm::ivec2(windowWidth(), windowHeight()), true);
    EXPECT_EQ(intUniform(modelShader->program, "renderSpot"), 0);
}

} // namespace
} // namespace velorun::test
