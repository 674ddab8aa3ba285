#include "app/KeyCallback.h"

#include "app/GameState.h"
#include "audio/AudioState.h"
#include "lighting/SceneState.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <iostream>

namespace velorun {

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
        rainbowTexture->mipmapMode = mipmapModeSetting;
    for (scene::Model* model : {tubeA.get(), tubeB.get(), car.get()})
        if (model)
            model->mipmapMode = mipmapModeSetting;
}

void storeNearestFilter()
{
    if (rainbowTexture)
        rainbowTexture->nearestFilter = nearestFilterSetting;
    for (scene::Model* model : {tubeA.get(), tubeB.get(), car.get()})
        if (model)
            model->nearestFilter = nearestFilterSetting;
}

} // namespace

void keyCallback(GLFWwindow*, int key, int, int action, int mods)
{
    // Alt+Enter is full screen, as F11 is, and never races again.
    if ((key == GLFW_KEY_ENTER || key == GLFW_KEY_KP_ENTER) && (mods & GLFW_MOD_ALT))
        key = GLFW_KEY_F11;
    // Escape is kept too: on a slow machine a tap can begin and end between
    // two frames, and a player who taps Escape means to quit.
    const bool kept = input::isPressKey(key) || key == GLFW_KEY_ESCAPE;
    if (action == GLFW_PRESS && kept)
        pendingPresses.push_back(key);
}

void applyToggleKey(int key)
{
    switch (key) {
    case GLFW_KEY_F2:
        showFrameTime = !showFrameTime;
        break;
    case GLFW_KEY_F3:
        if (wireframe) {
            wireframe = false;
            std::cout << "wireframe off" << std::endl;
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        } else {
            wireframe = true;
            std::cout << "wireframe on" << std::endl;
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        }
        break;
    case GLFW_KEY_F4: {
        const int next = nextMipmapMode(mipmapModeSetting);
        if (next == mipmapModeSetting)
            break;
        mipmapModeSetting = next;
        storeMipmapMode();
        std::cout << mipmapModeMessage(next) << std::endl;
        break;
    }
    case GLFW_KEY_F5:
        nearestFilterSetting = !nearestFilterSetting;
        storeNearestFilter();
        break;
    case GLFW_KEY_F6:
        lensFlaresEnabled = !lensFlaresEnabled;
        break;
    case GLFW_KEY_F9:
        if (blending) {
            blending = false;
            std::cout << "blending off" << std::endl;
            glDisable(GL_BLEND);
        } else {
            blending = true;
            std::cout << "blending on" << std::endl;
            glEnable(GL_BLEND);
        }
        break;
    case GLFW_KEY_M:
        audio::soundEnabled = !audio::soundEnabled;
        std::cout << (audio::soundEnabled ? "Sound on" : "Sound off") << std::endl;
        audio::setSoundEnabled(audio::soundSystem, audio::soundEnabled);
        break;
    default:
        break;
    }
}

} // namespace velorun
