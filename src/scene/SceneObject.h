#pragma once

#include <glm/glm.hpp>

namespace velorun::scene {

// Something drawn with its own model matrix; its position is the matrix's
// translation column.
class SceneObject {
public:
    glm::mat4 modelMatrix;

    explicit SceneObject(const glm::mat4& modelMatrix) : modelMatrix(modelMatrix) {}
    virtual ~SceneObject() = default;
    virtual void draw() = 0;
    virtual void update(float dt) = 0;

    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;
};

// The translation column of a model matrix, i.e. an object's position.
inline glm::vec3 positionOf(const glm::mat4& m) { return glm::vec3(m[3][0], m[3][1], m[3][2]); }

inline void setPosition(glm::mat4& m, const glm::vec3& p)
{
    m[3][0] = p.x;
    m[3][1] = p.y;
    m[3][2] = p.z;
}

} // namespace velorun::scene
