#include "scene/MaterialFiles.h"

#include <assimp/IOStream.hpp>
#include <iostream>
#include <string>

namespace velorun::scene {

namespace {

bool lineEnd(char c) { return c == '\n' || c == '\r' || c == '\f' || c == '\0'; }

} // namespace

bool materialFileSafeToRead(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        std::size_t end = at;
        while (end < text.size() && !lineEnd(text[end]))
            ++end;
        const std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line[0] != '#')
            return line.size() > 6 && line.substr(0, 6) == "newmtl" && (line[6] == ' ' || line[6] == '\t');
        at = end + 1;
    }
    return true; // no statement at all
}

Assimp::IOStream* ModelFileSystem::Open(const char* file, const char* mode)
{
    Assimp::IOStream* stream = DefaultIOSystem::Open(file, mode);
    if (!stream || file == modelPath_)
        return stream;
    std::string text(stream->FileSize(), '\0');
    const std::size_t read = text.empty() ? 0 : stream->Read(text.data(), 1, text.size());
    text.resize(read);
    Close(stream);
    if (materialFileSafeToRead(text))
        return DefaultIOSystem::Open(file, mode);
    if (!reported_)
        std::cerr << "Failed to load material file: " << file << std::endl;
    reported_ = true;
    return nullptr;
}

} // namespace velorun::scene
