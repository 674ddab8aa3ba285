// The first hit ends the game: the car and camera freeze, the tube and car
// vanish, "GAME OVER" is drawn and the fireworks run.
#include "ScenarioFixture.h"

#include "lighting/SceneState.h"
#include "particles/ParticleSystem.h"
#include "render/RenderState.h"
#include "scene/RunState.h"
#include "scene/SceneObject.h"

#include <GLFW/glfw3.h>
#include <cmath>
#include <string>

namespace velorun::scenario {
namespace {

// Share of pixels in the clear colour in a band along the left edge of the
// window, where the tube wall is seen while the game runs.
double clearShareLeftBand(const Screenshot& shot)
{
    const Rgb clear = clearColour();
    const int total = 130 * 260;
    return static_cast<double>(countPixels(shot, 10, 300, 140, 560,
                                           [&](const unsigned char* p) { return near(p, clear, 10); })) /
           total;
}

bool nearWhite(const unsigned char* p) { return p[0] >= 225 && p[1] >= 225 && p[2] >= 225; }

// The quads of "GAME OVER" at (50, 180), scale 2.5, laid out from the loaded
// glyph metrics; the window is 800 x 600, so text units are pixels. Returns
// how many of the visible letters have at least 8% near-white pixels.
int bannerLettersShown(const Screenshot& shot, int& letters)
{
    const std::string text = "GAME OVER";
    const float scale = 2.5f;
    float penX = 50.0f;
    const float penY = 180.0f;
    int shown = 0;
    letters = 0;
    for (char c : text) {
        const Character& g = textRenderer.characters.at(c);
        const float x0 = penX + static_cast<float>(g.bearing.x) * scale;
        const float y0 = penY - static_cast<float>(g.size.y - g.bearing.y) * scale;
        const float w = static_cast<float>(g.size.x) * scale;
        const float h = static_cast<float>(g.size.y) * scale;
        if (w > 0.0f && h > 0.0f) {
            ++letters;
            const int ix0 = static_cast<int>(std::ceil(x0)), iy0 = static_cast<int>(std::ceil(y0));
            const int ix1 = static_cast<int>(x0 + w), iy1 = static_cast<int>(y0 + h);
            const int area = (ix1 - ix0) * (iy1 - iy0);
            if (countPixels(shot, ix0, iy0, ix1, iy1, nearWhite) * 100 >= area * 8)
                ++shown;
        }
        penX += static_cast<float>(g.advance >> 6) * scale;
    }
    return shown;
}

// Bright warm pixels: the fireworks' sparks (red-orange glow running to
// white-hot in the middle).
int sparkPixels(const Screenshot& shot)
{
    return countPixels(shot, 0, 0, shot.width, shot.height,
                       [](const unsigned char* p) { return p[0] >= 170 && p[0] - p[2] >= 70; });
}

TEST_F(PictureScenario, FirstHitEndsTheGameFreezesTheViewAndStartsTheFireworks)
{
    game.frame(tinyStep);
    game.frame(1.0); // first obstacle, 50 ahead of the camera
    ASSERT_EQ(run.cubes.size(), 1u);
    const glm::vec3 cube = scene::positionOf(run.cubes[0]->modelMatrix);
    ASSERT_FALSE(run.gameOver);

    // Put the car in the obstacle's lane, 0.4 left of and below it (overlap on
    // x and y), 8 units short of it, and drive straight on.
    placeCar({cube.x - 0.4f, cube.y - 0.4f, cube.z + 8.0f});
    const double step = 0.125; // 1.3125 units per frame: the 2-unit z window can't be skipped
    int frames = 0;
    while (!run.gameOver && frames < 12) {
        game.frame(step);
        ++frames;
        const float gap = carPosition().z - cube.z; // the car approaches from +z
        if (gap >= 1.0f) {
            EXPECT_FALSE(run.gameOver) << "no overlap on z yet, gap " << gap;
        } else if (gap > 0.0f) {
            EXPECT_TRUE(run.gameOver) << "overlap on all three axes, gap " << gap;
        }
    }
    ASSERT_TRUE(run.gameOver);
    EXPECT_FALSE(run.fireworksPending);
    EXPECT_TRUE(particleSystem.isFirst) << "initialised by the hit, not yet updated";
    ASSERT_NE(particleSystem.transformFeedbacks[0], 0u);
    const GLuint feedback0 = particleSystem.transformFeedbacks[0];
    const GLuint buffer0 = particleSystem.particleBuffers[0];
    const Screenshot hitFrame = game.captureFrame(); // drawn before the hit was found
    game.save(hitFrame, "gameover_0_hit_frame");
    const std::string scoreAtHit = run.scoreText;

    const glm::vec3 car = carPosition();
    const glm::vec3 cam = cameraPosition();
    const size_t cubesAtHit = run.cubes.size();

    game.frame(step);
    const Screenshot first = game.captureFrame();
    game.save(first, "gameover_1_first_frame");
    EXPECT_EQ(carPosition(), car);
    EXPECT_EQ(cameraPosition(), cam);
    EXPECT_EQ(run.scoreText, scoreAtHit);
    EXPECT_FALSE(particleSystem.isFirst);
    EXPECT_EQ(particleSystem.time, 125);

    // Tube (and car) gone: the left wall turns into the clear colour.
    EXPECT_LT(clearShareLeftBand(hitFrame), 0.05);
    EXPECT_GT(clearShareLeftBand(first), 0.6);

    // The banner: every letter box of "GAME OVER" holds white text.
    int letters = 0;
    EXPECT_EQ(bannerLettersShown(first, letters), letters);
    EXPECT_EQ(letters, 8);
    EXPECT_LT(bannerLettersShown(hitFrame, letters), letters / 2) << "no banner while playing";

    // About three seconds of fireworks. The obstacle that was hit still
    // overlaps the car every frame; the particle system must not start again.
    const int sparksAtStart = sparkPixels(first);
    int framesWithMoreSparks = 0;
    int mostSparks = sparksAtStart;
    for (int i = 2; i <= 24; ++i) {
        game.frame(step);
        ASSERT_TRUE(run.gameOver);
        ASSERT_FALSE(particleSystem.isFirst) << "frame " << i;
        ASSERT_EQ(particleSystem.transformFeedbacks[0], feedback0);
        ASSERT_EQ(particleSystem.particleBuffers[0], buffer0);
        EXPECT_EQ(particleSystem.time, 125 * i);
        EXPECT_EQ(carPosition(), car);
        EXPECT_EQ(cameraPosition(), cam);
        if (i % 4 == 0) {
            const Screenshot shot = game.captureFrame();
            game.save(shot, "gameover_fireworks_" + std::to_string(i));
            const int sparks = sparkPixels(shot);
            mostSparks = std::max(mostSparks, sparks);
            if (sparks > sparksAtStart + 150)
                ++framesWithMoreSparks;
            EXPECT_EQ(bannerLettersShown(shot, letters), letters) << "frame " << i;
        }
    }
    EXPECT_GE(framesWithMoreSparks, 2) << "sparks at start " << sparksAtStart << ", most " << mostSparks;

    // Obstacles keep coming, 50 ahead of the frozen camera, and stay.
    EXPECT_GE(run.cubes.size(), cubesAtHit + 2);
    for (size_t i = cubesAtHit; i < run.cubes.size(); ++i)
        EXPECT_FLOAT_EQ(scene::positionOf(run.cubes[i]->modelMatrix).z, cam.z - 50.0f);

    // The arrow keys still move the car; the camera stays.
    // (A 1/16 s frame, short enough for the whole frame time to count.)
    game.hold(GLFW_KEY_LEFT);
    game.frame(0.0625);
    game.releaseAll();
    EXPECT_NEAR(carPosition().x, car.x - 5.25f * 0.0625f, 1e-4);
    EXPECT_EQ(cameraPosition(), cam);
}

} // namespace
} // namespace velorun::scenario
