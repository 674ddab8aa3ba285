#pragma once

#include <assimp/DefaultIOSystem.h>
#include <string>
#include <string_view>
#include <utility>

namespace velorun::scene {

// Assimp's OBJ material reader writes a statement's value into the current
// material, and before the first "newmtl" there is none: "map_Kd x.png" or
// "a 1.5" there crash it. A material file is handed over only if nothing but
// blank lines and comments comes before its first "newmtl". Lines end where
// Assimp ends them: at '\n', '\r', '\f' or a NUL byte.
bool materialFileSafeToRead(std::string_view text);

// The files of one model import, read as Assimp's own would be, except that a
// material file that is not safe to read is reported, once, and then opens as
// a missing one: the model loads without its materials. An OBJ's "mtllib" may
// name any file, so every file other than the model at `modelPath` (which
// Assimp opens several times, to recognise its format too) is taken for one.
class ModelFileSystem : public Assimp::DefaultIOSystem {
public:
    explicit ModelFileSystem(std::string modelPath) : modelPath_(std::move(modelPath)) {}

    Assimp::IOStream* Open(const char* file, const char* mode = "rb") override;

private:
    std::string modelPath_;
    bool reported_ = false;
};

} // namespace velorun::scene
