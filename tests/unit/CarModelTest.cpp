// A Model whose file cannot be imported, and the car's movement operations.
#include "rules/GameRules.h"
#include "scene/Model.h"
#include "scene/SceneObject.h"

#include "MatrixExpect.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace velorun::scene {
namespace {

using velorun::testing::matricesNear;
using velorun::testing::vectorsNear;

const char* const missingModel = "./no/such/dir/missing_model.obj";

TEST(CarModel, UnreadableFileGivesOneErrorLineAndAnEmptyModel)
{
    ::testing::internal::CaptureStderr();
    const Model model(missingModel);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("ERROR::ASSIMP::", 0), 0u) << err;
    ASSERT_FALSE(err.empty());
    EXPECT_EQ(err.back(), '\n');
    EXPECT_EQ(err.find('\n'), err.size() - 1) << "exactly one line: " << err;
    EXPECT_TRUE(model.meshes.empty());
    EXPECT_TRUE(model.texturesLoaded.empty());
    EXPECT_TRUE(model.directory.empty());
    EXPECT_TRUE(matricesNear(model.modelMatrix, glm::mat4(1.0f), 0.0f));
    EXPECT_FLOAT_EQ(model.speed, 10.5f); // set when loading starts
}

// The car after set-up: scale 0.5, then (0, 0, -25) in its own space.
std::unique_ptr<Model> startCar()
{
    ::testing::internal::CaptureStderr();
    auto car = std::make_unique<Model>(missingModel);
    ::testing::internal::GetCapturedStderr();
    car->modelMatrix =
        glm::translate(glm::scale(glm::mat4(1.0f), glm::vec3(0.5f)), glm::vec3(0.0f, 0.0f, -25.0f));
    return car;
}

TEST(CarModel, SidewaysStepsMoveTheHalfScaledCar5Point25PerSecond)
{
    auto car = startCar();
    car->moveRight(0.2f);
    EXPECT_TRUE(vectorsNear(positionOf(car->modelMatrix), glm::vec3(1.05f, 0.0f, -12.5f), 1e-5f));
    car->moveUp(0.4f);
    EXPECT_TRUE(vectorsNear(positionOf(car->modelMatrix), glm::vec3(1.05f, 2.1f, -12.5f), 1e-5f));
    car->moveLeft(0.1f);
    EXPECT_TRUE(vectorsNear(positionOf(car->modelMatrix), glm::vec3(0.525f, 2.1f, -12.5f), 1e-5f));
    car->moveDown(0.2f);
    EXPECT_TRUE(vectorsNear(positionOf(car->modelMatrix), glm::vec3(0.525f, 1.05f, -12.5f), 1e-5f));
}

TEST(CarModel, SidewaysRateIgnoresTheSpeed)
{
    auto car = startCar();
    car->speed = 31.352833f;
    car->moveRight(1.0f);
    EXPECT_NEAR(positionOf(car->modelMatrix).x, 5.25f, 1e-5f);
}

TEST(CarModel, ForwardStepIsSpeedTimesTimeAlongMinusZ)
{
    auto car = startCar();
    car->moveForward(0.5f);
    EXPECT_TRUE(vectorsNear(positionOf(car->modelMatrix), glm::vec3(0.0f, 0.0f, -17.75f), 1e-4f));
    car->speed = 12.6f;
    car->moveForward(0.25f);
    EXPECT_TRUE(vectorsNear(positionOf(car->modelMatrix), glm::vec3(0.0f, 0.0f, -20.9f), 1e-4f));
}

TEST(CarModel, MovingKeepsTheScale)
{
    auto car = startCar();
    car->moveRight(0.3f);
    car->moveForward(0.3f);
    car->moveUp(0.3f);
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_FLOAT_EQ(car->modelMatrix[axis][axis], 0.5f);
}

TEST(CarModel, CarOutsideOnTheRightIsPushedBackByAFixedStep)
{
    auto car = startCar();
    setPosition(car->modelMatrix, glm::vec3(3.2f, 0.5f, -12.5f));
    ASSERT_FALSE(insideTube(3.2f, 0.5f));
    car->moveLeft(0.1f); // the push back against the right arrow key
    const glm::vec3 p = positionOf(car->modelMatrix);
    EXPECT_TRUE(vectorsNear(p, glm::vec3(2.675f, 0.5f, -12.5f), 1e-5f));
    EXPECT_TRUE(insideTube(p.x, p.y));
}

} // namespace
} // namespace velorun::scene
