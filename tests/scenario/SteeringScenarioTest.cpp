// Steering as players do it: any mix of arrow keys, held for long, at any frame
// rate. The keys come through the frame seam and move the car with the frame
// loop's own steering and driving; nothing is drawn, so twenty seconds of game
// time at a thousand frames a second take a moment.
#include "drive/ScriptedDrive.h"
#include "game/Frame.h"
#include "game/FrameSeam.h"
#include "game/StartUp.h"
#include "lighting/SceneState.h"
#include "rules/GameRules.h"
#include "scene/RunState.h"
#include "scene/SceneObject.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace velorun::scenario {
namespace {

constexpr int arrowKeys[4] = {GLFW_KEY_RIGHT, GLFW_KEY_LEFT, GLFW_KEY_UP, GLFW_KEY_DOWN};
constexpr float tubeScaleXY = 4.0f; // how set-up scales the tube model across
// The near plane is 0.1 ahead of the camera and its corners lie within 0.1 of
// the view axis for any window up to twice as wide as high.
constexpr float nearPlaneRoom = 0.1f;

// The nearest the tube's inner surface comes to the axis, in world units: the
// middle of the flat panels between neighbouring vertices of one ring of the
// shipped model.
float tubeInnerRadius()
{
    std::ifstream obj("Resources/Objects/tube/tube2.obj");
    std::vector<glm::vec2> ring;
    std::string line;
    while (std::getline(obj, line)) {
        std::istringstream in(line);
        std::string tag;
        float x = 0.0f, y = 0.0f, z = 0.0f;
        if ((in >> tag >> x >> y >> z) && tag == "v" && z == 0.0f)
            ring.push_back(glm::vec2(x, y) * tubeScaleXY);
    }
    if (ring.size() < 8)
        return 0.0f;
    std::sort(ring.begin(), ring.end(),
              [](glm::vec2 a, glm::vec2 b) { return std::atan2(a.y, a.x) < std::atan2(b.y, b.x); });
    float inner = 1e9f;
    for (size_t i = 0; i < ring.size(); ++i) {
        const glm::vec2 a = ring[i];
        const glm::vec2 b = ring[(i + 1) % ring.size()];
        if (glm::length(b - a) < 1e-6f)
            continue; // the seam's duplicate vertex
        inner = std::min(inner, glm::length(0.5f * (a + b)));
    }
    return inner;
}

class SteeringFixture {
protected:
    ScriptedDrive drive; // the keys; the game itself is not started

    void hold(const std::vector<int>& keys)
    {
        drive.releaseAll();
        for (int key : keys)
            drive.hold(key);
    }

    void setUpCar()
    {
        car = std::make_unique<scene::Model>();
        car->modelMatrix =
            glm::translate(glm::scale(glm::mat4(1.0f), glm::vec3(0.5f)), glm::vec3(0.0f, 0.0f, -25.0f));
        car->speed = 10.5f;
        camera = std::make_unique<Camera>();
    }

    void tearDownCar() { releaseResources(); }

    // One frame of the loop's car motion.
    void frame(float dt)
    {
        steerCar(drive.heldInput(), dt);
        driveCar(dt);
    }
};

// Keys held: a bit mask over Right, Left, Up, Down (1 to 15); frame time in seconds.
class HeldArrowKeys : public SteeringFixture, public ::testing::TestWithParam<std::tuple<int, double>> {
protected:
    void SetUp() override { setUpCar(); }
    void TearDown() override { tearDownCar(); }
};

TEST_P(HeldArrowKeys, KeepTheCarWithinItsLimitAndTheCameraInsideTheTube)
{
    const auto [mask, frameTime] = GetParam();
    std::vector<int> keys;
    for (int k = 0; k < 4; ++k) {
        if (mask & (1 << k))
            keys.push_back(arrowKeys[k]);
    }
    hold(keys);
    const float wall = tubeInnerRadius();
    ASSERT_GT(wall, 4.0f) << "tube model not found or not round";

    const int frames = static_cast<int>(std::lround(20.0 / frameTime));
    float furthest = 0.0f;
    for (int i = 0; i < frames; ++i) {
        frame(static_cast<float>(frameTime));
        const glm::vec3 p = scene::positionOf(car->modelMatrix);
        const glm::vec3 eye = camera->position;
        furthest = std::max(furthest, std::hypot(p.x, p.y));
        ASSERT_TRUE(insideTube(p.x, p.y)) << "frame " << i << ": car at (" << p.x << ", " << p.y << "), "
                                          << std::hypot(p.x, p.y) << " from the axis";
        ASSERT_LE(std::hypot(eye.x, eye.y) + nearPlaneRoom, wall)
            << "frame " << i << ": camera at (" << eye.x << ", " << eye.y << ")";
    }
    // Keys that do not cancel out carry the car to the wall.
    const bool sideways = (mask & 1) != ((mask >> 1) & 1);
    const bool vertical = ((mask >> 2) & 1) != ((mask >> 3) & 1);
    if (sideways || vertical) {
        EXPECT_GT(furthest, 2.9f);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKeyMixAndFrameRate, HeldArrowKeys,
                         ::testing::Combine(::testing::Range(1, 16),
                                            ::testing::Values(0.001, 1.0 / 60.0, 0.1, 0.35, 1.0)));

class CarOutsideTheTube : public SteeringFixture, public ::testing::Test {
protected:
    void SetUp() override { setUpCar(); }
    void TearDown() override { tearDownCar(); }
};

TEST_F(CarOutsideTheTube, ComesBackWithinAFrameWhenItsKeysAreReleasedOrPointInward)
{
    const struct {
        glm::vec2 at;
        std::vector<int> keys;
    } cases[] = {
        {{4.5f, 1.0f}, {}},
        {{-4.2f, 2.0f}, {}},
        {{0.0f, 4.0f}, {}},
        {{1.0f, -5.0f}, {}},
        {{4.5f, 1.0f}, {GLFW_KEY_LEFT}},
        {{-4.2f, 2.0f}, {GLFW_KEY_RIGHT, GLFW_KEY_DOWN}},
        {{0.0f, 4.0f}, {GLFW_KEY_DOWN}},
        {{1.0f, -5.0f}, {GLFW_KEY_UP, GLFW_KEY_LEFT}},
        // Outward keys too: the first is pushed back, the rest act, and the
        // frame still ends inside.
        {{4.5f, 1.0f}, {GLFW_KEY_RIGHT, GLFW_KEY_UP}},
    };
    for (const auto& c : cases) {
        car->modelMatrix[3].x = c.at.x;
        car->modelMatrix[3].y = c.at.y;
        hold(c.keys);
        frame(1.0f / 60.0f);
        const glm::vec3 p = scene::positionOf(car->modelMatrix);
        EXPECT_TRUE(insideTube(p.x, p.y)) << "from (" << c.at.x << ", " << c.at.y << ") with "
                                          << c.keys.size() << " keys: (" << p.x << ", " << p.y << ")";
    }
}

} // namespace
} // namespace velorun::scenario
