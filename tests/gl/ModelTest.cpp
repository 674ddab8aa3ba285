#include "GlFixture.h"

#include "scene/Model.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <limits>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace velorun::test {
namespace {

using scene::Mesh;
using scene::Model;
using namespace std::string_literals;

class ModelTest : public GlTest {
protected:
    void writeImage(const std::string& name, int width, int height, unsigned char seed = 0)
    {
        std::vector<Rgba> pixels;
        for (int i = 0; i < width * height; ++i)
            pixels.push_back({static_cast<unsigned char>(seed + 10 * i),
                              static_cast<unsigned char>(seed + 20 + 7 * i),
                              static_cast<unsigned char>(seed + 40 + 3 * i), 255});
        writePng(tempPath(name), width, height, pixels, false);
    }

    static size_t countLines(const std::string& text, const std::string& prefix)
    {
        std::istringstream in(text);
        std::string line;
        size_t count = 0;
        while (std::getline(in, line))
            count += line.rfind(prefix, 0) == 0 ? 1 : 0;
        return count;
    }
};

// One triangle per object, with normals and texture coordinates.
const char* kTriangleVertices = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvn 0 0 1\n";

TEST_F(ModelTest, SharedImageIsUploadedOncePerModel)
{
    writeImage("shared.png", 2, 2);
    const std::string path =
        writeObjModel("shared",
                      std::string(kTriangleVertices) + "o first\nusemtl A\nf 1/1/1 2/2/1 3/3/1\n"
                                                       "o second\nusemtl B\nf 1/1/1 2/2/1 3/3/1\n",
                      "newmtl A\nmap_Kd shared.png\nnewmtl B\nmap_Kd shared.png\n");
    Model model(path.c_str());
    ASSERT_EQ(model.meshes.size(), 2u);
    ASSERT_EQ(model.texturesLoaded.size(), 1u);
    ASSERT_EQ(model.meshes[0].textures.size(), 1u);
    ASSERT_EQ(model.meshes[1].textures.size(), 1u);
    EXPECT_EQ(model.meshes[0].textures[0].id, model.meshes[1].textures[0].id);
    EXPECT_EQ(model.meshes[0].textures[0].id, model.texturesLoaded[0].id);
    EXPECT_TRUE(glIsTexture(model.texturesLoaded[0].id));
    EXPECT_STREQ(model.texturesLoaded[0].path.C_Str(), "shared.png");
    EXPECT_EQ(model.texturesLoaded[0].type, "texture_diffuse");
    EXPECT_EQ(model.directory, tempDir());

    // A second Model of the same file uploads its own texture.
    Model again(path.c_str());
    ASSERT_EQ(again.texturesLoaded.size(), 1u);
    EXPECT_NE(again.texturesLoaded[0].id, model.texturesLoaded[0].id);
    EXPECT_TRUE(glIsTexture(again.texturesLoaded[0].id));
}

TEST_F(ModelTest, DiffuseBeforeSpecularAndReusedImageKeepsItsFirstType)
{
    writeImage("colour.png", 2, 2, 1);
    writeImage("shine.png", 2, 2, 2);
    const std::string path =
        writeObjModel("types",
                      std::string(kTriangleVertices) + "o first\nusemtl A\nf 1/1/1 2/2/1 3/3/1\n"
                                                       "o second\nusemtl B\nf 1/1/1 2/2/1 3/3/1\n",
                      "newmtl A\nmap_Ks shine.png\nmap_Kd colour.png\n"
                      "newmtl B\nmap_Kd shine.png\nmap_Ks colour.png\n");
    Model model(path.c_str());
    ASSERT_EQ(model.meshes.size(), 2u);
    const Mesh& first = model.meshes[0];
    ASSERT_EQ(first.textures.size(), 2u);
    EXPECT_EQ(first.textures[0].type, "texture_diffuse");
    EXPECT_STREQ(first.textures[0].path.C_Str(), "colour.png");
    EXPECT_EQ(first.textures[1].type, "texture_specular");
    EXPECT_STREQ(first.textures[1].path.C_Str(), "shine.png");

    // The second mesh finds both images in the cache, with their first types.
    const Mesh& second = model.meshes[1];
    ASSERT_EQ(second.textures.size(), 2u);
    EXPECT_STREQ(second.textures[0].path.C_Str(), "shine.png");
    EXPECT_EQ(second.textures[0].type, "texture_specular");
    EXPECT_EQ(second.textures[0].id, first.textures[1].id);
    EXPECT_STREQ(second.textures[1].path.C_Str(), "colour.png");
    EXPECT_EQ(second.textures[1].type, "texture_diffuse");
    EXPECT_EQ(second.textures[1].id, first.textures[0].id);
    EXPECT_EQ(model.texturesLoaded.size(), 2u);
}

TEST_F(ModelTest, MeshesFollowTheFileOrderAndKeepStoredCoordinates)
{
    const std::string path = writeObjModel("order", "v 10 0 0\nv 11 0 0\nv 10 1 0\n"
                                                    "v 20 0 0\nv 21 0 0\nv 20 1 0\nv 21 1 0\n"
                                                    "v 30 0 0\nv 31 0 0\nv 30 1 0\n"
                                                    "vt 0.25 0.75\nvn 0 0 1\n"
                                                    "o alpha\nf 1/1/1 2/1/1 3/1/1\n"
                                                    "o beta\nf 4/1/1 5/1/1 7/1/1 6/1/1\n"
                                                    "o gamma\nf 8/1/1 9/1/1 10/1/1\n");
    Model model(path.c_str());
    ASSERT_EQ(model.meshes.size(), 3u);
    const float expectedX[3] = {10.0f, 20.0f, 30.0f};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE("mesh " + std::to_string(i));
        const Mesh& mesh = model.meshes[i];
        ASSERT_FALSE(mesh.vertices.empty());
        for (const scene::Vertex& v : mesh.vertices) {
            EXPECT_GE(v.position.x, expectedX[i]);
            EXPECT_LE(v.position.x, expectedX[i] + 1.0f);
            EXPECT_EQ(v.normal, glm::vec3(0, 0, 1));
            // Texture coordinates are flipped on import: v becomes 1 - v.
            EXPECT_FLOAT_EQ(v.texCoords.x, 0.25f);
            EXPECT_FLOAT_EQ(v.texCoords.y, 0.25f);
        }
        EXPECT_TRUE(mesh.textures.empty());
        for (unsigned int index : mesh.indices)
            EXPECT_LT(index, mesh.vertices.size());
    }
    EXPECT_EQ(model.meshes[0].indices.size(), 3u);
    // The quad is triangulated.
    EXPECT_EQ(model.meshes[1].indices.size(), 6u);
    EXPECT_EQ(model.meshes[2].indices.size(), 3u);
}

