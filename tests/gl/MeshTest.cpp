#include "GlFixture.h"

#include "render/ShaderProgram.h"
#include "scene/Mesh.h"

#include <cstring>
#include <memory>

namespace velorun::test {
namespace {

using scene::Mesh;
using scene::Texture;
using scene::Vertex;

// Every sampler the mesh may set is used, so every one is active.
const char* kVertex = R"(#version 430 core
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoords;
out vec2 uv;
out vec3 n;
void main() { uv = aTexCoords; n = aNormal; gl_Position = vec4(aPos, 1.0); }
)";
const char* kFragment = R"(#version 430 core
in vec2 uv;
in vec3 n;
out vec4 fragColor;
uniform sampler2D texture_diffuse1;
struct Material {
    sampler2D texture_diffuse1;
    sampler2D texture_diffuse2;
    sampler2D texture_specular1;
};
uniform Material material;
uniform samplerCube depthMaps[8];
void main()
{
    vec4 c = texture(texture_diffuse1, uv) + texture(material.texture_diffuse1, uv)
           + texture(material.texture_diffuse2, uv) + texture(material.texture_specular1, uv);
    for (int j = 0; j < 8; ++j)
        c += texture(depthMaps[j], n);
    fragColor = c * 0.001 + vec4(0.0, 1.0, 0.0, 1.0);
}
)";

// Sampler values the mesh must leave alone; all on units of their own so
// no unit is used with two sampler types.
constexpr GLint kUntouchedTopLevel = 20;
constexpr GLint kUntouchedDiffuse1 = 21;
constexpr GLint kUntouchedDiffuse2 = 22;
constexpr GLint kUntouchedSpecular1 = 23;
constexpr GLint kUntouchedDepth = 24; // + j

class MeshTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (HasFatalFailure())
            return;
        writeTextFile(tempPath("mesh.vert"), kVertex);
        writeTextFile(tempPath("mesh.frag"), kFragment);
        shader = std::make_unique<ShaderProgram>(tempPath("mesh.vert"), tempPath("mesh.frag"));
        glUseProgram(shader->program);
        setSampler("texture_diffuse1", kUntouchedTopLevel);
        setSampler("material.texture_diffuse1", kUntouchedDiffuse1);
        setSampler("material.texture_diffuse2", kUntouchedDiffuse2);
        setSampler("material.texture_specular1", kUntouchedSpecular1);
        for (int j = 0; j < 8; ++j)
            setSampler(("depthMaps[" + std::to_string(j) + "]").c_str(), kUntouchedDepth + j);

        for (int k = 0; k < 3; ++k)
            images.push_back(makeImage(static_cast<unsigned char>(50 * k)));
        for (int j = 0; j < 8; ++j)
            cubeMaps.push_back(makeCubeMap());
        glActiveTexture(GL_TEXTURE0);
    }
    void TearDown() override
    {
        if (window) {
            glDeleteTextures(static_cast<GLsizei>(images.size()), images.data());
            glDeleteTextures(static_cast<GLsizei>(cubeMaps.size()), cubeMaps.data());
        }
        shader.reset();
        GlTest::TearDown();
    }

    void setSampler(const char* name, GLint unit)
    {
        const GLint location = glGetUniformLocation(shader->program, name);
        ASSERT_GE(location, 0) << name;
        glUniform1i(location, unit);
    }
    GLint sampler(const char* name) const { return uniformInt(shader->program, name); }

    static GLuint makeImage(unsigned char value)
    {
        GLuint id = 0;
        glGenTextures(1, &id);
        glBindTexture(GL_TEXTURE_2D, id);
        const unsigned char texel[4] = {value, value, value, 255};
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
        return id;
    }
    static GLuint makeCubeMap()
    {
        GLuint id = 0;
        glGenTextures(1, &id);
        glBindTexture(GL_TEXTURE_CUBE_MAP, id);
        const float depth = 1.0f;
        for (GLenum face = 0; face < 6; ++face)
            glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_DEPTH_COMPONENT, 1, 1, 0,
                         GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
        return id;
    }

    static Texture texture(GLuint id, const char* type, const char* path)
    {
        Texture t;
        t.id = id;
        t.type = type;
        t.path = aiString(path);
        return t;
    }

    // A full-screen quad of two triangles with distinct attributes.
    static std::vector<Vertex> quadVertices()
    {
        return {{{-1, -1, 0}, {0.1f, 0.2f, 0.3f}, {0.0f, 0.0f}},
                {{1, -1, 0}, {0.4f, 0.5f, 0.6f}, {1.0f, 0.0f}},
                {{1, 1, 0}, {0.7f, 0.8f, 0.9f}, {1.0f, 1.0f}},
                {{-1, 1, 0}, {1.0f, 1.1f, 1.2f}, {0.0f, 1.0f}}};
    }
    static std::vector<unsigned int> quadIndices() { return {0, 1, 2, 2, 3, 0}; }

    static GLint boundOnUnit(int unit, GLenum binding)
    {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        return getInteger(binding);
    }

    // Primitives that went through a draw call.
    template <typename Draw> GLuint primitivesDrawn(Draw draw)
    {
        GLuint query = 0;
        glGenQueries(1, &query);
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        draw();
        glEndQuery(GL_PRIMITIVES_GENERATED);
        GLuint count = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
        glDeleteQueries(1, &query);
        return count;
    }

    std::unique_ptr<ShaderProgram> shader;
    std::vector<GLuint> images;
    std::vector<GLuint> cubeMaps;
};

