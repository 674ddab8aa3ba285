// velorun-bench: runs the real game's frames through the seam at 800 x 600 on a
// fixed scripted drive (play, a deliberate crash, fireworks), or a recorded
// session given with --replay, and prints where the time goes. Run it from the
// repository root. Not a test: it judges nothing.
#include "base/Percentile.h"
#include "base/StageMarkers.h"
#include "drive/ScriptedDrive.h"
#include "game/Frame.h"
#include "game/FrameSeam.h"
#include "lighting/SceneState.h"
#include "lighting/ShadowMaps.h"
#include "render/RendererInfo.h"
#include "replay/ReplayPlayer.h"
#include "scene/RunState.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <optional>
#include <string>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <vector>

using namespace velorun;
using Clock = std::chrono::steady_clock;

namespace {

struct Options {
    int playFrames = 120; // plain driving before the crash is forced
    int seekLimit = 600; // most frames spent steering into the obstacles
    int fireworksFrames = 90; // after the crash
    int floorRepeats = 5;
    int referenceEvery = 10; // play frames between two timings of the every-face reference
    double step = 1.0 / 60.0;
    bool cpuOnly = false; // internal: child run on Mesa's no-op backend
    const char* replay = nullptr; // a recorded session played instead of the script
};

// Fixed-step clock and the key script.
int frameIndex = 0;
int seekStart = 0;
Options options;

void scriptKeys(ScriptedDrive& drive)
{
    // Weave left and right while playing; afterwards drive straight on into
    // the obstacle placed in the car's path.
    drive.releaseAll();
    if (frameIndex >= seekStart)
        return;
    if ((frameIndex / 40) % 3 == 1)
        drive.hold(GLFW_KEY_LEFT);
    if ((frameIndex / 40) % 3 == 2)
        drive.hold(GLFW_KEY_RIGHT);
}

// The crash is part of the script: an obstacle in the car's path (slightly
// off its axis, since an exactly equal coordinate does not count as touching).
void placeObstacleAhead()
{
    const glm::vec3 p = scene::positionOf(car->modelMatrix);
    run.cubes.push_back(scene::makeCube(glm::translate(glm::mat4(1.0f), p + glm::vec3(0.3f, 0.3f, -15.0f)),
                                        cubeShader.get()));
}

// GL timestamps at every stage boundary of a frame.
constexpr int stageCount = static_cast<int>(FrameStage::Count);
GLuint stageQueries[stageCount][2];
bool stageUsed[stageCount];
// A software renderer does its work when commands are flushed, so its
// timestamps say little: there each stage is also finished and timed on the
// wall clock. On a GPU that would stall the pipeline, so it is not done.
bool syncStages = false;
Clock::time_point stageWall[stageCount][2];

void recordStage(FrameStage stage, bool begin)
{
    const int i = static_cast<int>(stage);
    glQueryCounter(stageQueries[i][begin ? 0 : 1], GL_TIMESTAMP);
    if (syncStages) {
        glFinish();
        stageWall[i][begin ? 0 : 1] = Clock::now();
    }
    stageUsed[i] = true;
}

double queryMs(GLuint begin, GLuint end)
{
    GLuint64 a = 0;
    GLuint64 b = 0;
    glGetQueryObjectui64v(begin, GL_QUERY_RESULT, &a);
    glGetQueryObjectui64v(end, GL_QUERY_RESULT, &b);
    return static_cast<double>(b - a) / 1.0e6;
}

// CPU time of the calling thread only: waiting and other threads do not count.
double threadCpuMs()
{
#ifdef _WIN32
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#else
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1.0e6;
#endif
}

double ms(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

const char* floorVertex = R"(#version 430 core
layout(location = 0) in vec3 position;
uniform mat4 model;
void main() { gl_Position = model * vec4(position, 1.0); })";

const char* floorGeometry = R"(#version 430 core
layout(triangles) in;
layout(triangle_strip, max_vertices = 18) out;
uniform mat4 shadowMatrices[6];
void main()
{
    for (int face = 0; face < 6; ++face) {
        gl_Layer = face;
        for (int i = 0; i < 3; ++i) {
            gl_Position = shadowMatrices[face] * gl_in[i].gl_Position;
            EmitVertex();
        }
        EndPrimitive();
    }
})";

