#include "input/FrameInput.h"

#include <algorithm>

namespace velorun::input {

bool isPressKey(int key) { return std::find(pressKeys.begin(), pressKeys.end(), key) != pressKeys.end(); }

bool FrameInput::pressed(int key) const
{
    return std::find(presses.begin(), presses.end(), key) != presses.end();
}

bool operator==(const FrameInput& a, const FrameInput& b)
{
    return a.now == b.now && a.keyboard == b.keyboard && a.gamepad == b.gamepad && a.presses == b.presses;
}

KeySet gamepadKeys(const GLFWgamepadstate& state)
{
    KeySet keys = 0;
    for (int key : heldKeys)
        if (gamepadHoldsKey(state, key))
            keys |= keyBit(key);
    return keys;
}

void addPresses(KeySet before, KeySet now, std::vector<int>& presses)
{
    for (int key : heldKeys) {
        const KeySet bit = keyBit(key);
        if ((now & bit) && !(before & bit) && isPressKey(key))
            presses.push_back(key);
    }
}

} // namespace velorun::input
