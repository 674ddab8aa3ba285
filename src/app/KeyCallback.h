#pragma once

struct GLFWwindow;

namespace velorun {

// Function keys switch display options and M switches sound; only presses
// count, never repeats. Presses of the run's command keys (R, Enter, P) are
// kept for the frame loop, which acts on them.
void keyCallback(GLFWwindow* window, int key, int scancode, int action, int mods);

// The mip-mapping mode after `mode` (0 -> 1 -> 2 -> 0) and its message; a mode
// outside 0..2 stays as it is with no message.
int nextMipmapMode(int mode);
const char* mipmapModeMessage(int newMode);

} // namespace velorun
