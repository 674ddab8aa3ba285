#include "particles/ParticleSystem.h"

#include "render/Uniforms.h"

#include <iostream>
#include <vector>

namespace velorun {

ParticleSystem particleSystem;

std::vector<float> randomTexels(unsigned int size, GameRandom& random)
{
    std::vector<float> texels(static_cast<size_t>(size) * 3);
    for (float& value : texels)
        value = static_cast<float>(random.draw()) / 32767.0f;
    return texels;
}

void RandomTexture::initRandomTexture(unsigned int size, GameRandom& random)
{
    std::vector<float> texels = randomTexels(size, random);
    glGenTextures(1, &textureObj);
    glBindTexture(GL_TEXTURE_1D, textureObj);
    glTexImage1D(GL_TEXTURE_1D, 0, GL_RGB, static_cast<GLsizei>(size), 0, GL_RGB, GL_FLOAT, texels.data());
    glTexParameterf(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, GL_REPEAT);
}

ParticleSystem::~ParticleSystem()
{
    releaseGL();
    std::cout << "particle destructor" << std::endl;
}

void ParticleSystem::releaseGL()
{
    if (transformFeedbacks[0] != 0)
        glDeleteTransformFeedbacks(2, transformFeedbacks);
    if (particleBuffers[0] != 0)
        glDeleteBuffers(2, particleBuffers);
    transformFeedbacks[0] = transformFeedbacks[1] = 0;
    particleBuffers[0] = particleBuffers[1] = 0;
    fireworksTexture.reset();
    if (randomTexture.textureObj != 0)
        glDeleteTextures(1, &randomTexture.textureObj);
    randomTexture.textureObj = 0;
    if (vao != 0)
        glDeleteVertexArrays(1, &vao);
    vao = 0;
    delete updateProgram;
    delete billboardProgram;
    updateProgram = nullptr;
    billboardProgram = nullptr;
}

void ParticleSystem::init(const glm::vec3& launcherPosition, GameRandom& random)
{
    std::vector<Particle> particles(maxParticles, Particle{0.0f, glm::vec3(0.0f), glm::vec3(0.0f), 0.0f});
    particles[0].type = 0.0f;
    particles[0].position = launcherPosition;
    particles[0].velocity = glm::vec3(0.0f, 0.001f, 0.0f);
    particles[0].age = 0.0f;

    if (vao != 0) {
        // A later run: the objects and programs are there; start the
        // simulation again from the launcher alone.
        glBindVertexArray(vao);
        for (GLuint buffer : particleBuffers) {
            glBindBuffer(GL_ARRAY_BUFFER, buffer);
            glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(Particle) * particles.size(), particles.data());
        }
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        rewind();
        return;
    }

    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenTransformFeedbacks(2, transformFeedbacks);
    glGenBuffers(2, particleBuffers);
    for (int i = 0; i < 2; ++i) {
        glBindTransformFeedback(GL_TRANSFORM_FEEDBACK, transformFeedbacks[i]);
        glBindBuffer(GL_ARRAY_BUFFER, particleBuffers[i]);
        glBufferData(GL_ARRAY_BUFFER, sizeof(Particle) * particles.size(), particles.data(), GL_DYNAMIC_DRAW);
        glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, particleBuffers[i]);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    glBindTransformFeedback(GL_TRANSFORM_FEEDBACK, 0);

    updateProgram =
        new ShaderProgram("./Shader/ps_update.vert", "./Shader/ps_update.geom", "./Shader/ps_update.frag");
    const GLchar* varyings[4] = {"Type1", "Position1", "Velocity1", "Age1"};
    glTransformFeedbackVaryings(updateProgram->program, 4, varyings, GL_INTERLEAVED_ATTRIBS);
    glBindFragDataLocation(updateProgram->program, 0, "fragColor");
    glLinkProgram(updateProgram->program);
    glUseProgram(updateProgram->program);
    setUniform(updateProgram->program, "gRandomTexture", 3);
    setUniform(updateProgram->program, "gLauncherLifeTime", 1.0f);
    setUniform(updateProgram->program, "gShellLifeTime", 10000.0f);
    setUniform(updateProgram->program, "gSecondaryShellLifetime", 1500.0f);

