#include "lighting/SceneState.h"

#include "lighting/ShadowMaps.h"

namespace velorun {

std::unique_ptr<scene::Model> tubeA;
std::unique_ptr<scene::Model> tubeB;
std::unique_ptr<scene::Model> car;
std::unique_ptr<ShaderProgram> modelShader;
std::unique_ptr<ShaderProgram> cubeShader;
std::unique_ptr<ShaderProgram> lightShader;
std::unique_ptr<ShaderProgram> spotLightShader;
std::unique_ptr<Texture2D> rainbowTexture;
std::unique_ptr<scene::Cube> lightCube1;
std::unique_ptr<scene::Cube> lightCube2;
std::unique_ptr<scene::Cube> lightCube3;
std::unique_ptr<scene::Cube> lightCube4;
std::unique_ptr<scene::Cube> lightCube5;
std::unique_ptr<scene::Cube> lightCube6;
std::unique_ptr<scene::Cube> lightCube7;
std::unique_ptr<scene::Cube> lightCube8;
std::unique_ptr<scene::Cube> spotLightCube;
std::unique_ptr<Camera> camera;
std::vector<FlareTexture*> flareTextures;
std::unique_ptr<LensFlare> lensFlare;
std::unique_ptr<ShaderProgram> depthShader;
std::vector<GLuint> shadowFramebuffers;
std::vector<GLuint> depthCubeMaps;
GLuint clearedShadowFace = 0;
GLfloat clearedShadowFaceDepth = 1.0f;
ShadowCache shadowCache;
glm::ivec2 projectedSize{0};
bool lensFlaresEnabled = true;

std::unique_ptr<scene::Cube>& pointLightCube(int k)
{
    static std::unique_ptr<scene::Cube>* const owners[pointLightCount] = {
        &lightCube1, &lightCube2, &lightCube3, &lightCube4,
        &lightCube5, &lightCube6, &lightCube7, &lightCube8};
    return *owners[k - 1];
}

glm::vec3 pointLightPosition(int k) { return scene::positionOf(pointLightCube(k)->modelMatrix); }

bool sceneIsSetUp()
{
    for (int k = 1; k <= pointLightCount; ++k)
        if (!pointLightCube(k))
            return false;
    return tubeA && tubeB && car && camera && spotLightCube && cubeShader && lightShader && spotLightShader &&
           modelShader;
}

void releaseSceneState()
{
    auto release = [](auto& owner) {
        auto doomed = std::move(owner); // the slot is emptied before the object goes
        doomed.reset();
    };
    release(cubeShader);
    release(lightShader);
    release(camera);
    for (int k = 1; k <= pointLightCount; ++k)
        release(pointLightCube(k));
    release(car);
    release(rainbowTexture);
    release(tubeA);
    release(spotLightCube);
    release(spotLightShader);
    release(modelShader);
    releaseShadowMaps();
    release(tubeB);
    release(lensFlare);
    for (FlareTexture* flare : flareTextures)
        delete flare;
    flareTextures.clear();
    projectedSize = glm::ivec2(0);
    lensFlaresEnabled = true;
}

} // namespace velorun
