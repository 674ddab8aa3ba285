#include "GlFixture.h"

#include "lighting/LensFlare.h"
#include "render/Projections.h"

#include <glm/gtc/matrix_transform.hpp>
#include <memory>

namespace velorun::test {
namespace {

// Eight opaque white flare images with the game's scales, a 64 x 64 window.
class LensFlareTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (HasFatalFailure())
            return;
        writePng(tempPath("white.png"), 8, 8, std::vector<Rgba>(64, Rgba{255, 255, 255, 255}), true);
        const float scales[8] = {0.1f, 0.06f, 0.23f, 0.07f, 0.5f, 0.1f, 0.4f, 0.05f};
        for (float scale : scales)
            elements.push_back(std::make_unique<FlareTexture>(tempPath("white.png").c_str(), scale));
        std::vector<FlareTexture*> list;
        for (auto& element : elements)
            list.push_back(element.get());
        flare = std::make_unique<LensFlare>(list, 0.2f);

        // The frame's state before the flares: the lit pass's blending and culling.
        glViewport(0, 0, windowWidth(), windowHeight());
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override
    {
        flare.reset();
        elements.clear();
        GlTest::TearDown();
    }

    static int brightness(const Screenshot& shot, int x, int y)
    {
        const unsigned char* p = shot.at(x, y);
        return p[0] + p[1] + p[2];
    }
    static int litPixels(const Screenshot& shot)
    {
        int count = 0;
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x)
                count += brightness(shot, x, y) > 0 ? 1 : 0;
        return count;
    }
    void expectStateUntouched()
    {
        EXPECT_EQ(getInteger(GL_BLEND_SRC_RGB), GL_SRC_ALPHA);
        EXPECT_EQ(getInteger(GL_BLEND_DST_RGB), GL_ONE_MINUS_SRC_ALPHA);
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    }

    // The camera at the origin looking down -z.
    const glm::mat4 view = glm::lookAt(glm::vec3(0.0f), glm::vec3(0, 0, -1), glm::vec3(0, 1, 0));
    const glm::mat4 projection = sceneProjection(1.0f); // the square window's
    std::vector<std::unique_ptr<FlareTexture>> elements;
    std::unique_ptr<LensFlare> flare;
};

TEST_F(LensFlareTest, LightAtTheCentreDrawsAdditiveFlaresAndChangesTheState)
{
    const Screenshot before = readPixels();
    ASSERT_EQ(litPixels(before), 0);

    flare->render(&view, projection, glm::vec3(0.0f, 0.0f, -10.0f),
                  glm::ivec2(windowWidth(), windowHeight()));

    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(getInteger(GL_BLEND_SRC_RGB), GL_SRC_ALPHA);
    EXPECT_EQ(getInteger(GL_BLEND_DST_RGB), GL_ONE);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_MULTISAMPLE));

    // Every element sits on the centre.
    for (auto& element : elements) {
        EXPECT_NEAR(element->position.x, 0.5f, 1e-5);
        EXPECT_NEAR(element->position.y, 0.5f, 1e-5);
    }
    const Screenshot after = readPixels();
    EXPECT_GT(brightness(after, 32, 32), brightness(before, 32, 32) + 100);
    // The largest element (scale 0.5) spans half the window around the
    // centre; the corners stay dark.
    EXPECT_EQ(brightness(after, 1, 1), 0);
    EXPECT_EQ(brightness(after, 62, 62), 0);
    const int lit = litPixels(after);
    EXPECT_GT(lit, 16 * 16);
    EXPECT_LT(lit, 40 * 40);
}

TEST_F(LensFlareTest, FlaresLieOnTheLineThroughTheCentre)
{
    // A light a little right of the centre: s.x = 0.6 needs x / 10 = 0.2 tan(35).
    const float x = 0.2f * std::tan(35.0f) * 10.0f;
    flare->render(&view, projection, glm::vec3(x, 0.0f, -10.0f), glm::ivec2(windowWidth(), windowHeight()));
    const float expectedX[8] = {0.60f, 0.58f, 0.56f, 0.54f, 0.52f, 0.50f, 0.48f, 0.46f};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_NEAR(elements[i]->position.x, expectedX[i], 1e-4) << "element " << i;
        EXPECT_NEAR(elements[i]->position.y, 0.5f, 1e-4) << "element " << i;
    }
    EXPECT_EQ(getInteger(GL_BLEND_DST_RGB), GL_ONE);
    EXPECT_GT(litPixels(readPixels()), 0);
}

TEST_F(LensFlareTest, LightFarOffCentreChangesNothing)
{
    // s = (0.8, 0.5): 0.3 from the centre.
    const float x = 0.6f * std::tan(35.0f) * 10.0f;
    flare->render(&view, projection, glm::vec3(x, 0.0f, -10.0f), glm::ivec2(windowWidth(), windowHeight()));
    expectStateUntouched();
    EXPECT_EQ(litPixels(readPixels()), 0);
    for (auto& element : elements)
        EXPECT_EQ(element->position, glm::vec2(0.0f)) << "positions are only computed for a drawn flare";
}

TEST_F(LensFlareTest, LightBehindTheCameraOrNoViewDrawsNothing)
{
    // Behind the camera, exactly on the axis, where a mirrored projection
    // would land on the centre.
    flare->render(&view, projection, glm::vec3(0.0f, 0.0f, 10.0f), glm::ivec2(windowWidth(), windowHeight()));
    expectStateUntouched();
    flare->render(nullptr, projection, glm::vec3(0.0f, 0.0f, -10.0f),
                  glm::ivec2(windowWidth(), windowHeight()));
    expectStateUntouched();
    EXPECT_EQ(litPixels(readPixels()), 0);
}

TEST_F(LensFlareTest, RendererBuildsAQuadWithTheFlareSamplerOnUnitZero)
{
    const FlareRenderer& r = flare->renderer;
    GLint linked = GL_FALSE;
    glGetProgramiv(r.shader->program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    EXPECT_EQ(uniformInt(r.shader->program, "flareTexture"), 0);
    glBindVertexArray(r.vao);
    EXPECT_EQ(static_cast<GLuint>(getInteger(GL_ELEMENT_ARRAY_BUFFER_BINDING)), r.indexBuffer);
    GLint value = 0;
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &value);
    EXPECT_EQ(static_cast<GLuint>(value), r.positionBuffer);
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_SIZE, &value);
    EXPECT_EQ(value, 3);
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &value);
    EXPECT_EQ(static_cast<GLuint>(value), r.texCoordBuffer);
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_SIZE, &value);
    EXPECT_EQ(value, 2);
    glBindVertexArray(0);
}

} // namespace
} // namespace velorun::test
