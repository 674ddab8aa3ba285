#pragma once

#include "render/ShaderProgram.h"
#include "render/TextureFilters.h"
#include "scene/Mesh.h"

#include <GL/glew.h>
#include <assimp/material.h>
#include <cstddef>
#include <glm/glm.hpp>
#include <string>
#include <vector>

struct aiNode;
struct aiScene;
struct aiMesh;

namespace velorun::scene {

// Forward speed of a freshly loaded model, and of the car at the start of every run.
constexpr float startSpeed = 10.5f;

// Directory part of a model path: everything before the last '/', or the whole
// path when it has none (a backslash does not count).
std::string modelDirectory(const std::string& path);

// A polygon model imported through Assimp, kept on the GPU as meshes.
class Model {
public:
    std::vector<Texture> texturesLoaded;
    std::vector<Mesh> meshes;
    std::string directory;
    glm::mat4 modelMatrix{1.0f};
    // The box around its vertices in its own space, set when it is loaded.
    glm::vec3 boundsMin{0.0f};
    glm::vec3 boundsMax{0.0f};
    float speed = 0.0f;
    int mipmapMode = initialMipmapMode;
    bool nearestFilter = initialNearestFilter;

    explicit Model(const char* path);
    // A model without geometry: moved, never drawn (logic tests use it).
    Model() = default;

    void draw(ShaderProgram* shader, const std::vector<GLuint>& depthMaps);
    void drawDepth();
    glm::mat4 getModelMatrix() const { return modelMatrix; }

    // Steps in the model's own space, so a scaled car moves proportionally less.
    void moveRight(float dt);
    void moveLeft(float dt);
    void moveUp(float dt);
    void moveDown(float dt);
    void moveForward(float dt);

private:
    void loadModel(const std::string& path);
    void processNode(aiNode* node, const aiScene* scene);
    Mesh processMesh(aiMesh* mesh, const aiScene* scene);
    std::vector<Texture> loadMaterialTextures(aiMaterial* material, aiTextureType type,
                                              const std::string& typeName);
    GLuint textureFromFile(const char* path, const std::string& directory);
};

} // namespace velorun::scene
