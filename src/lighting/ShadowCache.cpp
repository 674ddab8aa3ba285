#include "lighting/ShadowCache.h"

namespace velorun {

InheritedPassState currentInheritedPassState()
{
    InheritedPassState s;
    s.culling = glIsEnabled(GL_CULL_FACE);
    glGetIntegerv(GL_CULL_FACE_MODE, &s.cullFaceMode);
    glGetIntegerv(GL_FRONT_FACE, &s.frontFace);
    // Front and back; a core context has only one mode for both, and a
    // driver may then give just the one.
    s.polygonMode[1] = -1;
    glGetIntegerv(GL_POLYGON_MODE, s.polygonMode.data());
    if (s.polygonMode[1] == -1)
        s.polygonMode[1] = s.polygonMode[0];
    s.depthTest = glIsEnabled(GL_DEPTH_TEST);
    glGetIntegerv(GL_DEPTH_FUNC, &s.depthFunc);
    glGetIntegerv(GL_DEPTH_WRITEMASK, &s.depthWrites);
    s.depthClamp = glIsEnabled(GL_DEPTH_CLAMP);
    s.offsetFill = glIsEnabled(GL_POLYGON_OFFSET_FILL);
    s.offsetLine = glIsEnabled(GL_POLYGON_OFFSET_LINE);
    s.scissorTest = glIsEnabled(GL_SCISSOR_TEST);
    glGetIntegerv(GL_SCISSOR_BOX, s.scissorBox.data());
    s.rasterizerDiscard = glIsEnabled(GL_RASTERIZER_DISCARD);
    glGetFloatv(GL_DEPTH_RANGE, s.depthRange.data());
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &s.clearDepth);
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &s.offsetFactor);
    glGetFloatv(GL_POLYGON_OFFSET_UNITS, &s.offsetUnits);
    glGetFloatv(GL_LINE_WIDTH, &s.lineWidth);
    return s;
}

bool InheritedPassState::fillsTriangles() const
{
    return polygonMode[0] == GL_FILL && polygonMode[1] == GL_FILL;
}

bool InheritedPassState::clearsEveryTexelTo(GLfloat depth) const
{
    return depthWrites == GL_TRUE && scissorTest == GL_FALSE && rasterizerDiscard == GL_FALSE &&
           clearDepth == depth;
}

} // namespace velorun
