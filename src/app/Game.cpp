#include "app/Game.h"

#include "app/DebugOutput.h"
#include "app/FrameSeam.h"
#include "app/FullScreen.h"
#include "app/GameRules.h"
#include "app/GameState.h"
#include "app/KeyCallback.h"
#include "app/PostFrameUpdate.h"
#include "app/ReplaySession.h"
#include "app/RunCommands.h"
#include "app/WindowEvents.h"
#include "audio/AudioState.h"
#include "base/Console.h"
#include "base/StageMarkers.h"
#include "lighting/LitPass.h"
#include "lighting/SceneSetup.h"
#include "lighting/SceneState.h"
#include "lighting/ShadowCache.h"
#include "render/Projections.h"
#include "render/RenderState.h"
#include "render/TextRenderer.h"
#include "scene/RunState.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <algorithm>
#include <cstdlib>
#include <glm/gtc/matrix_transform.hpp>
#include <iostream>

namespace velorun {

namespace {

void releaseEverythingForFatalExit() { releaseResources(); }

void spawnObstacle()
{
    const int r1 = gameRandom.draw();
    const int r2 = gameRandom.draw();
    const glm::vec3 p = spawnPosition(r1, r2, camera->position.z);
    run.cubes.push_back(scene::makeCube(glm::translate(glm::mat4(1.0f), p), cubeShader.get()));
}

// The particles move on whether or not the window can show them.
void runFireworks(bool draw)
{
    const glm::mat4 viewProjection = fireworksProjection() * camera->viewMatrix();
    const int ms = static_cast<int>(run.deltaTime * 1000.0);
    particleSystem.time += ms;
    particleSystem.update(ms);
    if (draw)
        particleSystem.render(viewProjection, camera->position);
    particleSystem.swapBuffers();
}

void drawScreenText()
{
    const glm::vec3 white(1.0f, 1.0f, 1.0f);
    run.scoreText = scoreFor(car->modelMatrix[3][2]);
    renderText(textShader.get(), "Score: " + run.scoreText, 0.5f, 0.5f, 0.9f, glm::vec3(0.5f, 0.8f, 0.2f));
    if (run.gameOver) {
        renderText(textShader.get(), "GAME OVER", 50.0f, 180.0f, 2.5f, white);
        if (bestScore && racedAgain)
            renderText(textShader.get(), "BEST " + std::to_string(*bestScore), 54.0f, 118.0f, 1.1f, white);
    }
    if (showFrameTime)
        renderText(textShader.get(), "Frametime: " + formatFrameTime(run.deltaTime), 520.0f, 580.0f, 0.6f,
                   glm::vec3(0.5f, 0.8f, 0.2f));
    if (run.paused) {
        const float scale = 2.0f;
        renderText(textShader.get(), "PAUSED", (800.0f - textWidth("PAUSED", scale)) / 2.0f, 320.0f, scale,
                   white);
    }
}

// Stages 9 to 12: the picture of the scene as it stands, swapped to the window.
void drawScene(GLFWwindow* window)
{
    if (!run.gameOver) {
        markStage(FrameStage::Shadows, true);
        updateShadowMaps();
        markStage(FrameStage::Shadows, false);
    }
    markStage(FrameStage::LitScene, true);
    renderScene(projectedSize);
    markStage(FrameStage::LitScene, false);
    markStage(FrameStage::Text, true);
    drawScreenText();
    markStage(FrameStage::Text, false);
    glfwSwapBuffers(window);
}

// The frame's one input value, gathered once the events are polled (or
// waited for, when paused).
input::FrameInput readFrameInput(GLFWwindow* window, double now)
{
    input::FrameInput input;
    input.now = now;
    seam.readKeys(window, input);
    // A burst beyond what a recording keeps of a frame is cut here, where
    // every seam's input passes, so that a replay reads what the game did.
    if (input.presses.size() > input::maxPressesPerFrame)
        input.presses.resize(input::maxPressesPerFrame);
    return input;
}

// The toggles among the presses act at once, in the frame that read them,
// as they did when the key handler ran them.
void actOnToggles(GLFWwindow* window, const input::FrameInput& input)
{
    for (int key : input.presses) {
        if (key == GLFW_KEY_F11) {
            if (seam.toggleFullScreen)
                seam.toggleFullScreen(window);
        } else {
            applyToggleKey(key);
        }
    }
}

// The end of every frame that ran.
void endFrame(const input::FrameInput& input)
{
    if (seam.frameDone)
        seam.frameDone(input);
}

void reportGlErrors()
{
    if (glGetError() != GL_NO_ERROR)
        std::cerr << "GL ERROR DETECTED!!!" << std::endl;
}

// A paused game draws nothing and moves nothing: it waits for the player and
// shows its still picture again only when the window needs it.
bool runPausedFrame(GLFWwindow* window)
{
    seam.waitForInput();
    const input::FrameInput input = readFrameInput(window, seam.now());
    actOnToggles(window, input);
    run.keepRunning = !input.held(GLFW_KEY_ESCAPE);
    // A toggle may change the still picture, and so may a new window size.
    if (!input.presses.empty())
        repaintPending = true;
    const bool visible = followWindowSize();
    const RunCommand command = runCommand(commandPresses(input), run.gameOver, run.paused);
    if (visible && (repaintPending || !run.keepRunning)) {
        repaintPending = false;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawScene(window);
    }
    if (command == RunCommand::Resume) {
        run.paused = false;
        // Game time stood still: the next frame's step counts from now.
        run.previousTime = input.now;
        audio::pauseSound(audio::soundSystem, false);
    }
    reportGlErrors();
    endFrame(input);
    return run.keepRunning;
}

} // namespace

void resetRun(double now)
{
    run = RunState{};
    run.previousTime = now;
    particleSystem.rewind();
    audio::soundSchedule = audio::SoundSchedule{};
    audio::stopEffects(audio::soundSystem);
    if (sceneIsSetUp()) {
        placeSceneForRun();
        uploadViewUniforms();
    }
}

void steerCar(const input::FrameInput& input, float dt)
{
    scene::Model& model = *car;
    auto carInside = [&model] {
        const glm::vec3 p = scene::positionOf(model.modelMatrix);
        return insideTube(p.x, p.y);
    };
    // Each block tests the car where the earlier blocks left it; a car outside
    // its limit is pushed back against the first pressed key only.
    if (input.held(GLFW_KEY_RIGHT)) {
        if (carInside() || run.steered)
            model.moveRight(dt);
        else
            model.moveLeft(0.1f);
        run.steered = true;
    }
    if (input.held(GLFW_KEY_LEFT)) {
        if (carInside() || run.steered)
            model.moveLeft(dt);
        else
            model.moveRight(0.1f);
        run.steered = true;
    }
    if (input.held(GLFW_KEY_UP)) {
        if (carInside() || run.steered)
            model.moveUp(dt);
        else
            model.moveDown(0.1f);
        run.steered = true;
    }
    if (input.held(GLFW_KEY_DOWN)) {
        if (carInside() || run.steered)
            model.moveDown(dt);
        else
            model.moveUp(0.1f);
        run.steered = true;
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
        // F11 leaves full screen for a window of the size asked for, centred
        // on the desktop as it is before the game changes its mode.
        ScreenRect desktop;
        glfwGetMonitorPos(monitor, &desktop.x, &desktop.y);
        if (const GLFWvidmode* mode = glfwGetVideoMode(monitor)) {
            desktop.width = mode->width;
            desktop.height = mode->height;
        }
        windowedPlacement = centredOn(desktop, settings.width, settings.height);
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
    // Only a paused game cares: its still picture is drawn again when exposed.
    glfwSetWindowRefreshCallback(window, [](GLFWwindow*) { repaintPending = true; });
    watchWindow(window);

    glClearColor(0.35f, 0.36f, 0.43f, 0.3f);
    // The size set-up projected for: a window manager may have changed the
    // size asked for before the window was first shown.
    glViewport(0, 0, projectedSize.x, projectedSize.y);

    setupText();
    audio::openSound(audio::soundSystem, "./Resources/Sounds");
    return window;
}

bool runFrame(GLFWwindow* window)
{
    if (glfwWindowShouldClose(window))
        return false;
    if (run.paused)
        return runPausedFrame(window);

    // 1. timing
    const double now = seam.now();
    run.deltaTime = now - run.previousTime;
    run.previousTime = now;
    run.speedUpTimer += run.deltaTime;
    run.spawnTimer += run.deltaTime;
    const float dt = static_cast<float>(run.deltaTime);

    // 2. spawning
    if (run.spawnTimer > spawnInterval) {
        spawnObstacle();
        run.spawnTimer = 0.0;
    }

    // 3. speed-up
    if (run.speedUpTimer > speedUpInterval && car->speed < speedLimit) {
        car->speed = nextSpeed(car->speed);
        run.speedUpTimer = 0.0;
        run.spawnTimer = spawnTimerAfterSpeedUp(run.spawnTimer);
    }

    // 4-6. clear, events, Escape; the command keys act once the frame is done
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glfwPollEvents();
    const input::FrameInput input = readFrameInput(window, now);
    actOnToggles(window, input);
    // A window without an area (minimised) is drawn into by nothing.
    const bool visible = followWindowSize();
    run.keepRunning = !input.held(GLFW_KEY_ESCAPE);
    run.steered = false;
    const RunCommand command = runCommand(commandPresses(input), run.gameOver, run.paused);

    // 7. steering
    steerCar(input, dt);

    // 8. drive or fireworks
    if (run.gameOver) {
        markStage(FrameStage::Particles, true);
        runFireworks(visible);
        markStage(FrameStage::Particles, false);
    } else {
        driveCar(dt);
    }

    // 9-12. shadows, scene, text, swap
    if (visible)
        drawScene(window);

    // 13-15.
    postFrameUpdate();
    audio::playCues(audio::soundSystem,
                    audio::nextCues(audio::soundSchedule, run.gameOver, car->speed, run.deltaTime));
    if (run.gameOver) {
        const int score = scoreValue(car->modelMatrix[3][2]);
        bestScore = std::max(bestScore.value_or(score), score);
    }
    if (command == RunCommand::RaceAgain) {
        // The new run's first frame steps from this frame's time, not from 0;
        // an Escape in this frame still ends the loop.
        const bool keepRunning = run.keepRunning;
        resetRun(run.previousTime);
        run.keepRunning = keepRunning;
        racedAgain = true;
    } else if (command == RunCommand::Pause && !run.gameOver) {
        // (A run that ended in this very frame has nothing left to pause.)
        run.paused = true;
        repaintPending = true;
        audio::pauseSound(audio::soundSystem, true);
    }
    reportGlErrors();
    endFrame(input);
    // Frames nobody can see need not come as fast as the machine can make them.
    if (!visible && run.keepRunning)
        seam.waitForInput();
    return run.keepRunning;
}

void releaseResources()
{
    resetRun(0.0);
    bestScore.reset();
    racedAgain = false;
    gameRandom = GameRandom{};
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
    if (const CommandLineQuery query = commandLineQuery(argc, argv); query != CommandLineQuery::None) {
        std::cout << (query == CommandLineQuery::Help ? usageText() : versionText()) << std::flush;
        // An answer is not a run: leave before GLFW starts, and without the
        // farewells that program-wide objects print at exit.
        std::quick_exit(std::cout ? 0 : 1);
    }
    if (const SessionRequest session = sessionRequest(argc, argv); session.mode != SessionMode::Play)
        return runSession(session);
    GLFWwindow* window = startUp(argc, argv);
    while (runFrame(window)) {}
    shutDown();
    return 0;
}

} // namespace velorun
