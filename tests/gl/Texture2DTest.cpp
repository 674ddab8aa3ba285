#include "GlFixture.h"

#include "render/Texture2D.h"

#include <cstdlib>
#include <memory>

namespace velorun::test {
namespace {

using Texture2DTest = GlTest;

struct FilterRow {
    int mipmapMode;
    bool nearestFilter;
    GLint minFilter;
    GLint magFilter;
};

// The filter table, including values outside 0..2, which keep GL's defaults
// (GL_NEAREST_MIPMAP_LINEAR / GL_LINEAR).
const FilterRow kFilterTable[] = {
    {0, true, GL_NEAREST, GL_NEAREST},
    {1, true, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST},
    {2, true, GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST},
    {0, false, GL_LINEAR, GL_LINEAR},
    {1, false, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR},
    {2, false, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
    {7, false, GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR},
    {7, true, GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR},
    {-1, false, GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR},
    {3, true, GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR},
};

std::vector<Rgba> solid(int count, Rgba colour)
{
    return std::vector<Rgba>(static_cast<size_t>(count), colour);
}

GLint levelParameter(int level, GLenum name)
{
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

// Level 0 of the texture bound to GL_TEXTURE_2D, RGBA bytes, row 0 = t = 0.
std::vector<unsigned char> levelZeroRgba(int width, int height)
{
    std::vector<unsigned char> texels(static_cast<size_t>(width * height * 4), 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return texels;
}

TEST_F(Texture2DTest, EveryFilterRowIsAppliedMinificationAndMagnification)
{
    writePng(tempPath("f.png"), 2, 2, solid(4, {10, 20, 30, 255}), false);
    for (const FilterRow& row : kFilterTable) {
        SCOPED_TRACE("mipmapMode " + std::to_string(row.mipmapMode) + ", nearest " +
                     std::to_string(row.nearestFilter));
        Texture2D texture(tempPath("f.png").c_str(), row.mipmapMode, row.nearestFilter);
        EXPECT_EQ(texture.mipmapMode, row.mipmapMode);
        EXPECT_EQ(texture.nearestFilter, row.nearestFilter);
        ASSERT_EQ(static_cast<GLuint>(getInteger(GL_TEXTURE_BINDING_2D)), texture.id);
        GLint minFilter = 0;
        GLint magFilter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        EXPECT_EQ(minFilter, row.minFilter);
        EXPECT_EQ(magFilter, row.magFilter);
        // No wrap mode is set: GL's GL_REPEAT stays.
        GLint wrap = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        EXPECT_EQ(wrap, GL_REPEAT);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
        EXPECT_EQ(wrap, GL_REPEAT);
    }
}

TEST_F(Texture2DTest, PathOnlyConstructorStartsTrilinear)
{
    writePng(tempPath("d.png"), 2, 2, solid(4, {10, 20, 30, 255}), false);
    Texture2D texture(tempPath("d.png").c_str());
    EXPECT_EQ(texture.mipmapMode, 2);
    EXPECT_FALSE(texture.nearestFilter);
    GLint minFilter = 0;
    GLint magFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);
}

TEST_F(Texture2DTest, JpegBecomesOpaqueRgba8WithFullMipChain)
{
    writeJpeg(tempPath("small.jpg"), 4, 2, solid(8, {200, 120, 40, 255}));
    Texture2D texture(tempPath("small.jpg").c_str());

    EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 2);
    EXPECT_EQ(levelParameter(1, GL_TEXTURE_WIDTH), 2);
    EXPECT_EQ(levelParameter(1, GL_TEXTURE_HEIGHT), 1);
    EXPECT_EQ(levelParameter(2, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(levelParameter(2, GL_TEXTURE_HEIGHT), 1);
    EXPECT_EQ(levelParameter(3, GL_TEXTURE_WIDTH), 0);

    const std::vector<unsigned char> texels = levelZeroRgba(4, 2);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(texels[static_cast<size_t>(i * 4 + 3)], 255) << "texel " << i;
        // A flat colour survives JPEG at top quality almost unchanged.
        EXPECT_NEAR(texels[static_cast<size_t>(i * 4 + 0)], 200, 6) << "texel " << i;
        EXPECT_NEAR(texels[static_cast<size_t>(i * 4 + 1)], 120, 6) << "texel " << i;
        EXPECT_NEAR(texels[static_cast<size_t>(i * 4 + 2)], 40, 6) << "texel " << i;
    }
}

TEST_F(Texture2DTest, PngAlphaIsKept)
{
    // Top row opaque red, bottom row half-transparent and fully transparent.
    std::vector<Rgba> pixels = {{255, 0, 0, 255}, {255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 0}};
    writePng(tempPath("alpha.png"), 2, 2, pixels, true);
    Texture2D texture(tempPath("alpha.png").c_str());
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8);
    const std::vector<unsigned char> texels = levelZeroRgba(2, 2);
    // Texture row 0 is the file's bottom row.
    EXPECT_EQ(texels[3], 128);
    EXPECT_EQ(texels[1], 255);
    EXPECT_EQ(texels[7], 0);
    EXPECT_EQ(texels[6], 255);
    EXPECT_EQ(texels[11], 255);
    EXPECT_EQ(texels[15], 255);
}

TEST_F(Texture2DTest, TopLeftOfFileIsAtTOneAndBottomLeftAtTZero)
{
    // 2 x 3 image, every pixel different; listed top row first.
    const std::vector<Rgba> pixels = {{255, 0, 0, 255},   {0, 255, 0, 255}, // top
                                      {0, 0, 255, 255},   {255, 255, 0, 255}, // middle
                                      {0, 255, 255, 255}, {255, 0, 255, 255}}; // bottom
    writePng(tempPath("orient.png"), 2, 3, pixels, false);
    Texture2D texture(tempPath("orient.png").c_str(), 0, true);
    const std::vector<unsigned char> texels = levelZeroRgba(2, 3);
    for (int row = 0; row < 3; ++row) {
        for (int x = 0; x < 2; ++x) {
            const Rgba& file = pixels[static_cast<size_t>((2 - row) * 2 + x)];
            const unsigned char* t = &texels[static_cast<size_t>((row * 2 + x) * 4)];
            EXPECT_EQ(t[0], file.r) << "texel row " << row << " x " << x;
            EXPECT_EQ(t[1], file.g) << "texel row " << row << " x " << x;
            EXPECT_EQ(t[2], file.b) << "texel row " << row << " x " << x;
            EXPECT_EQ(t[3], 255);
        }
    }

    // Sampled at (0, 1) and (0, 0) with nearest filtering.
    const GLuint program = buildProgram(
        "#version 430 core\nvoid main() { vec2 c[3] = vec2[3](vec2(-1,-1), vec2(3,-1), vec2(-1,3));"
        " gl_Position = vec4(c[gl_VertexID], 0, 1); }\n",
        "#version 430 core\nuniform sampler2D image; uniform vec2 coord; out vec4 fragColor;\n"
        "void main() { fragColor = texture(image, coord); }\n");
    GLuint vao = 0;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "image"), 0);
    glDisable(GL_BLEND);
    for (auto [s, t, expected] : {std::tuple{0.01f, 0.99f, pixels[0]}, std::tuple{0.01f, 0.01f, pixels[4]}}) {
        glUniform2f(glGetUniformLocation(program, "coord"), s, t);
        glDrawArrays(GL_TRIANGLES, 0, 3);
        const Screenshot shot = readPixels();
        const unsigned char* p = shot.at(10, 10);
        EXPECT_EQ(p[0], expected.r) << "at t = " << t;
        EXPECT_EQ(p[1], expected.g) << "at t = " << t;
        EXPECT_EQ(p[2], expected.b) << "at t = " << t;
    }
    glDeleteVertexArrays(1, &vao);
}

TEST_F(Texture2DTest, LeftBoundOnUnitZeroWithUnitZeroActive)
{
    writePng(tempPath("u.png"), 2, 2, solid(4, {1, 2, 3, 255}), false);
    GLuint other = 0;
    glGenTextures(1, &other);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, other);
    glActiveTexture(GL_TEXTURE5);

