#include "GlFixture.h"

#include "render/ShaderProgram.h"

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace velorun::test {
namespace {

using ShaderProgramTest = GlTest;
using ShaderProgramDeathTest = GlTest;

// Two outputs without explicit locations: only the fragColor binding made
// before linking decides which of them is colour number 0.
const char* kVertex = R"(#version 430 core
in vec3 position;
void main() { gl_Position = vec4(position, 1.0); }
)";
const char* kFragmentTwoOutputs = R"(#version 430 core
out vec4 other;
out vec4 fragColor;
void main() { other = vec4(1.0); fragColor = vec4(0.5); }
)";
const char* kGeometry = R"(#version 430 core
layout(points) in;
layout(points, max_vertices = 1) out;
void main() { gl_Position = gl_in[0].gl_Position; EmitVertex(); EndPrimitive(); }
)";
const char* kFragment = R"(#version 430 core
out vec4 fragColor;
void main() { fragColor = vec4(1.0); }
)";

GLint shaderType(GLuint shader)
{
    GLint type = 0;
    glGetShaderiv(shader, GL_SHADER_TYPE, &type);
    return type;
}

std::vector<GLuint> attachedShaders(GLuint program)
{
    GLuint names[8] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program, 8, &count, names);
    return std::vector<GLuint>(names, names + count);
}

