#include "input/FrameInput.h"

#include <algorithm>

namespace velorun::input {

std::size_t pressCode(int key)
{
    std::size_t code = 0;
    while (code < pressKeys.size() && pressKeys[code].key != key)
        ++code;
    return code;
}

std::optional<Command> commandOf(int key)
{
    const std::size_t code = pressCode(key);
    if (code == pressKeys.size())
        return std::nullopt;
    return pressKeys[code].command;
}

bool isPressKey(int key) { return pressCode(key) < pressKeys.size(); }

bool FrameInput::pressed(int key) const
{
    return std::find(presses.begin(), presses.end(), key) != presses.end();
}

bool FrameInput::asks(Command command) const
{
    return std::any_of(presses.begin(), presses.end(),
                       [command](int key) { return commandOf(key) == command; });
}

bool operator==(const FrameInput& a, const FrameInput& b)
{
    return a.now == b.now && a.keyboard == b.keyboard && a.gamepad == b.gamepad && a.presses == b.presses &&
           a.width == b.width && a.height == b.height;
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
