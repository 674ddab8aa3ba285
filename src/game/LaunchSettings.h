#pragma once

namespace velorun {

// The window the game opens: what the command line asked for, or what a
// recording was made in.
struct LaunchSettings {
    int width = 800;
    int height = 600;
    bool fullScreen = false;
};

} // namespace velorun
