#include "objwriter.hpp"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "image.hpp"

namespace assetgen {

std::string fmt(float v)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6f", static_cast<double>(v));
    std::string s(buf);
    if (s == "-0.000000")
        s = "0.000000";
    return s;
}

ObjWriter::ObjWriter(std::string header) : header_(std::move(header)) {}

void ObjWriter::object(const std::string& name) { body_.push_back("o " + name); }

void ObjWriter::material(const std::string& name) { body_.push_back("usemtl " + name); }

int ObjWriter::index(std::map<std::string, int>& table, std::vector<std::string>& list,
                     const std::string& key)
{
    auto it = table.find(key);
    if (it != table.end())
        return it->second;
    list.push_back(key);
    const int idx = static_cast<int>(list.size()); // OBJ indices start at 1
    table.emplace(key, idx);
    return idx;
}

void ObjWriter::triangle(const Vertex& a, const Vertex& b, const Vertex& c)
{
    std::string line = "f";
    for (const Vertex* v : {&a, &b, &c}) {
        const glm::vec3 n = glm::normalize(v->normal);
        const int p = index(posIndex_, positions_, fmt(v->pos.x) + " " + fmt(v->pos.y) + " " + fmt(v->pos.z));
        const int t = index(uvIndex_, uvs_, fmt(v->uv.x) + " " + fmt(v->uv.y));
        const int nn = index(nrmIndex_, normals_, fmt(n.x) + " " + fmt(n.y) + " " + fmt(n.z));
        line += " " + std::to_string(p) + "/" + std::to_string(t) + "/" + std::to_string(nn);
    }
    body_.push_back(line);
    ++triangles_;
}

bool ObjWriter::write(const std::string& objPath, const std::string& mtlFileName) const
{
    if (!ensureParentDir(objPath))
        return false;
    std::ofstream out(objPath, std::ios::binary);
    if (!out) {
        std::cerr << "assetgen: cannot write " << objPath << "\n";
        return false;
    }
    out << header_;
    out << "# " << positions_.size() << " positions, " << uvs_.size() << " uvs, " << normals_.size()
        << " normals, " << triangles_ << " triangles\n";
    out << "mtllib " << mtlFileName << "\n";
    for (const auto& p : positions_)
        out << "v " << p << "\n";
    for (const auto& t : uvs_)
        out << "vt " << t << "\n";
    for (const auto& n : normals_)
        out << "vn " << n << "\n";
    for (const auto& l : body_)
        out << l << "\n";
    return static_cast<bool>(out);
}

bool ObjWriter::writeMtl(const std::string& mtlPath, const std::string& header,
                         const std::vector<Material>& materials)
{
    if (!ensureParentDir(mtlPath))
        return false;
    std::ofstream out(mtlPath, std::ios::binary);
    if (!out) {
        std::cerr << "assetgen: cannot write " << mtlPath << "\n";
        return false;
    }
    out << header;
    for (const auto& m : materials) {
        out << "\nnewmtl " << m.name << "\n";
        out << "Ka " << fmt(m.ambient.r) << " " << fmt(m.ambient.g) << " " << fmt(m.ambient.b) << "\n";
        out << "Kd " << fmt(m.diffuse.r) << " " << fmt(m.diffuse.g) << " " << fmt(m.diffuse.b) << "\n";
        out << "Ks " << fmt(m.specular.r) << " " << fmt(m.specular.g) << " " << fmt(m.specular.b) << "\n";
        out << "Ns " << fmt(m.shininess) << "\n";
        out << "d 1.000000\nillum 2\n";
        out << "map_Kd " << m.diffuseMap << "\n";
        if (!m.specularMap.empty())
            out << "map_Ks " << m.specularMap << "\n";
    }
    return static_cast<bool>(out);
}

} // namespace assetgen
