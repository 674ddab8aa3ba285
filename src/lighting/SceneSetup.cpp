#include "lighting/SceneSetup.h"

#include "lighting/LightRig.h"
#include "lighting/SceneState.h"
#include "lighting/ShadowMaps.h"
#include "render/Projections.h"
#include "render/Uniforms.h"
#include "scene/RunState.h"

#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

namespace velorun {

namespace {

struct FlareElement {
    const char* path;
    float scale;
};

const FlareElement flareElements[8] = {
    {"./Textures/LensFlares/tex2.png", 0.1f},  {"./Textures/LensFlares/tex3.png", 0.06f},
    {"./Textures/LensFlares/tex4.png", 0.23f}, {"./Textures/LensFlares/tex5.png", 0.07f},
    {"./Textures/LensFlares/tex6.png", 0.5f},  {"./Textures/LensFlares/tex7.png", 0.1f},
    {"./Textures/LensFlares/tex8.png", 0.4f},  {"./Textures/LensFlares/tex9.png", 0.05f},
};

} // namespace

void setupScene(GLFWwindow* window, KeyHandler keyHandler)
{
    glfwSetWindowTitle(window, "Velorun");
    glfwSetKeyCallback(window, keyHandler);
    glEnable(GL_DEPTH_TEST);

    tubeA = std::make_unique<scene::Model>("./Resources/Objects/tube/tube2.obj");
    tubeB = std::make_unique<scene::Model>("./Resources/Objects/tube/tube2.obj");
    car = std::make_unique<scene::Model>("./Resources/Objects/car/car.obj");

    modelShader = std::make_unique<ShaderProgram>("Shader/model.vert", "Shader/model.frag");
    cubeShader = std::make_unique<ShaderProgram>("./Shader/basic.vert", "./Shader/cube.frag");
    rainbowTexture = std::make_unique<Texture2D>("./Textures/rainbow.jpg");
    lightShader = std::make_unique<ShaderProgram>("./Shader/basic.vert", "./Shader/light.frag");

    for (int k = 1; k <= pointLightCount; ++k)
        pointLightCube(k) = scene::makeCube(glm::mat4(1.0f), lightShader.get());

    spotLightShader = std::make_unique<ShaderProgram>("./Shader/basic.vert", "./Shader/light.frag");
    spotLightCube = scene::makeCube(glm::mat4(1.0f), spotLightShader.get());

    camera = std::make_unique<Camera>();
    placeSceneForRun();

    glUseProgram(cubeShader->program);
    const glm::mat4 view = camera->viewMatrix();
    const float cutOff = spotCutOff();
    GLuint p = cubeShader->program;
    setUniform(p, "view", view);
    setUniform(p, "objectColor", glm::vec3(1.0f));
    setUniform(p, "lightColor", glm::vec3(1.0f));
    setUniform(p, "colorTexture", 0);
    setUniform(p, "cutOff", cutOff);

    for (ShaderProgram* marker : {lightShader.get(), spotLightShader.get()}) {
        glUseProgram(marker->program);
        setUniform(marker->program, "view", view);
    }

    p = modelShader->program;
    glUseProgram(p);
    setUniform(p, "near_plane", shadowNear);
    setUniform(p, "far_plane", shadowFarPlane);
    setUniform(p, "view", view);
    setUniform(p, "objectColor", glm::vec3(1.0f));
    setUniform(p, "lightColor", glm::vec3(1.0f));
    setUniform(p, "texture_diffuse1", 0);
    setUniform(p, "cutOff", cutOff);
    setUniform(p, "renderSpot", 1);

    // The picture's shape is the framebuffer's, in pixels: on a high-density
    // screen the window's own size, in screen units, is smaller.
    glm::ivec2 size(0);
    glfwGetFramebufferSize(window, &size.x, &size.y);
    uploadSceneProjection(size);

    for (const FlareElement& element : flareElements)
        flareTextures.push_back(new FlareTexture(element.path, element.scale));
    lensFlare = std::make_unique<LensFlare>(flareTextures, 0.2f);

    createShadowMaps();
}

void placeSceneForRun()
{
    // tubeB starts far behind the camera; the first frame's recycling moves it
    // 90 units beyond tubeA.
    tubeA->modelMatrix = glm::scale(glm::mat4(1.0f), glm::vec3(4.0f, 4.0f, 15.0f));
    tubeB->modelMatrix = glm::translate(tubeA->modelMatrix, glm::vec3(0.0f, 0.0f, 20.0f));
    car->modelMatrix =
        glm::translate(glm::scale(glm::mat4(1.0f), glm::vec3(0.5f)), glm::vec3(0.0f, 0.0f, -25.0f));
    car->speed = scene::startSpeed;
    run.carSeenAt = scene::positionOf(car->modelMatrix);

    const std::array<glm::mat4, 8> lightMatrices = initialLightMatrices();
    for (int k = 1; k <= pointLightCount; ++k)
        pointLightCube(k)->modelMatrix = lightMatrices[static_cast<size_t>(k - 1)];
    // The spot marker starts beside the origin, where the car's model stood
    // before it was placed; it first follows the car in the first frame.
    spotLightCube->modelMatrix = glm::scale(glm::mat4(1.0f), glm::vec3(0.1f));
    scene::setPosition(spotLightCube->modelMatrix, spotLightPositionFor(glm::vec3(0.0f)));

    *camera = Camera();
    // A new run's first shadow stage draws every face afresh.
    invalidateShadowMaps();
}

void uploadSceneProjection(glm::ivec2 size)
{
    float aspect = windowAspect(size.x, size.y);
    if (aspect <= 0.0f)
        aspect = 800.0f / 600.0f; // no area yet: the default shape until it has one
    const glm::mat4 projection = sceneProjection(aspect);
    projected = SceneProjection{size, projection};
    for (const ShaderProgram* program :
         {cubeShader.get(), lightShader.get(), spotLightShader.get(), modelShader.get()}) {
        glUseProgram(program->program);
        setUniform(program->program, "projection", projection);
    }
}

void uploadViewUniforms()
{
    const glm::mat4 view = camera->viewMatrix();
    const glm::vec3 eye = camera->position;
    auto upload = [&view](const ShaderProgram& shader, const glm::vec3* viewPosition) {
        glUseProgram(shader.program);
        setUniform(shader.program, "view", view);
        if (viewPosition)
            setUniform(shader.program, "viewPosition", *viewPosition);
    };
    upload(*cubeShader, &eye);
    upload(*lightShader, nullptr);
    upload(*spotLightShader, nullptr);
    upload(*modelShader, &eye);
}

} // namespace velorun
