#include "scene/Mesh.h"

#include "render/Uniforms.h"

#include <cstddef>

namespace velorun::scene {

std::string materialSamplerName(const std::string& type, unsigned int& diffuseCounter,
                                unsigned int& specularCounter)
{
    std::string number;
    if (type == "texture_diffuse")
        number = std::to_string(diffuseCounter++);
    else if (type == "texture_specular")
        number = std::to_string(specularCounter++);
    return "material." + type + number;
}

Mesh::Mesh(std::vector<Vertex> v, std::vector<unsigned int> i, std::vector<Texture> t)
    : vertices(std::move(v)), indices(std::move(i)), textures(std::move(t))
{
    setupMesh();
}

void Mesh::setupMesh()
{
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &vbo);
    glGenBuffers(1, &ebo);

    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    // An empty list uploads nothing rather than reading a first element that
    // does not exist; such a mesh draws nothing.
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)),
                 vertices.empty() ? nullptr : vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ebo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(unsigned int)),
                 indices.empty() ? nullptr : indices.data(), GL_STATIC_DRAW);

    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, texCoords)));
    glBindVertexArray(0);
}

void Mesh::draw(ShaderProgram* shader, const std::vector<GLuint>& depthMaps)
{
    unsigned int diffuseCounter = 1;
    unsigned int specularCounter = 1;
    const GLuint program = shader->program;
    const GLint materialCount = static_cast<GLint>(textures.size());
    for (GLint i = 0; i < materialCount; ++i) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
        const std::string name = materialSamplerName(textures[i].type, diffuseCounter, specularCounter);
        setUniform(program, name.c_str(), static_cast<int>(i));
        glBindTexture(GL_TEXTURE_2D, textures[i].id);
    }
    for (GLint j = 0; j < static_cast<GLint>(depthMaps.size()); ++j) {
        const GLint unit = materialCount + j;
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        const std::string name = "depthMaps[" + std::to_string(j) + "]";
        setUniform(program, name.c_str(), static_cast<int>(unit));
        glBindTexture(GL_TEXTURE_CUBE_MAP, depthMaps[static_cast<size_t>(j)]);
    }
    drawDepth();
}

void Mesh::drawDepth() const
{
    if (indices.empty() || vertices.empty())
        return;
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

} // namespace velorun::scene
