#include "lighting/LitPass.h"

#include "lighting/LightRig.h"
#include "lighting/SceneState.h"
#include "render/StageMarkers.h"
#include "render/WindowSize.h"

#include <GLFW/glfw3.h>
#include <glm/gtc/type_ptr.hpp>
#include <string>

namespace velorun {

namespace {

void uploadLightPositions(GLuint program)
{
    for (int k = 1; k <= pointLightCount; ++k) {
        const std::string name = "lightPositionPoint" + std::to_string(k);
        const glm::vec3 p = pointLightPosition(k);
        glUniform3f(glGetUniformLocation(program, name.c_str()), p.x, p.y, p.z);
    }
    const glm::vec3 spot = scene::positionOf(spotLightCube->modelMatrix);
    glUniform3f(glGetUniformLocation(program, "lightPositionSpot"), spot.x, spot.y, spot.z);
}

void setModel(GLuint program, const glm::mat4& m)
{
    glUniformMatrix4fv(glGetUniformLocation(program, "model"), 1, GL_FALSE, glm::value_ptr(m));
}

} // namespace

void renderScene(GLFWwindow* window)
{
    const glm::ivec2 size = windowSize(window);
    glViewport(0, 0, size.x, size.y);

    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);

    glUseProgram(cubeShader->program);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, rainbowTexture->id);
    uploadLightPositions(cubeShader->program);
    for (const std::unique_ptr<scene::Cube>& cube : cubes) {
        setModel(cubeShader->program, cube->modelMatrix);
        cube->draw();
    }

    const GLuint modelProgram = modelShader->program;
    glUseProgram(modelProgram);
    uploadLightPositions(modelProgram);
    if (!gameOver) {
        for (scene::Model* model : {tubeA.get(), tubeB.get(), car.get()}) {
            glUseProgram(modelProgram);
            glUniform1i(glGetUniformLocation(modelProgram, "renderSpot"), model == car.get() ? 0 : 1);
            setModel(modelProgram, model->getModelMatrix());
            // A mesh without a gloss map leaves this sampler where the last
            // glossy mesh put it, on a unit that now holds a shadow cube map.
            glUniform1i(glGetUniformLocation(modelProgram, "material.texture_specular1"), 0);
            model->draw(modelShader.get(), depthCubeMaps);
        }
    }

    scene::setPosition(spotLightCube->modelMatrix, spotLightPositionFor(scene::positionOf(car->modelMatrix)));

    glUseProgram(lightShader->program);
    const GLint markerModel = glGetUniformLocation(lightShader->program, "model");
    for (int k = 1; k <= pointLightCount; ++k) {
        glUniformMatrix4fv(markerModel, 1, GL_FALSE, glm::value_ptr(pointLightCube(k)->modelMatrix));
        pointLightCube(k)->draw();
    }

    glUseProgram(spotLightShader->program);
    setModel(spotLightShader->program, spotLightCube->modelMatrix);
    spotLightCube->draw();

    const glm::mat4 view = camera->viewMatrix();
    if (lensFlaresEnabled) {
        markStage(FrameStage::Flares, true);
        for (int k = 1; k <= pointLightCount; ++k)
            lensFlare->render(&view, pointLightPosition(k), window);
        markStage(FrameStage::Flares, false);
    }
}

} // namespace velorun
