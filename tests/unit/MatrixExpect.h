#pragma once
// Element-wise comparison of GLM matrices and vectors for the unit tests.

#include <cmath>
#include <glm/glm.hpp>
#include <gtest/gtest.h>

namespace velorun::testing {

inline ::testing::AssertionResult matricesNear(const glm::mat4& actual, const glm::mat4& expected,
                                               float tolerance = 1e-5f)
{
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (std::abs(actual[c][r] - expected[c][r]) > tolerance)
                return ::testing::AssertionFailure() << "element [" << c << "][" << r << "] is "
                                                     << actual[c][r] << ", expected " << expected[c][r];
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult vectorsNear(const glm::vec3& actual, const glm::vec3& expected,
                                              float tolerance = 1e-5f)
{
    for (int i = 0; i < 3; ++i)
        if (std::abs(actual[i] - expected[i]) > tolerance)
            return ::testing::AssertionFailure()
                   << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") instead of ("
                   << expected.x << ", " << expected.y << ", " << expected.z << ")";
    return ::testing::AssertionSuccess();
}

// Normalised device coordinates of a point after a projection (or a
// projection-times-view product).
inline glm::vec3 toNdc(const glm::mat4& m, const glm::vec3& point)
{
    const glm::vec4 clip = m * glm::vec4(point, 1.0f);
    return glm::vec3(clip) / clip.w;
}

} // namespace velorun::testing
