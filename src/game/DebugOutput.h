#pragma once

#include <GL/glew.h>
#include <string>

namespace velorun {

// "OpenGL Error: <message> [Source = ..., Type = ..., Severity = ..., ID = n]"
// for every debug message, whatever its type and severity.
std::string formatDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity, const char* message);

void GLAPIENTRY debugCallback(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei length,
                              const GLchar* message, const void* userParam);

} // namespace velorun
