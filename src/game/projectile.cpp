#include "game/projectile.h"

// A flying shot with an empty trail.
Projectile::Projectile()
    : player(0), damage(0), target(0), source(0), kind(0), emitIndex(0), emitTimer(0), inView(true),
      hidden(false), impactTime(0) {
    position[0] = position[1] = position[2] = 0.0f;
    for (int i = 0; i < kParticleCount; ++i) {
        for (int k = 0; k < 4; ++k) {
            particles[i][k] = 0.0f;
        }
    }
}
