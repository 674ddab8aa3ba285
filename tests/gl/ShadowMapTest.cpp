#include "SceneFixture.h"

#include "input/PressQueue.h"
#include "lighting/LitPass.h"
#include "lighting/SceneSetup.h"
#include "lighting/SceneState.h"
#include "lighting/ShadowCache.h"
#include "lighting/ShadowMaps.h"
#include "scene/RunState.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>

namespace velorun::test {
namespace {

constexpr int kMapSize = 1024;
constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 80.0f;

// Window depth of a point at major-axis distance z from the light under a
// 90-degree perspective face with near 1 and far 80.
float faceDepth(float z)
{
    const float n = kNearPlane;
    const float f = kFarPlane;
    return ((f + n) / (f - n) - 2.0f * f * n / ((f - n) * z)) * 0.5f + 0.5f;
}

// One face of a depth cube map, row-major from texel (0, 0).
std::vector<float> readFace(GLuint cubeMap, int face)
{
    std::vector<float> depth(static_cast<size_t>(kMapSize * kMapSize), -1.0f);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(face), 0, GL_DEPTH_COMPONENT, GL_FLOAT,
                  depth.data());
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    return depth;
}

float texel(const std::vector<float>& face, int x, int y)
{
    return face[static_cast<size_t>(y * kMapSize + x)];
}

using ShadowMapTest = SceneGlTest;

TEST_F(ShadowMapTest, EightDepthCubeMapsWithCompleteLayeredFramebuffers)
{
    createShadowMaps();
    ASSERT_EQ(shadowMaps.cubeMaps.size(), 8u);
    ASSERT_EQ(shadowMaps.framebuffers.size(), 8u);
    ASSERT_NE(shadowMaps.depthShader, nullptr);
    GLint linked = GL_FALSE;
    glGetProgramiv(shadowMaps.depthShader->program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    EXPECT_NE(shadowMaps.depthShader->geometryShader, 0u);

    for (size_t k = 0; k < 8; ++k) {
        SCOPED_TRACE("light " + std::to_string(k + 1));
        const GLuint map = shadowMaps.cubeMaps[k];
        ASSERT_TRUE(glIsTexture(map));
        glBindTexture(GL_TEXTURE_CUBE_MAP, map);
        for (int face = 0; face < 6; ++face) {
            const GLenum target = GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(face);
            GLint value = 0;
            glGetTexLevelParameteriv(target, 0, GL_TEXTURE_WIDTH, &value);
            EXPECT_EQ(value, 1024);
            glGetTexLevelParameteriv(target, 0, GL_TEXTURE_HEIGHT, &value);
            EXPECT_EQ(value, 1024);
            glGetTexLevelParameteriv(target, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
            EXPECT_EQ(value, GL_DEPTH_COMPONENT);
            glGetTexLevelParameteriv(target, 1, GL_TEXTURE_WIDTH, &value);
            EXPECT_EQ(value, 0) << "no mip levels";
        }
        const std::pair<GLenum, GLint> parameters[] = {
            {GL_TEXTURE_MAG_FILTER, GL_NEAREST},   {GL_TEXTURE_MIN_FILTER, GL_NEAREST},
            {GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE}, {GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE},
            {GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE}, {GL_TEXTURE_COMPARE_MODE, GL_NONE}};
        for (auto [name, expected] : parameters) {
            GLint value = 0;
            glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, name, &value);
            EXPECT_EQ(value, expected) << "parameter 0x" << std::hex << name;
        }

        // Framebuffer k holds depth map k as a layered depth attachment only.
        glBindFramebuffer(GL_FRAMEBUFFER, shadowMaps.framebuffers[k]);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        GLint value = 0;
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                              GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &value);
        EXPECT_EQ(static_cast<GLuint>(value), map);
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                              GL_FRAMEBUFFER_ATTACHMENT_LAYERED, &value);
        EXPECT_EQ(value, GL_TRUE);
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                              GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &value);
        EXPECT_EQ(value, GL_NONE);
        EXPECT_EQ(getInteger(GL_DRAW_BUFFER), GL_NONE);
        EXPECT_EQ(getInteger(GL_READ_BUFFER), GL_NONE);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    // All names distinct.
    for (size_t a = 0; a < 8; ++a)
        for (size_t b = a + 1; b < 8; ++b) {
            EXPECT_NE(shadowMaps.cubeMaps[a], shadowMaps.cubeMaps[b]);
            EXPECT_NE(shadowMaps.framebuffers[a], shadowMaps.framebuffers[b]);
        }
}

