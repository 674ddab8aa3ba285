#include "app/Game.h"

#include "app/DebugOutput.h"
#include "app/FrameSeam.h"
#include "app/GameRules.h"
#include "app/GameState.h"
#include "app/KeyCallback.h"
#include "app/PostFrameUpdate.h"
#include "audio/AudioState.h"
#include "base/Console.h"
#include "base/StageMarkers.h"
#include "lighting/LitPass.h"
#include "lighting/SceneSetup.h"
#include "lighting/SceneState.h"
#include "lighting/ShadowMaps.h"
#include "render/Projections.h"
#include "render/RenderState.h"
#include "render/TextRenderer.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>
#include <iostream>

namespace velorun {

namespace {

void releaseEverythingForFatalExit() { releaseResources(); }

void spawnObstacle()
{
    const int r1 = drawRandom();
    const int r2 = drawRandom();
    const glm::vec3 p = spawnPosition(r1, r2, camera->position.z);
    cubes.push_back(scene::makeCube(glm::translate(glm::mat4(1.0f), p), cubeShader.get()));
}

void runFireworks()
{
    const glm::mat4 viewProjection = fireworksProjection() * camera->viewMatrix();
    const int ms = static_cast<int>(loopState.deltaTime * 1000.0);
    particleSystem.time += ms;
    particleSystem.update(ms);
    particleSystem.render(viewProjection, camera->position);
    particleSystem.swapBuffers();
}

void drawScreenText()
{
    scoreText = scoreFor(car->modelMatrix[3][2]);
    renderText(textShader.get(), "Score: " + scoreText, 0.5f, 0.5f, 0.9f, glm::vec3(0.5f, 0.8f, 0.2f));
    if (gameOver)
        renderText(textShader.get(), "GAME OVER", 50.0f, 180.0f, 2.5f, glm::vec3(1.0f, 1.0f, 1.0f));
    if (showFrameTime)
        renderText(textShader.get(), "Frametime: " + formatFrameTime(loopState.deltaTime), 520.0f, 580.0f,
                   0.6f, glm::vec3(0.5f, 0.8f, 0.2f));
}

} // namespace

void steerCar(GLFWwindow* window, float dt)
{
    scene::Model& model = *car;
    auto carInside = [&model] {
        const glm::vec3 p = scene::positionOf(model.modelMatrix);
        return insideTube(p.x, p.y);
    };
    // Each block tests the car where the earlier blocks left it; a car outside
    // its limit is pushed back against the first pressed key only.
    if (seam.keyDown(window, GLFW_KEY_RIGHT)) {
        if (carInside() || loopState.steered)
            model.moveRight(dt);
        else
            model.moveLeft(0.1f);
        loopState.steered = true;
    }
    if (seam.keyDown(window, GLFW_KEY_LEFT)) {
        if (carInside() || loopState.steered)
            model.moveLeft(dt);
        else
            model.moveRight(0.1f);
        loopState.steered = true;
    }
    if (seam.keyDown(window, GLFW_KEY_UP)) {
        if (carInside() || loopState.steered)
            model.moveUp(dt);
        else
            model.moveDown(0.1f);
        loopState.steered = true;
    }
    if (seam.keyDown(window, GLFW_KEY_DOWN)) {
        if (carInside() || loopState.steered)
            model.moveDown(dt);
        else
            model.moveUp(0.1f);
        loopState.steered = true;
    }
    // Whatever the keys did, the frame ends with the car within its limit, so
    // the car glides along the wall and the camera above it stays in the tube.
    glm::vec4& translation = model.modelMatrix[3];
    const glm::vec2 settled = settleInsideTube(glm::vec2(translation.x, translation.y));
    translation.x = settled.x;
    translation.y = settled.y;
}

void driveCar(float dt)
{
    car->moveForward(dt);
    camera->position = cameraFollowing(scene::positionOf(car->modelMatrix));
}

GLFWwindow* startUp(int argc, const char* const* argv)
{
    if (!glfwInit()) {
        std::cerr << "Failed to init glfw" << std::endl;
        fatalExit(-1);
    }

    const CommandLineResult parsed = parseCommandLine(argc, argv);
    if (parsed.error != CommandLineError::None) {
        std::cerr << commandLineErrorMessage(parsed.error) << std::endl;
        fatalExit(1);
    }
    const LaunchSettings& settings = parsed.settings;

    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    GLFWmonitor* monitor = nullptr;
    if (settings.fullScreen) {
        monitor = glfwGetPrimaryMonitor();
        glfwWindowHint(GLFW_REFRESH_RATE, 60);
    }

    // GLFW asserts on a negative size instead of failing; such a size gets the
    // same answer as any other window that cannot be opened.
    GLFWwindow* window = settings.width >= 0 && settings.height >= 0
                             ? glfwCreateWindow(settings.width, settings.height, "Velorun", monitor, nullptr)
                             : nullptr;
    if (!window) {
        glfwTerminate();
        std::cerr << "Failed to open window" << std::endl;
        fatalExit(-1);
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::cerr << "Failed to initialize glew" << std::endl;
        glfwTerminate();
        fatalExit(1);
    }
    // GLEW's loader may leave a harmless GL_INVALID_ENUM behind; it is not ours.
    glGetError();

    glDebugMessageCallback(debugCallback, nullptr);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // From here on a fatal shader failure releases what exists while the
    // context is still current.
    setFatalExitHook(releaseEverythingForFatalExit);
    setupScene(window, keyCallback);

    glClearColor(0.35f, 0.36f, 0.43f, 0.3f);
    glViewport(0, 0, settings.width, settings.height);

    setupText();
    audio::openSound(audio::soundSystem, "./Resources/Sounds");
    return window;
}

bool runFrame(GLFWwindow* window)
{
    if (glfwWindowShouldClose(window))
        return false;

    // 1. timing
    const double now = seam.now();
    loopState.deltaTime = now - loopState.previousTime;
    loopState.previousTime = now;
    loopState.speedUpTimer += loopState.deltaTime;
    loopState.spawnTimer += loopState.deltaTime;
    const float dt = static_cast<float>(loopState.deltaTime);

    // 2. spawning
    if (loopState.spawnTimer > spawnInterval) {
        spawnObstacle();
        loopState.spawnTimer = 0.0;
    }

    // 3. speed-up
    if (loopState.speedUpTimer > speedUpInterval && car->speed < speedLimit) {
        car->speed = nextSpeed(car->speed);
        loopState.speedUpTimer = 0.0;
        loopState.spawnTimer = spawnTimerAfterSpeedUp(loopState.spawnTimer);
    }

    // 4-6. clear, events, Escape
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glfwPollEvents();
    loopState.keepRunning = !seam.keyDown(window, GLFW_KEY_ESCAPE);
    loopState.steered = false;

    // 7. steering
    steerCar(window, dt);

    // 8. drive or fireworks
    if (gameOver) {
        markStage(FrameStage::Particles, true);
        runFireworks();
        markStage(FrameStage::Particles, false);
    } else {
        driveCar(dt);
    }

    // 9. shadows
    if (!gameOver) {
        markStage(FrameStage::Shadows, true);
        for (int k = 1; k <= pointLightCount; ++k)
            renderShadowMap(pointLightPosition(k), shadowFramebuffers[static_cast<size_t>(k - 1)]);
        markStage(FrameStage::Shadows, false);
    }

    // 10-12. scene, text, swap
    markStage(FrameStage::LitScene, true);
    renderScene(window);
    markStage(FrameStage::LitScene, false);
    markStage(FrameStage::Text, true);
    drawScreenText();
    markStage(FrameStage::Text, false);
    glfwSwapBuffers(window);

    // 13-15.
    postFrameUpdate();
    audio::playCues(audio::soundSystem,
                    audio::nextCues(audio::soundSchedule, gameOver, car->speed, loopState.deltaTime));
    if (glGetError() != GL_NO_ERROR)
        std::cerr << "GL ERROR DETECTED!!!" << std::endl;
    return loopState.keepRunning;
}

void releaseResources()
{
    releaseSceneState();
    releaseRenderState();
    releaseGameState();
    audio::releaseAudioState();
    resetBaseState();
}

void shutDown()
{
    setFatalExitHook(nullptr);
    releaseResources();
    glfwTerminate();
}

int runGame(int argc, const char* const* argv)
{
    GLFWwindow* window = startUp(argc, argv);
    while (runFrame(window)) {}
    shutDown();
    return 0;
}

} // namespace velorun
