// The shadow stage keeps the faces whose content cannot have changed. Over a
// drive that changes everything the maps depend on, each light's map is
// compared with a full redraw of the same frame around the first changes of
// each kind (the frame of the change and the one after it) and every few
// seconds while the car moves on: not one texel may differ.
#include "ScenarioFixture.h"

#include "base/BaseState.h"
#include "game/Toggles.h"
#include "input/PressQueue.h"
#include "lighting/LightRig.h"
#include "lighting/SceneState.h"
#include "lighting/ShadowMaps.h"
#include "scene/RunState.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <algorithm>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <map>
#include <optional>
#include <sstream>

namespace velorun::scenario {
namespace {

constexpr double step = 0.2;
constexpr size_t mapBytes = 6u * shadowMapSize * shadowMapSize * sizeof(float);
// Changes of one kind compared: the later ones are more of the same.
constexpr int comparedChanges = 2;
// Game time between two comparisons while only the car moves.
constexpr double movingCheckInterval = 5.0;

// What the shadow stage depends on, as a frame's stage 9 finds it: a change
// from one frame to the next makes that frame a checkpoint.
struct Look {
    std::vector<const scene::Cube*> cubes;
    glm::vec3 tubesAndLight1{0.0f};
    bool wireframe = false;
    bool culling = false;
};

Look lookNow()
{
    Look look;
    for (const auto& cube : run.cubes)
        look.cubes.push_back(cube.get());
    look.tubesAndLight1 = {tubeAZ(), tubeBZ(), pointLightPosition(1).z};
    look.wireframe = settings.wireframe;
    look.culling = glIsEnabled(GL_CULL_FACE) == GL_TRUE;
    return look;
}

// At the end of a checkpoint's shadow stage, every light is drawn again in
// full into maps of the test's own, and both maps are read back and compared.
struct MapComparison {
    std::vector<ShadowMapPair> reference;
    std::optional<Look> previous;
    const ScenarioHarness* drive = nullptr;
    bool newRun = true;
    bool previousWasChange = false; // the frame before compared a change
    double lastMovingCheck = -1.0;
    std::map<std::string, int> checkpoints; // by what changed
    std::vector<std::string> mismatches;
    std::vector<int> facesDrawn; // by each shadow stage
    std::vector<char> drawn = std::vector<char>(mapBytes), full = std::vector<char>(mapBytes);

    void atShadowStageEnd()
    {
        facesDrawn.push_back(shadowMaps.cache.facesDrawn);
        const Look look = lookNow();
        std::vector<std::string> why;
        const std::pair<const char*, bool> changes[] = {
            {"run start", newRun},
            {"obstacles", previous && previous->cubes != look.cubes},
            {"tube or lights", previous && previous->tubesAndLight1 != look.tubesAndLight1},
            {"wireframe", previous && previous->wireframe != look.wireframe},
            {"culling", previous && previous->culling != look.culling}};
        for (const auto& [name, changed] : changes)
            if (changed && checkpoints[name] < comparedChanges)
                why.push_back(name);
        const double clock = drive->clock();
        const bool afterChange = !why.empty();
        if (why.empty() && previousWasChange)
            why.push_back("the frame after");
        if (clock - lastMovingCheck > movingCheckInterval - step / 2.0) {
            why.push_back("moving on");
            lastMovingCheck = clock;
        }
        previousWasChange = afterChange;
        previous = look;
        newRun = false;
        if (why.empty())
            return;
        for (const std::string& name : why)
            ++checkpoints[name];
        for (int k = 1; k <= pointLightCount; ++k) {
            const size_t i = static_cast<size_t>(k - 1);
            renderShadowMap(pointLightPosition(k), reference[i].framebuffer, shadowCasters());
            glGetTextureImage(shadowMaps.cubeMaps[i], 0, GL_DEPTH_COMPONENT, GL_FLOAT, mapBytes, &drawn[0]);
            glGetTextureImage(reference[i].cubeMap, 0, GL_DEPTH_COMPONENT, GL_FLOAT, mapBytes, &full[0]);
            for (size_t face = 0; face < 6; ++face)
                if (std::memcmp(&drawn[face * mapBytes / 6], &full[face * mapBytes / 6], mapBytes / 6) != 0)
                    mismatches.push_back("t=" + std::to_string(clock) + " light " + std::to_string(k) +
                                         " face " + std::to_string(face) + " (" + why.front() + ")");
        }
    }
};

MapComparison* comparison = nullptr;

void onStage(FrameStage stage, bool begin)
{
    if (stage == FrameStage::Shadows && !begin && comparison)
        comparison->atShadowStageEnd();
}

class ShadowCacheScenario : public testing::Test {
protected:
    void SetUp() override
    {
        // A small window: the lit pass matters nothing here, the maps are 1024².
        game.start(smallWidth, smallHeight);
        for (int k = 0; k < pointLightCount; ++k)
            maps.reference.push_back(makeShadowMapPair());
        maps.drive = &game;
        comparison = &maps;
        stageHook = onStage;
    }
    void TearDown() override
    {
        stageHook = nullptr;
        comparison = nullptr;
        for (const ShadowMapPair& pair : maps.reference) {
            glDeleteFramebuffers(1, &pair.framebuffer);
            glDeleteTextures(1, &pair.cubeMap);
        }
        game.finish();
    }