std::string base64(const std::vector<unsigned char>& bytes)
{
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const unsigned int n = (bytes[i] << 16) | ((i + 1 < bytes.size() ? bytes[i + 1] : 0) << 8) |
                               (i + 2 < bytes.size() ? bytes[i + 2] : 0);
        out += digits[(n >> 18) & 63];
        out += digits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? digits[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? digits[n & 63] : '=';
    }
    return out;
}

TEST_F(ModelTest, NodeTreeIsWalkedParentFirstWithoutApplyingTransforms)
{
    // Two triangles: mesh 0 at x 0..1, mesh 1 at x 5..6.
    const float positions[18] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 0, 0, 6, 0, 0, 5, 1, 0};
    std::vector<unsigned char> bytes(sizeof positions);
    std::memcpy(bytes.data(), positions, sizeof positions);
    // Scene roots: "parent" (mesh 1, with child "child" holding mesh 0 and a
    // translation), then "sibling" (mesh 0 again).
    const std::string gltf = R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0,2]}],
"nodes":[{"name":"parent","mesh":1,"children":[1]},
         {"name":"child","mesh":0,"translation":[100,0,0]},
         {"name":"sibling","mesh":0}],
"meshes":[{"primitives":[{"attributes":{"POSITION":0}}]},{"primitives":[{"attributes":{"POSITION":1}}]}],
"accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3","min":[0,0,0],"max":[1,1,0]},
             {"bufferView":0,"byteOffset":36,"componentType":5126,"count":3,"type":"VEC3","min":[5,0,0],"max":[6,1,0]}],