class ShadowPassTest : public SceneGlTest {
protected:
    void SetUp() override
    {
        SceneGlTest::SetUp();
        if (HasFatalFailure())
            return;
        glEnable(GL_DEPTH_TEST);
        tubeA = std::make_unique<scene::Model>("./Resources/Objects/tube/tube2.obj");
        tubeB = std::make_unique<scene::Model>("./Resources/Objects/tube/tube2.obj");
        car = std::make_unique<scene::Model>("./Resources/Objects/car/car.obj");
        cubeShader = std::make_unique<ShaderProgram>("./Shader/basic.vert", "./Shader/cube.frag");
        // The tube as the game scales it; the second segment and the car far
        // out of the light's reach.
        tubeA->modelMatrix = glm::scale(glm::mat4(1.0f), glm::vec3(4.0f, 4.0f, 15.0f));
        tubeB->modelMatrix = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 1000.0f));
        car->modelMatrix = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 1000.0f));
        createShadowMaps();
    }
};

// Light inside the tube on its axis, 30 units in.
const glm::vec3 kLight(0.0f, 0.0f, -30.0f);

TEST_F(ShadowPassTest, ObstacleDepthIsStoredInTheFaceItIsSeenIn)
{
    // A unit cube 5 units down -z: its near face is 4.5 away on that axis.
    run.cubes.push_back(
        scene::makeCube(glm::translate(glm::mat4(1.0f), kLight + glm::vec3(0, 0, -5)), cubeShader.get()));
    renderShadowMap(kLight, shadowMaps.framebuffers[2], shadowCasters());
    EXPECT_EQ(getInteger(GL_FRAMEBUFFER_BINDING), 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 1024);

    const std::vector<float> minusZ = readFace(shadowMaps.cubeMaps[2], 5);
    const float obstacle = faceDepth(4.5f);
    // The cube spans tan = 0.5 / 4.5 of the face's half-width: texels 512 +- 56.
    for (auto [dx, dy] : {std::pair{0, 0}, {-40, -40}, {40, 40}, {-40, 40}, {40, -40}})
        EXPECT_NEAR(texel(minusZ, 512 + dx, 512 + dy), obstacle, 2e-4) << "offset " << dx << ", " << dy;
    // Outside it the ray runs on to the tube wall, much further away.
    for (auto [dx, dy] : {std::pair{-90, 0}, {90, 0}, {0, -90}, {0, 90}})
        EXPECT_GT(texel(minusZ, 512 + dx, 512 + dy), faceDepth(10.0f)) << "offset " << dx << ", " << dy;

    // Sideways the tube wall, radius 4.8, is seen at distance 4.8 in the four
    // side faces.
    for (int face : {0, 1, 2, 3}) {
        const std::vector<float> side = readFace(shadowMaps.cubeMaps[2], face);
        EXPECT_NEAR(texel(side, 512, 512), faceDepth(4.8f), 3e-3) << "face " << face;
    }
}

TEST_F(ShadowPassTest, WithoutObstaclesOnlyTheModelsAreDrawn)
{
    renderShadowMap(kLight, shadowMaps.framebuffers[0], shadowCasters());
    const std::vector<float> minusZ = readFace(shadowMaps.cubeMaps[0], 5);
    // Straight down the open tube nothing is nearer than the far plane.
    EXPECT_FLOAT_EQ(texel(minusZ, 512, 512), 1.0f);
    const std::vector<float> plusX = readFace(shadowMaps.cubeMaps[0], 0);
    EXPECT_NEAR(texel(plusX, 512, 512), faceDepth(4.8f), 3e-3);

    // Moving the tube segment away empties the side faces too: the model's
    // matrix is what places it.
    tubeA->modelMatrix = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 1000.0f));
    renderShadowMap(kLight, shadowMaps.framebuffers[0], shadowCasters());
    EXPECT_FLOAT_EQ(texel(readFace(shadowMaps.cubeMaps[0], 0), 512, 512), 1.0f);
}

TEST_F(ShadowPassTest, GeometryNearerThanTheNearPlaneIsClipped)
{
    // A thin plate 0.5 in front of the light along -z: inside the near plane.
    run.cubes.push_back(
        scene::makeCube(glm::scale(glm::translate(glm::mat4(1.0f), kLight + glm::vec3(0, 0, -0.5f)),
                                   glm::vec3(0.5f, 0.5f, 0.1f)),
                        cubeShader.get()));
    renderShadowMap(kLight, shadowMaps.framebuffers[1], shadowCasters());
    EXPECT_FLOAT_EQ(texel(readFace(shadowMaps.cubeMaps[1], 5), 512, 512), 1.0f);
}

