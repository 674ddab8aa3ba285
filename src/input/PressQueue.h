#pragma once

#include "input/FrameInput.h"

struct GLFWwindow;

// What the window's handlers saw between two frames, kept in order for the
// next frame's input: the presses of the keys a frame reads (a tap shorter
// than a frame still counts), Escape, and the window losing the player's
// attention.
namespace velorun::input {

// The window's key handler: keeps each press of a key the frame reads
// (pressKeys) and of Escape; repeats and releases do nothing. Alt+Enter
// counts as F11.
void keyCallback(GLFWwindow* window, int key, int scancode, int action, int mods);

// The window lost the focus or was minimised: kept as a press of focusLostKey.
void attentionLost();

// Whether a press of focusLostKey is kept.
bool attentionLostPending();

// Whether an Escape is kept.
bool escapePending();

// Moves everything kept into `input`: the presses, in order, and Escape,
// which counts as held. The focus going counts only when `stillAway`: X sends
// a window passing moments without its focus (another client taking it for
// an instant, the pointer's focus changing hands), and a focus that came back
// before the frame looked was never lost to the player.
void takePendingPresses(FrameInput& input, bool stillAway);

// Forgets everything kept.
void clearPendingPresses();

} // namespace velorun::input
