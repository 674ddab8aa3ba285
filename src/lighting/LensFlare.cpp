#include "lighting/LensFlare.h"

#include "lighting/FlareMath.h"
#include "render/Projections.h"
#include "render/Uniforms.h"

namespace velorun {

FlareTexture::FlareTexture(const char* path, float s) : scale(s), texture(std::make_unique<Texture2D>(path))
{
}

FlareRenderer::FlareRenderer()
{
    shader = std::make_unique<ShaderProgram>("./Shader/simpleShader.vert", "./Shader/simpleShader.frag");
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(1, &positionBuffer);
    glGenBuffers(1, &indexBuffer);
    glGenBuffers(1, &texCoordBuffer);

    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(corners), corners.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof(indices), indices.data(), GL_STATIC_DRAW);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(0);

    glBindBuffer(GL_ARRAY_BUFFER, texCoordBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(texCoords), texCoords.data(), GL_STATIC_DRAW);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(1);

    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);

    glUseProgram(shader->program);
    setUniform(shader->program, "flareTexture", 0);
}

FlareRenderer::~FlareRenderer()
{
    glDeleteBuffers(1, &positionBuffer);
    glDeleteBuffers(1, &indexBuffer);
    glDeleteBuffers(1, &texCoordBuffer);
    glDeleteVertexArrays(1, &vao);
    shader.reset();
}

void FlareRenderer::render(const std::vector<FlareTexture*>& flares, float brightness, glm::ivec2 windowSize)
{
    glDisable(GL_MULTISAMPLE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);

    glUseProgram(shader->program);
    setUniform(shader->program, "brightness", brightness);
    for (FlareTexture* flare : flares)
        renderFlare(flare, windowSize);

    glEnable(GL_DEPTH_TEST);
}

void FlareRenderer::renderFlare(FlareTexture* flare, glm::ivec2 size)
{
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, flare->texture->id);
    glUseProgram(shader->program);
    glBindVertexArray(vao);
    if (size.x > 0 && size.y > 0) {
        setUniform(shader->program, "transform",
                   flareTransform(flare->position, flare->scale, size.x, size.y));
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
    }
    glBindVertexArray(0);
}

LensFlare::LensFlare(std::vector<FlareTexture*> elements, float s) : flares(std::move(elements)), spacing(s)
{
}

void LensFlare::render(const glm::mat4* view, const glm::mat4& projection, const glm::vec3& lightPosition,
                       glm::ivec2 size)
{
    if (!view)
        return;
    if (size.x <= 0 || size.y <= 0)
        return; // minimised: no screen to put a flare on
    const std::optional<glm::vec2> s = projectToScreen(projection, *view, lightPosition);
    if (!s)
        return;
    const float brightness = flareBrightness(*s, center);
    if (brightness <= 0.0f)
        return;
    const std::vector<glm::vec2> positions = flarePositions(*s, flares.size(), spacing, center);
    for (std::size_t i = 0; i < flares.size(); ++i)
        flares[i]->position = positions[i];
    renderer.render(flares, brightness, size);
}

} // namespace velorun