    // Below the rows where obstacles appear (y 0 to 2), from wall to wall:
    // the car passes every obstacle and hits none.
    void weave()
    {
        const glm::vec3 p = carPosition();
        game.releaseAll();
        if (p.y > -2.0f)
            game.hold(GLFW_KEY_DOWN);
        if (p.x <= -2.4f)
            rightwards = true;
        else if (p.x >= 2.4f)
            rightwards = false;
        game.hold(rightwards ? GLFW_KEY_RIGHT : GLFW_KEY_LEFT);
    }

    void weaveUntil(double t)
    {
        while (game.clock() < t - step / 2.0) {
            weave();
            game.frame(step);
        }
    }

    void key(int k) { input::keyCallback(game.window(), k, 0, GLFW_PRESS, 0); }

    ScenarioHarness game;
    MapComparison maps;
    bool rightwards = false;
};

TEST_F(ShadowCacheScenario, EveryLightsMapEqualsAFullRedrawThroughADriveAndARaceAgain)
{
    weaveUntil(3.0);
    key(GLFW_KEY_F3); // wireframe on
    weaveUntil(3.6);
    key(GLFW_KEY_F3); // and off

    // An obstacle just beyond the near plane of a light ahead, so that the
    // face it is seen in depends on culling: the light sees the cube's inner
    // sides. Flares off keep culling on into the shadow stage, and on again
    // leave it off.
    weaveUntil(6.0);
    int ahead = 1;
    while (ahead < pointLightCount && pointLightPosition(ahead).z > carPosition().z - 20.0f)
        ++ahead;
    const glm::vec3 at = pointLightPosition(ahead) + glm::vec3(0.0f, 0.0f, -1.2f);
    run.cubes.push_back(scene::makeCube(glm::translate(glm::mat4(1.0f), at), cubeShader.get()));
    const scene::Cube* byTheLight = run.cubes.back().get();
    weaveUntil(6.6);
    key(GLFW_KEY_F6);
    weaveUntil(7.4);
    key(GLFW_KEY_F6);
    weaveUntil(8.0);
    // Taken away, unless the game's own removal of the oldest took it first.
    const auto placed = std::find_if(run.cubes.begin(), run.cubes.end(),
                                     [byTheLight](const auto& cube) { return cube.get() == byTheLight; });
    if (placed != run.cubes.end())
        run.cubes.erase(placed);

    // The game re-places its lights only as it recycles a tube, whose own
    // move then reaches every face; here they move alone.
    weaveUntil(10.0);
    for (int k = 1; k <= pointLightCount; ++k)
        pointLightCube(k)->modelMatrix[3][2] = relocatedLightZ(cameraPosition().z, k);

    // Past the first tube segment's recycling, crash into an obstacle put in
    // the car's path, watch the fireworks, race again.
    weaveUntil(16.0);
    game.releaseAll();
    run.cubes.push_back(scene::makeCube(
        glm::translate(glm::mat4(1.0f), carPosition() + glm::vec3(0.3f, 0.3f, -0.5f)), cubeShader.get()));
    game.frame(0.01);
    ASSERT_TRUE(run.gameOver);
    game.frames(3, step);
    game.hold(GLFW_KEY_R);
    game.frame(step);
    game.release(GLFW_KEY_R);
    ASSERT_FALSE(run.gameOver);
    maps.newRun = true;

    weaveUntil(19.0);
    key(GLFW_KEY_F3);
    weaveUntil(19.6);
    key(GLFW_KEY_F3);
    weaveUntil(21.0);
    key(GLFW_KEY_F6);
    weaveUntil(22.0);
    key(GLFW_KEY_F6);
    weaveUntil(25.0);

    std::ostringstream report;
    for (size_t i = 0; i < std::min<size_t>(maps.mismatches.size(), 12); ++i)
        report << "\n  " << maps.mismatches[i];
    EXPECT_TRUE(maps.mismatches.empty())
        << maps.mismatches.size() << " faces differ from a full redraw:" << report.str();

    // The drive did change everything the maps depend on.
    for (const char* cause :
         {"run start", "obstacles", "tube or lights", "wireframe", "culling", "the frame after", "moving on"})
        EXPECT_GE(maps.checkpoints[cause], 2) << cause;
    // And in most frames the stage kept most faces instead of redrawing them.
    std::vector<int> faces = maps.facesDrawn;
    std::nth_element(faces.begin(), faces.begin() + faces.size() / 2, faces.end());
    EXPECT_LE(faces[faces.size() / 2], 48 / 4) << "faces drawn in the median frame";
}

} // namespace
} // namespace velorun::scenario
