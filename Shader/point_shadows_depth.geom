#version 430 core
// Renders each triangle into the six faces of the lamp's cube map in one pass.
layout(triangles) in;
layout(triangle_strip, max_vertices = 18) out;

uniform mat4 shadowMatrices[6];   // projection * look-at for each cube face
uniform int skippedFaces;         // bit i set: layer i keeps what it holds

void main()
{
    for (int face = 0; face < 6; ++face) {
        if ((skippedFaces & (1 << face)) != 0)
            continue;

        vec4 c0 = shadowMatrices[face] * gl_in[0].gl_Position;
        vec4 c1 = shadowMatrices[face] * gl_in[1].gl_Position;
        vec4 c2 = shadowMatrices[face] * gl_in[2].gl_Position;

        // Skip faces where all three vertices lie beyond the same clip plane.
        // Most triangles touch one or two faces, so this saves most of the
        // clipping and rasterisation work on a software rasteriser.
        if ((c0.x >  c0.w && c1.x >  c1.w && c2.x >  c2.w) ||
            (c0.x < -c0.w && c1.x < -c1.w && c2.x < -c2.w) ||
            (c0.y >  c0.w && c1.y >  c1.w && c2.y >  c2.w) ||
            (c0.y < -c0.w && c1.y < -c1.w && c2.y < -c2.w) ||
            (c0.z >  c0.w && c1.z >  c1.w && c2.z >  c2.w) ||
            (c0.z < -c0.w && c1.z < -c1.w && c2.z < -c2.w))
            continue;

        gl_Layer = face; gl_Position = c0; EmitVertex();
        gl_Layer = face; gl_Position = c1; EmitVertex();
        gl_Layer = face; gl_Position = c2; EmitVertex();
        EndPrimitive();
    }
}
