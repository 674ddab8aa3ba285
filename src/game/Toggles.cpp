#include "game/Toggles.h"

#include "audio/AudioState.h"
#include "game/FrameSeam.h"
#include "lighting/SceneState.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <iostream>

namespace velorun {

Settings settings;

void resetSettings() { settings = Settings{}; }

int nextMipmapMode(int mode)
{
    switch (mode) {
    case 0:
        return 1;
    case 1:
        return 2;
    case 2:
        return 0;
    default:
        return mode;
    }
}

const char* mipmapModeMessage(int newMode)
{
    switch (newMode) {
    case 1:
        return "mip mapping nearest neighbor";
    case 2:
        return "mip mapping bilinear";
    case 0:
        return "mip mapping off";
    default:
        return nullptr;
    }
}

namespace {

// Each key stores its own setting in every filter owner, for textures created
// later; existing textures keep their filters, and the other setting stays.
void storeMipmapMode()
{
    if (rainbowTexture)
        rainbowTexture->mipmapMode = settings.mipmapModeSetting;
    for (scene::Model* model : {tubeA.get(), tubeB.get(), car.get()})
        if (model)
            model->mipmapMode = settings.mipmapModeSetting;
}

void storeNearestFilter()
{
    if (rainbowTexture)
        rainbowTexture->nearestFilter = settings.nearestFilterSetting;
    for (scene::Model* model : {tubeA.get(), tubeB.get(), car.get()})
        if (model)
            model->nearestFilter = settings.nearestFilterSetting;
}

void toggleFrameTime(GLFWwindow*) { settings.showFrameTime = !settings.showFrameTime; }

void toggleWireframe(GLFWwindow*)
{
    settings.wireframe = !settings.wireframe;
    std::cout << (settings.wireframe ? "wireframe on" : "wireframe off") << std::endl;
    glPolygonMode(GL_FRONT_AND_BACK, settings.wireframe ? GL_LINE : GL_FILL);
}

void cycleMipmapMode(GLFWwindow*)
{
    const int next = nextMipmapMode(settings.mipmapModeSetting);
    if (next == settings.mipmapModeSetting)
        return;
    settings.mipmapModeSetting = next;
    storeMipmapMode();
    std::cout << mipmapModeMessage(next) << std::endl;
}

void toggleNearestFilter(GLFWwindow*)
{
    settings.nearestFilterSetting = !settings.nearestFilterSetting;
    storeNearestFilter();
}

void toggleLensFlares(GLFWwindow*) { settings.lensFlaresEnabled = !settings.lensFlaresEnabled; }

void toggleBlending(GLFWwindow*)
{
    settings.blending = !settings.blending;
    std::cout << (settings.blending ? "blending on" : "blending off") << std::endl;
    if (settings.blending)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
}

void toggleSound(GLFWwindow*)
{
    settings.soundEnabled = !settings.soundEnabled;
    std::cout << (settings.soundEnabled ? "Sound on" : "Sound off") << std::endl;
    audio::setSoundEnabled(audio::soundSystem, settings.soundEnabled);
}

// A replay leaves the watcher's display alone: its seam has no switch.
void switchFullScreen(GLFWwindow* window)
{
    if (seam.toggleFullScreen)
        seam.toggleFullScreen(window);
}

} // namespace

const std::array<Toggle, 8> toggles = {{
    {input::Command::FrameTime, toggleFrameTime},
    {input::Command::Wireframe, toggleWireframe},
    {input::Command::MipmapMode, cycleMipmapMode},
    {input::Command::NearestFilter, toggleNearestFilter},
    {input::Command::LensFlares, toggleLensFlares},
    {input::Command::Blending, toggleBlending},
    {input::Command::Sound, toggleSound},
    {input::Command::FullScreen, switchFullScreen},
}};

void applyToggle(GLFWwindow* window, int key)
{
    const std::optional<input::Command> command = input::commandOf(key);
    for (const Toggle& toggle : toggles)
        if (command == toggle.command)
            toggle.apply(window);
}

} // namespace velorun
