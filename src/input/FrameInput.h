#pragma once

// GLEW's header first, as everywhere: GLFW's would bring in the system's gl.h.
#include <GL/glew.h>

#include "input/GamepadMapping.h"

#include <GLFW/glfw3.h>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace velorun::input {

// The window losing the player's attention (its focus, or minimised) reaches
// the frame as a press of this code, which no key or button has, so that a
// recording keeps it in its place among the presses.
constexpr int focusLostKey = GLFW_KEY_LAST + 2;

// What a press asks of the game: of the run (race again, pause, Start, which
// does either, the focus going), or of the display and sound (the toggles).
enum class Command {
    RaceAgain,
    Pause,
    Start,
    FocusLost,
    FrameTime,
    Wireframe,
    MipmapMode,
    NearestFilter,
    LensFlares,
    Blending,
    Sound,
    FullScreen,
};
constexpr int commandCount = static_cast<int>(Command::FullScreen) + 1;

struct PressKey {
    int key;
    Command command;
};

// The recording format keeps a frame's keys by their places in the two lists
// below: the keys held as bits over heldKeys (bit i for heldKeys[i]), each
// press as its index in pressKeys. Neither list is ever reordered; a key is
// only added at the end, with a new format version.

// The keys a frame reads as held down. The keyboard holds the first five; a
// gamepad holds them too (D-pad or left stick for the arrows, Back for
// Escape) and Start.
constexpr std::array<int, 6> heldKeys = {GLFW_KEY_RIGHT, GLFW_KEY_LEFT,   GLFW_KEY_UP,
                                         GLFW_KEY_DOWN,  GLFW_KEY_ESCAPE, startButtonKey};

// The keys whose presses a frame reads, each with what it asks: every one is
// named here and nowhere else. A press is a key going down; a key held on and
// its repeats are not presses again.
constexpr std::array<PressKey, 14> pressKeys = {{
    {GLFW_KEY_R, Command::RaceAgain},
    {GLFW_KEY_ENTER, Command::RaceAgain},
    {GLFW_KEY_KP_ENTER, Command::RaceAgain},
    {GLFW_KEY_P, Command::Pause},
    {startButtonKey, Command::Start},
    {GLFW_KEY_F2, Command::FrameTime},
    {GLFW_KEY_F3, Command::Wireframe},
    {GLFW_KEY_F4, Command::MipmapMode},
    {GLFW_KEY_F5, Command::NearestFilter},
    {GLFW_KEY_F6, Command::LensFlares},
    {GLFW_KEY_F9, Command::Blending},
    {GLFW_KEY_M, Command::Sound},
    {GLFW_KEY_F11, Command::FullScreen},
    {focusLostKey, Command::FocusLost},
}};

// A press key's place in pressKeys, which a recording stores; pressKeys.size()
// for any other key.
std::size_t pressCode(int key);

// What a press of `key` asks; nothing for a key whose presses no frame reads.
std::optional<Command> commandOf(int key);

// More presses than this between two frames are dropped: no player makes them.
constexpr std::size_t maxPressesPerFrame = 32;

// A set of held keys: bit i stands for heldKeys[i].
using KeySet = std::uint8_t;
constexpr KeySet allHeldKeys = (1u << heldKeys.size()) - 1u;

// The bit of `key` in a KeySet; 0 for a key that is never read as held.
constexpr KeySet keyBit(int key)
{
    for (std::size_t i = 0; i < heldKeys.size(); ++i)
        if (heldKeys[i] == key)
            return static_cast<KeySet>(1u << i);
    return 0;
}

// Whether a frame reads presses of `key`.
bool isPressKey(int key);

// Everything one frame reads of the player, gathered once after the events
// are polled. Reading it changes nothing, so any part of the frame may look
// at it as often as it likes. A recording stores these values and a replay
// feeds them back.
struct FrameInput {
    double now = 0.0; // the clock reading the frame steps to, in seconds
    KeySet keyboard = 0; // keys held on the keyboard
    KeySet gamepad = 0; // what the first gamepad holds, as keys
    std::vector<int> presses; // pressKeys that went down since the previous frame, in order
    // The framebuffer size the frame draws at; -1 where it is not known (a
    // recording from before sizes were kept), and the window's own counts.
    int width = -1;
    int height = -1;

    bool held(int key) const { return ((keyboard | gamepad) & keyBit(key)) != 0; }
    bool pressed(int key) const;
    // Whether one of the presses asks for `command`.
    bool asks(Command command) const;
};

bool operator==(const FrameInput& a, const FrameInput& b);

// What a gamepad in `state` holds, as keys.
KeySet gamepadKeys(const GLFWgamepadstate& state);

// Adds the presses of keys that are down in `now` and were not in `before`
// (the gamepad has no events of its own: Start is a press when it goes down).
void addPresses(KeySet before, KeySet now, std::vector<int>& presses);

} // namespace velorun::input
