#include "rules/GameRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
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

glm::vec2 settleInsideTube(glm::vec2 position)
{
    if (insideTube(position.x, position.y))
        return position;
    const double x = position.x;
    const double y = position.y;
    const double limit = y <= 0.0 ? 3.5 : x > 0.0 ? 3.1 : x < 0.0 ? 3.28 : 3.0;
    // Scaling by a positive factor keeps the quadrant, and with it the limit.
    double scale = limit / std::sqrt(x * x + y * y);
    glm::vec2 settled(static_cast<float>(x * scale), static_cast<float>(y * scale));
    // Rounding to float can land a hair outside: shrink until the rule agrees.
    for (int tries = 0; tries < 64 && !insideTube(settled.x, settled.y); ++tries) {
        scale *= 1.0 - 1e-6;
        settled = glm::vec2(static_cast<float>(x * scale), static_cast<float>(y * scale));
    }
    return settled;
}

glm::vec3 cameraFollowing(const glm::vec3& car) { return glm::vec3(car.x, car.y + 1.0f, car.z + 5.0f); }

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

std::optional<double> hitsCarAlong(const glm::vec3& cube, const glm::vec3& from, const glm::vec3& to)
{
    if (hitsCar(cube, from))
        return 0.0;
    // Per axis, c - p must lie between `below` and 1; `highHalf` as in hitsCar.
    const struct {
        double c, from, to, below, highHalf;
    } axes[] = {{cube.x, from.x, to.x, -0.6, 0.3},
                {cube.y, from.y, to.y, -1.0, 0.5},
                {cube.z, from.z, to.z, -1.0, 0.5}};
    // The fractions of the move inside every moving axis's window: (enter, leave).
    double enter = -std::numeric_limits<double>::infinity();
    double leave = std::numeric_limits<double>::infinity();
    for (const auto& a : axes) {
        const double step = a.to - a.from;
        if (step == 0.0) {
            if (!overlaps(a.c, a.from, a.highHalf, 0.5))
                return std::nullopt;
            continue;
        }
        // c - p(t) = gap - t * step
        const double gap = a.c - a.from;
        double first = (gap - 1.0) / step;
        double last = (gap - a.below) / step;
        if (step < 0.0)
            std::swap(first, last);
        enter = std::max(enter, first);
        leave = std::min(leave, last);
    }
    if (enter < leave && enter < 1.0 && leave > 0.0)
        return std::max(enter, 0.0);
    // Rounding in the divisions must not lose a hit that hitsCar sees at the end.
    if (hitsCar(cube, to))
        return 1.0;
    return std::nullopt;
}

int scoreValue(float carZ)
{
    const int z = static_cast<int>(carZ); // truncates towards zero
    return -25 - z;
}

std::string scoreFor(float carZ) { return std::to_string(scoreValue(carZ)); }

std::string formatFrameTime(double seconds)
{
    std::ostringstream stream;
    stream << seconds;
    return stream.str();
}

glm::vec3 spawnPosition(int r1, int r2, float cameraZ)
{
    const float y = 2.0f * (static_cast<float>(r1) / 32767.0f);
    const float x = 2.0f * (static_cast<float>(r2) / 32767.0f);
    return glm::vec3(x, y, cameraZ - 50.0f);
}

float nextSpeed(float speed) { return static_cast<float>(static_cast<double>(speed) * 1.2); }

double spawnTimerAfterSpeedUp(double spawnTimer) { return spawnTimer > 0.4 ? spawnTimer - 0.2 : spawnTimer; }

bool needsRecycling(float tubeZ, float cameraZ) { return tubeZ - cameraZ > tubeRecycleDistance; }

} // namespace velorun
