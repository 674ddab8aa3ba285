#pragma once

#include "base/GameRandom.h"
#include "render/ShaderProgram.h"
#include "render/Texture2D.h"

#include <GL/glew.h>
#include <cstddef>
#include <glm/glm.hpp>
#include <memory>
#include <vector>

namespace velorun {

// One particle as the update pass reads and captures it.
struct Particle {
    float type;
    glm::vec3 position;
    glm::vec3 velocity;
    float age; // milliseconds
};
static_assert(sizeof(Particle) == 32 && offsetof(Particle, position) == 4 &&
                  offsetof(Particle, velocity) == 16 && offsetof(Particle, age) == 28,
              "the shaders and transform feedback expect 32 bytes in this order");

// A 1-D texture of random RGB vectors for the update shader.
struct RandomTexture {
    GLuint textureObj = 0;
    void initRandomTexture(unsigned int size, GameRandom& random);
};

// Random texel values in texel order, red, green, blue, each the next draw of
// `random` / 32767.
std::vector<float> randomTexels(unsigned int size, GameRandom& random);

// Which buffer the next update reads and which one it writes.
struct ParticleBufferRoles {
    unsigned int currVB = 0;
    unsigned int currTFB = 1;
    void swap()
    {
        currVB = currTFB;
        currTFB = (currTFB + 1) & 0x1;
    }
};

// The GPU firework system run after the game ends: transform feedback
// ping-pongs the particles between two buffers; billboards draw them.
class ParticleSystem {
public:
    static constexpr int maxParticles = 2000;

    ShaderProgram* updateProgram = nullptr; // kept for the whole run
    ShaderProgram* billboardProgram = nullptr; // kept for the whole run
    bool isFirst = true;
    unsigned int currVB = 0;
    unsigned int currTFB = 1;
    GLuint particleBuffers[2] = {0, 0};
    GLuint transformFeedbacks[2] = {0, 0};
    RandomTexture randomTexture;
    std::unique_ptr<Texture2D> fireworksTexture;
    int time = 0; // milliseconds
    GLuint vao = 0;

    ParticleSystem() = default;
    ~ParticleSystem();
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Seeds both buffers with the launcher alone. The first call also builds
    // every GL object and both programs, drawing the random texture from
    // `random`; a later run's call reuses them and draws nothing.
    void init(const glm::vec3& launcherPosition, GameRandom& random);
    void update(int deltaMillis);
    void render(const glm::mat4& viewProjection, const glm::vec3& cameraPosition);
    void swapBuffers();

    // Back to the start of a run: no update has run and the clock is at 0.
    // The GL objects stay for the next init.
    void rewind();

    // Deletes every GL object while the context is still current; the object
    // itself lives on to print its farewell at the end of the run.
    void releaseGL();
};

// The game's fireworks, made at the first crash and kept for every later one.
extern ParticleSystem particleSystem;

} // namespace velorun
