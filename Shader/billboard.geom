#version 430 core
// Expands each particle into a camera-facing quad.
//
// The show plays while the camera is frozen inside the tube (radius 4) looking
// down -z. Anything outside the tube would be hidden by its wall, so firework
// space is anchored on the tube axis (x = y = 0) a fixed distance ahead of the
// camera rather than at the camera itself: launcher (0,0,-1) lands at
// (0, -3.4, camZ - 12), near the floor; shells burst ~3.7 above it close to the
// axis and sparks spread ~3 units, filling most of the tube's cross-section.
layout(points) in;
layout(triangle_strip, max_vertices = 4) out;

uniform vec3 gCameraPos;
uniform mat4 gVP;             // uploaded transposed: use row-vector form
uniform float gBillboardSize;

out vec2 TexCoord;

const vec3  LAUNCHER_POS = vec3(0.0, 0.0, -1.0);   // the launcher itself is not drawn
const float AHEAD        = 11.0;
const float BELOW_AXIS   = 3.4;
const float SIZE_SCALE   = 600.0;                  // 0.0008 -> ~0.48 world units

void main()
{
    vec3 local = gl_in[0].gl_Position.xyz;
    if (all(lessThan(abs(local - LAUNCHER_POS), vec3(1e-4))))
        return;

    vec3 p = vec3(0.0, -BELOW_AXIS, gCameraPos.z - AHEAD) + local;

    vec3 toCam = normalize(gCameraPos - p);
    vec3 right = normalize(cross(vec3(0.0, 1.0, 0.0), toCam));
    vec3 up    = cross(toCam, right);
    float h = gBillboardSize * SIZE_SCALE * 0.5;

    // Counter-clockwise as seen from the camera, so face culling can stay on.
    gl_Position = vec4(p + (-right - up) * h, 1.0) * gVP; TexCoord = vec2(0.0, 0.0); EmitVertex();
    gl_Position = vec4(p + ( right - up) * h, 1.0) * gVP; TexCoord = vec2(1.0, 0.0); EmitVertex();
    gl_Position = vec4(p + (-right + up) * h, 1.0) * gVP; TexCoord = vec2(0.0, 1.0); EmitVertex();
    gl_Position = vec4(p + ( right + up) * h, 1.0) * gVP; TexCoord = vec2(1.0, 1.0); EmitVertex();
    EndPrimitive();
}
