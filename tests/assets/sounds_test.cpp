// The four sound effects: format, loading through SDL_mixer as the game does, and their shape.
#include "asset_image.h"
#include "render/asset_path.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

unsigned int le(const std::vector<unsigned char>& b, size_t at, int n) {
    unsigned int v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

const char* kSounds[4] = {"click", "attack", "splat", "crystal"};

TEST(SoundFiles, AreMono16BitPcmAt22050Hz) {
    for (const char* name : kSounds) {
        std::vector<unsigned char> b = readFileBytes(assetPath(std::string(".\\sounds\\") + name + ".wav"));
        ASSERT_GE(b.size(), 44u) << name;
        EXPECT_EQ(0, std::string(b.begin(), b.begin() + 4).compare("RIFF")) << name;
        EXPECT_EQ(0, std::string(b.begin() + 8, b.begin() + 12).compare("WAVE")) << name;
        EXPECT_EQ(1u, le(b, 20, 2)) << name;      // PCM
        EXPECT_EQ(1u, le(b, 22, 2)) << name;      // one channel
        EXPECT_EQ(22050u, le(b, 24, 4)) << name;  // sample rate
        EXPECT_EQ(16u, le(b, 34, 2)) << name;     // bits per sample
        EXPECT_EQ(b.size() - 44, le(b, 40, 4)) << name;
    }
}

TEST(SoundFiles, AreShortAudibleAndStartAndEndInSilence) {
    // Longest allowed lengths in seconds: the click is heard on every command, the others are cues.
    const double maxSeconds[4] = {0.15, 1.2, 0.8, 1.0};
    for (int i = 0; i < 4; ++i) {
        std::vector<unsigned char> b = readFileBytes(assetPath(std::string(".\\sounds\\") + kSounds[i] + ".wav"));
        ASSERT_GE(b.size(), 44u);
        size_t count = (b.size() - 44) / 2;
        double seconds = count / 22050.0;
        EXPECT_GT(seconds, 0.02) << kSounds[i];
        EXPECT_LT(seconds, maxSeconds[i]) << kSounds[i];
        int peak = 0;
        for (size_t k = 0; k < count; ++k) peak = std::max(peak, std::abs(static_cast<int16_t>(le(b, 44 + 2 * k, 2))));
        EXPECT_GT(peak, 6000) << kSounds[i];   // clearly audible
        EXPECT_LT(peak, 32700) << kSounds[i];  // never clipped
        EXPECT_LT(std::abs(static_cast<int16_t>(le(b, 44, 2))), 300) << kSounds[i];
        EXPECT_LT(std::abs(static_cast<int16_t>(le(b, 44 + 2 * (count - 1), 2))), 300) << kSounds[i];
    }
}

TEST(SoundFiles, LoadThroughSdlMixerTheWayTheGameOpensThem) {
    ASSERT_EQ(0, SDL_Init(SDL_INIT_AUDIO)) << SDL_GetError();
    ASSERT_EQ(0, Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024)) << Mix_GetError();
    for (const char* name : kSounds) {
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(assetPath(std::string(".\\sounds\\") + name + ".wav").c_str(), "rb"), 1);
        ASSERT_NE(nullptr, chunk) << name << ": " << Mix_GetError();
        // Converted to the device's stereo 16-bit: four bytes per sample frame.
        EXPECT_GT(chunk->alen, 4u * 22050u / 50u) << name;
        Mix_FreeChunk(chunk);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace
