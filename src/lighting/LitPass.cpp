#include "lighting/LitPass.h"

#include "base/StageMarkers.h"
#include "lighting/LightRig.h"
#include "lighting/SceneState.h"
#include "lighting/ShadowMaps.h"
#include "render/Uniforms.h"
#include "scene/RunState.h"

#include <glm/gtc/type_ptr.hpp>
#include <string>

namespace velorun {

namespace {

void uploadLightPositions(GLuint program)
{
    for (int k = 1; k <= pointLightCount; ++k) {
        const std::string name = "lightPositionPoint" + std::to_string(k);
        const glm::vec3 p = pointLightPosition(k);
        setUniform(program, name.c_str(), p);
    }
    const glm::vec3 spot = scene::positionOf(spotLightCube->modelMatrix);
    setUniform(program, "lightPositionSpot", spot);
}

} // namespace

void renderScene(glm::ivec2 size, bool lensFlares)
{
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
    for (const std::unique_ptr<scene::Cube>& cube : run.cubes) {
        setUniform(cubeShader->program, "model", cube->modelMatrix);
        cube->draw();
    }

    const GLuint modelProgram = modelShader->program;
    glUseProgram(modelProgram);
    uploadLightPositions(modelProgram);
    if (!run.gameOver) {
        for (scene::Model* model : {tubeA.get(), tubeB.get(), car.get()}) {
            glUseProgram(modelProgram);
            setUniform(modelProgram, "renderSpot", model == car.get() ? 0 : 1);
            setUniform(modelProgram, "model", model->getModelMatrix());
            // A mesh without a gloss map leaves this sampler where the last
            // glossy mesh put it, on a unit that now holds a shadow cube map.
            setUniform(modelProgram, "material.texture_specular1", 0);
            model->draw(modelShader.get(), shadowMaps.cubeMaps);
        }
    }

    scene::setPosition(spotLightCube->modelMatrix, spotLightPositionFor(scene::positionOf(car->modelMatrix)));

    glUseProgram(lightShader->program);
    for (int k = 1; k <= pointLightCount; ++k) {
        setUniform(lightShader->program, "model", pointLightCube(k)->modelMatrix);
        pointLightCube(k)->draw();
    }

    glUseProgram(spotLightShader->program);
    setUniform(spotLightShader->program, "model", spotLightCube->modelMatrix);
    spotLightCube->draw();

    const glm::mat4 view = camera->viewMatrix();
    if (lensFlares) {
        markStage(FrameStage::Flares, true);
        for (int k = 1; k <= pointLightCount; ++k)
            lensFlare->render(&view, projected.matrix, pointLightPosition(k), size);
        markStage(FrameStage::Flares, false);
    }
}

} // namespace velorun
