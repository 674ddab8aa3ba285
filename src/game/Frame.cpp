#include "game/Frame.h"

#include "audio/AudioState.h"
#include "base/StageMarkers.h"
#include "game/FrameSeam.h"
#include "game/PostFrameUpdate.h"
#include "game/StartUp.h"
#include "game/Toggles.h"
#include "game/WindowEvents.h"
#include "lighting/LitPass.h"
#include "lighting/SceneState.h"
#include "lighting/ShadowMaps.h"
#include "particles/ParticleSystem.h"
#include "render/Projections.h"
#include "render/RenderState.h"
#include "render/TextRenderer.h"
#include "rules/GameRules.h"
#include "rules/RunCommands.h"
#include "scene/RunState.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>
#include <iostream>

namespace velorun {

namespace {

// Stage 1: the clock's step, which the timers count.
float stepClock(double now)
{
    run.deltaTime = now - run.previousTime;
    run.previousTime = now;
    run.speedUpTimer += run.deltaTime;
    run.spawnTimer += run.deltaTime;
    return static_cast<float>(run.deltaTime);
}

// Stage 2.
void spawnObstacle()
{
    const int r1 = session.gameRandom.draw();
    const int r2 = session.gameRandom.draw();
    const glm::vec3 p = spawnPosition(r1, r2, camera->position.z);
    run.cubes.push_back(scene::makeCube(glm::translate(glm::mat4(1.0f), p), cubeShader.get()));
}

// Stage 3.
void speedUp()
{
    car->speed = nextSpeed(car->speed);
    run.speedUpTimer = 0.0;
    run.spawnTimer = spawnTimerAfterSpeedUp(run.spawnTimer);
}

// Stage 8 once the run is over. The particles move on whether or not the
// window can show them.
void runFireworks(bool draw)
{
    const glm::mat4 viewProjection = fireworksProjection() * camera->viewMatrix();
    const int ms = static_cast<int>(run.deltaTime * 1000.0);
    particleSystem.time += ms;
    particleSystem.update(ms);
    if (draw) {
        glViewport(0, 0, projected.size.x, projected.size.y);
        particleSystem.render(viewProjection, camera->position);
    }
    particleSystem.swapBuffers();
}

// Stage 11.
void drawScreenText()
{
    const glm::vec3 white(1.0f, 1.0f, 1.0f);
    run.scoreText = scoreFor(car->modelMatrix[3][2]);
    renderText(textRenderer, "Score: " + run.scoreText, 0.5f, 0.5f, 0.9f, glm::vec3(0.5f, 0.8f, 0.2f));
    if (run.gameOver) {
        renderText(textRenderer, "GAME OVER", 50.0f, 180.0f, 2.5f, white);
        if (session.bestScore && session.racedAgain)
            renderText(textRenderer, "BEST " + std::to_string(*session.bestScore), 54.0f, 118.0f, 1.1f,
                       white);
    }
    if (settings.showFrameTime)
        renderText(textRenderer, "Frametime: " + formatFrameTime(run.deltaTime), 520.0f, 580.0f, 0.6f,
                   glm::vec3(0.5f, 0.8f, 0.2f));
    if (run.paused) {
        const float scale = 2.0f;
        renderText(textRenderer, "PAUSED", (800.0f - textWidth(textRenderer, "PAUSED", scale)) / 2.0f, 320.0f,
                   scale, white);
    }
}

// Stages 9 to 12: the picture of the scene as it stands, swapped to the window.
void drawScene(GLFWwindow* window)
{
    if (!run.gameOver) {
        markStage(FrameStage::Shadows, true);
        updateShadowMaps(shadowCasters(), pointLightPositions());
        markStage(FrameStage::Shadows, false);
    }
    markStage(FrameStage::LitScene, true);
    renderScene(projected.size, settings.lensFlaresEnabled);
    markStage(FrameStage::LitScene, false);
    markStage(FrameStage::Text, true);
    drawScreenText();
    markStage(FrameStage::Text, false);
    glfwSwapBuffers(window);
}

// Stage 5: the frame's one input value, gathered once the events are polled
// (or waited for, when paused). The toggles among its presses act at once,
// in the frame that read them.
input::FrameInput readFrameInput(GLFWwindow* window, double now)
{
    input::FrameInput input;
    input.now = now;
    input.width = gameWindow.framebufferSize.x;
    input.height = gameWindow.framebufferSize.y;
    seam.readInput(window, input);
    // A replay hands in the size the recorded frame drew at.
    if (input.width >= 0)
        gameWindow.framebufferSize = glm::ivec2(input.width, input.height);
    // A burst beyond what a recording keeps of a frame is cut here, where
    // every seam's input passes, so that a replay reads what the game did.
    if (input.presses.size() > input::maxPressesPerFrame)
        input.presses.resize(input::maxPressesPerFrame);
    for (int key : input.presses)
        applyToggle(window, key);
    return input;
}

// What the run's command keys asked, done once the frame is drawn: a race
// again starts the next frame from this frame's time; a pause stops a run
// that is still going.
void obeyCommand(RunCommand command)
{
    if (command == RunCommand::RaceAgain) {
        resetRun(run.previousTime);
        session.racedAgain = true;
    } else if (command == RunCommand::Pause && !run.gameOver) {
        // (A run that ended in this very frame has nothing left to pause.)
        run.paused = true;
        gameWindow.repaintPending = true;
        audio::pauseSound(audio::soundSystem, true);
    }
}

// Stage 14.
void reportGlErrors()
{
    if (glGetError() != GL_NO_ERROR)
        std::cerr << "GL ERROR DETECTED!!!" << std::endl;
}

// Stage 15, before the loop looks at Escape: the frame is over.
void endFrame(const input::FrameInput& input)
{
    if (seam.frameDone)
        seam.frameDone(input);
}

// A paused game draws nothing and moves nothing: it waits for the player and
// shows its still picture again only when the window needs it.
bool runPausedFrame(GLFWwindow* window)
{
    seam.waitForInput();
    const input::FrameInput input = readFrameInput(window, seam.now());
    const bool keepRunning = !input.held(GLFW_KEY_ESCAPE);
    // A toggle may change the still picture, and so may a new window size.
    if (!input.presses.empty())
        gameWindow.repaintPending = true;
    const bool visible = followWindowSize();
    const RunCommand command = runCommand(commandPresses(input), run.gameOver, run.paused);
    if (visible && (gameWindow.repaintPending || !keepRunning)) {
        gameWindow.repaintPending = false;
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
    return keepRunning;
}

} // namespace

void steerCar(const input::FrameInput& input, float dt)
{
    scene::Model& model = *car;
    auto carInside = [&model] {
        const glm::vec3 p = scene::positionOf(model.modelMatrix);
        return insideTube(p.x, p.y);
    };
    // Each key, in this order, tests the car where the keys before it left
    // it; a car outside its limit is pushed back against the first pressed
    // key only.
    struct SteeringKey {
        int key;
        void (scene::Model::*move)(float);
        void (scene::Model::*pushBack)(float);
    };
    static constexpr SteeringKey steeringKeys[] = {
        {GLFW_KEY_RIGHT, &scene::Model::moveRight, &scene::Model::moveLeft},
        {GLFW_KEY_LEFT, &scene::Model::moveLeft, &scene::Model::moveRight},
        {GLFW_KEY_UP, &scene::Model::moveUp, &scene::Model::moveDown},
        {GLFW_KEY_DOWN, &scene::Model::moveDown, &scene::Model::moveUp},
    };
    bool steered = false;
    for (const SteeringKey& k : steeringKeys) {
        if (!input.held(k.key))
            continue;
        if (carInside() || steered)
            (model.*k.move)(dt);
        else
            (model.*k.pushBack)(0.1f);
        steered = true;
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

bool runFrame(GLFWwindow* window)
{
    if (glfwWindowShouldClose(window))
        return false;
    if (run.paused)
        return runPausedFrame(window);

    // 1. timing
    const double now = seam.now();
    const float dt = stepClock(now);

    // 2. spawning
    if (run.spawnTimer > spawnInterval) {
        spawnObstacle();
        run.spawnTimer = 0.0;
    }

    // 3. speed-up
    if (run.speedUpTimer > speedUpInterval && car->speed < speedLimit)
        speedUp();

    // 4. clear
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // 5. events, read into the frame's input; the window's size followed (a
    // window without an area, minimised, is drawn into by nothing)
    glfwPollEvents();
    const input::FrameInput input = readFrameInput(window, now);
    const bool visible = followWindowSize();

    // 6. Escape, and what the command keys ask of the run once the frame is done
    const bool keepRunning = !input.held(GLFW_KEY_ESCAPE);
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

    // 13. after the swap: the next frame's view, hits (where a run ends),
    // removal and recycling; the frame's sounds; race again or pause
    postFrameUpdate();
    audio::playCues(audio::soundSystem,
                    audio::nextCues(audio::soundSchedule, run.gameOver, car->speed, run.deltaTime));
    obeyCommand(command);

    // 14. GL errors
    reportGlErrors();

    // 15. the end of the frame; Escape ends the loop. Frames nobody can see
    // need not come as fast as the machine can make them.
    endFrame(input);
    if (!visible && keepRunning)
        seam.waitForInput();
    return keepRunning;
}

} // namespace velorun
