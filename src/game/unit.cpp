#include "game/unit.h"

// All zero; the owner sets type, position, player and life.
Unit::Unit()
    : type(0), target(0), crystal(0), life(0.0f), cooldown(0), player(0), state(kIdle), progress(0.0f),
      morphTarget(0), miningEffect(0), beamEffect(0), attackPause(0), bestDistance(0.0f), stuckTime(0),
      retries(0), waitTime(0), nearVisible(false), culled(false), hidden(false), viewDepth(0.0f) {
    for (int i = 0; i < 3; ++i) {
        position[i] = 0.0f;
        destination[i] = 0.0f;
    }
}

// A fresh path: far from the goal, not stuck, two stuck waits allowed.
void Unit::resetPath() {
    bestDistance = 1000.0f;
    stuckTime = 0;
    retries = 2;
    waitTime = 0;
}

// A split or morph in progress blocks every order but Stop.
bool Unit::isBusy() const {
    return state == kSplit || state == kMorph;
}