GLuint compile(GLenum type, const char* source)
{
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

// Eight depth cube maps of the game's format with their framebuffers. The
// measurements made beside the game's frames draw into these, so the game's
// own maps, and what its shadow stage keeps of them, stay as they are.
struct ScratchMaps {
    std::vector<GLuint> framebuffers = std::vector<GLuint>(pointLightCount);
    std::vector<GLuint> maps = std::vector<GLuint>(pointLightCount);

    void create()
    {
        for (int k = 0; k < pointLightCount; ++k) {
            const ShadowMapPair pair = makeShadowMapPair();
            framebuffers[static_cast<size_t>(k)] = pair.framebuffer;
            maps[static_cast<size_t>(k)] = pair.cubeMap;
        }
    }
    void destroy()
    {
        glDeleteFramebuffers(pointLightCount, framebuffers.data());
        glDeleteTextures(pointLightCount, maps.data());
    }
};

// Some GL work, finished and timed the way the frame's stages are.
template <typename Work> double timeWork(Work work)
{
    if (syncStages) {
        glFinish();
        const Clock::time_point before = Clock::now();
        work();
        glFinish();
        return ms(before, Clock::now());
    }
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_TIME_ELAPSED, query);
    work();
    glEndQuery(GL_TIME_ELAPSED);
    GLuint64 ns = 0;
    glGetQueryObjectui64v(query, GL_QUERY_RESULT, &ns);
    glDeleteQueries(1, &query);
    return static_cast<double>(ns) / 1.0e6;
}

// The shadow stage as it was before it kept faces: every face of every light
// drawn afresh, here into the scratch maps.
double measureEveryFace(const ScratchMaps& scratch)
{
    return timeWork([&scratch] {
        const std::vector<ShadowCaster> casters = shadowCasters();
        for (int k = 1; k <= pointLightCount; ++k)
            renderShadowMap(pointLightPosition(k), scratch.framebuffers[static_cast<size_t>(k - 1)], casters);
    });
}

// The same eight layered depth passes over the same geometry, drawn by the
// plainest program that can fill them: no per-face culling, no fragment stage.
double measureShadowFloor(const ScratchMaps& scratch, int repeats)
{
    const GLuint program = glCreateProgram();
    const GLuint vs = compile(GL_VERTEX_SHADER, floorVertex);
    const GLuint gs = compile(GL_GEOMETRY_SHADER, floorGeometry);
    glAttachShader(program, vs);
    glAttachShader(program, gs);
    glLinkProgram(program);

    std::vector<double> samples;
    for (int r = 0; r < repeats; ++r)
        samples.push_back(timeWork([&] {
            glViewport(0, 0, shadowMapSize, shadowMapSize);
            for (int k = 1; k <= pointLightCount; ++k) {
                const std::array<glm::mat4, 6> transforms = shadowTransforms(pointLightPosition(k));
                glBindFramebuffer(GL_FRAMEBUFFER, scratch.framebuffers[static_cast<size_t>(k - 1)]);
                glClear(GL_DEPTH_BUFFER_BIT);
                glUseProgram(program);
                glUniformMatrix4fv(glGetUniformLocation(program, "shadowMatrices"), 6, GL_FALSE,
                                   glm::value_ptr(transforms[0]));
                const GLint model = glGetUniformLocation(program, "model");
                for (const auto& cube : run.cubes) {
                    glUniformMatrix4fv(model, 1, GL_FALSE, glm::value_ptr(cube->modelMatrix));
                    cube->draw();
                }
                for (scene::Model* m : {tubeA.get(), tubeB.get(), car.get()}) {
                    const glm::mat4 matrix = m->getModelMatrix();
                    glUniformMatrix4fv(model, 1, GL_FALSE, glm::value_ptr(matrix));
                    m->drawDepth();
                }
            }
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
        }));
    glDeleteProgram(program);
    glDeleteShader(vs);
    glDeleteShader(gs);
    return percentile(samples, 0.5);
}