    Texture2D texture(tempPath("u.png").c_str());
    EXPECT_EQ(getInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(static_cast<GLuint>(getInteger(GL_TEXTURE_BINDING_2D)), texture.id);
    EXPECT_NE(texture.id, other);
    glDeleteTextures(1, &other);
}

TEST_F(Texture2DTest, DestructionDeletesTheTexture)
{
    writePng(tempPath("x.png"), 2, 2, solid(4, {1, 2, 3, 255}), false);
    auto texture = std::make_unique<Texture2D>(tempPath("x.png").c_str());
    const GLuint id = texture->id;
    ASSERT_TRUE(glIsTexture(id));
    texture.reset();
    EXPECT_FALSE(glIsTexture(id));
}

TEST_F(Texture2DTest, MissingOrUnreadableImageIsReportedAndUploadsNothing)
{
    const std::string missing = tempPath("nothing_here.png");
    testing::internal::CaptureStderr();
    Texture2D absent(missing.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Failed to load image: " + missing + "\n");
    EXPECT_NE(absent.id, 0u);
    EXPECT_EQ(static_cast<GLuint>(getInteger(GL_TEXTURE_BINDING_2D)), absent.id);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 0);

    const std::string garbage = tempPath("garbage.jpg");
    writeTextFile(garbage, "definitely not an image");
    testing::internal::CaptureStderr();
    Texture2D unreadable(garbage.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Failed to load image: " + garbage + "\n");
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(errorMessageCount(), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace velorun::test
