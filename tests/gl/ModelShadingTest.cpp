// The look of the lit pass's model program, built from the real Shader/ files
// and driven with the uniforms and units the game gives it: shadow edges,
// shadow contact, acne, the gloss map and silhouettes.
#include "SceneFixture.h"

#include "lighting/SceneState.h"
#include "lighting/ShadowMaps.h"
#include "render/Projections.h"
#include "scene/RunState.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <memory>
#include <sstream>

namespace velorun::test {
namespace {

const glm::vec3 kFarAway(0.0f, 0.0f, 1000.0f);

class ModelShadingTest : public SceneGlTest {
protected:
    int windowWidth() const override { return 800; }
    int windowHeight() const override { return 600; }

    void SetUp() override
    {
        SceneGlTest::SetUp();
        if (HasFatalFailure())
            return;
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        modelShader = std::make_unique<ShaderProgram>("Shader/model.vert", "Shader/model.frag");
        cubeShader = std::make_unique<ShaderProgram>("./Shader/basic.vert", "./Shader/cube.frag");
        const GLuint p = modelShader->program;
        glUseProgram(p);
        glUniform1f(glGetUniformLocation(p, "near_plane"), shadowNear);
        glUniform1f(glGetUniformLocation(p, "far_plane"), shadowFarPlane);
        glUniform3f(glGetUniformLocation(p, "objectColor"), 1.0f, 1.0f, 1.0f);
        glUniform3f(glGetUniformLocation(p, "lightColor"), 1.0f, 1.0f, 1.0f);
        glUniform1i(glGetUniformLocation(p, "texture_diffuse1"), 0);
        glUniform1i(glGetUniformLocation(p, "renderSpot"), 0);
        setMat4("projection", sceneProjection(800.0f / 600.0f));
    }

    void setMat4(const char* name, const glm::mat4& m)
    {
        glUniformMatrix4fv(glGetUniformLocation(modelShader->program, name), 1, GL_FALSE, glm::value_ptr(m));
    }

    // One lamp (light 1) at `lamp`; the other seven out of reach.
    void placeLamp(const glm::vec3& lamp)
    {
        for (int k = 1; k <= 8; ++k) {
            const glm::vec3 p = k == 1 ? lamp : kFarAway;
            glUniform3fv(glGetUniformLocation(modelShader->program,
                                              ("lightPositionPoint" + std::to_string(k)).c_str()),
                         1, glm::value_ptr(p));
        }
    }

    void lookFrom(const glm::vec3& eye, const glm::vec3& target, const glm::vec3& up)
    {
        view = glm::lookAt(eye, target, up);
        setMat4("view", view);
        glUniform3fv(glGetUniformLocation(modelShader->program, "viewPosition"), 1, glm::value_ptr(eye));
    }

    // `model` drawn by the lit pass's model program with the eight shadow maps.
    Screenshot drawLit(scene::Model& model)
    {
        glViewport(0, 0, windowWidth(), windowHeight());
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glUseProgram(modelShader->program);
        setMat4("model", model.getModelMatrix());
        model.draw(modelShader.get(), shadowMaps.cubeMaps);
        return readPixels();
    }

