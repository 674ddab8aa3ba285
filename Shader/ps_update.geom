#version 430 core
// Firework simulation step, captured with transform feedback.
//
// Types: 0 = launcher (never dies), 1 = shell, 2 = spark.
// Launcher fires one shell every FIRE_INTERVAL ms of accumulated age (at most one
// per step, and its age restarts at 0, so firings are always >= 700 ms apart).
// A shell rises under gravity and bursts after FUSE ms into SPARKS sparks, dying
// itself. Sparks spread on an even sphere, slow down with drag, fall, and die
// after the secondary lifetime (clamped to 2000 ms).
//
// Capacity (buffer holds 2000): shells alive <= ceil(1300/700) = 2; bursts inside
// any 2000 ms window <= 3 (4 allowing for frame quantisation), so sparks alive
// <= 4 * 96 = 384; total <= 1 + 2 + 384 = 387.
//
// Units: ms for time, "firework space" for positions (1 unit = 1 world unit;
// the renderer anchors it in front of the camera). Velocities are units/s.
layout(points) in;
layout(points, max_vertices = 96) out;

in float Type0[];
in vec3 Position0[];
in vec3 Velocity0[];
in float Age0[];

out float Type1;
out vec3 Position1;
out vec3 Velocity1;
out float Age1;

uniform float gTime;                    // ms since start
uniform float gDeltaTimeMillis;
uniform sampler1D gRandomTexture;       // 1000 random RGB texels, repeat
uniform float gLauncherLifeTime;        // used only as a lower bound on the fire interval
uniform float gShellLifeTime;           // shells burst long before this (FUSE)
uniform float gSecondaryShellLifetime;  // spark lifetime

const float LAUNCHER = 0.0;
const float SHELL    = 1.0;
const float SPARK    = 2.0;

const float FIRE_INTERVAL = 700.0;      // ms between shells
const float FUSE          = 1300.0;     // ms from launch to burst (near the apex)
const int   SPARKS        = 96;         // sparks per burst; equals max_vertices
const float SHELL_GRAVITY = 4.0;        // units/s^2
const float SPARK_GRAVITY = 1.5;        // gentle, so the burst keeps its shape
const float SPARK_DRAG    = 1.8;        // 1/s
const float GOLDEN_ANGLE  = 2.39996323;

vec3 randomAt(float x)
{
    return texture(gRandomTexture, x).rgb;
}

void emit(float type, vec3 pos, vec3 vel, float age)
{
    Type1 = type;
    Position1 = pos;
    Velocity1 = vel;
    Age1 = age;
    EmitVertex();
    EndPrimitive();
}

void main()
{
    float type = Type0[0];
    vec3  pos  = Position0[0];
    vec3  vel  = Velocity0[0];
    float age  = Age0[0] + gDeltaTimeMillis;
    float dt   = gDeltaTimeMillis * 0.001;

    if (type < 0.5) {
        // Launcher.
        if (age >= max(gLauncherLifeTime, FIRE_INTERVAL)) {
            vec3 r = randomAt(gTime * 0.000731);
            vec3 v = vec3((r.x - 0.5) * 1.6, 5.0 + r.y * 0.8, (r.z - 0.5) * 1.2);
            emit(SHELL, pos, v, 0.0);
            age = 0.0;
        }
        emit(LAUNCHER, pos, vel, age);
    } else if (type < 1.5) {
        // Shell.
        if (age < FUSE) {
            vel.y -= SHELL_GRAVITY * dt;
            emit(SHELL, pos + vel * dt, vel, age);
        } else {
            vec3 seed = randomAt(gTime * 0.000613 + pos.x * 0.0917);
            float spin = seed.x * 6.2831853;
            for (int i = 0; i < SPARKS; ++i) {
                // Fibonacci sphere: even coverage, no clumps or holes in the burst.
                float y = 1.0 - (2.0 * float(i) + 1.0) / float(SPARKS);
                float ring = sqrt(max(1.0 - y * y, 0.0));
                float phi = float(i) * GOLDEN_ANGLE + spin;
                vec3 dir = vec3(ring * cos(phi), y, ring * sin(phi));
                vec3 j = randomAt(seed.y + float(i) * 0.0137);
                dir = normalize(dir + (j - 0.5) * 0.25);
                float speed = 5.0 + j.x * 1.4;
                // Small random head start so sparks fade out over a few frames, not at once.
                emit(SPARK, pos, dir * speed + vel * 0.3, j.z * 250.0);
            }
        }
    } else {
        // Spark.
        float life = clamp(gSecondaryShellLifetime, 300.0, 2000.0);
        if (age < life) {
            vel = vel * exp(-SPARK_DRAG * dt) - vec3(0.0, SPARK_GRAVITY * dt, 0.0);
            emit(SPARK, pos + vel * dt, vel, age);
        }
    }
}
