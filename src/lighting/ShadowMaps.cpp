#include "lighting/ShadowMaps.h"

#include "lighting/SceneState.h"
#include "render/Projections.h"
#include "scene/RunState.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <string>

namespace velorun {

std::array<glm::mat4, 6> shadowTransforms(const glm::vec3& p)
{
    const glm::mat4 projection = shadowProjection();
    return {projection * glm::lookAt(p, p + glm::vec3(1.0f, 0.0f, 0.0f), glm::vec3(0.0f, -1.0f, 0.0f)),
            projection * glm::lookAt(p, p + glm::vec3(-1.0f, 0.0f, 0.0f), glm::vec3(0.0f, -1.0f, 0.0f)),
            projection * glm::lookAt(p, p + glm::vec3(0.0f, 1.0f, 0.0f), glm::vec3(0.0f, 0.0f, 1.0f)),
            projection * glm::lookAt(p, p + glm::vec3(0.0f, -1.0f, 0.0f), glm::vec3(0.0f, 0.0f, -1.0f)),
            projection * glm::lookAt(p, p + glm::vec3(0.0f, 0.0f, 1.0f), glm::vec3(0.0f, -1.0f, 0.0f)),
            projection * glm::lookAt(p, p + glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, -1.0f, 0.0f))};
}

void createShadowMaps()
{
    std::vector<GLuint> maps;
    for (int k = 1; k <= pointLightCount; ++k) {
        GLuint framebuffer = 0;
        GLuint cubeMap = 0;
        glGenFramebuffers(1, &framebuffer);
        glGenTextures(1, &cubeMap);
        glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap);
        for (GLenum face = 0; face < 6; ++face)
            glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_DEPTH_COMPONENT, shadowMapSize,
                         shadowMapSize, 0, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, cubeMap, 0);
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        shadowFramebuffers.push_back(framebuffer);
        maps.push_back(cubeMap);

        if (k == 1) {
            depthShader = std::make_unique<ShaderProgram>("Shader/point_shadows_depth.vert",
                                                          "Shader/point_shadows_depth.geom",
                                                          "Shader/point_shadows_depth.frag");
            glBindFragDataLocation(depthShader->program, 0, "fragColor");
            glLinkProgram(depthShader->program);
        }
    }
    depthCubeMaps.insert(depthCubeMaps.end(), maps.begin(), maps.end());
}

void renderShadowMap(glm::vec3 lightPosition, GLuint framebuffer)
{
    const std::array<glm::mat4, 6> transforms = shadowTransforms(lightPosition);
    glViewport(0, 0, shadowMapSize, shadowMapSize);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glClear(GL_DEPTH_BUFFER_BIT);

    const GLuint program = depthShader->program;
    glUseProgram(program);
    for (int i = 0; i < 6; ++i) {
        const std::string name = "shadowMatrices[" + std::to_string(i) + "]";
        glUniformMatrix4fv(glGetUniformLocation(program, name.c_str()), 1, GL_FALSE,
                           glm::value_ptr(transforms[static_cast<size_t>(i)]));
    }
    glUniform1f(glGetUniformLocation(program, "far_plane"), shadowFarPlane);
    glUniform3fv(glGetUniformLocation(program, "lightPos"), 1, glm::value_ptr(lightPosition));

    for (const std::unique_ptr<scene::Cube>& cube : run.cubes) {
        glUniformMatrix4fv(glGetUniformLocation(program, "model"), 1, GL_FALSE,
                           glm::value_ptr(cube->modelMatrix));
        cube->draw();
    }
    for (scene::Model* model : {tubeA.get(), tubeB.get(), car.get()}) {
        glUseProgram(program);
        const glm::mat4 matrix = model->getModelMatrix();
        glUniformMatrix4fv(glGetUniformLocation(program, "model"), 1, GL_FALSE, glm::value_ptr(matrix));
        model->drawDepth();
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void releaseShadowMaps()
{
    if (!depthCubeMaps.empty())
        glDeleteTextures(static_cast<GLsizei>(depthCubeMaps.size()), depthCubeMaps.data());
    if (!shadowFramebuffers.empty())
        glDeleteFramebuffers(static_cast<GLsizei>(shadowFramebuffers.size()), shadowFramebuffers.data());
    depthCubeMaps.clear();
    shadowFramebuffers.clear();
    depthShader.reset();
}

} // namespace velorun
