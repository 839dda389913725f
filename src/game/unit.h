#ifndef GELMARCH_GAME_UNIT_H
#define GELMARCH_GAME_UNIT_H

class Crystal;

// A unit's state, also the order code passed to UnitManager::order.
enum UnitState {
    kIdle = 0,        // Stop order
    kMove = 1,        // argument: float[3] point
    kSplit = 2,       // no argument
    kMorph = 3,       // argument: int slot 0..2
    kAttack = 4,      // argument: Unit*
    kAttackMove = 5,  // argument: float[3] point
    kChase = 6,       // argument: Unit*
    kMine = 7         // argument: Crystal*
};

// One living or dying unit. Created only by UnitManager::createUnit, deleted only by the manager.
class Unit {
public:
    int type;
    float position[3];
    float destination[3];
    Unit* target;
    Crystal* crystal;
    float life;
    int cooldown;
    int player;
    int state;
    float progress;
    int morphTarget;
    int miningEffect;
    int beamEffect;
    int attackPause;
    float bestDistance;
    int stuckTime;
    int retries;
    int waitTime;
    bool nearVisible;
    bool culled;
    bool hidden;
    float viewDepth;

    // Everything zero, null or false; createUnit fills in the rest.
    Unit();
    // Forget the progress towards the last goal: called for every accepted path order.
    void resetPath();
    // Split or Morph: such a unit takes no order but Stop.
    bool isBusy() const;
};

#endif
