#include "render/ShaderProgram.h"

#include "base/Console.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace velorun {

namespace {
void createProgram(GLuint& program)
{
    program = glCreateProgram();
    if (program == 0) {
        std::cerr << "Failed to create shader program" << std::endl;
        fatalExit(1);
    }
}
} // namespace

ShaderProgram::ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath)
    : program(0), vertexShader(0), fragmentShader(0), geometryShader(0)
{
    createProgram(program);
    loadShader(vertexPath, GL_VERTEX_SHADER, vertexShader);
    loadShader(fragmentPath, GL_FRAGMENT_SHADER, fragmentShader);
    glBindFragDataLocation(program, 0, "fragColor");
    glLinkProgram(program);
}

ShaderProgram::ShaderProgram(const std::string& vertexPath, const std::string& geometryPath,
                             const std::string& fragmentPath)
    : program(0), vertexShader(0), fragmentShader(0), geometryShader(0)
{
    createProgram(program);
    loadShader(vertexPath, GL_VERTEX_SHADER, vertexShader);
    loadShader(fragmentPath, GL_FRAGMENT_SHADER, fragmentShader);
    loadShader(geometryPath, GL_GEOMETRY_SHADER, geometryShader);
}

ShaderProgram::~ShaderProgram()
{
    glDeleteProgram(program);
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
    glDeleteShader(geometryShader); // 0 for a two-stage program; GL ignores it
}

void ShaderProgram::loadShader(const std::string& path, GLenum type, GLuint& shader)
{
    std::ifstream file(path);
    if (!file.good()) {
        std::cout << "Failed to open shader file: " << path << std::endl;
        fatalExit(-1);
    }
    std::string source((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();

    shader = glCreateShader(type);
    if (shader == 0) {
        std::cerr << "Failed to create shader" << std::endl;
        fatalExit(1);
    }
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);

    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE && glIsShader(shader)) {
        glAttachShader(program, shader);
        return;
    }

    GLint logLength = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &logLength);
    // One byte more than asked so the log always ends in NUL, even for a
    // driver that reports a length without the terminator.
    std::vector<char> log(static_cast<size_t>(logLength > 0 ? logLength : 0) + 1, '\0');
    if (logLength > 0)
        glGetShaderInfoLog(shader, logLength, nullptr, log.data());
    std::cerr << "Failed to compile shader" << std::endl;
    std::cerr << log.data() << std::endl;
    log.clear();
    log.shrink_to_fit();
    fatalExit(1);
}

} // namespace velorun
