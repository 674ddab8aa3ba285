#pragma once

#include <assimp/DefaultIOSystem.h>
#include <string_view>

namespace velorun::scene {

// Assimp's OBJ material reader writes a statement's value into the current
// material, and before the first "newmtl" there is none: "map_Kd x.png" or
// "a 1.5" there crash it. A material file is handed over only if nothing but
// blank lines and comments comes before its first "newmtl". Lines end where
// Assimp ends them: at '\n', '\r', '\f' or a NUL byte.
bool materialFileSafeToRead(std::string_view text);

// The files of one model import, read as Assimp's own would be, except that a
// material file (".mtl") that is not safe to read is reported, once, and then
// opens as a missing one: the model loads without its materials.
class ModelFileSystem : public Assimp::DefaultIOSystem {
public:
    Assimp::IOStream* Open(const char* file, const char* mode = "rb") override;

private:
    bool reported_ = false;
};

} // namespace velorun::scene
