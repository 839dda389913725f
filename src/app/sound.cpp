#include "app/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "render/asset_path.h"

Mix_Chunk* gSoundClick = 0;
Mix_Chunk* gSoundAttack = 0;
Mix_Chunk* gSoundSplat = 0;
Mix_Chunk* gSoundCrystal = 0;
unsigned int gSoundLastPlayed[3] = {0, 0, 0};

namespace {

Mix_Chunk* loadChunk(const char* path) {
    // The loader frees the stream; a missing file gives a null stream and a null chunk.
    return Mix_LoadWAV_RW(SDL_RWFromFile(assetPath(path).c_str(), "rb"), 1);
}

unsigned int minimumInterval(int index) {
    switch (index) {
    case kSoundAttack: return 20000;
    case kSoundSplat: return 100;
    case kSoundCrystal: return 4000;
    default: return 100;
    }
}

}  // namespace

void openSounds() {
    Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024);
    gSoundClick = loadChunk(".\\sounds\\click.wav");
    gSoundAttack = loadChunk(".\\sounds\\attack.wav");
    gSoundSplat = loadChunk(".\\sounds\\splat.wav");
    gSoundCrystal = loadChunk(".\\sounds\\crystal.wav");
}

void closeSounds() {
    Mix_FreeChunk(gSoundClick);
    Mix_FreeChunk(gSoundSplat);
    Mix_FreeChunk(gSoundCrystal);
    Mix_FreeChunk(gSoundAttack);
    gSoundClick = gSoundSplat = gSoundCrystal = gSoundAttack = 0;
    Mix_CloseAudio();
}

void playChunk(Mix_Chunk* chunk) {
    if (chunk) {
        Mix_PlayChannelTimed(-1, chunk, 0, -1);
    }
}

bool soundMayPlay(int index, unsigned int now, unsigned int last) {
    return now - last > minimumInterval(index);
}

bool playSound(int index) {
    if (index < 0 || index > 2) {
        return false;
    }
    unsigned int now = SDL_GetTicks();
    if (!soundMayPlay(index, now, gSoundLastPlayed[index])) {
        return false;
    }
    gSoundLastPlayed[index] = now;
    Mix_Chunk* chunks[3] = {gSoundAttack, gSoundSplat, gSoundCrystal};
    playChunk(chunks[index]);
    return true;
}
