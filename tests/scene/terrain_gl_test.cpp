#include <GL/glew.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "terrain_fixture.h"

namespace {

// Draws a 64 map from straight above into a 64 x 64 corner cleared to magenta, culling against an
// orthographic frustum over x = left..right; one character per probed pixel: 'o' background, '#' ground.
std::string drawAndProbe(Terrain* terrain, float left, float right, std::vector<std::pair<int, int>> probes) {
    MatrixStack modelview, projection, cull;
    projection.ortho(0.0f, 64.0f, 0.0f, 64.0f, 100.0f, -100.0f);
    cull.ortho(left, right, 0.0f, 64.0f, 100.0f, -100.0f);
    Frustum frustum;
    frustum.extract(cull, modelview);
    glViewport(0, 0, 64, 64);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    terrain->draw(&modelview, &projection, &frustum);
    std::vector<unsigned char> pixels(64 * 64 * 4);
    glReadPixels(0, 0, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    std::string result;
    for (const auto& probe : probes) {
        const unsigned char* p = &pixels[(probe.second * 64 + probe.first) * 4];
        result += p[0] == 255 && p[1] == 0 && p[2] == 255 ? 'o' : '#';
    }
    return result;
}

}  // namespace

TEST_F(TerrainTest, DrawUploadsTheFogAndCullsWholeChunks) {
    fill([](int, int) { return 0.0f; });
    terrain->resetFog();
    terrain->revealFog(32.0f, 32.0f);
    // Culled against x 0..16: chunk columns 0 and 1 (centres 8 and 24, radius 13.92) are drawn, columns
    // 2 and 3 (centres 40 and 56) are not.
    EXPECT_EQ("##oo", drawAndProbe(terrain, 0.0f, 16.0f, {{10, 30}, {30, 30}, {40, 30}, {55, 10}}));
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(GL_TEXTURE9, active);
    std::vector<unsigned char> texels(64 * 64 * 4);
    glBindTexture(GL_TEXTURE_2D, terrain->fogTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glActiveTexture(GL_TEXTURE0);
    EXPECT_TRUE(texels[(32 * 64 + 32) * 4 + 3] == 0 && texels[(5 * 64 + 5) * 4 + 3] == 128) << "the fog uploaded";

    // A frustum far off to the side culls everything; without culling every strip is drawn whatever the
    // frustum, inside the rim folded in to 2 and 62.
    EXPECT_EQ("o", drawAndProbe(terrain, 500.0f, 600.0f, {{30, 30}}));
    terrain->frustumCulling = false;
    EXPECT_EQ("##oo", drawAndProbe(terrain, 500.0f, 600.0f, {{10, 30}, {55, 10}, {0, 30}, {63, 30}}));
}

