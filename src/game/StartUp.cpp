#include "game/StartUp.h"

#include "audio/AudioState.h"
#include "base/Console.h"
#include "game/DebugOutput.h"
#include "game/FrameSeam.h"
#include "game/FullScreen.h"
#include "game/Toggles.h"
#include "game/WindowEvents.h"
#include "input/PressQueue.h"
#include "lighting/SceneSetup.h"
#include "lighting/SceneState.h"
#include "lighting/ShadowMaps.h"
#include "particles/ParticleSystem.h"
#include "render/RenderState.h"
#include "render/TextRenderer.h"
#include "scene/RunState.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <iostream>

namespace velorun {

namespace {

void releaseEverythingForFatalExit() { releaseResources(); }

} // namespace

void initGlfw()
{
    if (!glfwInit()) {
        std::cerr << "Failed to init glfw" << std::endl;
        fatalExit(-1);
    }
}

GLFWwindow* startUp(const LaunchSettings& settings)
{
    initGlfw();

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
        gameWindow.windowedPlacement = centredOn(monitorRect(monitor), settings.width, settings.height);
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
    setupScene(window, input::keyCallback);
    // Only a paused game cares: its still picture is drawn again when exposed.
    glfwSetWindowRefreshCallback(window, [](GLFWwindow*) { gameWindow.repaintPending = true; });
    watchWindow(window);

    glClearColor(0.35f, 0.36f, 0.43f, 0.3f);

    setupText(textRenderer);
    audio::openSound(audio::soundSystem, "./Resources/Sounds");
    return window;
}

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

void releaseResources()
{
    resetRun(0.0);
    resetSession();
    releaseSceneState();
    releaseShadowMaps();
    releaseRenderState();
    particleSystem.releaseGL();
    resetSettings();
    resetGameWindow();
    useGlfwSeam();
    input::clearPendingPresses();
    audio::releaseAudioState();
    resetBaseState();
}

void shutDown()
{
    setFatalExitHook(nullptr);
    releaseResources();
    glfwTerminate();
}

} // namespace velorun