// A vertex beyond float range leaves a model's box not finite; the shadow
// stage, which draws into a face only what reaches it, still draws the
// model's other triangles.
TEST_F(ShadowPassTest, AModelWhoseBoxIsNotFiniteStillCastsItsShadow)
{
    for (int k = 1; k <= pointLightCount; ++k)
        pointLightCube(k) = scene::makeCube(glm::translate(glm::mat4(1.0f), kLight), cubeShader.get());
    // A plate 5 down -z from the light and a sliver out to 1e39.
    car = std::make_unique<scene::Model>(writeObjModel("far", "v -1 -1 -5\nv 1 -1 -5\nv 1 1 -5\nv -1 1 -5\n"
                                                              "v 1e39 0 -6\nf 1 2 3\nf 1 3 4\nf 1 2 5\n")
                                             .c_str());
    ASSERT_FALSE(std::isfinite(car->boundsMax.x));
    car->modelMatrix = glm::translate(glm::mat4(1.0f), kLight);
    updateShadowMaps(shadowCasters(), pointLightPositions());
    EXPECT_NEAR(texel(readFace(shadowMaps.cubeMaps[0], 5), 512, 512), faceDepth(5.0f), 2e-4);
    // A face drawn again for a change elsewhere in it draws the model too.
    run.cubes.push_back(
        scene::makeCube(glm::translate(glm::mat4(1.0f), kLight + glm::vec3(0, 0, -20)), cubeShader.get()));
    EXPECT_EQ(updateShadowMaps(shadowCasters(), pointLightPositions()), pointLightCount);
    EXPECT_NEAR(texel(readFace(shadowMaps.cubeMaps[0], 5), 512, 512), faceDepth(5.0f), 2e-4);
}

// ---- the lit pass ---------------------------------------------------------

using LitShadowTest = SceneGlTest;

TEST_F(LitShadowTest, ObstacleBetweenLightAndWallDarkensTheWallBehindIt)
{
    setupScene(window, input::keyCallback);
    ASSERT_EQ(shadowMaps.cubeMaps.size(), 8u);

    auto frame = [&](bool withObstacle) {
        if (withObstacle) {
            // Below light 1 at (1.8, 2.1, -30), between it and the tube floor.
            run.cubes.push_back(scene::makeCube(
                glm::translate(glm::mat4(1.0f), glm::vec3(1.8f, 0.0f, -30.0f)), cubeShader.get()));
        }
        for (int k = 1; k <= pointLightCount; ++k)
            renderShadowMap(pointLightPosition(k), shadowMaps.framebuffers[k - 1u], shadowCasters());
        // The obstacle casts its shadow but is not itself drawn.
        run.cubes.clear();
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderScene(glm::ivec2(windowWidth(), windowHeight()), false);
        return readPixels();
    };
    // The first frame moves the spot light onto the car; from then on an
    // unchanged scene renders the same picture.
    frame(false);
    const Screenshot open = frame(false);
    const Screenshot again = frame(false);
    ASSERT_EQ(open.rgba, again.rgba) << "the scene does not render the same twice";
    const Screenshot shadowed = frame(true);

    int darker = 0;
    int brighter = 0;
    double sumX = 0.0;
    double sumY = 0.0;
    for (int y = 0; y < windowHeight(); ++y)
        for (int x = 0; x < windowWidth(); ++x) {
            const unsigned char* a = open.at(x, y);
            const unsigned char* b = shadowed.at(x, y);
            const int difference = (a[0] + a[1] + a[2]) - (b[0] + b[1] + b[2]);
            if (difference > 9) {
                ++darker;
                sumX += x;
                sumY += y;
            } else if (difference < -9) {
                ++brighter;
            }
        }
    EXPECT_GT(darker, 20) << "the obstacle's shadow is missing";
    EXPECT_EQ(brighter, 0) << "a shadow can only take light away";
    if (darker > 0) {
        // The lights are right of the axis (x = 1.8) and the shadow falls on
        // the floor: right of the centre and below it (rows count from the bottom).
        EXPECT_GT(sumX / darker, windowWidth() / 2.0);
        EXPECT_LT(sumY / darker, windowHeight() / 2.0);
    }
}

} // namespace
} // namespace velorun::test