    // Every shadow map as if nothing stood near its lamp.
    void clearShadowMaps()
    {
        for (GLuint framebuffer : shadowMaps.framebuffers) {
            glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
            glClear(GL_DEPTH_BUFFER_BIT);
        }
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    glm::vec2 pixelOf(const glm::vec3& world) const
    {
        const glm::vec3 w = glm::project(world, view, sceneProjection(800.0f / 600.0f),
                                         glm::vec4(0.0f, 0.0f, windowWidth(), windowHeight()));
        return {w.x, w.y};
    }

    static int brightness(const Screenshot& shot, int x, int y)
    {
        const unsigned char* p = shot.at(x, y);
        return p[0] + p[1] + p[2];
    }

    glm::mat4 view{1.0f};
};

// ---- shadows on a tube wall -------------------------------------------------

constexpr int kRingSegments = 48;
constexpr float kRingRadius = 4.8f;

glm::vec2 ringPoint(int i)
{
    const float a = 6.2831853f * static_cast<float>(i % kRingSegments) / kRingSegments;
    return {kRingRadius * std::cos(a), kRingRadius * std::sin(a)};
}

// Height of the ring's floor facets at x.
float floorY(float x)
{
    for (int i = kRingSegments / 2; i < kRingSegments; ++i) {
        const glm::vec2 a = ringPoint(i);
        const glm::vec2 b = ringPoint(i + 1);
        if (x >= a.x && x <= b.x)
            return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
    }
    return 0.0f;
}

// A tube of the game's radius, faceted like the game's, seen from inside,
// with a plain grey texture so any shading that is not lighting shows.
std::string ringObj()
{
    std::ostringstream obj;
    for (int i = 0; i < kRingSegments; ++i) {
        const glm::vec2 p = ringPoint(i);
        obj << "v " << p.x << ' ' << p.y << " 12\nv " << p.x << ' ' << p.y << " -12\n";
        obj << "vn " << -p.x / kRingRadius << ' ' << -p.y / kRingRadius << " 0\n";
    }
    obj << "vt 0.5 0.5\nusemtl wall\n";
    for (int i = 0; i < kRingSegments; ++i) {
        const int j = (i + 1) % kRingSegments;
        const int a = 2 * i + 1, b = 2 * i + 2, c = 2 * j + 1, d = 2 * j + 2;
        // Counter-clockwise seen from the axis.
        obj << "f " << a << "/1/" << i + 1 << ' ' << d << "/1/" << j + 1 << ' ' << b << "/1/" << i + 1
            << '\n';
        obj << "f " << a << "/1/" << i + 1 << ' ' << c << "/1/" << j + 1 << ' ' << d << "/1/" << j + 1
            << '\n';
    }
    return obj.str();
}

// Lamp low on the right, a unit obstacle sunk a little into the floor left of
// the axis; the camera looks straight down at the floor, world +x to the
// right, world z along the screen's columns.
const glm::vec3 kLamp(2.5f, -2.0f, 0.0f);
const glm::vec3 kObstacle(-0.6f, -4.35f, 0.0f);
constexpr float kContactX = -1.1f; // the obstacle's face away from the lamp

class TubeShadowTest : public ModelShadingTest {
protected:
    void SetUp() override
    {
        ModelShadingTest::SetUp();
        if (HasFatalFailure())
            return;
        writePng(tempPath("grey.png"), 4, 4, std::vector<Rgba>(16, Rgba{150, 150, 150, 255}), false);
        const std::string path = writeObjModel("ring", ringObj(), "newmtl wall\nKd 1 1 1\nmap_Kd grey.png\n");
        tubeA = std::make_unique<scene::Model>(path.c_str());
        tubeB = std::make_unique<scene::Model>(path.c_str());
        car = std::make_unique<scene::Model>(path.c_str());
        tubeB->modelMatrix = glm::translate(glm::mat4(1.0f), kFarAway);
        car->modelMatrix = glm::translate(glm::mat4(1.0f), kFarAway);
        createShadowMaps();
        lookFrom(glm::vec3(-1.6f, 0.0f, 0.0f), glm::vec3(-1.6f, -4.8f, 0.0f), glm::vec3(0.0f, 0.0f, -1.0f));

        // Lamp away: ambient only. Maps empty: lit everywhere.
        placeLamp(kFarAway);
        ambient = drawLit(*tubeA);
        placeLamp(kLamp);
        clearShadowMaps();
        open = drawLit(*tubeA);
        renderShadowMap(kLamp, shadowMaps.framebuffers[0], shadowCasters());
        wallOnly = drawLit(*tubeA);
        run.cubes.push_back(scene::makeCube(glm::translate(glm::mat4(1.0f), kObstacle), cubeShader.get()));
        renderShadowMap(kLamp, shadowMaps.framebuffers[0], shadowCasters());
        run.cubes.clear(); // casts its shadow, is not drawn
        shadowed = drawLit(*tubeA);
    }

    // Share of the lamp's light reaching the pixel of world point (x, floor, z).
    float visibility(float x, float z) const
    {
        const glm::vec2 p = pixelOf(glm::vec3(x, floorY(x), z));
        return visibilityAt(static_cast<int>(p.x), static_cast<int>(p.y));
    }
    float visibilityAt(int x, int y) const
    {
        const float lamp = static_cast<float>(brightness(open, x, y) - brightness(ambient, x, y));
        return static_cast<float>(brightness(shadowed, x, y) - brightness(ambient, x, y)) /
               std::max(lamp, 1.0f);
    }

