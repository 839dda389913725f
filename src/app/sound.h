#ifndef GELMARCH_APP_SOUND_H
#define GELMARCH_APP_SOUND_H

struct Mix_Chunk;

// Throttled sound indices for playSound.
enum { kSoundAttack = 0, kSoundSplat = 1, kSoundCrystal = 2 };

extern Mix_Chunk* gSoundClick;
extern Mix_Chunk* gSoundAttack;
extern Mix_Chunk* gSoundSplat;
extern Mix_Chunk* gSoundCrystal;
extern unsigned int gSoundLastPlayed[3];

// Opens the mixer (22050 Hz, S16LSB, stereo, 1024) and loads the four chunks; missing ones stay null.
void openSounds();
// Frees the chunks in the game's order and closes the mixer.
void closeSounds();
// Starts a chunk on the first free channel; a null chunk is silent.
void playChunk(Mix_Chunk* chunk);
// Plays attack, splat or crystal unless the same sound started too recently
// (20000, 100 and 4000 ms). Returns whether it was started, so callers can tell.
bool playSound(int index);
// The throttle rule on its own: whether a sound last started at `last` may start again at `now`.
bool soundMayPlay(int index, unsigned int now, unsigned int last);

#endif
