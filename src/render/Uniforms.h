#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

namespace velorun {

// Uploads to the program in use, by name: the location is looked up on every
// upload and never cached, and a name the program lacks is ignored.
void setUniform(GLuint program, const char* name, const glm::mat4& value);
void setUniform(GLuint program, const char* name, const glm::vec3& value);
void setUniform(GLuint program, const char* name, const glm::vec4& value);
void setUniform(GLuint program, const char* name, float value);
void setUniform(GLuint program, const char* name, int value);

} // namespace velorun
