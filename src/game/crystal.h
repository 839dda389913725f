#ifndef GELMARCH_GAME_CRYSTAL_H
#define GELMARCH_GAME_CRYSTAL_H

// One mineable crystal. Exhausted crystals (amount <= 0) stay in the manager's list.
class Crystal {
public:
    float position[3];
    float amount;
    float glow;
    bool hidden;

    // A full crystal (2500) standing at the given point.
    Crystal(float x, float y, float z);
};

#endif
