#pragma once

#include "lighting/LensFlare.h"
#include "lighting/LightRig.h"
#include "lighting/ShadowMaps.h"
#include "render/Camera.h"
#include "render/ShaderProgram.h"
#include "render/Texture2D.h"
#include "scene/Cube.h"
#include "scene/Model.h"

#include <GL/glew.h>
#include <array>
#include <memory>
#include <vector>

// The scene's program-wide objects. Each variable is the single owner of its
// object; scene set-up fills them, the game rules and the passes work on them.
namespace velorun {

// Filled by setupScene.
extern std::unique_ptr<scene::Model> tubeA;
extern std::unique_ptr<scene::Model> tubeB;
extern std::unique_ptr<scene::Model> car;
extern std::unique_ptr<ShaderProgram> modelShader;
extern std::unique_ptr<ShaderProgram> cubeShader;
extern std::unique_ptr<ShaderProgram> lightShader;
extern std::unique_ptr<ShaderProgram> spotLightShader;
extern std::unique_ptr<Texture2D> rainbowTexture;
// The point lights' markers, light k at element k - 1 (pointLightCube).
extern std::array<std::unique_ptr<scene::Cube>, pointLightCount> lightCubes;
extern std::unique_ptr<scene::Cube> spotLightCube;
extern std::unique_ptr<Camera> camera;
extern std::vector<FlareTexture*> flareTextures;
extern std::unique_ptr<LensFlare> lensFlare;

// The projection the scene's programs hold (uploadSceneProjection) and the
// framebuffer size, in pixels, it was made for; the passes draw at that size
// and the flares project with the same matrix.
struct SceneProjection {
    glm::ivec2 size{0};
    glm::mat4 matrix{1.0f};
};
extern SceneProjection projected;

// The owner of point light k's marker, k = 1..8.
std::unique_ptr<scene::Cube>& pointLightCube(int k);

// Light k's position: the translation column of its marker.
glm::vec3 pointLightPosition(int k);

// Every point light's position, light k at element k - 1.
std::vector<glm::vec3> pointLightPositions();

// What every shadow pass draws, in its order: the obstacles, then tubeA, tubeB
// and the car.
std::vector<ShadowCaster> shadowCasters();

// Whether every object that a run moves (models, markers, camera) and every
// program the view goes to exists: set-up has finished and nothing is released.
bool sceneIsSetUp();

// Destroys every object above while the context is current and puts each
// variable back to its start value. The shadow maps are released on their own.
void releaseSceneState();

} // namespace velorun
