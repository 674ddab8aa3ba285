#pragma once

#include "render/ShaderProgram.h"
#include "scene/SceneObject.h"

#include <GL/glew.h>
#include <array>
#include <memory>

namespace velorun::scene {

// Unit cube centred on the origin, four vertices per face so every face has
// its own normal and texture coordinates. Obstacles and light markers.
class Cube : public SceneObject {
public:
    GLuint vao = 0;
    GLuint positionBuffer = 0;
    GLuint normalBuffer = 0;
    GLuint uvBuffer = 0;
    GLuint indexBuffer = 0;
    ShaderProgram* shader; // its attribute locations shaped the layout; not owned

    Cube(const glm::mat4& modelMatrix, ShaderProgram* shader);
    ~Cube() override;
    void draw() override;
    void update(float dt) override;

    static const std::array<float, 72> positions;
    static const std::array<float, 72> normals;
    static const std::array<float, 48> uvs;
    static const std::array<unsigned int, 36> indices;
};

std::unique_ptr<Cube> makeCube(const glm::mat4& modelMatrix, ShaderProgram* shader);

} // namespace velorun::scene
