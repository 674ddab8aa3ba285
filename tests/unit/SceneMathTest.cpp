// Scene bookkeeping without a GL context: positions held in model matrices,
// material sampler names and model directories.
#include "scene/Mesh.h"
#include "scene/Model.h"
#include "scene/SceneObject.h"

#include "MatrixExpect.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <ostream>

namespace velorun::scene {
namespace {

using velorun::testing::vectorsNear;

// --- positions -------------------------------------------------------------------

TEST(SceneMath, PositionIsTheTranslationColumn)
{
    const glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(0.7f, 1.3f, -42.0f));
    EXPECT_TRUE(vectorsNear(positionOf(m), glm::vec3(0.7f, 1.3f, -42.0f), 0.0f));
}

TEST(SceneMath, PositionOfAScaledCarIsWhereItStands)
{
    // Scale 0.5, then a translation of (0, 0, -25) in its own space.
    const glm::mat4 car =
        glm::translate(glm::scale(glm::mat4(1.0f), glm::vec3(0.5f)), glm::vec3(0.0f, 0.0f, -25.0f));
    EXPECT_TRUE(vectorsNear(positionOf(car), glm::vec3(0.0f, 0.0f, -12.5f), 0.0f));
}

TEST(SceneMath, SettingThePositionChangesOnlyTheTranslation)
{
    glm::mat4 m = glm::scale(glm::mat4(1.0f), glm::vec3(0.2f, 0.3f, 0.4f));
    m = glm::translate(m, glm::vec3(5.0f, 6.0f, 7.0f));
    const glm::mat4 before = m;
    setPosition(m, glm::vec3(-1.0f, 2.0f, -3.0f));
    EXPECT_EQ(m[3][0], -1.0f);
    EXPECT_EQ(m[3][1], 2.0f);
    EXPECT_EQ(m[3][2], -3.0f);
    EXPECT_EQ(m[3][3], before[3][3]);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(m[c][r], before[c][r]) << c << "," << r;
    EXPECT_TRUE(vectorsNear(positionOf(m), glm::vec3(-1.0f, 2.0f, -3.0f), 0.0f));
    // The object's centre is now drawn there.
    EXPECT_TRUE(
        vectorsNear(glm::vec3(m * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f)), glm::vec3(-1.0f, 2.0f, -3.0f), 0.0f));
}

// --- material sampler names --------------------------------------------------------

TEST(SceneMath, TwoDiffuseAndOneSpecularTexture)
{
    unsigned diffuse = 1, specular = 1;
    EXPECT_EQ(materialSamplerName("texture_diffuse", diffuse, specular), "material.texture_diffuse1");
    EXPECT_EQ(materialSamplerName("texture_diffuse", diffuse, specular), "material.texture_diffuse2");
    EXPECT_EQ(materialSamplerName("texture_specular", diffuse, specular), "material.texture_specular1");
    EXPECT_EQ(diffuse, 3u);
    EXPECT_EQ(specular, 2u);
}

TEST(SceneMath, DiffuseAndSpecularCountIndependently)
{
    unsigned diffuse = 1, specular = 1;
    EXPECT_EQ(materialSamplerName("texture_specular", diffuse, specular), "material.texture_specular1");
    EXPECT_EQ(materialSamplerName("texture_diffuse", diffuse, specular), "material.texture_diffuse1");
    EXPECT_EQ(materialSamplerName("texture_specular", diffuse, specular), "material.texture_specular2");
    EXPECT_EQ(materialSamplerName("texture_diffuse", diffuse, specular), "material.texture_diffuse2");
}

TEST(SceneMath, CounterIsWrittenInDecimal)
{
    unsigned diffuse = 12, specular = 1;
    EXPECT_EQ(materialSamplerName("texture_diffuse", diffuse, specular), "material.texture_diffuse12");
    EXPECT_EQ(diffuse, 13u);
}

TEST(SceneMath, OtherTypesGetNoNumberAndTouchNoCounter)
{
    unsigned diffuse = 1, specular = 1;
    EXPECT_EQ(materialSamplerName("texture_normal", diffuse, specular), "material.texture_normal");
    EXPECT_EQ(materialSamplerName("texture_diffuseX", diffuse, specular), "material.texture_diffuseX");
    EXPECT_EQ(diffuse, 1u);
    EXPECT_EQ(specular, 1u);
    EXPECT_EQ(materialSamplerName("texture_diffuse", diffuse, specular), "material.texture_diffuse1");
}

// --- model directory ---------------------------------------------------------------

struct DirectoryCase {
    const char* path;
    const char* directory;
};

std::ostream& operator<<(std::ostream& os, const DirectoryCase& c) { return os << '"' << c.path << '"'; }

class ModelDirectory : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(ModelDirectory, IsEverythingBeforeTheLastSlash)
{
    EXPECT_EQ(modelDirectory(GetParam().path), GetParam().directory);
}

INSTANTIATE_TEST_SUITE_P(
    SceneMath, ModelDirectory,
    ::testing::Values(DirectoryCase{"a/b/c.obj", "a/b"},
                      DirectoryCase{"./Resources/Objects/car/car.obj", "./Resources/Objects/car"},
                      DirectoryCase{"./Resources/Objects/tube/tube2.obj", "./Resources/Objects/tube"},
                      DirectoryCase{"model.obj", "model.obj"}, // no slash: whole path
                      DirectoryCase{"a\\b\\c.obj", "a\\b\\c.obj"}, // backslashes do not count
                      DirectoryCase{"a\\b/c.obj", "a\\b"}, DirectoryCase{"/car.obj", ""},
                      DirectoryCase{"a/b/", "a/b"}));

} // namespace
} // namespace velorun::scene
