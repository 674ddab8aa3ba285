#include "scene/Cube.h"

#include <glm/gtc/matrix_transform.hpp>

namespace velorun::scene {

// Faces: back, front, top, bottom, right, left; counter-clockwise from outside.
const std::array<float, 72> Cube::positions = {
    -.5f, -.5f, -.5f, -.5f, .5f,  -.5f, .5f,  .5f,  -.5f, .5f,  -.5f, -.5f, // back
    -.5f, -.5f, .5f,  .5f,  -.5f, .5f,  .5f,  .5f,  .5f,  -.5f, .5f,  .5f, // front
    .5f,  .5f,  .5f,  .5f,  .5f,  -.5f, -.5f, .5f,  -.5f, -.5f, .5f,  .5f, // top
    .5f,  -.5f, .5f,  -.5f, -.5f, .5f,  -.5f, -.5f, -.5f, .5f,  -.5f, -.5f, // bottom
    .5f,  .5f,  .5f,  .5f,  -.5f, .5f,  .5f,  -.5f, -.5f, .5f,  .5f,  -.5f, // right
    -.5f, .5f,  .5f,  -.5f, .5f,  -.5f, -.5f, -.5f, -.5f, -.5f, -.5f, .5f, // left
};

const std::array<float, 72> Cube::normals = {
    0,  0,  -1, 0,  0,  -1, 0,  0,  -1, 0,  0,  -1, //
    0,  0,  1,  0,  0,  1,  0,  0,  1,  0,  0,  1, //
    0,  1,  0,  0,  1,  0,  0,  1,  0,  0,  1,  0, //
    0,  -1, 0,  0,  -1, 0,  0,  -1, 0,  0,  -1, 0, //
    1,  0,  0,  1,  0,  0,  1,  0,  0,  1,  0,  0, //
    -1, 0,  0,  -1, 0,  0,  -1, 0,  0,  -1, 0,  0, //
};

const std::array<float, 48> Cube::uvs = {
    1, 0, 1, 1, 0, 1, 0, 0, // back
    0, 0, 1, 0, 1, 1, 0, 1, // front
    0, 0, 1, 0, 1, 1, 0, 1, // top
    0, 0, 1, 0, 1, 1, 0, 1, // bottom
    1, 1, 1, 0, 0, 0, 0, 1, // right
    0, 1, 1, 1, 1, 0, 0, 0, // left
};

const std::array<unsigned int, 36> Cube::indices = {
    0,  1,  2,  0,  2,  3,  4,  5,  6,  4,  6,  7,  8,  9,  10, 8,  10, 11,
    12, 13, 14, 12, 14, 15, 16, 17, 18, 16, 18, 19, 20, 21, 22, 20, 22, 23,
};

namespace {
template <typename Array> void uploadArray(GLuint& buffer, GLenum target, const Array& data)
{
    glGenBuffers(1, &buffer);
    glBindBuffer(target, buffer);
    glBufferData(target, sizeof(data), data.data(), GL_STATIC_DRAW);
    glBindBuffer(target, 0);
}

void describeAttribute(GLuint program, GLuint buffer, const char* name, GLint components)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    // A program without this input yields -1; GL reports the failed calls and
    // the cube draws without that attribute.
    const GLint location = glGetAttribLocation(program, name);
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE, 0, nullptr);
}
} // namespace

Cube::Cube(const glm::mat4& matrix, ShaderProgram* program) : SceneObject(matrix), shader(program)
{
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    uploadArray(positionBuffer, GL_ARRAY_BUFFER, positions);
    uploadArray(indexBuffer, GL_ELEMENT_ARRAY_BUFFER, indices);
    uploadArray(normalBuffer, GL_ARRAY_BUFFER, normals);
    uploadArray(uvBuffer, GL_ARRAY_BUFFER, uvs);
    describeAttribute(shader->program, positionBuffer, "position", 3);
    describeAttribute(shader->program, normalBuffer, "normal", 3);
    describeAttribute(shader->program, uvBuffer, "uv", 2);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

Cube::~Cube()
{
    glDeleteBuffers(1, &positionBuffer);
    glDeleteBuffers(1, &indexBuffer);
    glDeleteBuffers(1, &normalBuffer);
    glDeleteBuffers(1, &uvBuffer);
    glDeleteVertexArrays(1, &vao);
}

void Cube::draw()
{
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, 36, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

void Cube::update(float dt) { modelMatrix = glm::translate(modelMatrix, glm::vec3(0.0f, 0.0f, 20.0f * dt)); }

std::unique_ptr<Cube> makeCube(const glm::mat4& modelMatrix, ShaderProgram* shader)
{
    return std::make_unique<Cube>(modelMatrix, shader);
}

} // namespace velorun::scene