    randomTexture.initRandomTexture(1000, random);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_1D, randomTexture.textureObj);

    billboardProgram =
        new ShaderProgram("./Shader/billboard.vert", "./Shader/billboard.geom", "./Shader/billboard.frag");
    glBindFragDataLocation(billboardProgram->program, 0, "fragColor");
    glLinkProgram(billboardProgram->program);
    glUseProgram(billboardProgram->program);
    setUniform(billboardProgram->program, "gColorMap", 2);
    setUniform(billboardProgram->program, "gBillboardSize", 0.0008f);

    fireworksTexture = std::make_unique<Texture2D>("./Textures/fireworks_red.jpg");
}

void ParticleSystem::rewind()
{
    isFirst = true;
    currVB = 0;
    currTFB = 1;
    time = 0;
}

void ParticleSystem::update(int deltaMillis)
{
    const GLuint program = updateProgram->program;
    glUseProgram(program);
    setUniform(program, "gTime", static_cast<float>(time));
    setUniform(program, "gDeltaTimeMillis", static_cast<float>(deltaMillis));
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_1D, randomTexture.textureObj);

    glEnable(GL_RASTERIZER_DISCARD);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, particleBuffers[currVB]);
    glBindTransformFeedback(GL_TRANSFORM_FEEDBACK, transformFeedbacks[currTFB]);

    for (GLuint i = 0; i < 4; ++i)
        glEnableVertexAttribArray(i);
    glVertexAttribPointer(0, 1, GL_FLOAT, GL_FALSE, sizeof(Particle), reinterpret_cast<void*>(0));
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(Particle), reinterpret_cast<void*>(4));
    glVertexAttribPointer(2, 3, GL_FLOAT, GL_FALSE, sizeof(Particle), reinterpret_cast<void*>(16));
    glVertexAttribPointer(3, 1, GL_FLOAT, GL_FALSE, sizeof(Particle), reinterpret_cast<void*>(28));

    glBeginTransformFeedback(GL_POINTS);
    if (isFirst) {
        glDrawArrays(GL_POINTS, 0, 1);
        isFirst = false;
    } else {
        glDrawTransformFeedback(GL_POINTS, transformFeedbacks[currVB]);
    }
    glEndTransformFeedback();
    for (GLuint i = 0; i < 4; ++i)
        glDisableVertexAttribArray(i);
}

void ParticleSystem::render(const glm::mat4& viewProjection, const glm::vec3& cameraPosition)
{
    const GLuint program = billboardProgram->program;
    glUseProgram(program);
    setUniform(program, "gCameraPos", cameraPosition);
    // Transposed on purpose: the billboard shader multiplies row-vector style.
    setUniform(program, "gVP", glm::transpose(viewProjection));
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, fireworksTexture->id);
    glDisable(GL_RASTERIZER_DISCARD);

    glBindBuffer(GL_ARRAY_BUFFER, particleBuffers[currTFB]);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Particle), reinterpret_cast<void*>(4));
    // Blended sprites test depth but leave it alone, so overlapping sparks
    // mix instead of the nearer one cutting its square out of the others.
    glDepthMask(GL_FALSE);
    glDrawTransformFeedback(GL_POINTS, transformFeedbacks[currTFB]);
    glDepthMask(GL_TRUE);
    glDisableVertexAttribArray(0);
}

void ParticleSystem::swapBuffers()
{
    ParticleBufferRoles roles{currVB, currTFB};
    roles.swap();
    currVB = roles.currVB;
    currTFB = roles.currTFB;
}

} // namespace velorun
