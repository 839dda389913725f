#ifndef GELMARCH_GAME_PROJECTILE_H
#define GELMARCH_GAME_PROJECTILE_H

class Unit;

// A homing shot. Lives from the shot until 2000 ms after its impact (or its target's death).
class Projectile {
public:
    enum { kParticleCount = 64 };

    int player;
    float position[3];
    int damage;
    Unit* target;
    Unit* source;
    int kind;
    int emitIndex;
    int emitTimer;
    float particles[kParticleCount][4];  // life, x, y, z: animated by the drawing only
    bool inView;
    bool hidden;
    int impactTime;

    // Zeroed trail, in view, not hidden, still flying.
    Projectile();
};

#endif
