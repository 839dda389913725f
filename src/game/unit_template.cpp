#include "game/unit_template.h"

namespace {

// The nine types in id order; every member in declaration order.
const UnitTemplate kTypes[kUnitTypeCount] = {
    {kBlob, "Blob", "Worker unit. Can mine crystals.",
     50, 10000, 50, 0, 1500, 2.3f, 0, 0, 0.9f, 1.2f, 1.0f, 26, {1, -1, 5}, false, false, false, -1},
    {kMuffin, "Muffin", "A small, fast melee unit. Can attack ground units.",
     25, 10000, 60, 6, 1000, 3.0f, 0, 3, 1.0f, 0.7f, 2.2f, 25, {2, 3, 6}, false, false, true, 1},
    {kDrop, "Drop", "A versatile, ranged unit. Can attack ground and air units.",
     50, 15000, 100, 8, 1250, 6.5f, 2, 2, 1.0f, 1.2f, 1.8f, 23, {-1, -1, -1}, false, false, false, 1},
    {kRotundus, "Rotundus", "A heavy, ranged ground unit. Can attack ground units.",
     50, 15000, 120, 10, 1400, 6.0f, 0, 5, 1.1f, 1.1f, 1.7f, 22, {4, -1, -1}, false, false, false, 4},
    {kMonsterpillow, "Monsterpillow", "A massive, ranged ground unit. Can attack ground units.",
     150, 30000, 250, 14, 1500, 6.0f, 0, 6, 1.6f, 0.7f, 1.4f, 21, {-1, -1, -1}, false, true, false, 3},
    {kSlimeTower, "Slime Tower",
     "Static defense with high range. Can attack ground and air units. Unlocks air- and heavy ground units.",
     400, 70000, 400, 8, 1000, 7.0f, 2, 6, 1.0f, 1.7f, 0.0f, 20, {-1, -1, -1}, false, false, true, 2},
    {kFly, "Fly", "Very fast, versatile air unit. Can attack ground and air units.",
     75, 20000, 120, 9, 1350, 4.0f, 2, 1, 0.65f, 1.1f, 2.9f, 19, {7, 8, -1}, true, true, false, 0},
    {kBomber, "Bomber", "Heavy air unit with high range. Can attack ground units.",
     75, 25000, 200, 18, 1800, 9.0f, 0, 4, 1.3f, 0.9f, 1.7f, 17, {-1, -1, -1}, true, true, false, 5},
    {kSlimy, "Slimy", "Fast, light ani-air unit. Can attack air units.",
     50, 10000, 120, 15, 1000, 6.0f, 1, 7, 0.65f, 1.0f, 2.8f, 18, {-1, -1, -1}, true, true, true, 2},
};

}  // namespace

// Copies of the fixed table, in id order, so that every type lives as long as its owner wants.
void createUnitTemplates(std::vector<UnitTemplate*>& templates) {
    for (int i = 0; i < kUnitTypeCount; ++i) {
        templates.push_back(new UnitTemplate(kTypes[i]));
    }
}

// Ground targets need class 0 or 2, air targets class 1 or 2.
bool canHit(const UnitTemplate& shooter, const UnitTemplate& target) {
    if (target.isAir) {
        return shooter.targetClass == kTargetsAir || shooter.targetClass == kTargetsBoth;
    }
    return shooter.targetClass == kTargetsGround || shooter.targetClass == kTargetsBoth;
}
