#pragma once

#include "render/ShaderProgram.h"

#include <GL/glew.h>
#include <assimp/types.h>
#include <cstddef>
#include <glm/glm.hpp>
#include <string>
#include <vector>

namespace velorun::scene {

struct Vertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 texCoords;
};
static_assert(sizeof(Vertex) == 32 && offsetof(Vertex, normal) == 12 && offsetof(Vertex, texCoords) == 24,
              "vertex layout is shared with the shaders");

struct Texture {
    unsigned int id = 0;
    std::string type; // "texture_diffuse" or "texture_specular"
    aiString path; // as the material states it; the model's cache key
};

// Uniform name for material texture i of a mesh, advancing the per-type
// counters: "material.texture_diffuse1", "material.texture_specular1", ...
std::string materialSamplerName(const std::string& type, unsigned int& diffuseCounter,
                                unsigned int& specularCounter);

// One indexed triangle mesh on the GPU. Its GL objects live as long as the
// context, so a Mesh may be copied freely; copies share the GL names.
class Mesh {
public:
    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices;
    std::vector<Texture> textures;
    GLuint vao = 0;
    GLuint vbo = 0;
    GLuint ebo = 0;

    Mesh(std::vector<Vertex> vertices, std::vector<unsigned int> indices, std::vector<Texture> textures);

    // Material textures on units 0..T-1, then the depth cube maps on T onwards.
    void draw(ShaderProgram* shader, const std::vector<GLuint>& depthMaps);
    // Geometry only, for the shadow pass.
    void drawDepth() const;

private:
    void setupMesh();
};

} // namespace velorun::scene
