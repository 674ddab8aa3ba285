#include "GlFixture.h"

#include "render/ShaderProgram.h"
#include "scene/Cube.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <memory>

namespace velorun::test {
namespace {

// The window is 64 x 64 and the projection maps [-1, 1] onto it, so the
// cube's [-0.5, 0.5] square covers exactly pixels 16..47 on both axes.
constexpr int kSize = 64;
constexpr float kNear = 0.1f;
constexpr float kFar = 20.0f;
constexpr float kEyeDistance = 5.0f;

class CubeTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (HasFatalFailure())
            return;
        shader = std::make_unique<ShaderProgram>("./Shader/basic.vert", "./Shader/cube.frag");
    }
    void TearDown() override
    {
        shader.reset();
        GlTest::TearDown();
    }

    // Looks at the origin from `direction` (a unit axis) with an orthographic
    // projection of [-1, 1]; culling on, blending off, magenta background.
    void prepareView(GLuint program, const glm::vec3& direction)
    {
        glUseProgram(program);
        const glm::vec3 up = std::abs(direction.y) > 0.5f ? glm::vec3(0, 0, 1) : glm::vec3(0, 1, 0);
        const glm::mat4 view = glm::lookAt(direction * kEyeDistance, glm::vec3(0.0f), up);
        const glm::mat4 projection = glm::ortho(-1.0f, 1.0f, -1.0f, 1.0f, kNear, kFar);
        const glm::mat4 model(1.0f);
        glUniformMatrix4fv(glGetUniformLocation(program, "projection"), 1, GL_FALSE,
                           glm::value_ptr(projection));
        glUniformMatrix4fv(glGetUniformLocation(program, "view"), 1, GL_FALSE, glm::value_ptr(view));
        glUniformMatrix4fv(glGetUniformLocation(program, "model"), 1, GL_FALSE, glm::value_ptr(model));
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(GL_CCW);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glDisable(GL_BLEND);
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    static bool covered(const Screenshot& shot, int x, int y)
    {
        const unsigned char* p = shot.at(x, y);
        return !(p[0] == 255 && p[1] == 0 && p[2] == 255);
    }

    // Every pixel inside 16..47 x 16..47 covered, every other pixel not.
    void expectUnitSquare(const Screenshot& shot)
    {
        int wrong = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const bool inside = x >= 16 && x < 48 && y >= 16 && y < 48;
                if (covered(shot, x, y) != inside && ++wrong <= 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") " << (inside ? "not " : "")
                                  << "covered";
            }
        EXPECT_EQ(wrong, 0);
    }

    std::unique_ptr<ShaderProgram> shader;
};

const glm::vec3 kDirections[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};

TEST_F(CubeTest, IdentityCubeCoversExactlyTheUnitSquareFromEverySideWithCulling)
{
    auto cube = scene::makeCube(glm::mat4(1.0f), shader.get());
    // Window depth of the face nearest to the eye (distance 4.5) and of the
    // opposite face (5.5) under the orthographic projection.
    const float nearFaceDepth = (kEyeDistance - 0.5f - kNear) / (kFar - kNear);
    for (const glm::vec3& direction : kDirections) {
        SCOPED_TRACE("seen from (" + std::to_string(direction.x) + ", " + std::to_string(direction.y) + ", " +
                     std::to_string(direction.z) + ")");
        prepareView(shader->program, direction);
        cube->draw();
        expectUnitSquare(readPixels());
        // The face turned to the eye survives culling; the one behind does not
        // get drawn over it.
        EXPECT_NEAR(readDepth(32, 32), nearFaceDepth, 1e-3);
        EXPECT_NEAR(readDepth(16, 47), nearFaceDepth, 1e-3);

        // With front faces culled only the far face remains: all triangles
        // wind counter-clockwise seen from outside.
        glCullFace(GL_FRONT);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        cube->draw();
        expectUnitSquare(readPixels());
        EXPECT_NEAR(readDepth(32, 32), nearFaceDepth + 1.0f / (kFar - kNear), 1e-3);
        glCullFace(GL_BACK);
    }
}

TEST_F(CubeTest, TranslationColumnMovesTheCubeAtItsNextDraw)
{
    glm::mat4 matrix = glm::translate(glm::mat4(1.0f), glm::vec3(0.25f, -0.5f, 0.0f));
    auto cube = scene::makeCube(matrix, shader.get());
    EXPECT_EQ(cube->modelMatrix, matrix);
    EXPECT_FLOAT_EQ(cube->modelMatrix[3][0], 0.25f);
    EXPECT_FLOAT_EQ(cube->modelMatrix[3][1], -0.5f);

    prepareView(shader->program, {0, 0, 1});
    glUniformMatrix4fv(glGetUniformLocation(shader->program, "model"), 1, GL_FALSE,
                       glm::value_ptr(cube->modelMatrix));
    cube->draw();
    Screenshot shot = readPixels();
    // x in [-0.25, 0.75] -> pixels 24..55; y in [-1, 0] -> pixels 0..31.
    EXPECT_TRUE(covered(shot, 24, 0));
    EXPECT_FALSE(covered(shot, 23, 0));
    EXPECT_TRUE(covered(shot, 55, 31));
    EXPECT_FALSE(covered(shot, 56, 31));
    EXPECT_FALSE(covered(shot, 40, 32));
}

TEST_F(CubeTest, DrawLeavesVertexArrayZeroBound)
{
    auto cube = scene::makeCube(glm::mat4(1.0f), shader.get());
    GLuint other = 0;
    glGenVertexArrays(1, &other);
    glBindVertexArray(other);
    prepareView(shader->program, {0, 0, 1});
    cube->draw();
    EXPECT_EQ(getInteger(GL_VERTEX_ARRAY_BINDING), 0);
    glDeleteVertexArrays(1, &other);
}

TEST_F(CubeTest, VertexArrayHoldsThreeSeparateBuffersAndTheIndices)
{
    auto cube = scene::makeCube(glm::mat4(1.0f), shader.get());
    EXPECT_EQ(getInteger(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(getInteger(GL_ARRAY_BUFFER_BINDING), 0);

    glBindVertexArray(cube->vao);
    EXPECT_EQ(static_cast<GLuint>(getInteger(GL_ELEMENT_ARRAY_BUFFER_BINDING)), cube->indexBuffer);
    struct Expected {
        const char* name;
        GLuint buffer;
        GLint components;
        GLint bytes;
    };
    for (const Expected& e :
         {Expected{"position", cube->positionBuffer, 3, 288}, Expected{"normal", cube->normalBuffer, 3, 288},
          Expected{"uv", cube->uvBuffer, 2, 192}}) {
        SCOPED_TRACE(e.name);
        const GLint location = glGetAttribLocation(shader->program, e.name);
        ASSERT_GE(location, 0);
        GLint value = 0;
        glGetVertexAttribiv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &value);
        EXPECT_EQ(value, GL_TRUE);
        glGetVertexAttribiv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_SIZE, &value);
        EXPECT_EQ(value, e.components);
        glGetVertexAttribiv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_STRIDE, &value);
        EXPECT_EQ(value, 0);
        glGetVertexAttribiv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &value);
        EXPECT_EQ(static_cast<GLuint>(value), e.buffer);
        glBindBuffer(GL_ARRAY_BUFFER, e.buffer);
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &value);
        EXPECT_EQ(value, e.bytes);
    }
    GLint indexBytes = 0;
    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &indexBytes);
    EXPECT_EQ(indexBytes, 144);
    unsigned int indices[36] = {};
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, sizeof indices, indices);
    for (unsigned int f = 0; f < 6; ++f) {
        const unsigned int expected[6] = {4 * f, 4 * f + 1, 4 * f + 2, 4 * f, 4 * f + 2, 4 * f + 3};
        for (unsigned int k = 0; k < 6; ++k)
            EXPECT_EQ(indices[f * 6 + k], expected[k]) << "face " << f;
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

TEST_F(CubeTest, UpdateMovesAlongTheObjectsOwnZAtTwentyUnitsPerSecond)
{
    auto plain = scene::makeCube(glm::mat4(1.0f), shader.get());
    plain->update(0.5f);
    EXPECT_NEAR(plain->modelMatrix[3][0], 0.0f, 1e-6);
    EXPECT_NEAR(plain->modelMatrix[3][1], 0.0f, 1e-6);
    EXPECT_NEAR(plain->modelMatrix[3][2], 10.0f, 1e-5);
    plain->update(0.25f);
    EXPECT_NEAR(plain->modelMatrix[3][2], 15.0f, 1e-5);

    // Turned a quarter about y and scaled by 2: its own z is world +x, doubled.
    const glm::mat4 turned = glm::scale(glm::rotate(glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3)),
                                                    glm::radians(90.0f), glm::vec3(0, 1, 0)),
                                        glm::vec3(2.0f));
    auto cube = scene::makeCube(turned, shader.get());
    cube->update(0.1f);
    EXPECT_NEAR(cube->modelMatrix[3][0], 1.0f + 4.0f, 1e-4);
    EXPECT_NEAR(cube->modelMatrix[3][1], 2.0f, 1e-4);
    EXPECT_NEAR(cube->modelMatrix[3][2], 3.0f, 1e-4);
}