TEST_F(MeshTest, ThirtyTwoByteVerticesAtLocationsZeroOneTwo)
{
    const std::vector<Vertex> vertices = quadVertices();
    Mesh mesh(vertices, quadIndices(), {});
    ASSERT_NE(mesh.vao, 0u);
    EXPECT_EQ(getInteger(GL_VERTEX_ARRAY_BINDING), 0);

    glBindVertexArray(mesh.vao);
    EXPECT_EQ(static_cast<GLuint>(getInteger(GL_ELEMENT_ARRAY_BUFFER_BINDING)), mesh.ebo);
    const GLint sizes[3] = {3, 3, 2};
    const size_t offsets[3] = {0, 12, 24};
    for (GLuint location = 0; location < 3; ++location) {
        SCOPED_TRACE("location " + std::to_string(location));
        GLint value = 0;
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &value);
        EXPECT_EQ(value, GL_TRUE);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &value);
        EXPECT_EQ(value, sizes[location]);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_TYPE, &value);
        EXPECT_EQ(value, GL_FLOAT);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &value);
        EXPECT_EQ(value, GL_FALSE);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &value);
        EXPECT_EQ(value, 32);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &value);
        EXPECT_EQ(static_cast<GLuint>(value), mesh.vbo);
        void* pointer = nullptr;
        glGetVertexAttribPointerv(location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
        EXPECT_EQ(reinterpret_cast<size_t>(pointer), offsets[location]);
    }
    GLint enabled = 1;
    glGetVertexAttribiv(3, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, GL_FALSE);

    // The buffers hold the vertices and indices as given.
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vbo);
    GLint bytes = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    ASSERT_EQ(bytes, 4 * 32);
    std::vector<float> stored(32);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, 128, stored.data());
    EXPECT_EQ(std::memcmp(stored.data(), vertices.data(), 128), 0);
    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    EXPECT_EQ(bytes, 6 * 4);
    unsigned int indices[6] = {};
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, sizeof indices, indices);
    EXPECT_EQ(std::vector<unsigned int>(indices, indices + 6), quadIndices());
    glBindVertexArray(0);
}

TEST_F(MeshTest, WithoutMaterialTexturesDepthMapJSitsOnUnitJ)
{
    Mesh mesh(quadVertices(), quadIndices(), {});
    glUseProgram(shader->program);
    EXPECT_EQ(primitivesDrawn([&] { mesh.draw(shader.get(), cubeMaps); }), 2u);
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(sampler(("depthMaps[" + std::to_string(j) + "]").c_str()), j);
        EXPECT_EQ(static_cast<GLuint>(boundOnUnit(j, GL_TEXTURE_BINDING_CUBE_MAP)),
                  cubeMaps[static_cast<size_t>(j)]);
    }
    EXPECT_EQ(sampler("material.texture_diffuse1"), kUntouchedDiffuse1);
    EXPECT_EQ(sampler("material.texture_specular1"), kUntouchedSpecular1);
    EXPECT_EQ(sampler("texture_diffuse1"), kUntouchedTopLevel);
    EXPECT_EQ(getInteger(GL_VERTEX_ARRAY_BINDING), 0);

    // The quad covered the whole window in the shader's green.
    const Screenshot shot = readPixels();
    EXPECT_EQ(shot.at(1, 1)[1], 255);
    EXPECT_EQ(shot.at(62, 62)[1], 255);
}

TEST_F(MeshTest, OneDiffuseTextureTakesUnitZeroAndShiftsTheDepthMaps)
{
    Mesh mesh(quadVertices(), quadIndices(), {texture(images[0], "texture_diffuse", "a.png")});
    glUseProgram(shader->program);
    mesh.draw(shader.get(), cubeMaps);
    EXPECT_EQ(sampler("material.texture_diffuse1"), 0);
    EXPECT_EQ(static_cast<GLuint>(boundOnUnit(0, GL_TEXTURE_BINDING_2D)), images[0]);
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(sampler(("depthMaps[" + std::to_string(j) + "]").c_str()), 1 + j);
        EXPECT_EQ(static_cast<GLuint>(boundOnUnit(1 + j, GL_TEXTURE_BINDING_CUBE_MAP)),
                  cubeMaps[static_cast<size_t>(j)]);
    }
    EXPECT_EQ(sampler("material.texture_specular1"), kUntouchedSpecular1);
    EXPECT_EQ(sampler("material.texture_diffuse2"), kUntouchedDiffuse2);
}

