#include "lighting/SceneState.h"

#include "scene/RunState.h"

namespace velorun {

std::unique_ptr<scene::Model> tubeA;
std::unique_ptr<scene::Model> tubeB;
std::unique_ptr<scene::Model> car;
std::unique_ptr<ShaderProgram> modelShader;
std::unique_ptr<ShaderProgram> cubeShader;
std::unique_ptr<ShaderProgram> lightShader;
std::unique_ptr<ShaderProgram> spotLightShader;
std::unique_ptr<Texture2D> rainbowTexture;
std::array<std::unique_ptr<scene::Cube>, pointLightCount> lightCubes;
std::unique_ptr<scene::Cube> spotLightCube;
std::unique_ptr<Camera> camera;
std::vector<FlareTexture*> flareTextures;
std::unique_ptr<LensFlare> lensFlare;
SceneProjection projected;

std::unique_ptr<scene::Cube>& pointLightCube(int k) { return lightCubes[static_cast<size_t>(k - 1)]; }

glm::vec3 pointLightPosition(int k) { return scene::positionOf(pointLightCube(k)->modelMatrix); }

std::vector<glm::vec3> pointLightPositions()
{
    std::vector<glm::vec3> lights;
    for (int k = 1; k <= pointLightCount; ++k)
        lights.push_back(pointLightPosition(k));
    return lights;
}

std::vector<ShadowCaster> shadowCasters()
{
    std::vector<ShadowCaster> casters;
    casters.reserve(run.cubes.size() + 3);
    for (const std::unique_ptr<scene::Cube>& cube : run.cubes)
        casters.push_back({cube.get(), nullptr});
    for (scene::Model* model : {tubeA.get(), tubeB.get(), car.get()})
        casters.push_back({nullptr, model});
    return casters;
}

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
    release(tubeB);
    release(lensFlare);
    for (FlareTexture* flare : flareTextures)
        delete flare;
    flareTextures.clear();
    projected = SceneProjection{};
}

} // namespace velorun
