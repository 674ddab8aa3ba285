#include "GlFixture.h"

#include "particles/ParticleSystem.h"
#include "render/Projections.h"

#include <algorithm>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>

namespace velorun::test {
namespace {

using ParticleSystemTest = GlTest;

constexpr int kStepMillis = 16;
constexpr int kSteps = 300;

// Particles captured by one update.
GLuint capturedBy(ParticleSystem& system, int deltaMillis)
{
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN, query);
    system.update(deltaMillis);
    glEndQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN);
    GLuint written = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &written);
    glDeleteQueries(1, &query);
    return written;
}

TEST_F(ParticleSystemTest, InitCreatesBuffersProgramsAndTextures)
{
    auto system = std::make_unique<ParticleSystem>();
    EXPECT_TRUE(system->isFirst);
    EXPECT_EQ(system->currVB, 0u);
    EXPECT_EQ(system->currTFB, 1u);
    GameRandom random;
    system->init(glm::vec3(0.0f, 0.0f, -1.0f), random);

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("buffer " + std::to_string(i));
        ASSERT_TRUE(glIsBuffer(system->particleBuffers[i]));
        ASSERT_TRUE(glIsTransformFeedback(system->transformFeedbacks[i]));
        glBindBuffer(GL_ARRAY_BUFFER, system->particleBuffers[i]);
        GLint bytes = 0;
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
        EXPECT_EQ(bytes, 64000);
        Particle launcher{};
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof launcher, &launcher);
        EXPECT_EQ(launcher.type, 0.0f);
        EXPECT_EQ(launcher.position, glm::vec3(0.0f, 0.0f, -1.0f));
        EXPECT_EQ(launcher.velocity, glm::vec3(0.0f, 0.001f, 0.0f));
        EXPECT_EQ(launcher.age, 0.0f);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        // Object i captures into buffer i.
        glBindTransformFeedback(GL_TRANSFORM_FEEDBACK, system->transformFeedbacks[i]);
        GLint captured = 0;
        glGetIntegeri_v(GL_TRANSFORM_FEEDBACK_BUFFER_BINDING, 0, &captured);
        EXPECT_EQ(static_cast<GLuint>(captured), system->particleBuffers[i]);
        glBindTransformFeedback(GL_TRANSFORM_FEEDBACK, 0);
    }

    for (ShaderProgram* program : {system->updateProgram, system->billboardProgram}) {
        ASSERT_NE(program, nullptr);
        GLint linked = GL_FALSE;
        glGetProgramiv(program->program, GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE);
    }
    GLint varyings = 0;
    glGetProgramiv(system->updateProgram->program, GL_TRANSFORM_FEEDBACK_VARYINGS, &varyings);
    EXPECT_EQ(varyings, 4);
    GLint mode = 0;
    glGetProgramiv(system->updateProgram->program, GL_TRANSFORM_FEEDBACK_BUFFER_MODE, &mode);
    EXPECT_EQ(mode, GL_INTERLEAVED_ATTRIBS);
    EXPECT_EQ(uniformInt(system->updateProgram->program, "gRandomTexture"), 3);
    EXPECT_EQ(uniformInt(system->billboardProgram->program, "gColorMap"), 2);

    // The random texture: 1000 RGB float texels in [0, 1], on unit 3.
    glActiveTexture(GL_TEXTURE3);
    EXPECT_EQ(static_cast<GLuint>(getInteger(GL_TEXTURE_BINDING_1D)), system->randomTexture.textureObj);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_1D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 1000);
    std::vector<float> texels(3000, -1.0f);
    glGetTexImage(GL_TEXTURE_1D, 0, GL_RGB, GL_FLOAT, texels.data());
    for (float v : texels) {
        ASSERT_GE(v, 0.0f);
        ASSERT_LE(v, 1.0f);
    }
    glActiveTexture(GL_TEXTURE0);
    ASSERT_NE(system->fireworksTexture, nullptr);
    EXPECT_TRUE(glIsTexture(system->fireworksTexture->id));
}

TEST_F(ParticleSystemTest, CapturedRecordsHoldTypePositionVelocityAgeInThatOrder)
{
    auto system = std::make_unique<ParticleSystem>();
    GameRandom random;
    system->init(glm::vec3(0.0f, 0.0f, -1.0f), random);
    const GLuint program = system->updateProgram->program;
    GLint count = 0;
    glGetProgramiv(program, GL_TRANSFORM_FEEDBACK_VARYINGS, &count);
    ASSERT_EQ(count, 4);
    const struct {
        const char* name;
        GLenum type;
    } expected[] = {
        {"Type1", GL_FLOAT}, {"Position1", GL_FLOAT_VEC3}, {"Velocity1", GL_FLOAT_VEC3}, {"Age1", GL_FLOAT}};
    for (GLuint i = 0; i < 4; ++i) {
        char name[32] = {};
        GLsizei size = 0;
        GLenum type = 0;
        glGetTransformFeedbackVarying(program, i, sizeof name, nullptr, &size, &type, name);
        EXPECT_STREQ(name, expected[i].name) << "varying " << i;
        EXPECT_EQ(type, expected[i].type) << "varying " << i;
    }
    GLint mode = 0;
    glGetProgramiv(program, GL_TRANSFORM_FEEDBACK_BUFFER_MODE, &mode);
    EXPECT_EQ(mode, GL_INTERLEAVED_ATTRIBS);
}

