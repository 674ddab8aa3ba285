#pragma once

#include <cstddef>
#include <vector>

struct GLFWwindow;
struct GLFWmonitor;

namespace velorun {

// A rectangle of the desktop, in screen coordinates.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Which of `monitors` holds the largest part of `window`; the first when it
// overlaps none (a window dragged off every screen).
std::size_t monitorHolding(const ScreenRect& window, const std::vector<ScreenRect>& monitors);

// Where `monitor` lies on the desktop, at its current video mode.
ScreenRect monitorRect(GLFWmonitor* monitor);

// `size` centred on `monitor`.
ScreenRect centredOn(const ScreenRect& monitor, int width, int height);

// F11 and Alt+Enter: a window goes full screen on the monitor that holds most
// of it, at that monitor's current video mode, so the display never changes
// mode, its place and size kept in `windowed`; full screen goes back to
// `windowed`.
void toggleFullScreen(GLFWwindow* window, ScreenRect& windowed);

} // namespace velorun
