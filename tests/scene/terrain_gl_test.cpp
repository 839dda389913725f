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

GLint textureParameter(GLuint texture, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

std::vector<GLuint> nineTextures(Terrain* terrain) {
    std::vector<GLuint> textures(terrain->tileTextures, terrain->tileTextures + 4);
    textures.insert(textures.end(), terrain->normalTextures, terrain->normalTextures + 4);
    textures.push_back(terrain->weightTexture);
    return textures;
}

// Draws a 64 map from straight above into a 64 x 64 corner cleared to magenta, culling against an
// orthographic frustum over x = left..right; one character per probed pixel: 'o' background, '#' ground.
std::string drawAndProbe(Terrain* terrain, float left, float right, std::vector<std::pair<int, int>> probes) {
    MatrixStack modelview;
    MatrixStack projection;
    MatrixStack cull;
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

TEST_F(TerrainTest, FilteringAndAnisotropyReachTheNineTexturesOnly) {
    // The weight texture starts mipmapped and clamped: the map does not tile.
    EXPECT_EQ(GL_LINEAR_MIPMAP_LINEAR, textureParameter(terrain->weightTexture, GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_CLAMP_TO_EDGE, textureParameter(terrain->weightTexture, GL_TEXTURE_WRAP_S));
    EXPECT_EQ(GL_CLAMP_TO_EDGE, textureParameter(terrain->weightTexture, GL_TEXTURE_WRAP_T));
    const GLint cases[4][4] = {{false, false, GL_NEAREST, GL_NEAREST},
                               {false, true, GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST},
                               {true, false, GL_LINEAR, GL_LINEAR},
                               {true, true, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR}};
    for (const auto& c : cases) {
        terrain->setFiltering(c[0], c[1]);
        for (GLuint texture : nineTextures(terrain)) {
            EXPECT_EQ(c[2], textureParameter(texture, GL_TEXTURE_MIN_FILTER)) << texture;
            EXPECT_EQ(c[3], textureParameter(texture, GL_TEXTURE_MAG_FILTER)) << texture;
        }
    }
    // The fog and the minimap keep their plain linear filters.
    EXPECT_EQ(GL_LINEAR, textureParameter(terrain->fogTexture, GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_LINEAR, textureParameter(terrain->minimapTexture, GL_TEXTURE_MIN_FILTER));
    if (!GLEW_EXT_texture_filter_anisotropic) {
        return;
    }
    terrain->setAnisotropy(2.0f);
    for (GLuint texture : nineTextures(terrain)) {
        EXPECT_EQ(2, textureParameter(texture, GL_TEXTURE_MAX_ANISOTROPY_EXT)) << texture;
    }
}

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
    EXPECT_EQ(0, texels[(32 * 64 + 32) * 4 + 3]);
    EXPECT_EQ(128, texels[(5 * 64 + 5) * 4 + 3]);

    // A frustum far off to the side culls everything; without culling every strip is drawn whatever the
    // frustum, inside the rim folded in to 2 and 62.
    EXPECT_EQ("o", drawAndProbe(terrain, 500.0f, 600.0f, {{30, 30}}));
    terrain->frustumCulling = false;
    EXPECT_EQ("##oo", drawAndProbe(terrain, 500.0f, 600.0f, {{10, 30}, {55, 10}, {0, 30}, {63, 30}}));
}

TEST_F(TerrainTest, MinimapShowsLitGroundAndTheDestructorReleasesEveryGlObject) {
    std::vector<unsigned char> texels(256 * 256 * 4);
    glBindTexture(GL_TEXTURE_2D, terrain->minimapTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    long sum = 0;
    for (int i = 0; i < 256 * 256 * 4; ++i) {
        sum += i % 4 == 3 ? 0 : texels[i];
    }
    // Average channel value well above black: the tile textures loaded and the ground is lit.
    EXPECT_GT(sum / (256 * 256 * 3), 30);

    std::vector<GLuint> textures = nineTextures(terrain);
    textures.push_back(terrain->minimapTexture);
    textures.push_back(terrain->fogTexture);
    GLuint buffers[3] = {terrain->positionBuffer, terrain->normalBuffer, terrain->indexBuffer};
    GLuint vertexArray = terrain->vertexArray;
    auto live = [&] {
        int count = glIsVertexArray(vertexArray);
        for (GLuint buffer : buffers) {
            count += glIsBuffer(buffer);
        }
        for (GLuint texture : textures) {
            count += glIsTexture(texture);
        }
        return count;
    };
    EXPECT_EQ(15, live());
    delete terrain;
    terrain = 0;
    EXPECT_EQ(0, live());
}

TEST(TerrainBadAssets, MissingShaderAndImagesLeaveAUsableMap) {
    ASSERT_TRUE(ensureGlContext());
    takeGlError();
    char previous[4096];
    ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
    // A working directory without textures and without ../shader.
    std::string root = "/tmp/gelmarch_terrain_" + std::to_string(getpid());
    mkdir(root.c_str(), 0700);
    mkdir((root + "/bin").c_str(), 0700);
    ASSERT_EQ(0, chdir((root + "/bin").c_str()));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Terrain* terrain = new Terrain(64, 1);
    std::string errors = testing::internal::GetCapturedStderr();
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, errors.find("terrain.vert does not exist")) << errors;
    EXPECT_NE(std::string::npos, output.find("modifier64_")) << output;
    // Heights and fog still answer, and drawing quietly does nothing.
    EXPECT_EQ(terrain->heights[20 + 20 * 65], terrain->height(20.0f, 20.0f));
    terrain->resetFog();
    EXPECT_FALSE(terrain->isVisible(3.0f, 3.0f));
    EXPECT_EQ("o", drawAndProbe(terrain, 0.0f, 64.0f, {{30, 30}}));
    delete terrain;
    EXPECT_EQ(0, chdir(previous));
    rmdir((root + "/bin").c_str());
    rmdir(root.c_str());
    EXPECT_EQ(GL_NO_ERROR, takeGlError());
}