"bufferViews":[{"buffer":0,"byteLength":72}],
"buffers":[{"byteLength":72,"uri":"data:application/octet-stream;base64,)" +
                             base64(bytes) + R"("}]})";
    writeTextFile(tempPath("tree.gltf"), gltf);
    Model model(tempPath("tree.gltf").c_str());
    ASSERT_EQ(model.meshes.size(), 3u) << "one mesh per reference, the shared one twice";
    const float firstX[3] = {5.0f, 0.0f, 0.0f};
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(model.meshes[i].vertices.size(), 3u);
        float minX = 1e9f;
        for (const scene::Vertex& v : model.meshes[i].vertices)
            minX = std::min(minX, v.position.x);
        EXPECT_FLOAT_EQ(minX, firstX[i]) << "mesh " << i;
    }
    // The two references to mesh 0 are uploaded separately.
    EXPECT_NE(model.meshes[1].vao, model.meshes[2].vao);
}

TEST_F(ModelTest, MissingTextureCoordinatesGiveZeroAndMissingNormalsGiveZero)
{
    const std::string path = writeObjModel("bare", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 1 0\n"
                                                   "o withNormals\nf 1//1 2//1 3//1\n"
                                                   "o plain\nf 1 2 3\n");
    Model model(path.c_str());
    ASSERT_EQ(model.meshes.size(), 2u);
    for (const scene::Vertex& v : model.meshes[0].vertices) {
        EXPECT_EQ(v.texCoords, glm::vec2(0.0f));
        EXPECT_EQ(v.normal, glm::vec3(0, 1, 0));
    }
    ASSERT_EQ(model.meshes[1].vertices.size(), 3u);
    for (const scene::Vertex& v : model.meshes[1].vertices) {
        EXPECT_EQ(v.texCoords, glm::vec2(0.0f));
        EXPECT_EQ(v.normal, glm::vec3(0.0f));
    }
}

TEST_F(ModelTest, PathWithoutSlashIsItsOwnDirectory)
{
    writeImage("tex.png", 2, 2);
    writeObjModel("plain", std::string(kTriangleVertices) + "o one\nusemtl A\nf 1/1/1 2/2/1 3/3/1\n",
                  "newmtl A\nmap_Kd tex.png\n");
    char previous[4096] = {};
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(tempDir().c_str()), 0);

    testing::internal::CaptureStderr();
    Model model("plain.obj");
    const std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_EQ(chdir(previous), 0);

    EXPECT_EQ(model.directory, "plain.obj");
    ASSERT_EQ(model.meshes.size(), 1u);
    // The image is looked for under the whole model path, where it is not.
    EXPECT_EQ(errors, "Failed to load texture image: plain.obj/tex.png\n");
    ASSERT_EQ(model.texturesLoaded.size(), 1u);
    glBindTexture(GL_TEXTURE_2D, model.texturesLoaded[0].id);
    GLint width = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(ModelTest, MissingFileGivesOneErrorLineAndNoMeshes)
{
    const std::string path = tempPath("absent.obj");
    testing::internal::CaptureStderr();
    Model model(path.c_str());
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(countLines(errors, "ERROR::ASSIMP::"), 1u) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_TRUE(model.meshes.empty());
    EXPECT_TRUE(model.texturesLoaded.empty());
    EXPECT_TRUE(model.directory.empty());
    EXPECT_FLOAT_EQ(model.speed, 10.5f);
    EXPECT_EQ(model.modelMatrix, glm::mat4(1.0f));
    // Drawing an empty model draws nothing and raises nothing.
    model.drawDepth();
}