TEST_F(ShaderProgramTest, TwoStageProgramIsLinkedWithFragColorOnColourZero)
{
    writeTextFile(tempPath("a.vert"), kVertex);
    writeTextFile(tempPath("a.frag"), kFragmentTwoOutputs);
    ShaderProgram shader(tempPath("a.vert"), tempPath("a.frag"));

    ASSERT_NE(shader.program, 0u);
    EXPECT_TRUE(glIsProgram(shader.program));
    GLint linked = GL_FALSE;
    glGetProgramiv(shader.program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    EXPECT_EQ(glGetFragDataLocation(shader.program, "fragColor"), 0);
    EXPECT_EQ(glGetFragDataLocation(shader.program, "other"), 1);

    ASSERT_TRUE(glIsShader(shader.vertexShader));
    ASSERT_TRUE(glIsShader(shader.fragmentShader));
    EXPECT_EQ(shaderType(shader.vertexShader), GL_VERTEX_SHADER);
    EXPECT_EQ(shaderType(shader.fragmentShader), GL_FRAGMENT_SHADER);
    EXPECT_EQ(shader.geometryShader, 0u);
    const std::vector<GLuint> attached = attachedShaders(shader.program);
    ASSERT_EQ(attached.size(), 2u);
    EXPECT_NE(std::find(attached.begin(), attached.end(), shader.vertexShader), attached.end());
    EXPECT_NE(std::find(attached.begin(), attached.end(), shader.fragmentShader), attached.end());
}

TEST_F(ShaderProgramTest, ThreeStageProgramIsCompiledAndAttachedButLeftUnlinked)
{
    writeTextFile(tempPath("b.vert"), kVertex);
    writeTextFile(tempPath("b.geom"), kGeometry);
    writeTextFile(tempPath("b.frag"), kFragment);
    ShaderProgram shader(tempPath("b.vert"), tempPath("b.geom"), tempPath("b.frag"));

    GLint linked = GL_TRUE;
    glGetProgramiv(shader.program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_FALSE);
    EXPECT_EQ(shaderType(shader.vertexShader), GL_VERTEX_SHADER);
    EXPECT_EQ(shaderType(shader.geometryShader), GL_GEOMETRY_SHADER);
    EXPECT_EQ(shaderType(shader.fragmentShader), GL_FRAGMENT_SHADER);
    EXPECT_EQ(attachedShaders(shader.program).size(), 3u);

    {
        // Using it before the caller links it is an error GL reports.
        ExpectGlErrors expect(*this, 1);
        glUseProgram(shader.program);
    }

    // The caller finishes it.
    glBindFragDataLocation(shader.program, 0, "fragColor");
    glLinkProgram(shader.program);
    glGetProgramiv(shader.program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    EXPECT_EQ(glGetFragDataLocation(shader.program, "fragColor"), 0);
}

TEST_F(ShaderProgramTest, DestructionDeletesProgramAndShaders)
{
    writeTextFile(tempPath("c.vert"), kVertex);
    writeTextFile(tempPath("c.geom"), kGeometry);
    writeTextFile(tempPath("c.frag"), kFragment);

    auto two = std::make_unique<ShaderProgram>(tempPath("c.vert"), tempPath("c.frag"));
    const GLuint program = two->program;
    const GLuint vertex = two->vertexShader;
    const GLuint fragment = two->fragmentShader;
    ASSERT_TRUE(glIsProgram(program));
    ASSERT_TRUE(glIsShader(vertex));
    ASSERT_TRUE(glIsShader(fragment));
    two.reset();
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsShader(vertex));
    EXPECT_FALSE(glIsShader(fragment));

    auto three = std::make_unique<ShaderProgram>(tempPath("c.vert"), tempPath("c.geom"), tempPath("c.frag"));
    const GLuint program3 = three->program;
    const GLuint shaders3[3] = {three->vertexShader, three->geometryShader, three->fragmentShader};
    for (GLuint s : shaders3)
        ASSERT_TRUE(glIsShader(s));
    three.reset();
    EXPECT_FALSE(glIsProgram(program3));
    for (GLuint s : shaders3)
        EXPECT_FALSE(glIsShader(s));
}

// Every program the game builds compiles and links from the real files.
struct GameProgram {
    const char* name;
    const char* vertex;
    const char* geometry; // null for two stages
    const char* fragment;
    bool captures; // the particle update program declares its varyings
    bool writesColour; // the depth program has no colour output
};

void PrintTo(const GameProgram& p, std::ostream* os) { *os << p.name; }

class GameShaderFiles : public GlTest, public ::testing::WithParamInterface<GameProgram> {};

TEST_P(GameShaderFiles, BuildAndLink)
{
    const GameProgram& p = GetParam();
    std::unique_ptr<ShaderProgram> shader;
    if (p.geometry) {
        shader = std::make_unique<ShaderProgram>(p.vertex, p.geometry, p.fragment);
        if (p.captures) {
            const GLchar* varyings[4] = {"Type1", "Position1", "Velocity1", "Age1"};
            glTransformFeedbackVaryings(shader->program, 4, varyings, GL_INTERLEAVED_ATTRIBS);
        }
        glBindFragDataLocation(shader->program, 0, "fragColor");
        glLinkProgram(shader->program);
    } else {
        shader = std::make_unique<ShaderProgram>(p.vertex, p.fragment);
    }
    GLint linked = GL_FALSE;
    glGetProgramiv(shader->program, GL_LINK_STATUS, &linked);
    char log[4096] = {};
    glGetProgramInfoLog(shader->program, sizeof log, nullptr, log);
    EXPECT_EQ(linked, GL_TRUE) << log;
    if (p.writesColour) {
        EXPECT_EQ(glGetFragDataLocation(shader->program, "fragColor"), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllPrograms, GameShaderFiles,
    ::testing::Values(
        GameProgram{"text", "./Shader/text.vert", nullptr, "./Shader/text.frag", false, true},
        GameProgram{"model", "Shader/model.vert", nullptr, "Shader/model.frag", false, true},
        GameProgram{"cube", "./Shader/basic.vert", nullptr, "./Shader/cube.frag", false, true},
        GameProgram{"light", "./Shader/basic.vert", nullptr, "./Shader/light.frag", false, true},
        GameProgram{"flare", "./Shader/simpleShader.vert", nullptr, "./Shader/simpleShader.frag", false,
                    true},
        GameProgram{"depth", "Shader/point_shadows_depth.vert", "Shader/point_shadows_depth.geom",
                    "Shader/point_shadows_depth.frag", false, false},
        GameProgram{"particleUpdate", "./Shader/ps_update.vert", "./Shader/ps_update.geom",
                    "./Shader/ps_update.frag", true, true},
        GameProgram{"billboard", "./Shader/billboard.vert", "./Shader/billboard.geom",
                    "./Shader/billboard.frag", false, true}),
    [](const ::testing::TestParamInfo<GameProgram>& info) { return std::string(info.param.name); });

// ---- fatal paths --------------------------------------------------------

// Standard input from /dev/null, so the pause before the exit never waits.
void detachStdin()
{
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull >= 0) {
        dup2(devNull, STDIN_FILENO);
        close(devNull);
    }
}

// Standard output into a file, so the parent can read what the child printed.
void redirectStdout(const std::string& path)
{
    std::fflush(stdout);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
        dup2(fd, STDOUT_FILENO);
        close(fd);
    }
}

// The first line a child printed on standard output; the process prints more
// at its end ("particle destructor").
std::string firstLine(const std::string& text)
{
    const std::string::size_type end = text.find('\n');
    EXPECT_NE(end, std::string::npos) << "no complete line in: " << text;
    return text.substr(0, end);
}

TEST_F(ShaderProgramDeathTest, MissingFilePrintsOnStdoutAndExitsWithMinusOne)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    writeTextFile(tempPath("ok.frag"), kFragment);
    const std::string missing = tempPath("no_such.vert");
    const std::string captured = tempPath("stdout.txt");

    EXPECT_EXIT(
        {
            detachStdin();
            redirectStdout(captured);
            ShaderProgram shader(missing, tempPath("ok.frag"));
        },
        ::testing::ExitedWithCode(255), "");
    EXPECT_EQ(firstLine(readTextFile(captured)), "Failed to open shader file: " + missing);

    // The same for a missing fragment file, the path exactly as passed.
    writeTextFile(tempPath("ok.vert"), kVertex);
    EXPECT_EXIT(
        {
            detachStdin();
            redirectStdout(captured);
            ShaderProgram shader(tempPath("ok.vert"), tempPath("./missing.frag"));
        },
        ::testing::ExitedWithCode(255), "");
    EXPECT_EQ(firstLine(readTextFile(captured)), "Failed to open shader file: " + tempPath("./missing.frag"));
}

