// Laying out glyph quads and advancing the pen in the 800 x 600 text space.
#include "render/TextLayout.h"

#include <gtest/gtest.h>

namespace velorun {
namespace {

struct V {
    float x, y, u, v;
};

V vertex(const std::array<float, 24>& quad, int i)
{
    const std::size_t b = static_cast<std::size_t>(i) * 4;
    return {quad[b], quad[b + 1], quad[b + 2], quad[b + 3]};
}

void expectVertex(const std::array<float, 24>& quad, int i, V expected)
{
    SCOPED_TRACE("vertex " + std::to_string(i));
    const V got = vertex(quad, i);
    EXPECT_FLOAT_EQ(got.x, expected.x);
    EXPECT_FLOAT_EQ(got.y, expected.y);
    EXPECT_FLOAT_EQ(got.u, expected.u);
    EXPECT_FLOAT_EQ(got.v, expected.v);
}

Character glyph(int w, int h, int left, int top, unsigned advance)
{
    Character c;
    c.textureID = 7;
    c.size = glm::ivec2(w, h);
    c.bearing = glm::ivec2(left, top);
    c.advance = advance;
    return c;
}

TEST(TextLayout, QuadOfAGlyphWithADescender)
{
    // 10 x 14 bitmap, 1 px right of the pen, top 12 px above the baseline:
    // 2 px hang below it.
    const Character p = glyph(10, 14, 1, 12, 11 * 64);
    const std::array<float, 24> q = glyphQuad(p, 100.0f, 50.0f, 2.0f);
    const float xpos = 102.0f, ypos = 46.0f, w = 20.0f, h = 28.0f;
    expectVertex(q, 0, {xpos, ypos + h, 0.0f, 0.0f});
    expectVertex(q, 1, {xpos, ypos, 0.0f, 1.0f});
    expectVertex(q, 2, {xpos + w, ypos, 1.0f, 1.0f});
    expectVertex(q, 3, {xpos, ypos + h, 0.0f, 0.0f});
    expectVertex(q, 4, {xpos + w, ypos, 1.0f, 1.0f});
    expectVertex(q, 5, {xpos + w, ypos + h, 1.0f, 0.0f});
}

TEST(TextLayout, QuadOfAGlyphSittingAboveTheBaseline)
{
    // A dash: 8 x 2 bitmap whose top is 7 px above the baseline, so its
    // bottom is 5 px above it.
    const Character dash = glyph(8, 2, 0, 7, 9 * 64);
    const std::array<float, 24> q = glyphQuad(dash, 0.5f, 0.5f, 0.9f);
    const float xpos = 0.5f, ypos = 0.5f + 5.0f * 0.9f, w = 8.0f * 0.9f, h = 2.0f * 0.9f;
    expectVertex(q, 0, {xpos, ypos + h, 0.0f, 0.0f});
    expectVertex(q, 1, {xpos, ypos, 0.0f, 1.0f});
    expectVertex(q, 2, {xpos + w, ypos, 1.0f, 1.0f});
    expectVertex(q, 5, {xpos + w, ypos + h, 1.0f, 0.0f});
}

TEST(TextLayout, NegativeBearingMovesTheQuadLeftOfThePen)
{
    const Character j = glyph(6, 20, -2, 15, 5 * 64);
    const std::array<float, 24> q = glyphQuad(j, 50.0f, 180.0f, 2.5f);
    expectVertex(q, 1, {50.0f - 5.0f, 180.0f - 12.5f, 0.0f, 1.0f});
    expectVertex(q, 5, {50.0f - 5.0f + 15.0f, 180.0f - 12.5f + 50.0f, 1.0f, 0.0f});
}

TEST(TextLayout, AdvanceKeepsWholePixelsOnly)
{
    // 1535 / 64 = 23.98 pixels: the pen moves 23 * scale.
    const Character g = glyph(10, 10, 0, 10, 1535);
    EXPECT_FLOAT_EQ(glyphAdvance(g, 1.0f), 23.0f);
    EXPECT_FLOAT_EQ(glyphAdvance(g, 0.9f), 23.0f * 0.9f);
    EXPECT_FLOAT_EQ(glyphAdvance(g, 2.5f), 57.5f);
    EXPECT_FLOAT_EQ(glyphAdvance(glyph(1, 1, 0, 1, 63), 1.0f), 0.0f);
    EXPECT_FLOAT_EQ(glyphAdvance(glyph(1, 1, 0, 1, 64), 1.0f), 1.0f);
}

TEST(TextLayout, AdvanceIsAnUnsignedShift)
{
    const Character big = glyph(1, 1, 0, 1, 0x80000000u);
    EXPECT_FLOAT_EQ(glyphAdvance(big, 1.0f), static_cast<float>(0x80000000u / 64u));
}

TEST(TextLayout, SecondLetterOfAAStartsOneAdvanceToTheRight)
{
    const Character a = glyph(12, 14, 1, 14, 13 * 64 + 40); // 13.625 px
    float pen = 0.0f;
    const std::array<float, 24> first = glyphQuad(a, pen, 0.0f, 1.0f);
    pen += glyphAdvance(a, 1.0f);
    const std::array<float, 24> second = glyphQuad(a, pen, 0.0f, 1.0f);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(vertex(second, i).x - vertex(first, i).x, 13.0f);
        EXPECT_FLOAT_EQ(vertex(second, i).y, vertex(first, i).y);
    }
}

TEST(TextLayout, UnknownCharacterIsADegenerateQuadThatDoesNotMoveThePen)
{
    const Character zero;
    EXPECT_EQ(zero.textureID, 0u);
    const std::array<float, 24> q = glyphQuad(zero, 30.0f, 40.0f, 1.5f);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(vertex(q, i).x, 30.0f);
        EXPECT_FLOAT_EQ(vertex(q, i).y, 40.0f);
    }
    EXPECT_FLOAT_EQ(glyphAdvance(zero, 1.5f), 0.0f);
}

TEST(TextLayout, SpaceHasNoQuadButAnAdvance)
{
    const Character space = glyph(0, 0, 0, 0, 7 * 64);
    const std::array<float, 24> q = glyphQuad(space, 10.0f, 10.0f, 1.0f);
    EXPECT_FLOAT_EQ(vertex(q, 0).x, vertex(q, 2).x);
    EXPECT_FLOAT_EQ(vertex(q, 0).y, vertex(q, 2).y);
    EXPECT_FLOAT_EQ(glyphAdvance(space, 1.0f), 7.0f);
}

} // namespace
} // namespace velorun
