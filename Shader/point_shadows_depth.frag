#version 430 core
// Depth-only: nothing is written, so the cube face keeps the plain hardware depth
// of the 90-degree perspective projection. The lit pass (model.frag) rebuilds that
// same value from the major-axis distance of its own light vector and compares
// it directly, which avoids a per-fragment distance write here.
uniform vec3 lightPos;    // set by the engine; not needed for hardware depth
uniform float far_plane;  // likewise

void main()
{
}
