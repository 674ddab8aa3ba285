#include "game/FullScreen.h"

#include <GLFW/glfw3.h>
#include <algorithm>

namespace velorun {

namespace {

long long overlap(const ScreenRect& a, const ScreenRect& b)
{
    const long long w = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const long long h = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

} // namespace

ScreenRect monitorRect(GLFWmonitor* monitor)
{
    ScreenRect rect;
    glfwGetMonitorPos(monitor, &rect.x, &rect.y);
    if (const GLFWvidmode* mode = glfwGetVideoMode(monitor)) {
        rect.width = mode->width;
        rect.height = mode->height;
    }
    return rect;
}

std::size_t monitorHolding(const ScreenRect& window, const std::vector<ScreenRect>& monitors)
{
    std::size_t best = 0;
    long long bestArea = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const long long area = overlap(window, monitors[i]);
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    return best;
}

ScreenRect centredOn(const ScreenRect& monitor, int width, int height)
{
    return ScreenRect{monitor.x + (monitor.width - width) / 2, monitor.y + (monitor.height - height) / 2,
                      width, height};
}

void toggleFullScreen(GLFWwindow* window, ScreenRect& windowed)
{
    if (glfwGetWindowMonitor(window)) {
        glfwSetWindowMonitor(window, nullptr, windowed.x, windowed.y, windowed.width, windowed.height,
                             GLFW_DONT_CARE);
        return;
    }
    int count = 0;
    GLFWmonitor** monitors = glfwGetMonitors(&count);
    if (count <= 0)
        return;
    std::vector<ScreenRect> rects;
    for (int i = 0; i < count; ++i)
        rects.push_back(monitorRect(monitors[i]));
    glfwGetWindowPos(window, &windowed.x, &windowed.y);
    glfwGetWindowSize(window, &windowed.width, &windowed.height);
    GLFWmonitor* monitor = monitors[monitorHolding(windowed, rects)];
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    if (!mode)
        return;
    glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
}

} // namespace velorun
