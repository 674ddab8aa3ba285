#pragma once

#include "render/ShaderProgram.h"
#include "render/Texture2D.h"

#include <GL/glew.h>
#include <array>
#include <glm/glm.hpp>
#include <memory>
#include <vector>

namespace velorun {

// One flare element: an image drawn at `position` (0..1 screen space, y down).
class FlareTexture {
public:
    float scale;
    glm::vec2 position{0.0f, 0.0f};
    std::unique_ptr<Texture2D> texture;

    FlareTexture(const char* path, float scale);
};

// The drawing half: a unit quad and the flare program.
class FlareRenderer {
public:
    std::array<float, 12> corners{-0.5f, -0.5f, 0.0f, 0.5f, -0.5f, 0.0f, 0.5f, 0.5f, 0.0f, -0.5f, 0.5f, 0.0f};
    std::array<float, 8> texCoords{0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f};
    std::array<unsigned int, 6> indices{0, 1, 2, 2, 3, 0};
    GLuint vao = 0;
    GLuint positionBuffer = 0;
    GLuint indexBuffer = 0;
    GLuint texCoordBuffer = 0;
    std::unique_ptr<ShaderProgram> shader;

    FlareRenderer();
    ~FlareRenderer();
    FlareRenderer(const FlareRenderer&) = delete;
    FlareRenderer& operator=(const FlareRenderer&) = delete;

    void render(const std::vector<FlareTexture*>& flares, float brightness, glm::ivec2 windowSize);
    void renderFlare(FlareTexture* flare, glm::ivec2 windowSize);
};

class LensFlare {
public:
    glm::vec2 center{0.5f, 0.5f};
    std::vector<FlareTexture*> flares; // not owned
    float spacing;
    FlareRenderer renderer;

    LensFlare(std::vector<FlareTexture*> flares, float spacing);

    // Draws one light's flare when it projects, with the scene's `projection`,
    // close enough to the centre of a window of `windowSize`.
    void render(const glm::mat4* view, const glm::mat4& projection, const glm::vec3& lightPosition,
                glm::ivec2 windowSize);
};

} // namespace velorun
