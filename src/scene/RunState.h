#pragma once

#include "base/GameRandom.h"
#include "scene/Cube.h"

#include <glm/glm.hpp>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velorun {

// One run of the game: from the start, or a race again, through the crash and
// the GAME OVER screen after it. A new run starts from a value-initialised
// RunState. What lives as long as the program (the window, programs, models,
// textures, shadow maps, the sound device, the display settings) is kept
// elsewhere and never made twice.
struct RunState {
    std::vector<std::unique_ptr<scene::Cube>> cubes; // obstacles, oldest first
    bool gameOver = false;
    bool fireworksPending = true;
    bool paused = false;
    std::string scoreText;

    // The frame loop's clock and timers, in seconds; all zero before the first frame.
    double previousTime = 0.0;
    double deltaTime = 0.0;
    double spawnTimer = 0.0;
    double speedUpTimer = 0.0;
    // Where the hit test last saw the car: at the end of the previous frame's
    // update, or where the run starts. A frame's hits are tested along the
    // car's whole move from here; whatever puts the car somewhere else
    // without driving it there moves this along.
    glm::vec3 carSeenAt{0.0f};
};

extern RunState run;

// What outlives every run and lasts as long as the process (the game stores
// nothing).
struct Session {
    // Where the obstacles' and the fireworks' draws come from. It goes on
    // from one run to the next, as a race again does not start the draws
    // afresh.
    GameRandom gameRandom;
    // The best score of the runs that ended so far.
    std::optional<int> bestScore;
    // Whether the player has raced again. The GAME OVER screen shows the best
    // score only from then on: after the first run it would just repeat the
    // score.
    bool racedAgain = false;
};

extern Session session;

// A new process's session: no best score, no race again, and the generator
// where a new process starts it.
void resetSession();

} // namespace velorun
