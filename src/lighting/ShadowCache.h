#pragma once

#include "lighting/ShadowFaces.h"

#include <GL/glew.h>
#include <array>
#include <glm/glm.hpp>
#include <tuple>
#include <vector>

namespace velorun {

// The GL state a shadow pass takes as it finds it and that shapes the depth it
// writes: culling (which the lens flares leave off), the polygon mode (F3),
// and the depth, offset, scissor and discard settings.
struct InheritedPassState {
    GLint culling = 0;
    GLint cullFaceMode = 0;
    GLint frontFace = 0;
    std::array<GLint, 2> polygonMode{}; // front and back
    GLint depthTest = 0;
    GLint depthFunc = 0;
    GLint depthWrites = 0;
    GLint depthClamp = 0;
    GLint offsetFill = 0;
    GLint offsetLine = 0;
    GLint scissorTest = 0;
    std::array<GLint, 4> scissorBox{};
    GLint rasterizerDiscard = 0;
    std::array<GLfloat, 2> depthRange{};
    GLfloat clearDepth = 0.0f;
    GLfloat offsetFactor = 0.0f;
    GLfloat offsetUnits = 0.0f;
    GLfloat lineWidth = 0.0f;

    bool operator==(const InheritedPassState& other) const;
    bool operator!=(const InheritedPassState& other) const { return !(*this == other); }

    // Whether triangles are filled. Drawn as lines or points, a triangle's
    // outline does not keep to the layer it was sent to on every driver
    // (llvmpipe's does not), so a face then depends on what the others get.
    bool fillsTriangles() const;

    // Whether a clear writes `depth` to every texel (depth writes on, no
    // scissor, no discard, that clear depth), as copying a face cleared to
    // `depth` over another does.
    bool clearsEveryTexelTo(GLfloat depth) const;

private:
    auto fields() const
    {
        return std::tie(culling, cullFaceMode, frontFace, polygonMode, depthTest, depthFunc, depthWrites,
                        depthClamp, offsetFill, offsetLine, scissorTest, scissorBox, rasterizerDiscard,
                        depthRange, clearDepth, offsetFactor, offsetUnits, lineWidth);
    }
};

inline bool InheritedPassState::operator==(const InheritedPassState& other) const
{
    return fields() == other.fields();
}

// Reads it from the current context.
InheritedPassState currentInheritedPassState();

// What the shadow maps were last drawn from. A face's depth depends only on
// its light's position, on the casters (shape and model matrix) that reach
// into its view, and on the inherited state; a face none of them touched since
// keeps what it holds. The first update after start, after a new run is
// placed, and every update while triangles are not filled or a clear is not
// a plain one draws every face.
struct ShadowCache {
    bool valid = false;
    std::vector<glm::vec3> lights; // light k at element k - 1
    std::vector<CasterRecord> casters;
    InheritedPassState state;
    int facesDrawn = 0; // by the last update
};

} // namespace velorun