    Screenshot ambient, open, wallOnly, shadowed;
};

// Under one lamp and one obstacle: the lit wall without acne, a soft
// penumbra, a shadow that starts at the contact line, and thin casters.
TEST_F(TubeShadowTest, ShadowsFallWhereTheCastersStandWithSoftEdgesAndNoAcne)
{
    {
        SCOPED_TRACE("acne on the lit wall");
        int checked = 0;
        for (int y = 0; y < windowHeight(); y += 2)
            for (int x = 0; x < windowWidth(); x += 2) {
                const int lit = brightness(open, x, y);
                if (lit - brightness(ambient, x, y) < 30)
                    continue; // the lamp hardly reaches here
                ++checked;
                ASSERT_NEAR(brightness(wallOnly, x, y), lit, 0.02 * lit) << "pixel " << x << ", " << y;
            }
        EXPECT_GT(checked, 20000);
    }
    // Across the shadow's side edge, columns of the floor at several distances
    // behind the obstacle: light returns smoothly and in one direction.
    {
        SCOPED_TRACE("the penumbra");
        for (float x : {-1.5f, -1.8f}) {
            SCOPED_TRACE("x = " + std::to_string(x));
            // Averaged along the edge: the taps turn from pixel to pixel.
            std::vector<float> profile;
            for (float z = 0.2f; z < 1.0f; z += 0.005f) {
                float sum = 0.0f;
                for (int c = -15; c <= 15; ++c)
                    sum += visibility(x + 0.0075f * c, z);
                profile.push_back(sum / 31.0f);
            }
            const float shadow = profile.front();
            const float lit = profile.back();
            ASSERT_LT(shadow, 0.1f);
            ASSERT_GT(lit, 0.9f);
            const float range = lit - shadow;
            int inside = 0;
            for (size_t i = 1; i < profile.size(); ++i) {
                const float step = profile[i] - profile[i - 1];
                EXPECT_GT(step, -0.02f * range) << "light falls back at step " << i;
                EXPECT_LE(step, range / 8.0f) << "stepped edge at step " << i;
                inside += profile[i] > shadow + 0.1f * range && profile[i] < lit - 0.1f * range;
            }
            EXPECT_GE(inside, 4) << "hard edge";
        }
    }
    // Along rows through the obstacle, from its face on the far side outwards:
    // the shadow starts where the obstacle meets the floor.
    {
        SCOPED_TRACE("the contact line");
        for (float z : {-0.3f, 0.0f, 0.3f}) {
            SCOPED_TRACE("z = " + std::to_string(z));
            const glm::vec2 contact = pixelOf(glm::vec3(kContactX, floorY(kContactX), z));
            const int y = static_cast<int>(contact.y);
            int gap = -1;
            for (int x = static_cast<int>(std::round(contact.x)); x > contact.x - 40; --x)
                if (visibilityAt(x, y) < 0.5f) {
                    gap = static_cast<int>(std::round(contact.x)) - x;
                    break;
                }
            EXPECT_GE(gap, 0) << "no shadow behind the obstacle";
            EXPECT_LE(gap, 2) << "shadow detached from the obstacle";
        }
    }
    // A plate a few hundredths thick on one floor facet, lying on it or floating a
    // little above it, shades the floor beneath it: a depth bias of even a few
    // tenths of a unit would let the light through, and no thick caster shows it.
    {
        SCOPED_TRACE("a thin plate");
        const glm::vec2 a = ringPoint(34);
        const glm::vec2 b = ringPoint(35);
        const glm::vec2 along = glm::normalize(b - a);
        const glm::vec3 u(along, 0.0f);
        const glm::vec3 n(-along.y, along.x, 0.0f); // towards the axis
        constexpr float kThickness = 0.04f;
        constexpr float kWidth = 0.5f; // along the facet
        constexpr float kLength = 1.0f; // along the tube
        constexpr float kMargin = 0.12f;

        for (float gap : {0.0f, 0.08f}) {
            SCOPED_TRACE("gap " + std::to_string(gap));
            const glm::vec3 centre = glm::vec3(0.5f * (a + b), 0.0f) + n * (gap + 0.5f * kThickness);
            const glm::mat4 placed = glm::rotate(glm::translate(glm::mat4(1.0f), centre),
                                                 std::atan2(along.y, along.x), glm::vec3(0.0f, 0.0f, 1.0f));
            run.cubes.push_back(scene::makeCube(glm::scale(placed, glm::vec3(kWidth, kThickness, kLength)),
                                                cubeShader.get()));
            renderShadowMap(kLamp, shadowMaps.framebuffers[0], shadowCasters());
            run.cubes.clear();
            shadowed = drawLit(*tubeA);

            int deep = 0;
            int lit = 0;
            for (float x = -1.6f; x <= -0.2f; x += 0.02f)
                for (float z = -0.6f; z <= 0.6f; z += 0.02f) {
                    // Where the ray from the lamp to this floor point crosses the plate's mid-plane.
                    const glm::vec3 floor(x, floorY(x), z);
                    const float t = glm::dot(centre - kLamp, n) / glm::dot(floor - kLamp, n);
                    const glm::vec3 crossing = kLamp + t * (floor - kLamp) - centre;
                    if (t >= 1.0f || std::abs(glm::dot(crossing, u)) > 0.5f * kWidth - kMargin ||
                        std::abs(crossing.z) > 0.5f * kLength - kMargin)
                        continue;
                    ++deep;
                    lit += visibility(x, z) > 0.35f;
                }
            EXPECT_GT(deep, 100);
            EXPECT_EQ(lit, 0) << "floor points lit under the plate, of " << deep;
        }
    }
}

// ---- material and silhouettes -----------------------------------------------

// A 2 x 2 square at z = 0 facing +z, every vertex normal `normal`, with a grey
// diffuse map and, when given, a gloss map whose left and right halves differ.
std::string squareObj(const glm::vec3& normal)
{
    std::ostringstream obj;
    obj << "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\n"
        << "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
        << "vn " << normal.x << ' ' << normal.y << ' ' << normal.z << "\n"
        << "usemtl square\nf 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";
    return obj.str();
}

struct GlossCase {
    unsigned char left, right; // gloss map halves
};

class GlossMapTest : public ModelShadingTest, public ::testing::WithParamInterface<GlossCase> {};

TEST_P(GlossMapTest, GlossMapDrivesTheHighlight)
{
    const GlossCase c = GetParam();
    std::vector<Rgba> gloss(8 * 8);
    for (int i = 0; i < 64; ++i) {
        const unsigned char g = i % 8 < 4 ? c.left : c.right;
        gloss[static_cast<size_t>(i)] = Rgba{g, g, g, 255};
    }
    writePng(tempPath("gloss.png"), 8, 8, gloss, false);
    writePng(tempPath("grey.png"), 8, 8, std::vector<Rgba>(64, Rgba{90, 90, 90, 255}), false);
    const std::string path = writeObjModel("square", squareObj(glm::vec3(0, 0, 1)),
                                           "newmtl square\nKd 1 1 1\nmap_Kd grey.png\nmap_Ks gloss.png\n");
    scene::Model square(path.c_str());
    createShadowMaps();
    clearShadowMaps();
    placeLamp(glm::vec3(0.0f, 0.0f, 3.0f));
    lookFrom(glm::vec3(0.0f, 0.0f, 3.0f), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const Screenshot shot = drawLit(square);

    // Mirror-image points either side of the highlight's centre: same light,
    // same view, only the gloss differs.
    const glm::vec2 l = pixelOf(glm::vec3(-0.12f, 0.0f, 0.0f));
    const glm::vec2 r = pixelOf(glm::vec3(0.12f, 0.0f, 0.0f));
    const int left = brightness(shot, static_cast<int>(l.x), static_cast<int>(l.y));
    const int right = brightness(shot, static_cast<int>(r.x), static_cast<int>(r.y));
    if (c.left > c.right)
        EXPECT_GT(left, right + 60);
    else
        EXPECT_GT(right, left + 60);
}

INSTANTIATE_TEST_SUITE_P(Halves, GlossMapTest, ::testing::Values(GlossCase{255, 0}, GlossCase{0, 255}));

// A fragment whose interpolated normal turns away from the viewer, as on the
// far side of a silhouette, is lit by the lamps its normal faces, not by those
// on the other side.
struct SilhouetteCase {
    glm::vec3 lamp;
    bool lit;
};

class SilhouetteTest : public ModelShadingTest, public ::testing::WithParamInterface<SilhouetteCase> {};

TEST_P(SilhouetteTest, LitFromTheSideItsNormalFaces)
{
    writePng(tempPath("grey.png"), 8, 8, std::vector<Rgba>(64, Rgba{160, 160, 160, 255}), false);
    const std::string path = writeObjModel("square", squareObj(glm::normalize(glm::vec3(0.8f, 0.0f, -0.6f))),
                                           "newmtl square\nKd 1 1 1\nmap_Kd grey.png\n");
    scene::Model square(path.c_str());
    createShadowMaps();
    clearShadowMaps();
    lookFrom(glm::vec3(0.0f, 0.0f, 3.0f), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    placeLamp(kFarAway);
    const Screenshot ambient = drawLit(square);
    placeLamp(GetParam().lamp);
    const Screenshot shot = drawLit(square);

    const int gain = brightness(shot, 400, 300) - brightness(ambient, 400, 300);
    if (GetParam().lit)
        EXPECT_GT(gain, 60);
    else
        EXPECT_EQ(gain, 0);
}

INSTANTIATE_TEST_SUITE_P(Sides, SilhouetteTest,
                         ::testing::Values(SilhouetteCase{glm::vec3(4.0f, 0.0f, 0.5f), true},
                                           SilhouetteCase{glm::vec3(-4.0f, 0.0f, 0.5f), false}));

} // namespace
} // namespace velorun::test
