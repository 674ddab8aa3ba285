#pragma once

#include <glm/glm.hpp>

namespace velorun {

// Every projection of the game in one place so all passes see the same picture.
// The scene's field of view 70.0 is handed to glm::perspective unchanged, i.e.
// as radians: tan(35.0) ~ 0.4738, an effective vertical angle of ~50.7 degrees.
// The framing of the scene, the flares and the fireworks is tuned to it.
constexpr float sceneFieldOfView = 70.0f;
constexpr float sceneNear = 0.1f;
constexpr float sceneFar = 100.0f;
constexpr float fireworksAspect = 1.3333334f;
constexpr float shadowFieldOfView = 1.5707964f;
constexpr float shadowNear = 1.0f;
constexpr float shadowFar = 80.0f;
constexpr float textSpaceWidth = 800.0f;
constexpr float textSpaceHeight = 600.0f;

// Aspect of a window; a zero-height (minimised) window yields 0, which callers
// treat as "nothing to draw" instead of feeding infinity into a projection.
float windowAspect(int width, int height);

// What a frame does with the window's framebuffer (`size`, in pixels): it
// draws only into one with an area, so a minimised window, or one no pixel
// wide or high, gets nothing drawn and no projection; and it projects the
// scene afresh only when the size differs from the one it last projected for
// (`projectedFor`), which a window without an area leaves as it was.
struct ViewportChange {
    bool draw = false;
    bool reproject = false;
};
ViewportChange viewportChange(glm::ivec2 projectedFor, glm::ivec2 size, bool minimised);

glm::mat4 sceneProjection(float aspect);
glm::mat4 fireworksProjection();
glm::mat4 shadowProjection();
glm::mat4 textProjection();

} // namespace velorun
