#include "replay/RunChecksum.h"

#include "base/Fnv1a.h"
#include "lighting/SceneState.h"
#include "rules/GameRules.h"
#include "scene/RunState.h"
#include "scene/SceneObject.h"

namespace velorun {

std::uint32_t runChecksum()
{
    Fnv1a<std::uint32_t> print;
    if (car) {
        const glm::vec3 p = scene::positionOf(car->modelMatrix);
        print.add(p.x);
        print.add(p.y);
        print.add(p.z);
        print.add(car->speed);
        print.add(scoreValue(p.z));
    }
    print.add(run.cubes.size());
    for (const auto& cube : run.cubes) {
        const glm::vec3 c = scene::positionOf(cube->modelMatrix);
        print.add(c.x);
        print.add(c.y);
        print.add(c.z);
    }
    print.add(run.gameOver);
    print.add(run.paused);
    print.add(session.bestScore.value_or(-1));
    print.add(session.bestScore.has_value());
    // What the next frames follow from besides the player: the timers and
    // the draws to come.
    print.add(run.spawnTimer);
    print.add(run.speedUpTimer);
    for (std::uint32_t word : session.gameRandom.table())
        print.add(word);
    print.add(session.gameRandom.front());
    return print.value();
}

} // namespace velorun
