#pragma once

#include <GL/glew.h>
#include <string>

namespace velorun {

// One GL program and the shader objects attached to it. Built once from GLSL
// files; any failure to read, create or compile a stage ends the process.
class ShaderProgram {
public:
    GLuint program;
    GLuint vertexShader;
    GLuint fragmentShader;
    GLuint geometryShader;

    // Two stages: compiles, binds "fragColor" to colour 0 and links.
    ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath);
    // Three stages: compiles and attaches, but leaves linking to the caller,
    // who may have transform-feedback varyings to declare first.
    ShaderProgram(const std::string& vertexPath, const std::string& geometryPath,
                  const std::string& fragmentPath);
    ~ShaderProgram();

    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

private:
    void loadShader(const std::string& path, GLenum type, GLuint& shader);
};

} // namespace velorun
