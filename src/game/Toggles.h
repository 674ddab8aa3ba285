#pragma once

#include "input/FrameInput.h"

#include <array>

struct GLFWwindow;

namespace velorun {

// The player's display and sound settings, each switched by its key. They
// outlive every run and last as long as the process.
struct Settings {
    bool showFrameTime = false; // F2
    bool wireframe = false; // F3
    int mipmapModeSetting = 0; // F4: 0 off, 1 nearest, 2 bilinear
    bool nearestFilterSetting = false; // F5
    bool lensFlaresEnabled = true; // F6
    bool blending = false; // F9
    bool soundEnabled = true; // M
};

extern Settings settings;

// Every setting back to its start value.
void resetSettings();

// What a display or sound toggle does: F2, F3, F4, F5, F6 and F9 switch
// display options, M sound, F11 (and Alt+Enter) full screen. One entry for
// each toggle command; the frame runs the one a press asks for, at once.
struct Toggle {
    input::Command command;
    void (*apply)(GLFWwindow* window);
};
extern const std::array<Toggle, 8> toggles;

// The toggle a press of `key` asks for, run in `window`; any other key does
// nothing.
void applyToggle(GLFWwindow* window, int key);

// The mip-mapping mode after `mode` (0 -> 1 -> 2 -> 0) and its message; a mode
// outside 0..2 stays as it is with no message.
int nextMipmapMode(int mode);
const char* mipmapModeMessage(int newMode);

} // namespace velorun
