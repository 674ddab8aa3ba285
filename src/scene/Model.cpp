#include "scene/Model.h"

#include "render/ImageHeader.h"
#include "scene/MaterialFiles.h"

#include <SOIL.h>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <iostream>
#include <optional>

namespace velorun::scene {

namespace {
// Sideways steering rate in the model's own units per second.
constexpr float sideRate = 10.5f;
} // namespace

std::string modelDirectory(const std::string& path)
{
    const std::string::size_type slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

Model::Model(const char* path) { loadModel(path); }

void Model::draw(ShaderProgram* shader, const std::vector<GLuint>& depthMaps)
{
    for (Mesh& mesh : meshes)
        mesh.draw(shader, depthMaps);
}

void Model::drawDepth()
{
    for (const Mesh& mesh : meshes)
        mesh.drawDepth();
}

void Model::moveRight(float dt)
{
    modelMatrix = glm::translate(modelMatrix, glm::vec3(sideRate * dt, 0.0f, 0.0f));
}
void Model::moveLeft(float dt)
{
    modelMatrix = glm::translate(modelMatrix, glm::vec3(-sideRate * dt, 0.0f, 0.0f));
}
void Model::moveUp(float dt)
{
    modelMatrix = glm::translate(modelMatrix, glm::vec3(0.0f, sideRate * dt, 0.0f));
}
void Model::moveDown(float dt)
{
    modelMatrix = glm::translate(modelMatrix, glm::vec3(0.0f, -sideRate * dt, 0.0f));
}
void Model::moveForward(float dt)
{
    modelMatrix = glm::translate(modelMatrix, glm::vec3(0.0f, 0.0f, -2.0f * speed * dt));
}

void Model::loadModel(const std::string& path)
{
    speed = startSpeed;
    Assimp::Importer importer;
    importer.SetIOHandler(new ModelFileSystem(path)); // the importer owns and deletes it
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_FlipUVs);
    if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mRootNode) {
        std::cerr << "ERROR::ASSIMP::" << importer.GetErrorString() << std::endl;
        return;
    }
    directory = modelDirectory(path);
    processNode(scene->mRootNode, scene);

    bool first = true;
    for (const Mesh& mesh : meshes)
        for (const Vertex& vertex : mesh.vertices) {
            boundsMin = first ? vertex.position : glm::min(boundsMin, vertex.position);
            boundsMax = first ? vertex.position : glm::max(boundsMax, vertex.position);
            first = false;
        }
}

void Model::processNode(aiNode* node, const aiScene* scene)
{
    for (unsigned int i = 0; i < node->mNumMeshes; ++i)
        meshes.push_back(processMesh(scene->mMeshes[node->mMeshes[i]], scene));
    for (unsigned int i = 0; i < node->mNumChildren; ++i)
        processNode(node->mChildren[i], scene);
}

Mesh Model::processMesh(aiMesh* mesh, const aiScene* scene)
{
    std::vector<Vertex> vertices;
    vertices.reserve(mesh->mNumVertices);
    for (unsigned int i = 0; i < mesh->mNumVertices; ++i) {
        Vertex vertex;
        vertex.position = glm::vec3(mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z);
        // A mesh stored without normals gets zero normals instead of a crash.
        vertex.normal = mesh->mNormals
                            ? glm::vec3(mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z)
                            : glm::vec3(0.0f);
        vertex.texCoords = mesh->mTextureCoords[0]
                               ? glm::vec2(mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y)
                               : glm::vec2(0.0f);
        vertices.push_back(vertex);
    }
    std::vector<unsigned int> indices;
    for (unsigned int f = 0; f < mesh->mNumFaces; ++f)
        for (unsigned int k = 0; k < mesh->mFaces[f].mNumIndices; ++k)
            indices.push_back(mesh->mFaces[f].mIndices[k]);

    aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
    std::vector<Texture> textures = loadMaterialTextures(material, aiTextureType_DIFFUSE, "texture_diffuse");
    std::vector<Texture> specular =
        loadMaterialTextures(material, aiTextureType_SPECULAR, "texture_specular");
    textures.insert(textures.end(), specular.begin(), specular.end());
    return Mesh(vertices, indices, textures);
}

std::vector<Texture> Model::loadMaterialTextures(aiMaterial* material, aiTextureType type,
                                                 const std::string& typeName)
{
    std::vector<Texture> result;
    for (unsigned int i = 0; i < aiGetMaterialTextureCount(material, type); ++i) {
        aiString path;
        aiGetMaterialTexture(material, type, i, &path, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        bool cached = false;
        for (const Texture& loaded : texturesLoaded) {
            if (std::strcmp(loaded.path.C_Str(), path.C_Str()) == 0) {
                result.push_back(loaded);
                cached = true;
                break;
            }
        }
        if (cached)
            continue;
        Texture texture;
        texture.id = textureFromFile(path.C_Str(), directory);
        texture.type = typeName;
        texture.path = path;
        result.push_back(texture);
        texturesLoaded.push_back(texture);
    }
    return result;
}

GLuint Model::textureFromFile(const char* path, const std::string& dir)
{
    const std::string fileName = dir + "/" + path;
    GLuint textureId = 0;
    glGenTextures(1, &textureId);

    // SOIL finds the format from the contents and trusts the size a header
    // declares (a damaged TGA header overflows its size arithmetic). Only PNG
    // and JPEG, whose headers FreeImage reads just as SOIL does, reach it,
    // and only at a size checked before decoding.
    const std::optional<ImageHeader> header = readImageHeader(fileName.c_str());
    int width = 0;
    int height = 0;
    unsigned char* pixels = nullptr;
    if (header && header->kind != ImageKind::Other && imageSizeAllowed(header->width, header->height))
        pixels = SOIL_load_image(fileName.c_str(), &width, &height, nullptr, SOIL_LOAD_RGB);
    const bool asDeclared = pixels && header && static_cast<unsigned>(width) == header->width &&
                            static_cast<unsigned>(height) == header->height;

    glBindTexture(GL_TEXTURE_2D, textureId);
    if (asDeclared) {
        // SOIL rows are tightly packed at 3 bytes a pixel; the default alignment
        // of 4 would skew any row whose length is not a multiple of 4.
        GLint previousAlignment = 4;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
        glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
        glGenerateMipmap(GL_TEXTURE_2D);
    } else {
        // Nothing valid to upload: the texture stays empty and the model draws on.
        std::cerr << "Failed to load texture image: " << fileName << std::endl;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    applyTextureFilters(mipmapMode, nearestFilter);
    glBindTexture(GL_TEXTURE_2D, 0);
    if (pixels)
        SOIL_free_image_data(pixels);
    return textureId;
}

} // namespace velorun::scene
