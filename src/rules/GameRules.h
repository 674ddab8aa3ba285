#pragma once

#include <glm/glm.hpp>
#include <optional>
#include <string>

// The game's rules as plain functions of values; the frame loop applies them.
namespace velorun {

// Whether the car's distance from the tube axis is within its quadrant's limit:
// 3.5 below the axis, 3.1 right, 3.28 left and 3.0 straight above it.
bool insideTube(float x, float y);

// Where the car must be moved back to when steering has left it beyond its
// quadrant's limit: straight towards the axis, onto the limit, in the same
// quadrant. A position within its limit comes back unchanged.
//
// The tube is the play space. A held key moves the car by 5.25 units a second
// of frame time, and only the first pressed key pushes a car that is already
// outside back in; without this, two held keys or one long frame walk the car,
// and the camera above it, through the wall.
glm::vec2 settleInsideTube(glm::vec2 position);

// The camera's place for a car at `car`: 1 above and 5 behind it.
glm::vec3 cameraFollowing(const glm::vec3& car);

// Whether an obstacle at `cube` touches the car at `car`. The x clause is
// narrower on the left: the car is 0.6 wide there, 1.0 on the right.
bool hitsCar(const glm::vec3& cube, const glm::vec3& car);

// Where on the car's straight move from `from` to `to` an obstacle at `cube`
// first touches it, as the fraction of the move (0 at `from`, 1 at `to`);
// nothing when it touches nowhere on the way. A frame can carry a fast car
// further than a cube is deep, so one position per frame would let it jump
// clean over cubes it drives through.
//
// Each axis keeps hitsCar's window. Along an axis the car moves on, being
// exactly level with the cube lasts a single instant inside the window, so
// there the window is one open interval; along an axis it does not move on,
// level stays no overlap, as in hitsCar. Where the first touch lies inside
// the move it is the point at which the car's face meets the cube's.
std::optional<double> hitsCarAlong(const glm::vec3& cube, const glm::vec3& from, const glm::vec3& to);

// -25 - z with z truncated towards zero, as a number and as the score text.
int scoreValue(float carZ);
std::string scoreFor(float carZ);

// A double as a default-formatted stream writes it (0.0166667, 5e-05).
std::string formatFrameTime(double seconds);

// Obstacle position from two draws (y first, then x) and the camera's z.
glm::vec3 spawnPosition(int r1, int r2, float cameraZ);

constexpr double spawnInterval = 1.0;
constexpr double speedUpInterval = 10.0;
constexpr float speedLimit = 30.0f;

// Speed after one speed-up: times 1.2 in double precision, stored as float.
float nextSpeed(float speed);

// Spawn timer after a speed-up: brought 0.2 s closer only when above 0.4 s.
double spawnTimerAfterSpeedUp(double spawnTimer);

// Tube recycling: whether a segment at `tubeZ` lies more than 150 units
// behind the camera, so that it goes 90 beyond the other.
constexpr float tubeRecycleDistance = 150.0f;
constexpr float tubeSegmentSpacing = 90.0f;
bool needsRecycling(float tubeZ, float cameraZ);

} // namespace velorun
