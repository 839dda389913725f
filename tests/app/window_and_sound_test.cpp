// What the game gets from SDL: a forward-compatible 3.2 core context (it draws with core-profile shaders only; a
// lesser one would let legacy calls slip through), and sound effects throttled per sound, across tick wraps.
#include <GL/glew.h>
#include <SDL.h>

#include "app/sound.h"
#include "support/gl_test.h"

TEST_F(GlTest, WindowHoldsForwardCompatibleCoreContext) {
    GLint major = 0, minor = 0, flags = 0, profile = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    glGetIntegerv(GL_CONTEXT_FLAGS, &flags);
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_TRUE(major > 3 || (major == 3 && minor >= 2)) << major << "." << minor;
    EXPECT_TRUE((flags & GL_CONTEXT_FLAG_FORWARD_COMPATIBLE_BIT) && (profile & GL_CONTEXT_CORE_PROFILE_BIT));
}

TEST(SoundTest, EachSoundHasItsOwnMinimumIntervalAndPlayingRecordsTheStart) {
    const struct {
        int sound;
        unsigned int now, last;
        bool plays;
    } cases[] = {
        {kSoundAttack, 20000, 0, false}, {kSoundAttack, 20001, 0, true}, {kSoundSplat, 1050, 1000, false},
        {kSoundSplat, 1101, 1000, true}, {kSoundCrystal, 9000, 5000, false}, {kSoundCrystal, 9001, 5000, true},
        {kSoundSplat, 150, 0xFFFFFFFFu - 10, true}, {kSoundSplat, 50, 0xFFFFFFFFu - 10, false},  // wrapped
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.plays, soundMayPlay(c.sound, c.now, c.last)) << c.sound << " at " << c.now;
    }
    ASSERT_TRUE(ensureGlContext());  // SDL, its clock and the dummy audio driver
    openSounds();
    SDL_Delay(SDL_GetTicks() <= 150 ? 160 - SDL_GetTicks() : 0);
    gSoundLastPlayed[kSoundSplat] = 0;
    EXPECT_TRUE(playSound(kSoundSplat));
    unsigned int started = gSoundLastPlayed[kSoundSplat];
    EXPECT_TRUE(started > 150u && started <= SDL_GetTicks());
    EXPECT_FALSE(playSound(kSoundSplat));  // within 100 ms
    EXPECT_EQ(started, gSoundLastPlayed[kSoundSplat]);
    EXPECT_FALSE(playSound(7));  // no such sound
    closeSounds();
}
