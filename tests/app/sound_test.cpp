#include <gtest/gtest.h>

#include <SDL.h>

#include "app/sound.h"
#include "support/gl_test.h"

TEST(SoundThrottleTest, EachSoundHasItsOwnMinimumInterval) {
    // Strictly greater than the interval: exactly the interval is still too soon.
    EXPECT_FALSE(soundMayPlay(kSoundAttack, 20000, 0));
    EXPECT_TRUE(soundMayPlay(kSoundAttack, 20001, 0));
    EXPECT_FALSE(soundMayPlay(kSoundAttack, 30000, 25000));  // two hits 5 s apart
    EXPECT_FALSE(soundMayPlay(kSoundSplat, 1050, 1000));     // two splits 50 ms apart
    EXPECT_TRUE(soundMayPlay(kSoundSplat, 1101, 1000));
    EXPECT_FALSE(soundMayPlay(kSoundCrystal, 4000, 0));
    EXPECT_TRUE(soundMayPlay(kSoundCrystal, 9001, 5000));
}

TEST(SoundThrottleTest, IntervalSurvivesTheTickCounterWrapping) {
    // Unsigned arithmetic: 49.7 days in, the difference is still the real elapsed time.
    EXPECT_TRUE(soundMayPlay(kSoundSplat, 150, 0xFFFFFFFFu - 10));
    EXPECT_FALSE(soundMayPlay(kSoundSplat, 50, 0xFFFFFFFFu - 10));
}

TEST(SoundPlayTest, PlaySoundRecordsWhenItStartedAndThrottlesRepeats) {
    ASSERT_TRUE(ensureGlContext());  // SDL, its clock and the dummy audio driver
    openSounds();
    while (SDL_GetTicks() <= 150) {
        SDL_Delay(20);
    }
    gSoundLastPlayed[kSoundSplat] = 0;
    EXPECT_TRUE(playSound(kSoundSplat));
    unsigned int started = gSoundLastPlayed[kSoundSplat];
    EXPECT_GE(SDL_GetTicks(), started);
    EXPECT_GT(started, 150u);
    EXPECT_FALSE(playSound(kSoundSplat)) << "a second splat within 100 ms is dropped";
    EXPECT_EQ(started, gSoundLastPlayed[kSoundSplat]);

    // Attack and crystal stay silent for their first interval after start-up.
    if (SDL_GetTicks() < 4000) {
        EXPECT_FALSE(playSound(kSoundAttack));
        EXPECT_FALSE(playSound(kSoundCrystal));
        EXPECT_EQ(0u, gSoundLastPlayed[kSoundAttack]);
        EXPECT_EQ(0u, gSoundLastPlayed[kSoundCrystal]);
    }
    EXPECT_FALSE(playSound(7)) << "no such sound";
    closeSounds();
}
