// The four sound effects: their format and their shape.
#include "render/asset_path.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The n-byte little-endian number at byte `at`.
static unsigned int le(const std::vector<unsigned char>& b, size_t at, int n) {
    unsigned int v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

// Mono 16-bit PCM at 22050 Hz, short (the click is heard on every command, the others are cues), clearly
// audible, never clipped, and starting and ending in silence so they do not click.
TEST(SoundFiles, AreShortAudibleMonoPcmThatStartsAndEndsInSilence) {
    const struct { const char* name; double maxSeconds; } sounds[] = {
        {"click", 0.15}, {"attack", 1.2}, {"splat", 0.8}, {"crystal", 1.0}};
    for (const auto& s : sounds) {
        SCOPED_TRACE(s.name);
        std::ifstream in(assetPath(std::string(".\\sounds\\") + s.name + ".wav"), std::ios::binary);
        std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GE(b.size(), 46u);
        EXPECT_TRUE(std::string(b.begin(), b.begin() + 4) == "RIFF" && std::string(b.begin() + 8, b.begin() + 12) == "WAVE");
        // format PCM, one channel, rate, bits per sample, data size
        EXPECT_TRUE(le(b, 20, 2) == 1 && le(b, 22, 2) == 1 && le(b, 24, 4) == 22050 && le(b, 34, 2) == 16);
        EXPECT_EQ(b.size() - 44, le(b, 40, 4));
        size_t count = (b.size() - 44) / 2;
        EXPECT_TRUE(count / 22050.0 > 0.02 && count / 22050.0 < s.maxSeconds) << count;
        int peak = 0;
        for (size_t k = 0; k < count; ++k) peak = std::max(peak, std::abs(static_cast<int16_t>(le(b, 44 + 2 * k, 2))));
        EXPECT_TRUE(peak > 6000 && peak < 32700) << peak;
        EXPECT_TRUE(std::abs((int16_t)le(b, 44, 2)) < 300 && std::abs((int16_t)le(b, 44 + 2 * (count - 1), 2)) < 300);
    }
}
