#include "game/DebugOutput.h"

#include <iostream>

namespace velorun {

namespace {

// The older AMD debug extension's categories, accepted beside the core values.
constexpr GLenum categoryApiErrorAmd = 0x9149;
constexpr GLenum categoryWindowSystemAmd = 0x914A;
constexpr GLenum categoryDeprecationAmd = 0x914B;
constexpr GLenum categoryUndefinedBehaviorAmd = 0x914C;
constexpr GLenum categoryPerformanceAmd = 0x914D;
constexpr GLenum categoryShaderCompilerAmd = 0x914E;
constexpr GLenum categoryApplicationAmd = 0x914F;
constexpr GLenum categoryOtherAmd = 0x9150;

const char* sourceName(GLenum source)
{
    switch (source) {
    case GL_DEBUG_SOURCE_API:
    case categoryApiErrorAmd:
        return "API";
    case GL_DEBUG_SOURCE_WINDOW_SYSTEM:
    case categoryWindowSystemAmd:
        return "Window System";
    case GL_DEBUG_SOURCE_SHADER_COMPILER:
    case categoryShaderCompilerAmd:
        return "Shader Compiler";
    case GL_DEBUG_SOURCE_THIRD_PARTY:
        return "Third Party";
    case GL_DEBUG_SOURCE_APPLICATION:
    case categoryApplicationAmd:
        return "Application";
    case GL_DEBUG_SOURCE_OTHER:
    case categoryOtherAmd:
        return "Other";
    default:
        return "Unknown";
    }
}

const char* typeName(GLenum type)
{
    switch (type) {
    case GL_DEBUG_TYPE_ERROR:
        return "Error";
    case GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR:
    case categoryDeprecationAmd:
        return "Deprecated Behavior";
    case GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR:
    case categoryUndefinedBehaviorAmd:
        return "Undefined Behavior";
    case GL_DEBUG_TYPE_PORTABILITY:
        return "Portability";
    case GL_DEBUG_TYPE_PERFORMANCE:
    case categoryPerformanceAmd:
        return "Performance";
    case GL_DEBUG_TYPE_OTHER:
    case categoryOtherAmd:
        return "Other";
    default:
        return "Unknown";
    }
}

const char* severityName(GLenum severity)
{
    switch (severity) {
    case GL_DEBUG_SEVERITY_HIGH:
        return "High";
    case GL_DEBUG_SEVERITY_MEDIUM:
        return "Medium";
    case GL_DEBUG_SEVERITY_LOW:
        return "Low";
    default:
        return "Unknown";
    }
}

} // namespace

std::string formatDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity, const char* message)
{
    return std::string("OpenGL Error: ") + (message ? message : "") + " [Source = " + sourceName(source) +
           ", Type = " + typeName(type) + ", Severity = " + severityName(severity) +
           ", ID = " + std::to_string(id) + "]";
}

void GLAPIENTRY debugCallback(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei,
                              const GLchar* message, const void*)
{
    std::cout << formatDebugMessage(source, type, id, severity, message) << std::endl;
}

} // namespace velorun