TEST_F(ModelTest, MoveOperationsStepInTheModelsOwnSpace)
{
    const std::string path =
        writeObjModel("mover", std::string(kTriangleVertices) + "o one\nf 1/1/1 2/2/1 3/3/1\n");
    Model car(path.c_str());
    EXPECT_FLOAT_EQ(car.speed, 10.5f);
    EXPECT_EQ(car.getModelMatrix(), glm::mat4(1.0f));
    car.modelMatrix = glm::scale(glm::mat4(1.0f), glm::vec3(0.5f));

    car.moveRight(1.0f);
    EXPECT_NEAR(car.modelMatrix[3][0], 5.25f, 1e-5);
    car.moveLeft(0.5f);
    EXPECT_NEAR(car.modelMatrix[3][0], 2.625f, 1e-5);
    car.moveUp(2.0f);
    EXPECT_NEAR(car.modelMatrix[3][1], 10.5f, 1e-5);
    car.moveDown(1.0f);
    EXPECT_NEAR(car.modelMatrix[3][1], 5.25f, 1e-5);
    EXPECT_NEAR(car.modelMatrix[3][2], 0.0f, 1e-6);
    // Forward: -2 x speed x dt in model space, -speed x dt in the world.
    car.moveForward(0.1f);
    EXPECT_NEAR(car.modelMatrix[3][2], -1.05f, 1e-5);
    car.speed = 20.0f;
    car.moveForward(1.0f);
    EXPECT_NEAR(car.modelMatrix[3][2], -21.05f, 1e-4);
    // The scale is untouched.
    EXPECT_FLOAT_EQ(car.modelMatrix[0][0], 0.5f);
    EXPECT_EQ(car.getModelMatrix(), car.modelMatrix);
}

TEST_F(ModelTest, ModelTexturesRepeatUseTrilinearFilteringAndHaveMipmaps)
{
    writeImage("wrap.png", 4, 4);
    const std::string path =
        writeObjModel("wrap", std::string(kTriangleVertices) + "o one\nusemtl A\nf 1/1/1 2/2/1 3/3/1\n",
                      "newmtl A\nmap_Kd wrap.png\n");
    Model model(path.c_str());
    EXPECT_EQ(model.mipmapMode, 2);
    EXPECT_FALSE(model.nearestFilter);
    // Loading leaves no texture bound.
    EXPECT_EQ(getInteger(GL_TEXTURE_BINDING_2D), 0);
    ASSERT_EQ(model.texturesLoaded.size(), 1u);
    glBindTexture(GL_TEXTURE_2D, model.texturesLoaded[0].id);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 4);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 1);

    // Changing the settings afterwards leaves the texture as it was.
    model.mipmapMode = 0;
    model.nearestFilter = true;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(ModelTest, OddWidthRgbImageUploadsRowCorrectTopRowFirst)
{
    // 5 x 3: 15 bytes a row, not a multiple of 4. Alpha is dropped.
    std::vector<Rgba> pixels;
    for (int i = 0; i < 15; ++i)
        pixels.push_back({static_cast<unsigned char>(i * 16), static_cast<unsigned char>(255 - i * 16),
                          static_cast<unsigned char>(i * 5 + 7), static_cast<unsigned char>(i * 17)});
    writePng(tempPath("odd.png"), 5, 3, pixels, true);
    const std::string path =
        writeObjModel("odd", std::string(kTriangleVertices) + "o one\nusemtl A\nf 1/1/1 2/2/1 3/3/1\n",
                      "newmtl A\nmap_Kd odd.png\n");
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    Model model(path.c_str());
    EXPECT_EQ(getInteger(GL_UNPACK_ALIGNMENT), 2) << "the previous unpack alignment is restored";
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    ASSERT_EQ(model.texturesLoaded.size(), 1u);
    glBindTexture(GL_TEXTURE_2D, model.texturesLoaded[0].id);
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    ASSERT_EQ(width, 5);
    ASSERT_EQ(height, 3);
    std::vector<unsigned char> texels(5 * 3 * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    // Texture row 0 is the file's top row.
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(texels[static_cast<size_t>(i * 4 + 0)], pixels[static_cast<size_t>(i)].r) << "texel " << i;
        EXPECT_EQ(texels[static_cast<size_t>(i * 4 + 1)], pixels[static_cast<size_t>(i)].g) << "texel " << i;
        EXPECT_EQ(texels[static_cast<size_t>(i * 4 + 2)], pixels[static_cast<size_t>(i)].b) << "texel " << i;
        EXPECT_EQ(texels[static_cast<size_t>(i * 4 + 3)], 255) << "texel " << i;
    }
}

