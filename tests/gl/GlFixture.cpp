#include "GlFixture.h"

#include "KeepLibrariesLoaded.h"
#include "game/DebugOutput.h"

#include <FreeImage.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace velorun::test {

namespace {
// Set by the first process of a test; a death-test child inherits it.
constexpr const char* kTempDirVariable = "VELORUN_GL_TEST_TMPDIR";

void onGlfwError(int code, const char* description)
{
    ADD_FAILURE() << "GLFW error " << code << ": " << description;
}
} // namespace

void GlTest::SetUp()
{
    if (const char* inherited = std::getenv(kTempDirVariable)) {
        tempDir_ = inherited;
    } else {
        std::string pattern = (std::filesystem::temp_directory_path() / "velorun_gl_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "cannot create a temporary directory";
        tempDir_ = pattern;
        ownsTempDir_ = true;
        setenv(kTempDirVariable, tempDir_.c_str(), 1);
    }

    glfwSetErrorCallback(onGlfwError);
    ASSERT_EQ(glfwInit(), GLFW_TRUE) << "no display? run under scripts/with-xvfb.sh";
    // The game's hints, plus an invisible window.
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window = glfwCreateWindow(windowWidth(), windowHeight(), "velorun gl test", nullptr, nullptr);
    ASSERT_NE(window, nullptr) << "no OpenGL 4.3 core context";
    glfwMakeContextCurrent(window);

    glewExperimental = GL_TRUE;
    ASSERT_EQ(glewInit(), static_cast<GLenum>(GLEW_OK));
    // The suite runs on more than one driver; the log says which one this was.
    const GLubyte* rendererName = glGetString(GL_RENDERER);
    const std::string renderer = rendererName ? reinterpret_cast<const char*>(rendererName) : "";
    std::printf("GL renderer: %s\n", renderer.c_str());
    if (const char* wanted = std::getenv("VELORUN_GL_RENDERER")) {
        ASSERT_NE(renderer.find(wanted), std::string::npos) << "not the renderer this run is for: " << wanted;
    }
    // GLEW's probing of the core context leaves GL_INVALID_ENUM behind.
    while (glGetError() != GL_NO_ERROR) {}

    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(onDebugMessage, this);
    glViewport(0, 0, windowWidth(), windowHeight());
}

void GlTest::TearDown()
{
    if (window) {
        for (GLuint program : ownedPrograms)
            glDeleteProgram(program);
        ownedPrograms.clear();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR))
            << "GL error flag set at the end of the test";
        glDebugMessageCallback(nullptr, nullptr);
        keepLoadedLibrariesUntilExit();
        glfwDestroyWindow(window);
        window = nullptr;
    }
    glfwTerminate();
    if (ownsTempDir_) {
        std::error_code ignored;
        std::filesystem::remove_all(tempDir_, ignored);
        unsetenv(kTempDirVariable);
    }
}

void GLAPIENTRY GlTest::onDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei,
                                       const GLchar* message, const void* user)
{
    auto* self = static_cast<GlTest*>(const_cast<void*>(user));
    const std::string text = formatDebugMessage(source, type, id, severity, message);
    self->debugMessages.push_back({source, type, id, severity, text});
    if (type == GL_DEBUG_TYPE_ERROR && self->allowErrors_ == 0)
        ADD_FAILURE() << "unexpected GL error: " << text;
}

int GlTest::errorMessageCount() const
{
    int count = 0;
    for (const DebugMessage& m : debugMessages)
        count += m.type == GL_DEBUG_TYPE_ERROR ? 1 : 0;
    return count;
}

GlTest::ExpectGlErrors::ExpectGlErrors(GlTest& fixture, int count)
    : fixture_(fixture), expected_(count), errorsBefore_(fixture.errorMessageCount())
{
    ++fixture_.allowErrors_;
}

GlTest::ExpectGlErrors::~ExpectGlErrors()
{
    --fixture_.allowErrors_;
    const int seen = fixture_.errorMessageCount() - errorsBefore_;
    std::ostringstream all;
    for (const DebugMessage& m : fixture_.debugMessages)
        if (m.type == GL_DEBUG_TYPE_ERROR)
            all << "\n  " << m.text;
    EXPECT_EQ(seen, expected_) << "GL error messages in the expecting scope; all errors so far:" << all.str();
    while (glGetError() != GL_NO_ERROR) {}
}