TEST_F(CubeTest, DestructionDeletesItsFiveObjects)
{
    auto cube = scene::makeCube(glm::mat4(1.0f), shader.get());
    const GLuint buffers[4] = {cube->positionBuffer, cube->normalBuffer, cube->uvBuffer, cube->indexBuffer};
    const GLuint vao = cube->vao;
    for (GLuint b : buffers)
        ASSERT_TRUE(glIsBuffer(b));
    ASSERT_TRUE(glIsVertexArray(vao));
    cube.reset();
    for (GLuint b : buffers)
        EXPECT_FALSE(glIsBuffer(b));
    EXPECT_FALSE(glIsVertexArray(vao));
}

TEST_F(CubeTest, ProgramWithoutUvStillDrawsAfterReportingAtConstruction)
{
    writeTextFile(tempPath("nouv.vert"), R"(#version 430 core
in vec3 position;
in vec3 normal;
uniform mat4 model;
uniform mat4 view;
uniform mat4 projection;
out vec3 shade;
void main() { shade = abs(normal); gl_Position = projection * view * model * vec4(position, 1.0); }
)");
    writeTextFile(tempPath("nouv.frag"), R"(#version 430 core
in vec3 shade;
out vec4 fragColor;
void main() { fragColor = vec4(shade, 1.0); }
)");
    ShaderProgram noUv(tempPath("nouv.vert"), tempPath("nouv.frag"));
    ASSERT_EQ(glGetAttribLocation(noUv.program, "uv"), -1);

    std::unique_ptr<scene::Cube> cube;
    {
        // Enabling and pointing location -1 are both rejected.
        ExpectGlErrors expect(*this, 2);
        cube = scene::makeCube(glm::mat4(1.0f), &noUv);
    }
    // Positions and normals are still in place.
    glBindVertexArray(cube->vao);
    GLint enabled = 0;
    glGetVertexAttribiv(static_cast<GLuint>(glGetAttribLocation(noUv.program, "position")),
                        GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, GL_TRUE);
    glGetVertexAttribiv(static_cast<GLuint>(glGetAttribLocation(noUv.program, "normal")),
                        GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, GL_TRUE);
    glBindVertexArray(0);

    // Drawing raises nothing more, and the normals reach the shader: seen from
    // +z the front face's normal (0, 0, 1) colours it blue.
    prepareView(noUv.program, {0, 0, 1});
    cube->draw();
    const Screenshot shot = readPixels();
    expectUnitSquare(shot);
    const unsigned char* centre = shot.at(32, 32);
    EXPECT_EQ(centre[0], 0);
    EXPECT_EQ(centre[1], 0);
    EXPECT_EQ(centre[2], 255);
}

} // namespace
} // namespace velorun::test