TEST_F(ModelTest, UnreadableImageIsReportedAndUploadsNothing)
{
    writeTextFile(tempPath("broken.png"), "this is not a PNG");
    const std::string path =
        writeObjModel("broken", std::string(kTriangleVertices) + "o one\nusemtl A\nf 1/1/1 2/2/1 3/3/1\n",
                      "newmtl A\nmap_Kd broken.png\n");
    testing::internal::CaptureStderr();
    Model model(path.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Failed to load texture image: " + tempDir() + "/broken.png\n");
    ASSERT_EQ(model.texturesLoaded.size(), 1u);
    ASSERT_EQ(model.meshes.size(), 1u);
    ASSERT_EQ(model.meshes[0].textures.size(), 1u);
    const GLuint id = model.texturesLoaded[0].id;
    EXPECT_NE(id, 0u);
    EXPECT_EQ(model.meshes[0].textures[0].id, id);
    glBindTexture(GL_TEXTURE_2D, id);
    GLint width = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(errorMessageCount(), 0);
}

// Assimp's material reader crashes on a statement before the first newmtl
// (it has no material to write into): such a file is refused and the model
// loads without its materials. Lines end at NUL, '\r' and '\f' too.
TEST_F(ModelTest, MaterialStatementsBeforeTheFirstNewmtlRefuseTheMaterialFile)
{
    // `file`: what the model's mtllib names; any name is a material file.
    const struct {
        std::string mtl;
        bool refused;
        std::string file = "plate.mtl";
    } cases[] = {{"# by hand\n\n  newmtl A\nmap_Kd plate.png\n", false},
                 {"map_Kd plate.png\nnewmtl A\n", true},
                 {"# note\0a 1234567\nnewmtl A\n"s, true},
                 {"# note\ra 1.5\nnewmtl A\n", true},
                 {"map_Kd plate.png\nnewmtl A\n", true, "plate.txt"},
                 {"newmtl A\nmap_Kd plate.png\n", false, "plate"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + ": " + c.mtl);
        writeTextFile(tempPath(c.file), c.mtl);
        const std::string path = tempPath("plate.obj");
        writeTextFile(path, "mtllib " + c.file + "\n" + kTriangleVertices +
                                "o one\nusemtl A\nf 1/1/1 2/2/1 3/3/1\n");
        testing::internal::CaptureStderr();
        Model model(path.c_str());
        const std::string errors = testing::internal::GetCapturedStderr();
        ASSERT_EQ(model.meshes.size(), 1u);
        EXPECT_EQ(model.texturesLoaded.size(), c.refused ? 0u : 1u);
        EXPECT_EQ(countLines(errors, "Failed to load material file: " + tempPath(c.file)),
                  c.refused ? 1u : 0u)
            << errors;
    }
}

// ---- the game's own model files ---------------------------------------

struct Bounds {
    glm::vec3 min{std::numeric_limits<float>::max()};
    glm::vec3 max{-std::numeric_limits<float>::max()};
    void add(const glm::vec3& p)
    {
        min = glm::min(min, p);
        max = glm::max(max, p);
    }
};

Bounds boundsOf(const Model& model)
{
    Bounds b;
    for (const Mesh& mesh : model.meshes)
        for (const scene::Vertex& v : mesh.vertices)
            b.add(v.position);
    return b;
}

void expectDrawableTexturedMeshes(const Model& model)
{
    ASSERT_FALSE(model.meshes.empty());
    for (size_t i = 0; i < model.meshes.size(); ++i) {
        SCOPED_TRACE("mesh " + std::to_string(i));
        const Mesh& mesh = model.meshes[i];
        EXPECT_GT(mesh.indices.size(), 0u);
        EXPECT_EQ(mesh.indices.size() % 3, 0u);
        for (unsigned int index : mesh.indices)
            ASSERT_LT(index, mesh.vertices.size());
        // The lit pass fixes "texture_diffuse1" to unit 0, so each mesh needs
        // a diffuse texture there (a depth cube map would clash with it).
        ASSERT_FALSE(mesh.textures.empty());
        EXPECT_EQ(mesh.textures[0].type, "texture_diffuse");
        for (const scene::Texture& t : mesh.textures) {
            glBindTexture(GL_TEXTURE_2D, t.id);
            GLint width = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
            EXPECT_GT(width, 0) << "texture " << t.path.C_Str() << " has no image";
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(ModelTest, GameTubeIsAnOpenCylinderOfRadius1Point2AlongMinusZ)
{
    testing::internal::CaptureStderr();
    Model tube("./Resources/Objects/tube/tube2.obj");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    expectDrawableTexturedMeshes(tube);
    EXPECT_EQ(tube.directory, "./Resources/Objects/tube");

    const Bounds b = boundsOf(tube);
    EXPECT_NEAR(b.min.x, -1.2f, 0.05f);
    EXPECT_NEAR(b.max.x, 1.2f, 0.05f);
    EXPECT_NEAR(b.min.y, -1.2f, 0.05f);
    EXPECT_NEAR(b.max.y, 1.2f, 0.05f);
    EXPECT_GT(b.min.z, -12.0f);
    EXPECT_LT(b.min.z, -11.0f + 0.5f);
    EXPECT_GT(b.max.z, -0.5f);
    EXPECT_LT(b.max.z, 1.0f);
    // Every vertex lies on the wall (radius 1.2), none inside the bore.
    for (const Mesh& mesh : tube.meshes)
        for (const scene::Vertex& v : mesh.vertices)
            ASSERT_NEAR(std::hypot(v.position.x, v.position.y), 1.2f, 0.05f);
}

TEST_F(ModelTest, GameCarIsSmallCentredAndPointsItsNoseToMinusZ)
{
    testing::internal::CaptureStderr();
    Model car("./Resources/Objects/car/car.obj");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    expectDrawableTexturedMeshes(car);

    const Bounds b = boundsOf(car);
    const glm::vec3 size = b.max - b.min;
    const glm::vec3 centre = (b.max + b.min) * 0.5f;
    EXPECT_NEAR(size.x, 1.2f, 0.1f);
    EXPECT_NEAR(size.y, 0.6f, 0.1f);
    EXPECT_NEAR(size.z, 2.0f, 0.15f);
    EXPECT_NEAR(centre.x, 0.0f, 0.1f);
    EXPECT_NEAR(centre.y, 0.0f, 0.15f);
    EXPECT_NEAR(centre.z, 0.0f, 0.15f);

    // A low nose and a raised tail (rear wing): the front end's highest point
    // is below the rear end's.
    float frontTop = -1e9f;
    float rearTop = -1e9f;
    for (const Mesh& mesh : car.meshes)
        for (const scene::Vertex& v : mesh.vertices) {
            if (v.position.z < b.min.z + 0.3f * size.z)
                frontTop = std::max(frontTop, v.position.y);
            if (v.position.z > b.max.z - 0.3f * size.z)
                rearTop = std::max(rearTop, v.position.y);
        }
    EXPECT_LT(frontTop, rearTop);
}

} // namespace
} // namespace velorun::test
