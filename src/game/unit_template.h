#ifndef GELMARCH_GAME_UNIT_TEMPLATE_H
#define GELMARCH_GAME_UNIT_TEMPLATE_H

#include <string>
#include <vector>

// Indices of the nine unit types; a unit stores one of these as its `type`.
enum UnitTypeId {
    kBlob = 0,
    kMuffin = 1,
    kDrop = 2,
    kRotundus = 3,
    kMonsterpillow = 4,
    kSlimeTower = 5,
    kFly = 6,
    kBomber = 7,
    kSlimy = 8,
    kUnitTypeCount = 9
};

// What a type may shoot at (targetClass).
enum { kTargetsGround = 0, kTargetsAir = 1, kTargetsBoth = 2 };

// The fixed stats of one unit type. The table never changes during a match; brace-initialised from it.
class UnitTemplate {
public:
    int id;
    std::string name;
    std::string description;
    int cost;
    int morphTime;
    int maxLife;
    int damage;
    int attackInterval;
    float range;
    int targetClass;
    int shape;
    float size;
    float heightScale;
    float speed;
    char iconGlyph;
    int morphTargets[3];
    bool isAir;
    bool needsTower;
    bool continuousDamage;
    int projectileKind;
};

// Appends the nine types, created with new, in id order; the caller owns them.
void createUnitTemplates(std::vector<UnitTemplate*>& templates);

// Whether a unit of type `shooter` may attack a unit of type `target` (air/ground rule).
bool canHit(const UnitTemplate& shooter, const UnitTemplate& target);

#endif
