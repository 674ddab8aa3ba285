// velorun-screenshot --gameplay OUT.png --gameover OUT.png [--size W H]
//
// Runs the real frame loop (velorun::runFrame) with a fixed 0.1 s clock and a
// key script: about three seconds of driving with some steering (gameplay
// shot), then it steers into the lane of the nearest obstacle ahead, drives
// on until the hit and lets the fireworks run for three seconds (game-over
// shot). Each shot is the frame just swapped, read from the back buffer (Mesa
// keeps it after the swap).
#include "drive/ScriptedDrive.h"
#include "lighting/SceneState.h"
#include "render/Screenshot.h"
#include "scene/RunState.h"
#include "scene/SceneObject.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

bool shoot(int width, int height, const std::string& path)
{
    glFinish();
    glReadBuffer(GL_BACK);
    const velorun::Screenshot shot = velorun::readScreenshot(width, height);
    if (!velorun::saveScreenshotPng(shot, path)) {
        std::cerr << "velorun-screenshot: could not write " << path << std::endl;
        return false;
    }
    std::cerr << "velorun-screenshot: wrote " << path << std::endl;
    return true;
}

int usage()
{
    std::cerr << "usage: velorun-screenshot --gameplay OUT.png --gameover OUT.png [--size W H]\n"
                 "       (run from the repository root)"
              << std::endl;
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string gameplayPath, gameoverPath;
    int width = 800, height = 600;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--gameplay") && i + 1 < argc)
            gameplayPath = argv[++i];
        else if (!std::strcmp(argv[i], "--gameover") && i + 1 < argc)
            gameoverPath = argv[++i];
        else if (!std::strcmp(argv[i], "--size") && i + 2 < argc) {
            width = std::atoi(argv[++i]);
            height = std::atoi(argv[++i]);
        } else
            return usage();
    }
    if ((gameplayPath.empty() && gameoverPath.empty()) || width <= 0 || height <= 0)
        return usage();

    velorun::ScriptedDrive drive;
    drive.start(width, height);

    const double step = 0.1;
    bool ok = true;

    // About three seconds of driving: a little to the right, then up.
    for (int i = 0; i < 30; ++i) {
        drive.releaseAll();
        if (i >= 8 && i < 12)
            drive.hold(GLFW_KEY_RIGHT);
        if (i >= 16 && i < 19)
            drive.hold(GLFW_KEY_UP);
        drive.frame(step);
    }
    drive.releaseAll();
    drive.frame(0.0); // drawn with the view of where the camera is now
    if (!gameplayPath.empty())
        ok = shoot(width, height, gameplayPath) && ok;

    if (!gameoverPath.empty()) {
        // Steer into the lane of the nearest obstacle ahead and drive on.
        for (int i = 0; i < 300 && !velorun::run.gameOver; ++i) {
            drive.releaseAll();
            const glm::vec3 car = velorun::scene::positionOf(velorun::car->modelMatrix);
            if (const velorun::scene::Cube* cube = velorun::nearestObstacleAhead(car.z, 3.0f)) {
                const glm::vec3 c = velorun::scene::positionOf(cube->modelMatrix);
                drive.steerTowards(glm::vec2(c.x - 0.2f, c.y - 0.2f), 0.3f);
            }
            drive.frame(step);
        }
        drive.releaseAll();
        if (!velorun::run.gameOver) {
            std::cerr << "velorun-screenshot: no hit within 30 s of driving" << std::endl;
            ok = false;
        } else {
            for (int i = 0; i < 30; ++i) // three seconds of fireworks
                drive.frame(step);
            ok = shoot(width, height, gameoverPath) && ok;
        }
    }

    drive.finish();
    return ok ? 0 : 1;
}
