// velorun-assetcheck tube|car FILE.obj
//
// Loads a generated mesh the way the game does (assimp, triangulated, uvs
// flipped) and checks the properties the renderer relies on. Prints a short
// summary; exits non-zero and names the first problems when a check fails.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>

namespace {

int g_failures = 0;

void fail(const std::string& what)
{
    if (g_failures < 20)
        std::fprintf(stderr, "FAIL: %s\n", what.c_str());
    ++g_failures;
}

glm::vec3 v3(const aiVector3D& v) { return {v.x, v.y, v.z}; }

struct Tri {
    glm::vec3 p[3];
    glm::vec3 n[3];
    glm::vec2 uv[3];
    std::string node;
};

std::vector<Tri> collect(const aiScene* scene, const std::filesystem::path& dir)
{
    std::vector<Tri> tris;
    std::vector<std::pair<const aiNode*, std::string>> stack{{scene->mRootNode, ""}};
    while (!stack.empty()) {
        auto [node, parent] = stack.back();
        stack.pop_back();
        const std::string name = node->mName.C_Str();
        if (!node->mTransformation.IsIdentity())
            fail("node " + name + " has a non-identity transform");
        for (unsigned i = 0; i < node->mNumMeshes; ++i) {
            const aiMesh* m = scene->mMeshes[node->mMeshes[i]];
            const std::string label = name + "/" + m->mName.C_Str();
            if (!m->HasNormals())
                fail(label + ": no normals");
            if (!m->HasTextureCoords(0))
                fail(label + ": no uvs");
            const aiMaterial* mat = scene->mMaterials[m->mMaterialIndex];
            aiString tex;
            if (mat->GetTextureCount(aiTextureType_DIFFUSE) < 1 ||
                mat->GetTexture(aiTextureType_DIFFUSE, 0, &tex) != AI_SUCCESS) {
                fail(label + ": material without a diffuse texture");
            } else if (!std::filesystem::exists(dir / tex.C_Str())) {
                fail(label + ": diffuse texture missing on disk: " + tex.C_Str());
            }
            if (mat->GetTextureCount(aiTextureType_SPECULAR) > 0 &&
                mat->GetTexture(aiTextureType_SPECULAR, 0, &tex) == AI_SUCCESS &&
                !std::filesystem::exists(dir / tex.C_Str()))
                fail(label + ": specular texture missing on disk: " + tex.C_Str());
            if (!m->HasNormals() || !m->HasTextureCoords(0))
                continue;
            for (unsigned f = 0; f < m->mNumFaces; ++f) {
                const aiFace& face = m->mFaces[f];
                if (face.mNumIndices != 3) {
                    fail(label + ": non-triangle face");
                    continue;
                }
                Tri t;
                t.node = name;
                for (int k = 0; k < 3; ++k) {
                    const unsigned idx = face.mIndices[k];
                    t.p[k] = v3(m->mVertices[idx]);
                    t.n[k] = v3(m->mNormals[idx]);
                    t.uv[k] = {m->mTextureCoords[0][idx].x, m->mTextureCoords[0][idx].y};
                }
                tris.push_back(t);
            }
        }
        for (unsigned c = 0; c < node->mNumChildren; ++c)
            stack.push_back({node->mChildren[c], name});
    }
    return tris;
}

glm::vec3 faceNormal(const Tri& t)
{
    const glm::vec3 c = glm::cross(t.p[1] - t.p[0], t.p[2] - t.p[0]);
    const float len = glm::length(c);
    return len > 0.0f ? c / len : glm::vec3(0.0f);
}

// Every triangle's winding must agree with its stored normals.
void checkWindingMatchesNormals(const std::vector<Tri>& tris)
{
    int bad = 0;
    for (const Tri& t : tris) {
        const glm::vec3 g = faceNormal(t);
        for (int k = 0; k < 3; ++k)
            if (glm::dot(g, glm::normalize(t.n[k])) < 0.5f) {
                ++bad;
                break;
            }
    }
    std::printf("winding vs stored normals: %d of %zu triangles disagree\n", bad, tris.size());
    if (bad)
        fail("winding disagrees with stored normals");
}

using Key = std::tuple<long, long, long>;
Key quantize(const glm::vec3& p)
{
    return {std::lround(p.x * 1e4), std::lround(p.y * 1e4), std::lround(p.z * 1e4)};
}

void checkTube(const std::vector<Tri>& tris)
{
    const float kLength = 11.0f, kShift = 6.0f; // model units; 90 world units / z scale 15
    const float kRadius = 1.2f; // 4.8 world units: room for the camera above a car at the wall
    int outward = 0, badRadius = 0, badNormal = 0;
    std::set<long> ringZ;
    // position -> (u, fractional v) samples, to compare the two leapfrogged copies.
    std::map<Key, std::set<std::pair<long, long>>> texAt;
    for (const Tri& t : tris) {
        const glm::vec3 c = (t.p[0] + t.p[1] + t.p[2]) / 3.0f;
        const glm::vec3 inward = -glm::normalize(glm::vec3(c.x, c.y, 0.0f));
        if (glm::dot(faceNormal(t), inward) < 0.9f)
            ++outward;
        for (int k = 0; k < 3; ++k) {
            const glm::vec3& p = t.p[k];
            if (std::fabs(glm::length(glm::vec2(p.x, p.y)) - kRadius) > 1e-4f)
                ++badRadius;
            const glm::vec3 in = -glm::normalize(glm::vec3(p.x, p.y, 0.0f));
            if (glm::dot(glm::normalize(t.n[k]), in) < 0.999f)
                ++badNormal;
            ringZ.insert(std::lround(p.z * 1e4));
            const float vf = t.uv[k].y - std::floor(t.uv[k].y);
            long vq = std::lround(vf * 1e4) % 10000;
            long uq = std::lround(t.uv[k].x * 1e4);
            texAt[quantize(p)].insert({uq, vq});
        }
    }
    std::printf("tube: faces not facing the axis: %d, off-radius vertices: %d, non-inward normals: %d\n",
                outward, badRadius, badNormal);
    if (outward)
        fail("tube triangles not counter-clockwise seen from inside");
    if (badRadius)
        fail("tube vertices off radius 1.2");
    if (badNormal)
        fail("tube normals not pointing at the axis");

    const double zMax = *ringZ.rbegin() / 1e4, zMin = *ringZ.begin() / 1e4;
    std::printf("tube: z from %.4f to %.4f, %zu rings\n", zMin, zMax, ringZ.size());
    if (std::fabs(zMax) > 1e-4 || std::fabs(zMin + kLength) > 1e-4)
        fail("tube must span z in [-11, 0]");
    long prev = 0;
    bool first = true;
    std::set<long> gaps;
    for (long z : ringZ) {
        if (!first)
            gaps.insert(z - prev);
        prev = z;
        first = false;
    }
    for (long g : gaps) {
        const long shift = std::lround(kShift * 1e4);
        if (shift % g != 0)
            fail("ring spacing " + std::to_string(g / 1e4) + " does not divide the leapfrog shift");
    }

    // Where the copies overlap, the rear copy at model z and the front copy at
    // z + 6 must have the same vertices with the same (u, v mod 1).
    int compared = 0, mismatched = 0;
    for (const auto& [key, samples] : texAt) {
        const double z = std::get<2>(key) / 1e4;
        if (z > -kShift + 1e-4)
            continue;
        const Key other{std::get<0>(key), std::get<1>(key), std::get<2>(key) + std::lround(kShift * 1e4)};
        auto it = texAt.find(other);
        ++compared;
        if (it == texAt.end() || it->second != samples)
            ++mismatched;
    }
    std::printf("tube: overlap seam check: %d shared vertices compared, %d mismatched\n", compared,
                mismatched);
    if (compared == 0)
        fail("no vertices in the overlap region");
    if (mismatched)
        fail("leapfrogged copies do not line up (geometry or texture period)");
}

void checkCar(const std::vector<Tri>& tris)
{
    std::map<std::string, std::pair<glm::dvec3, int>> centre;
    for (const Tri& t : tris)
        for (const auto& p : t.p) {
            centre[t.node].first += glm::dvec3(p);
            centre[t.node].second += 1;
        }
    std::map<std::string, int> inwardPerNode;
    for (const Tri& t : tris) {
        const glm::vec3 c = (t.p[0] + t.p[1] + t.p[2]) / 3.0f;
        const glm::vec3 nodeCentre = glm::vec3(centre[t.node].first / double(centre[t.node].second));
        if (glm::dot(faceNormal(t), c - nodeCentre) <= 0.0f)
            ++inwardPerNode[t.node];
    }
    std::printf("car: %zu objects\n", centre.size());
    for (const auto& [node, count] : inwardPerNode) {
        std::printf("car: %s has %d triangles facing its own centre\n", node.c_str(), count);
        fail("car object " + node + " has faces not pointing outward");
    }
    glm::vec3 headMax(-1e9f), tailMin(1e9f);
    for (const Tri& t : tris)
        for (const auto& p : t.p) {
            if (t.node.rfind("headlight", 0) == 0)
                headMax = glm::max(headMax, p);
            if (t.node.rfind("taillight", 0) == 0)
                tailMin = glm::min(tailMin, p);
        }
    if (!(headMax.z < -0.9f && tailMin.z > 0.9f))
        fail("car nose should point towards -z (headlights at -z)");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::string(argv[1]) != "tube" && std::string(argv[1]) != "car")) {
        std::fprintf(stderr, "usage: %s tube|car FILE.obj\n", argv[0]);
        return 2;
    }
    const std::string kind = argv[1];
    const std::filesystem::path file = argv[2];
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file.string(), aiProcess_Triangulate | aiProcess_FlipUVs);
    if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) {
        std::fprintf(stderr, "FAIL: assimp cannot load %s: %s\n", file.c_str(), importer.GetErrorString());
        return 1;
    }
    const std::vector<Tri> tris = collect(scene, file.parent_path());
    glm::vec3 lo(1e9f), hi(-1e9f);
    for (const Tri& t : tris)
        for (const auto& p : t.p) {
            lo = glm::min(lo, p);
            hi = glm::max(hi, p);
        }
    std::printf("%s: %u meshes, %u materials, %zu triangles\n", file.filename().c_str(), scene->mNumMeshes,
                scene->mNumMaterials, tris.size());
    std::printf("bounds: x [%.3f, %.3f]  y [%.3f, %.3f]  z [%.3f, %.3f]\n", lo.x, hi.x, lo.y, hi.y, lo.z,
                hi.z);
    if (tris.empty())
        fail("no triangles");
    checkWindingMatchesNormals(tris);
    if (kind == "tube") {
        checkTube(tris);
    } else {
        checkCar(tris);
        const glm::vec3 size = hi - lo;
        if (size.x < 1.0f || size.x > 1.4f || size.y < 0.45f || size.y > 0.75f || size.z < 1.8f ||
            size.z > 2.2f)
            fail("car size should be about 1.2 x 0.6 x 2.0");
    }
    if (g_failures) {
        std::fprintf(stderr, "%d check(s) failed\n", g_failures);
        return 1;
    }
    std::printf("OK\n");
    return 0;
}