TEST_F(MeshTest, DiffuseAndSpecularTakeUnitsZeroAndOneDepthMapsTwoToNine)
{
    Mesh mesh(
        quadVertices(), quadIndices(),
        {texture(images[0], "texture_diffuse", "d.png"), texture(images[1], "texture_specular", "s.png")});
    glActiveTexture(GL_TEXTURE17);
    glUseProgram(shader->program);
    mesh.draw(shader.get(), cubeMaps);
    // The last unit used stays active.
    EXPECT_EQ(getInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE9);
    EXPECT_EQ(sampler("material.texture_diffuse1"), 0);
    EXPECT_EQ(sampler("material.texture_specular1"), 1);
    EXPECT_EQ(static_cast<GLuint>(boundOnUnit(0, GL_TEXTURE_BINDING_2D)), images[0]);
    EXPECT_EQ(static_cast<GLuint>(boundOnUnit(1, GL_TEXTURE_BINDING_2D)), images[1]);
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(sampler(("depthMaps[" + std::to_string(j) + "]").c_str()), 2 + j);
        EXPECT_EQ(static_cast<GLuint>(boundOnUnit(2 + j, GL_TEXTURE_BINDING_CUBE_MAP)),
                  cubeMaps[static_cast<size_t>(j)]);
    }
    EXPECT_EQ(sampler("texture_diffuse1"), kUntouchedTopLevel);
}

TEST_F(MeshTest, CountersNumberEachTypeFromOneOnEveryDraw)
{
    // Order diffuse, specular, diffuse: names diffuse1, specular1, diffuse2.
    Mesh mesh(quadVertices(), quadIndices(),
              {texture(images[0], "texture_diffuse", "a.png"),
               texture(images[1], "texture_specular", "b.png"),
               texture(images[2], "texture_diffuse", "c.png")});
    glUseProgram(shader->program);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE("draw " + std::to_string(round + 1));
        mesh.draw(shader.get(), {});
        EXPECT_EQ(sampler("material.texture_diffuse1"), 0);
        EXPECT_EQ(sampler("material.texture_specular1"), 1);
        EXPECT_EQ(sampler("material.texture_diffuse2"), 2);
        EXPECT_EQ(static_cast<GLuint>(boundOnUnit(2, GL_TEXTURE_BINDING_2D)), images[2]);
        // An empty depth-map list leaves the depth samplers alone.
        EXPECT_EQ(sampler("depthMaps[0]"), kUntouchedDepth);
        // Shuffle the values so the second draw has to set them again.
        setSampler("material.texture_diffuse1", kUntouchedDiffuse1);
        setSampler("material.texture_specular1", kUntouchedSpecular1);
        setSampler("material.texture_diffuse2", kUntouchedDiffuse2);
    }

    // A second mesh drawn after the first starts its own counters at 1.
    Mesh other(quadVertices(), quadIndices(), {texture(images[1], "texture_diffuse", "b.png")});
    other.draw(shader.get(), {});
    EXPECT_EQ(sampler("material.texture_diffuse1"), 0);
    EXPECT_EQ(static_cast<GLuint>(boundOnUnit(0, GL_TEXTURE_BINDING_2D)), images[1]);
}

TEST_F(MeshTest, CopyDrawsTheSameVertexArray)
{
    Mesh mesh(quadVertices(), quadIndices(), {});
    Mesh copy = mesh;
    EXPECT_EQ(copy.vao, mesh.vao);
    EXPECT_EQ(copy.vbo, mesh.vbo);
    EXPECT_EQ(copy.ebo, mesh.ebo);
    glUseProgram(shader->program);
    EXPECT_EQ(primitivesDrawn([&] { copy.draw(shader.get(), cubeMaps); }), 2u);
}

TEST_F(MeshTest, EmptyMeshUploadsAndDrawsNothing)
{
    Mesh empty({}, {}, {});
    EXPECT_NE(empty.vao, 0u);
    glBindVertexArray(empty.vao);
    GLint bytes = -1;
    glBindBuffer(GL_ARRAY_BUFFER, empty.vbo);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    EXPECT_EQ(bytes, 0);
    glBindVertexArray(0);

    glUseProgram(shader->program);
    EXPECT_EQ(primitivesDrawn([&] { empty.draw(shader.get(), cubeMaps); }), 0u);
    EXPECT_EQ(primitivesDrawn([&] { empty.drawDepth(); }), 0u);

    // Vertices without indices draw nothing either.
    Mesh noIndices(quadVertices(), {}, {});
    EXPECT_EQ(primitivesDrawn([&] { noIndices.draw(shader.get(), cubeMaps); }), 0u);
}

} // namespace
} // namespace velorun::test
