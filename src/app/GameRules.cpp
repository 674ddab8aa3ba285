#include "app/GameRules.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace velorun {

bool insideTube(float x, float y)
{
    const float squared = x * x + y * y;
    const float d = static_cast<float>(std::sqrt(static_cast<double>(squared)));
    if (y <= 0.0f)
        return static_cast<double>(d) <= 3.5;
    if (x > 0.0f)
        return static_cast<double>(d) <= 3.1;
    if (x < 0.0f)
        return static_cast<double>(d) <= 3.28;
    return d <= 3.0f;
}

float steeringStep(float frameTime) { return frameTime < maxSteeringStep ? frameTime : maxSteeringStep; }

namespace {
// One axis of the overlap test: the cube's low face inside the car's extent
// (half size `half`), or its high face inside it (half size `highHalf`).
bool overlaps(double c, double p, double highHalf, double half)
{
    return (c - half > p - half && p + half > c - half) ||
           (c + highHalf > p - highHalf && p + highHalf > c + highHalf);
}
} // namespace

bool hitsCar(const glm::vec3& cube, const glm::vec3& car)
{
    return overlaps(cube.x, car.x, 0.3, 0.5) && overlaps(cube.y, car.y, 0.5, 0.5) &&
           overlaps(cube.z, car.z, 0.5, 0.5);
}

std::string scoreFor(float carZ)
{
    const int z = static_cast<int>(carZ); // truncates towards zero
    return std::to_string(-25 - z);
}

std::string formatFrameTime(double seconds)
{
    std::ostringstream stream;
    stream << seconds;
    return stream.str();
}

int drawRandom()
{
    // Where RAND_MAX is 32767 this is rand() itself; elsewhere it keeps the
    // obstacles inside the tube's quadrant instead of miles away.
    return std::rand() % 32768;
}

glm::vec3 spawnPosition(int r1, int r2, float cameraZ)
{
    const float y = 2.0f * (static_cast<float>(r1) / 32767.0f);
    const float x = 2.0f * (static_cast<float>(r2) / 32767.0f);
    return glm::vec3(x, y, cameraZ - 50.0f);
}

float nextSpeed(float speed) { return static_cast<float>(static_cast<double>(speed) * 1.2); }

double spawnTimerAfterSpeedUp(double spawnTimer)
{
    return spawnTimer > 0.4 ? spawnTimer - 0.2 : spawnTimer;
}

bool needsRecycling(float tubeZ, float cameraZ) { return tubeZ - cameraZ > tubeRecycleDistance; }

} // namespace velorun
