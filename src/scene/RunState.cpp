#include "scene/RunState.h"

namespace velorun {

RunState run;
Session session;

void resetSession() { session = Session{}; }

} // namespace velorun
