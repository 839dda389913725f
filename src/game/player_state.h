#ifndef GELMARCH_GAME_PLAYER_STATE_H
#define GELMARCH_GAME_PLAYER_STATE_H

// One player's account and bookkeeping; player 0 is the human, 1..3 the computer.
class PlayerState {
public:
    bool isComputer;
    float crystals;
    int lastWaveTime;
    int towerCount;

    PlayerState() : isComputer(true), crystals(100.9f), lastWaveTime(0), towerCount(0) {}
};

#endif