TEST_F(ParticleSystemTest, UpdatesPingPongAndStayWithinCapacity)
{
    ParticleSystem system;
    GameRandom random;
    system.init(glm::vec3(0.0f, 0.0f, -1.0f), random);
    const glm::mat4 viewProjection =
        fireworksProjection() * glm::lookAt(glm::vec3(0, 0, 3), glm::vec3(0, 0, 0), glm::vec3(0, 1, 0));
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    std::vector<GLuint> counts;
    for (int step = 0; step < kSteps; ++step) {
        const unsigned int readBefore = system.currVB;
        const unsigned int writeBefore = system.currTFB;
        system.time += kStepMillis;
        counts.push_back(capturedBy(system, kStepMillis));
        EXPECT_FALSE(system.isFirst);
        system.render(viewProjection, glm::vec3(0, 0, 3));
        EXPECT_FALSE(glIsEnabled(GL_RASTERIZER_DISCARD)) << "render switches rasterisation back on";
        system.swapBuffers();
        ASSERT_EQ(system.currVB, writeBefore) << "step " << step;
        ASSERT_EQ(system.currTFB, readBefore) << "step " << step;
        ASSERT_NE(system.currVB, system.currTFB);
    }
    EXPECT_EQ(system.time, kSteps * kStepMillis);

    // The first update reads the launcher alone and keeps it.
    EXPECT_EQ(counts[0], 1u);
    GLuint most = 0;
    for (size_t i = 0; i < counts.size(); ++i) {
        EXPECT_GE(counts[i], 1u) << "the launcher never dies (step " << i << ")";
        EXPECT_LE(counts[i], 2000u) << "step " << i;
        most = std::max(most, counts[i]);
    }
    EXPECT_GT(most, 1u) << "the launcher never fired";
}

TEST_F(ParticleSystemTest, ViewProjectionReachesTheShaderTransposed)
{
    ParticleSystem system;
    GameRandom random;
    system.init(glm::vec3(0.0f, 0.0f, -1.0f), random);
    system.time += kStepMillis;
    system.update(kStepMillis);

    glm::mat4 viewProjection;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            viewProjection[c][r] = static_cast<float>(1 + c * 4 + r); // not symmetric
    system.render(viewProjection, glm::vec3(1.0f, 2.0f, 3.0f));

    const GLuint program = system.billboardProgram->program;
    const GLint location = glGetUniformLocation(program, "gVP");
    ASSERT_GE(location, 0);
    float stored[16] = {};
    glGetUniformfv(program, location, stored);
    // The shader's matrix is the transpose: its column c is row c of the matrix given.
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(stored[c * 4 + r], viewProjection[r][c]) << "column " << c << " row " << r;

    float camera[3] = {};
    const GLint cameraLocation = glGetUniformLocation(program, "gCameraPos");
    ASSERT_GE(cameraLocation, 0);
    glGetUniformfv(program, cameraLocation, camera);
    EXPECT_EQ(glm::vec3(camera[0], camera[1], camera[2]), glm::vec3(1.0f, 2.0f, 3.0f));
    glActiveTexture(GL_TEXTURE2);
    EXPECT_EQ(static_cast<GLuint>(getInteger(GL_TEXTURE_BINDING_2D)), system.fireworksTexture->id);
    glActiveTexture(GL_TEXTURE0);
}

// Sparks are blended: each must show through the others, so the draw may test
// depth but must leave the depth buffer as it found it.
TEST_F(ParticleSystemTest, BlendedSparksLeaveTheDepthBufferAlone)
{
    ParticleSystem system;
    GameRandom random;
    system.init(glm::vec3(0.0f, 0.0f, -1.0f), random);
    const glm::vec3 eye(0.0f, -2.0f, 8.0f);
    const glm::mat4 viewProjection =
        fireworksProjection() * glm::lookAt(eye, glm::vec3(0.0f, 0.0f, eye.z - 11.0f), glm::vec3(0, 1, 0));
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);

    int drawnFrames = 0;
    for (int step = 0; step < kSteps; ++step) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        system.time += kStepMillis;
        system.update(kStepMillis);
        system.render(viewProjection, eye);
        system.swapBuffers();
        ASSERT_EQ(getInteger(GL_DEPTH_WRITEMASK), GL_TRUE) << "the frame's later clears need depth writes";

        const Screenshot shot = readPixels();
        int lit = 0;
        for (size_t i = 0; i < shot.rgba.size(); i += 4)
            lit += shot.rgba[i] + shot.rgba[i + 1] + shot.rgba[i + 2] > 60;
        if (lit == 0)
            continue;
        ++drawnFrames;
        std::vector<float> depth(static_cast<size_t>(windowWidth() * windowHeight()));
        glReadPixels(0, 0, windowWidth(), windowHeight(), GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
        ASSERT_EQ(*std::min_element(depth.begin(), depth.end()), 1.0f)
            << "a spark wrote depth at step " << step;
    }
    EXPECT_GT(drawnFrames, 10) << "no sparks seen";
}

TEST_F(ParticleSystemTest, DestructionSaysGoodbyeAndReleasesItsObjects)
{
    testing::internal::CaptureStdout();
    {
        ParticleSystem unused;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "particle destructor\n");

    auto system = std::make_unique<ParticleSystem>();
    GameRandom draws;
    system->init(glm::vec3(0.0f, 0.0f, -1.0f), draws);
    const GLuint buffers[2] = {system->particleBuffers[0], system->particleBuffers[1]};
    const GLuint feedbacks[2] = {system->transformFeedbacks[0], system->transformFeedbacks[1]};
    const GLuint random = system->randomTexture.textureObj;
    const GLuint sprite = system->fireworksTexture->id;
    testing::internal::CaptureStdout();
    system.reset();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "particle destructor\n");
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(glIsBuffer(buffers[i]));
        EXPECT_FALSE(glIsTransformFeedback(feedbacks[i]));
    }
    EXPECT_FALSE(glIsTexture(random));
    EXPECT_FALSE(glIsTexture(sprite));
}

} // namespace
} // namespace velorun::test
