#pragma once

// Shared fixture for the OpenGL tests: a hidden GLFW window with the game's
// context hints (debug context, OpenGL 4.3 core), GLEW, and a debug-message
// callback that fails the test on every GL error it was not told to expect.
// Also small helpers to read pixels back and to write image, OBJ and MTL
// files into a per-test temporary directory.

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <string>
#include <vector>

#include "render/Screenshot.h"

namespace velorun::test {

struct DebugMessage {
    GLenum source;
    GLenum type;
    GLuint id;
    GLenum severity;
    std::string text; // formatted as the game prints it
};

// One pixel of an RGBA8 image in memory, rows listed top row first as in
// the image file.
struct Rgba {
    unsigned char r, g, b, a;
};

class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Size of the hidden window; subclasses may ask for another.
    virtual int windowWidth() const { return 64; }
    virtual int windowHeight() const { return 64; }

    GLFWwindow* window = nullptr;

    // ---- debug output -------------------------------------------------
    std::vector<DebugMessage> debugMessages;
    int errorMessageCount() const;

    // While alive, GL error messages are recorded without failing the test;
    // at the end of the scope exactly `count` of them must have arrived.
    // The GL error flag is drained as well.
    class ExpectGlErrors {
    public:
        ExpectGlErrors(GlTest& fixture, int count);
        ~ExpectGlErrors();
        ExpectGlErrors(const ExpectGlErrors&) = delete;
        ExpectGlErrors& operator=(const ExpectGlErrors&) = delete;

    private:
        GlTest& fixture_;
        int expected_;
        int errorsBefore_;
    };

    // ---- files ----------------------------------------------------------
    // A directory for the test's files. Death-test children (which re-run the
    // test from its start) reuse the directory of their parent.
    const std::string& tempDir() const { return tempDir_; }
    std::string tempPath(const std::string& name) const { return tempDir_ + "/" + name; }
    static void writeTextFile(const std::string& path, const std::string& text);
    static std::string readTextFile(const std::string& path);

    // Images through FreeImage. `pixels` is width*height, top row first.
    static void writePng(const std::string& path, int width, int height, const std::vector<Rgba>& pixels,
                         bool withAlpha);
    static void writeJpeg(const std::string& path, int width, int height, const std::vector<Rgba>& pixels);
    // "<name>.obj" (and "<name>.mtl" when `mtl` is not empty, named by an
    // mtllib line put in front of `obj`) in tempDir(); returns the OBJ path.
    std::string writeObjModel(const std::string& name, const std::string& obj,
                              const std::string& mtl = "") const;

    // ---- pixels ----------------------------------------------------------
    Screenshot readPixels() const { return readScreenshot(windowWidth(), windowHeight()); }
    // Depth of the current read framebuffer at (x, y), y from the bottom.
    static float readDepth(int x, int y);

    // A GLSL program from source strings (linked, fragColor on 0); fails the
    // test on a compile or link error. Returns the program name.
    GLuint buildProgram(const std::string& vertexSource, const std::string& fragmentSource);
    std::vector<GLuint> ownedPrograms;

    static GLint getInteger(GLenum name);
    static GLint uniformInt(GLuint program, const char* name);

private:
    static void GLAPIENTRY onDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                                          GLsizei length, const GLchar* message, const void* user);
    int allowErrors_ = 0; // > 0 while an ExpectGlErrors scope is alive
    std::string tempDir_;
    bool ownsTempDir_ = false;
};

} // namespace velorun::test
