#pragma once

struct GLFWwindow;

namespace velorun {

// The window's key handler: keeps each press of a key the frame reads
// (input::pressKeys, and Escape) for the next frame's input; repeats and
// releases do nothing. Alt+Enter counts as F11. The frame acts on the presses
// itself, toggles included.
void keyCallback(GLFWwindow* window, int key, int scancode, int action, int mods);

// What a press of a toggle key does, at once: F2, F3, F4, F5, F6 and F9
// switch display options, M switches sound. Any other key does nothing.
void applyToggleKey(int key);

// The mip-mapping mode after `mode` (0 -> 1 -> 2 -> 0) and its message; a mode
// outside 0..2 stays as it is with no message.
int nextMipmapMode(int mode);
const char* mipmapModeMessage(int newMode);

} // namespace velorun