TEST_F(ShaderProgramDeathTest, MissingGeometryFileOfThreeStageProgramExitsWithMinusOne)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    writeTextFile(tempPath("ok.vert"), kVertex);
    writeTextFile(tempPath("ok.frag"), kFragment);
    const std::string captured = tempPath("stdout3.txt");
    EXPECT_EXIT(
        {
            detachStdin();
            redirectStdout(captured);
            ShaderProgram shader(tempPath("ok.vert"), tempPath("gone.geom"), tempPath("ok.frag"));
        },
        ::testing::ExitedWithCode(255), "");
    EXPECT_EQ(firstLine(readTextFile(captured)), "Failed to open shader file: " + tempPath("gone.geom"));
}

TEST_F(ShaderProgramDeathTest, EmptyFileFailsToCompileWithStatusOne)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    writeTextFile(tempPath("empty.vert"), "");
    writeTextFile(tempPath("ok.frag"), kFragment);
    EXPECT_EXIT(
        {
            detachStdin();
            ShaderProgram shader(tempPath("empty.vert"), tempPath("ok.frag"));
        },
        ::testing::ExitedWithCode(1), "Failed to compile shader\n[^\n]*[A-Za-z][^\n]*\n");
}

TEST_F(ShaderProgramDeathTest, NonGlslFileFailsToCompileWithStatusOne)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    writeTextFile(tempPath("ok.vert"), kVertex);
    writeTextFile(tempPath("text.frag"), "This is not a shader at all.\nJust some prose.\n");
    EXPECT_EXIT(
        {
            detachStdin();
            ShaderProgram shader(tempPath("ok.vert"), tempPath("text.frag"));
        },
        ::testing::ExitedWithCode(1), "Failed to compile shader\n[^\n]*[A-Za-z][^\n]*\n");

    // A geometry stage that does not compile takes the same path.
    writeTextFile(tempPath("ok.frag"), kFragment);
    writeTextFile(tempPath("bad.geom"), "#version 430 core\nvoid main() { undeclared(); }\n");
    EXPECT_EXIT(
        {
            detachStdin();
            ShaderProgram shader(tempPath("ok.vert"), tempPath("bad.geom"), tempPath("ok.frag"));
        },
        ::testing::ExitedWithCode(1), "Failed to compile shader\n[^\n]*[A-Za-z][^\n]*\n");
}

} // namespace
} // namespace velorun::test