// Main-thread CPU time per frame of the same script with Mesa's no-op backend
// (nothing is drawn): the game's own work plus the cost of issuing its GL
// calls, an upper bound on what the game itself spends.
double cpuFrameMs(const char* self)
{
#ifdef _WIN32
    (void)self;
    return -1.0; // Mesa's no-op backend is a Linux affair; reported as -1
#else
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1.0;
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        setenv("GALLIUM_NOOP", "1", 1);
        if (options.replay)
            execl(self, self, "--cpu-only", "--replay", options.replay, static_cast<char*>(nullptr));
        else
            execl(self, self, "--cpu-only", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string out;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string key = "cpu_frame_ms=";
    const size_t at = out.find(key);
    return at == std::string::npos ? -1.0 : std::atof(out.c_str() + at + key.size());
#endif
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--cpu-only") == 0)
            options.cpuOnly = true;
        else if (std::strcmp(argv[i], "--play") == 0 && i + 1 < argc)
            options.playFrames = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--fireworks") == 0 && i + 1 < argc)
            options.fireworksFrames = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--replay") == 0 && i + 1 < argc)
            options.replay = argv[++i];
        else {
            std::fprintf(stderr,
                         "usage: velorun-bench [--play FRAMES] [--fireworks FRAMES] [--replay FILE]\n");
            return 2;
        }
    }
    std::optional<ReplaySummary> replay;
    if (options.replay) {
        ReplayCheck check = checkReplayFile(options.replay);
        if (!check.summary) {
            std::fprintf(stderr, "Cannot replay %s: %s\n", options.replay, check.error.c_str());
            return 2;
        }
        replay = std::move(check.summary);
    }
    seekStart = options.playFrames;
#ifdef _WIN32
    const char* selfPath = argv[0];
#else
    const char* selfPath = "/proc/self/exe";
#endif

    ScriptedDrive drive;
    const Clock::time_point start = Clock::now();
    const int width = replay ? replay->header.window.width : 800;
    const int height = replay ? replay->header.window.height : 600;
    drive.start(width, height);
    // A recorded session takes the clock and keys over from the script, unpaced.
    std::optional<ReplayPlayer> player;
    if (replay) {
        player.emplace(options.replay, std::move(*replay), ReplayPlayer::Pace::Unpaced);
        player->install(drive.window());
    }
    glFinish();
    const double setUpMs = ms(start, Clock::now());
    glGenQueries(stageCount * 2, &stageQueries[0][0]);
    if (!options.cpuOnly)
        stageHook = recordStage;
    const char* rendererAtStart = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    syncStages = isSoftwareRenderer(rendererAtStart);

    ScratchMaps scratch;

    std::vector<double> frameTimes;
    std::vector<double> stageTimes[stageCount];
    std::vector<double> everyFaceTimes;
    std::vector<double> facesDrawn;
    double startupMs = 0.0;
    double floorMs = 0.0;
    int gameOverFrame = -1;
    for (;;) {
        std::fill(std::begin(stageUsed), std::end(stageUsed), false);
        const Clock::time_point before = Clock::now();
        const double cpuBefore = threadCpuMs();
        bool goOn = true;
        if (player) {
            goOn = runFrame(drive.window());
        } else {
            scriptKeys(drive);
            drive.frame(options.step);
        }
        glFinish(); // the frame is done when the driver is
        const Clock::time_point after = Clock::now();
        const double cpuAfter = threadCpuMs();
        if (frameIndex == 0) {
            startupMs = ms(start, after);
            if (!options.cpuOnly)
                scratch.create(); // once the start-up is timed
        } else {
            frameTimes.push_back(options.cpuOnly ? cpuAfter - cpuBefore : ms(before, after));
        }
        if (!options.cpuOnly)
            for (int s = 0; s < stageCount; ++s)
                if (stageUsed[s])
                    stageTimes[s].push_back(syncStages ? ms(stageWall[s][0], stageWall[s][1])
                                                       : queryMs(stageQueries[s][0], stageQueries[s][1]));
        if (stageUsed[static_cast<int>(FrameStage::Shadows)]) {
            facesDrawn.push_back(shadowMaps.cache.facesDrawn);
            // Beside the frame, not in it: the same scene with every face drawn.
            if (frameIndex > 0 && frameIndex % options.referenceEvery == 0)
                everyFaceTimes.push_back(measureEveryFace(scratch));
        }
        if (frameIndex == options.playFrames && !run.gameOver) {
            if (!options.cpuOnly)
                floorMs = measureShadowFloor(scratch, options.floorRepeats);
            if (!player)
                placeObstacleAhead();
        }
        ++frameIndex;
        if (run.gameOver && gameOverFrame < 0)
            gameOverFrame = frameIndex;
        if (player) {
            if (!goOn || player->finished())
                break;
            continue;
        }
        if (gameOverFrame >= 0 && frameIndex - gameOverFrame >= options.fireworksFrames)
            break;
        if (gameOverFrame < 0 && frameIndex > options.playFrames + options.seekLimit)
            break;
    }
    stageHook = nullptr;
    if (player)
        player->checkEnd();
    const char* rendererName = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const std::string renderer = rendererName ? rendererName : "unknown";
    glDeleteQueries(stageCount * 2, &stageQueries[0][0]);
    if (!options.cpuOnly)
        scratch.destroy();
    drive.finish();

    if (options.cpuOnly) {
        std::printf("cpu_frame_ms=%.3f\n", percentile(frameTimes, 0.5));
        return 0;
    }

    const double cpuMs = cpuFrameMs(selfPath);
    auto median = [&](FrameStage s) { return percentile(stageTimes[static_cast<int>(s)], 0.5); };
    const double litMs = median(FrameStage::LitScene) - median(FrameStage::Flares);
    const double shadowMs = median(FrameStage::Shadows);
    const double everyFaceMs = percentile(everyFaceTimes, 0.5);
    const double facesMedian = percentile(facesDrawn, 0.5);
    const double facesMax =
        facesDrawn.empty() ? 0.0 : *std::max_element(facesDrawn.begin(), facesDrawn.end());

    if (player) {
        std::printf("\nVelorun benchmark, %d x %d, %d frames of %s (first crash at frame %d)\n", width,
                    height, frameIndex, options.replay, gameOverFrame);
        std::printf("replay: %s\n", player->verdict().c_str());
    } else {
        std::printf("\nVelorun benchmark, 800 x 600, %d frames (%d played, crash at frame %d)\n", frameIndex,
                    options.playFrames, gameOverFrame);
    }
    std::printf("renderer: %s\n", renderer.c_str());
    std::printf("stage times: %s\n\n", syncStages ? "wall clock with each stage finished (software renderer)"
                                                  : "GL timestamp queries");
    std::printf("%-34s %10s\n", "measure", "ms");
    std::printf("%-34s %10.2f\n", "start-up to first frame", startupMs);
    std::printf("%-34s %10.2f\n", "  of which set-up before the loop", setUpMs);
    std::printf("%-34s %10.2f\n", "frame time, median", percentile(frameTimes, 0.5));
    std::printf("%-34s %10.2f\n", "frame time, 95th percentile", percentile(frameTimes, 0.95));
    std::printf("%-34s %10.2f\n", "shadow stage as drawn, median", shadowMs);
    std::printf("%-34s %10.2f\n", "  every face redrawn, median", everyFaceMs);
    std::printf("%-34s %10.2f\n", "  as drawn / every face",
                everyFaceMs > 0.0 ? shadowMs / everyFaceMs : 0.0);
    std::printf("%-34s %10.2f\n", "  floor: every face, no fragments", floorMs);
    std::printf("%-34s %5.0f / %2.0f\n", "faces drawn per frame, median/max", facesMedian, facesMax);
    std::printf("%-34s %10.2f\n", "lit pass without flares, median", litMs);
    std::printf("%-34s %10.2f\n", "lens flares, median", median(FrameStage::Flares));
    std::printf("%-34s %10.2f\n", "screen text, median", median(FrameStage::Text));
    std::printf("%-34s %10.2f\n", "fireworks, median", median(FrameStage::Particles));
    std::printf("%-34s %10.3f\n", "CPU per frame (no-op backend)", cpuMs);
    std::printf("summary: startup_ms=%.1f frame_median_ms=%.2f frame_p95_ms=%.2f shadow_ms=%.2f "
                "shadow_every_face_ms=%.2f shadow_floor_ms=%.2f faces_median=%.0f faces_max=%.0f lit_ms=%.2f "
                "cpu_frame_ms=%.3f\n",
                startupMs, percentile(frameTimes, 0.5), percentile(frameTimes, 0.95), shadowMs, everyFaceMs,
                floorMs, facesMedian, facesMax, litMs, cpuMs);
    return 0;
}
