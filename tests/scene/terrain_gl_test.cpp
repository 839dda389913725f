#include <GL/glew.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "render/shader.h"
#include "terrain_fixture.h"

namespace {

GLint textureParameter(GLuint texture, GLenum name) {
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

std::vector<GLuint> nineTextures(Terrain* terrain) {
    std::vector<GLuint> textures(terrain->tileTextures, terrain->tileTextures + 4);
    textures.insert(textures.end(), terrain->normalTextures, terrain->normalTextures + 4);
    textures.push_back(terrain->weightTexture);
    return textures;
}

// Draws the map from straight above into a 64 x 64 corner of the window cleared to magenta, culling
// against cullFrustum instead of the view, and reads the pixels back.
std::vector<unsigned char> drawFromAbove(Terrain* terrain, const Frustum& cullFrustum) {
    MatrixStack modelview;
    MatrixStack projection;
    projection.ortho(0.0f, 64.0f, 0.0f, 64.0f, 100.0f, -100.0f);
    Frustum frustum = cullFrustum;
    glViewport(0, 0, 64, 64);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    terrain->draw(&modelview, &projection, &frustum);
    std::vector<unsigned char> pixels(64 * 64 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    return pixels;
}

bool isBackground(const std::vector<unsigned char>& pixels, int x, int y) {
    const unsigned char* p = &pixels[(y * 64 + x) * 4];
    return p[0] == 255 && p[1] == 0 && p[2] == 255;
}

Frustum orthoFrustum(float left, float right) {
    MatrixStack modelview;
    MatrixStack projection;
    projection.ortho(left, right, 0.0f, 64.0f, 100.0f, -100.0f);
    Frustum frustum;
    frustum.extract(projection, modelview);
    return frustum;
}

}  // namespace

TEST_F(TerrainTest, FilteringFollowsTheOptionKeysOnTheNineTextures) {
    terrain->setFiltering(false, false);
    for (GLuint texture : nineTextures(terrain)) {
        EXPECT_EQ(GL_NEAREST, textureParameter(texture, GL_TEXTURE_MIN_FILTER)) << texture;
        EXPECT_EQ(GL_NEAREST, textureParameter(texture, GL_TEXTURE_MAG_FILTER)) << texture;
    }
    terrain->setFiltering(false, true);
    EXPECT_EQ(GL_NEAREST_MIPMAP_LINEAR, textureParameter(terrain->weightTexture, GL_TEXTURE_MIN_FILTER));
    terrain->setFiltering(true, false);
    EXPECT_EQ(GL_LINEAR, textureParameter(terrain->tileTextures[2], GL_TEXTURE_MIN_FILTER));
    terrain->setFiltering(true, true);
    for (GLuint texture : nineTextures(terrain)) {
        EXPECT_EQ(GL_LINEAR_MIPMAP_LINEAR, textureParameter(texture, GL_TEXTURE_MIN_FILTER)) << texture;
        EXPECT_EQ(GL_LINEAR, textureParameter(texture, GL_TEXTURE_MAG_FILTER)) << texture;
    }
    // The fog and the minimap keep their plain linear filters.
    terrain->setFiltering(false, false);
    EXPECT_EQ(GL_LINEAR, textureParameter(terrain->fogTexture, GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_LINEAR, textureParameter(terrain->minimapTexture, GL_TEXTURE_MAG_FILTER));
}

TEST_F(TerrainTest, AnisotropyReachesTheNineTextures) {
    if (!GLEW_EXT_texture_filter_anisotropic) {
        GTEST_SKIP() << "no anisotropic filtering on this driver";
    }
    GLfloat maximum = 1.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
    float level = maximum >= 4.0f ? 4.0f : maximum;
    terrain->setAnisotropy(level);
    for (GLuint texture : nineTextures(terrain)) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLfloat value = 0.0f;
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &value);
        EXPECT_EQ(level, value) << texture;
    }
}

TEST_F(TerrainTest, WeightTextureIsMipmappedAndClampedAtTheMapEdge) {
    EXPECT_NE(0u, terrain->weightTexture);
    EXPECT_EQ(GL_LINEAR_MIPMAP_LINEAR, textureParameter(terrain->weightTexture, GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_CLAMP_TO_EDGE, textureParameter(terrain->weightTexture, GL_TEXTURE_WRAP_S));
    EXPECT_EQ(GL_CLAMP_TO_EDGE, textureParameter(terrain->weightTexture, GL_TEXTURE_WRAP_T));
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(256, width);
    glBindTexture(GL_TEXTURE_2D, terrain->minimapTexture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(256, width);
    glBindTexture(GL_TEXTURE_2D, terrain->fogTexture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(64, width);
}

TEST_F(TerrainTest, DrawUploadsTheFogAndLeavesUnitNineActive) {
    terrain->resetFog();
    terrain->revealFog(32.0f, 32.0f);
    drawFromAbove(terrain, orthoFrustum(0.0f, 64.0f));
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(GL_TEXTURE9, active);
    std::vector<unsigned char> texels(64 * 64 * 4);
    glBindTexture(GL_TEXTURE_2D, terrain->fogTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(0, texels[(32 * 64 + 32) * 4 + 3]);
    EXPECT_EQ(128, texels[(5 * 64 + 5) * 4 + 3]);
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(TerrainTest, ChunksOutsideTheFrustumAreSkipped) {
    level(0.0f);
    // Seen whole from above but culled against a frustum covering x 0..16 only: chunks of columns 0
    // and 1 (centres 8 and 24, radius 13.92) are drawn, columns 2 and 3 (centres 40 and 56) are not.
    std::vector<unsigned char> pixels = drawFromAbove(terrain, orthoFrustum(0.0f, 16.0f));
    EXPECT_FALSE(isBackground(pixels, 10, 30));
    EXPECT_FALSE(isBackground(pixels, 30, 30));
    EXPECT_TRUE(isBackground(pixels, 40, 30));
    EXPECT_TRUE(isBackground(pixels, 55, 10));

    // A frustum far off to the side culls everything.
    pixels = drawFromAbove(terrain, orthoFrustum(500.0f, 600.0f));
    EXPECT_TRUE(isBackground(pixels, 30, 30));

    // Without culling every strip is drawn, whatever the frustum.
    terrain->frustumCulling = false;
    pixels = drawFromAbove(terrain, orthoFrustum(500.0f, 600.0f));
    EXPECT_FALSE(isBackground(pixels, 10, 30));
    EXPECT_FALSE(isBackground(pixels, 55, 10));
    // The folded rim ends at 2 and 62: beyond it nothing is drawn.
    EXPECT_TRUE(isBackground(pixels, 0, 30));
    EXPECT_TRUE(isBackground(pixels, 63, 30));
}

TEST_F(TerrainTest, MinimapShowsLitGround) {
    std::vector<unsigned char> texels(256 * 256 * 4);
    glBindTexture(GL_TEXTURE_2D, terrain->minimapTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    long sum = 0;
    for (int i = 0; i < 256 * 256; ++i) {
        sum += texels[i * 4] + texels[i * 4 + 1] + texels[i * 4 + 2];
    }
    // Average channel value well above black: the tile textures loaded and the ground is lit.
    EXPECT_GT(sum / (256 * 256 * 3), 30);
}

TEST(TerrainLifetime, DestructorReleasesEveryGlObject) {
    ASSERT_TRUE(ensureGlContext());
    Terrain* terrain = new Terrain(128, 1);
    std::vector<GLuint> textures = nineTextures(terrain);
    textures.push_back(terrain->minimapTexture);
    textures.push_back(terrain->fogTexture);
    GLuint buffers[3] = {terrain->positionBuffer, terrain->normalBuffer, terrain->indexBuffer};
    GLuint vertexArray = terrain->vertexArray;
    EXPECT_TRUE(glIsVertexArray(vertexArray));
    for (GLuint buffer : buffers) {
        EXPECT_TRUE(glIsBuffer(buffer));
    }
    EXPECT_TRUE(glIsTexture(terrain->weightTexture));
    delete terrain;
    EXPECT_FALSE(glIsVertexArray(vertexArray));
    for (GLuint buffer : buffers) {
        EXPECT_FALSE(glIsBuffer(buffer));
    }
    for (GLuint texture : textures) {
        EXPECT_FALSE(glIsTexture(texture)) << texture;
    }
    EXPECT_EQ(GL_NO_ERROR, takeGlError());
}

namespace {

// Runs body with a scratch working directory whose ../shader/terrain.* hold the given sources
// (none at all when vert is null), then returns to bin/.
template <typename Body>
void inScratchDirectory(const char* vert, const char* frag, Body body) {
    char previous[4096];
    ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
    std::string root = "/tmp/gelmarch_terrain_shader_" + std::to_string(getpid());
    mkdir(root.c_str(), 0700);
    mkdir((root + "/bin").c_str(), 0700);
    mkdir((root + "/shader").c_str(), 0700);
    if (vert) {
        FILE* v = fopen((root + "/shader/terrain.vert").c_str(), "w");
        fputs(vert, v);
        fclose(v);
        FILE* f = fopen((root + "/shader/terrain.frag").c_str(), "w");
        fputs(frag, f);
        fclose(f);
    }
    ASSERT_EQ(0, chdir((root + "/bin").c_str()));
    body();
    ASSERT_EQ(0, chdir(previous));
    unlink((root + "/shader/terrain.vert").c_str());
    unlink((root + "/shader/terrain.frag").c_str());
    rmdir((root + "/shader").c_str());
    rmdir((root + "/bin").c_str());
    rmdir(root.c_str());
}

}  // namespace

TEST(TerrainBadAssets, MissingShaderAndImagesLeaveAUsableMap) {
    ASSERT_TRUE(ensureGlContext());
    takeGlError();
    inScratchDirectory(nullptr, nullptr, [] {
        testing::internal::CaptureStderr();
        Terrain terrain(64, 1);
        std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_NE(std::string::npos, errors.find("terrain.vert does not exist"));
        EXPECT_FALSE(terrain.shader->valid);
        // Heights and fog still answer, and drawing quietly does nothing.
        EXPECT_EQ(terrain.heights[20 + 20 * 65], terrain.height(20.0f, 20.0f));
        terrain.resetFog();
        EXPECT_FALSE(terrain.isVisible(3.0f, 3.0f));
        std::vector<unsigned char> pixels = drawFromAbove(&terrain, orthoFrustum(0.0f, 64.0f));
        EXPECT_TRUE(isBackground(pixels, 30, 30));
    });
    EXPECT_EQ(GL_NO_ERROR, takeGlError());
}

TEST(TerrainBadAssets, ShaderThatFailsToCompileIsReportedAndSkipped) {
    ASSERT_TRUE(ensureGlContext());
    takeGlError();
    inScratchDirectory("#version 150\nthis is not glsl\n", "#version 150\nvoid main() {}\n", [] {
        testing::internal::CaptureStdout();
        Terrain terrain(64, 0);
        std::string output = testing::internal::GetCapturedStdout();
        EXPECT_NE(std::string::npos, output.find("Shader compilation failed."));
        EXPECT_FALSE(terrain.shader->valid);
        std::vector<unsigned char> pixels = drawFromAbove(&terrain, orthoFrustum(0.0f, 64.0f));
        EXPECT_TRUE(isBackground(pixels, 30, 30));
    });
    EXPECT_EQ(GL_NO_ERROR, takeGlError());
}