void GlTest::writeTextFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string GlTest::readTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

namespace {
FIBITMAP* makeBitmap(int width, int height, const std::vector<Rgba>& pixels, bool withAlpha)
{
    const int bpp = withAlpha ? 32 : 24;
    const int bytes = bpp / 8;
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, bpp);
    if (!bitmap)
        return nullptr;
    for (int row = 0; row < height; ++row) {
        // FreeImage keeps the bottom row first; `pixels` lists the top row first.
        BYTE* line = FreeImage_GetScanLine(bitmap, height - 1 - row);
        for (int x = 0; x < width; ++x) {
            const Rgba& p = pixels[static_cast<size_t>(row * width + x)];
            line[x * bytes + FI_RGBA_RED] = p.r;
            line[x * bytes + FI_RGBA_GREEN] = p.g;
            line[x * bytes + FI_RGBA_BLUE] = p.b;
            if (withAlpha)
                line[x * bytes + FI_RGBA_ALPHA] = p.a;
        }
    }
    return bitmap;
}
} // namespace

void GlTest::writePng(const std::string& path, int width, int height, const std::vector<Rgba>& pixels,
                      bool withAlpha)
{
    ASSERT_EQ(pixels.size(), static_cast<size_t>(width * height));
    FIBITMAP* bitmap = makeBitmap(width, height, pixels, withAlpha);
    ASSERT_NE(bitmap, nullptr);
    const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(bitmap);
    ASSERT_TRUE(saved) << "cannot write " << path;
}

void GlTest::writeJpeg(const std::string& path, int width, int height, const std::vector<Rgba>& pixels)
{
    ASSERT_EQ(pixels.size(), static_cast<size_t>(width * height));
    FIBITMAP* bitmap = makeBitmap(width, height, pixels, false);
    ASSERT_NE(bitmap, nullptr);
    const bool saved =
        FreeImage_Save(FIF_JPEG, bitmap, path.c_str(), JPEG_QUALITYSUPERB | JPEG_SUBSAMPLING_444) != 0;
    FreeImage_Unload(bitmap);
    ASSERT_TRUE(saved) << "cannot write " << path;
}

std::string GlTest::writeObjModel(const std::string& name, const std::string& obj,
                                  const std::string& mtl) const
{
    if (!mtl.empty())
        writeTextFile(tempPath(name + ".mtl"), mtl);
    const std::string header = mtl.empty() ? "" : "mtllib " + name + ".mtl\n";
    writeTextFile(tempPath(name + ".obj"), header + obj);
    return tempPath(name + ".obj");
}

float GlTest::readDepth(int x, int y)
{
    float depth = -1.0f;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

GLuint GlTest::buildProgram(const std::string& vertexSource, const std::string& fragmentSource)
{
    const GLuint program = glCreateProgram();
    ownedPrograms.push_back(program);
    for (auto [type, source] :
         {std::pair{GL_VERTEX_SHADER, &vertexSource}, std::pair{GL_FRAGMENT_SHADER, &fragmentSource}}) {
        const GLuint shader = glCreateShader(type);
        const char* text = source->c_str();
        glShaderSource(shader, 1, &text, nullptr);
        glCompileShader(shader);
        GLint ok = GL_FALSE;
        glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
        if (!ok) {
            char log[4096] = {};
            glGetShaderInfoLog(shader, sizeof log, nullptr, log);
            ADD_FAILURE() << "test shader does not compile: " << log;
        }
        glAttachShader(program, shader);
        glDeleteShader(shader);
    }
    glBindFragDataLocation(program, 0, "fragColor");
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        char log[4096] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        ADD_FAILURE() << "test program does not link: " << log;
    }
    return program;
}

GLint GlTest::getInteger(GLenum name)
{
    GLint value = -12345;
    glGetIntegerv(name, &value);
    return value;
}

GLint GlTest::uniformInt(GLuint program, const char* name)
{
    const GLint location = glGetUniformLocation(program, name);
    EXPECT_GE(location, 0) << "uniform " << name << " is not active";
    GLint value = -12345;
    if (location >= 0)
        glGetUniformiv(program, location, &value);
    return value;
}

} // namespace velorun::test
