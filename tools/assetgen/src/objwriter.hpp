// Minimal Wavefront OBJ/MTL writer with deterministic number formatting.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <glm/glm.hpp>

namespace assetgen {

struct Vertex {
    glm::vec3 pos;
    glm::vec2 uv;
    glm::vec3 normal;
};

struct Material {
    std::string name;
    glm::vec3 ambient{0.1f};
    glm::vec3 diffuse{1.0f};
    glm::vec3 specular{0.5f};
    float shininess = 32.0f;
    std::string diffuseMap; // required: the renderer binds a diffuse map for every mesh
    std::string specularMap; // optional (map_Ks)
};

class ObjWriter {
public:
    explicit ObjWriter(std::string header);

    // Starts a new object ("o name"); following faces belong to it.
    void object(const std::string& name);
    // Switches material ("usemtl name") for the following faces.
    void material(const std::string& name);
    // Emits one triangle, counter-clockwise as seen from the side its
    // normals point to. Each corner carries its own uv and normal.
    void triangle(const Vertex& a, const Vertex& b, const Vertex& c);

    std::size_t triangleCount() const { return triangles_; }

    bool write(const std::string& objPath, const std::string& mtlFileName) const;
    static bool writeMtl(const std::string& mtlPath, const std::string& header,
                         const std::vector<Material>& materials);

private:
    int index(std::map<std::string, int>& table, std::vector<std::string>& list, const std::string& key);

    std::string header_;
    std::map<std::string, int> posIndex_, uvIndex_, nrmIndex_;
    std::vector<std::string> positions_, uvs_, normals_;
    std::vector<std::string> body_; // o / usemtl / f lines in order
    std::size_t triangles_ = 0;
};

// Fixed "%.6f" formatting; folds negative zero to zero.
std::string fmt(float v);

} // namespace assetgen
