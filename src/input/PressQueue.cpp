#include "input/PressQueue.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <vector>

namespace velorun::input {

namespace {

// Kept between two frames; every frame empties it.
std::vector<int> pending;

} // namespace

void keyCallback(GLFWwindow*, int key, int, int action, int mods)
{
    // Alt+Enter is full screen, as F11 is, and never races again.
    if ((key == GLFW_KEY_ENTER || key == GLFW_KEY_KP_ENTER) && (mods & GLFW_MOD_ALT))
        key = GLFW_KEY_F11;
    // Escape is kept too: on a slow machine a tap can begin and end between
    // two frames, and a player who taps Escape means to quit.
    const bool kept = isPressKey(key) || key == GLFW_KEY_ESCAPE;
    if (action == GLFW_PRESS && kept)
        pending.push_back(key);
}

void attentionLost() { pending.push_back(focusLostKey); }

bool attentionLostPending()
{
    return std::find(pending.begin(), pending.end(), focusLostKey) != pending.end();
}

bool escapePending() { return std::find(pending.begin(), pending.end(), GLFW_KEY_ESCAPE) != pending.end(); }

void takePendingPresses(FrameInput& input, bool stillAway)
{
    for (int key : pending) {
        if (key == GLFW_KEY_ESCAPE)
            input.keyboard |= keyBit(GLFW_KEY_ESCAPE);
        else if (key != focusLostKey || stillAway)
            input.presses.push_back(key);
    }
    pending.clear();
}

void clearPendingPresses() { pending.clear(); }

} // namespace velorun::input
