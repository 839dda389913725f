#include <GL/glew.h>
#include <SDL.h>
#include <SDL_image.h>

#include <string>
#include <vector>

#include "render/texture.h"
#include "render_fixture.h"

namespace {

// Level 0 of the bound texture as RGBA bytes, rows in texture order (t = 0 first).
std::vector<unsigned char> readLevel0(Texture texture, int* width, int* height) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, height);
    std::vector<unsigned char> texels((size_t)(*width) * (*height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return texels;
}

GLint parameter(Texture texture, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

class TextureTest : public Render2DTest {
protected:
    Texture loadQuietly(const std::string& path) {
        testing::internal::CaptureStdout();
        Texture texture = loadTexture(path.c_str());
        out = testing::internal::GetCapturedStdout();
        return texture;
    }
    std::string out;
};

// A 5 x 3 image (3-byte rows of 15 bytes, padded in the decoded surface) whose every pixel differs.
const int kOddWidth = 5;
const int kOddHeight = 3;
void oddPixel(int col, int row, unsigned char* rgb) {
    rgb[0] = (unsigned char)(40 * col + 10);
    rgb[1] = (unsigned char)(60 * row + 5);
    rgb[2] = (unsigned char)(200 - 30 * col);
}

}  // namespace

TEST(ImageFormats, FollowTheDepthAndTheRedMask) {
    GLenum format = 0;
    GLint internal = 0;
    ASSERT_TRUE(imageFormats(4, 0x000000FF, &format, &internal));
    EXPECT_EQ((GLenum)GL_RGBA, format);
    EXPECT_EQ(GL_RGBA, internal);
    ASSERT_TRUE(imageFormats(4, 0x00FF0000, &format, &internal));
    EXPECT_EQ((GLenum)GL_BGRA, format);
    EXPECT_EQ(GL_RGBA, internal);
    ASSERT_TRUE(imageFormats(3, 0x000000FF, &format, &internal));
    EXPECT_EQ((GLenum)GL_RGB, format);
    EXPECT_EQ(GL_RGB, internal);
    ASSERT_TRUE(imageFormats(3, 0x00FF0000, &format, &internal));
    EXPECT_EQ((GLenum)GL_BGR, format);
    EXPECT_EQ(GL_RGB, internal);
    format = 12345;
    EXPECT_FALSE(imageFormats(1, 0, &format, &internal));
    EXPECT_FALSE(imageFormats(2, 0xF800, &format, &internal));
    EXPECT_EQ(12345u, format) << "an unknown depth leaves the formats alone";
}

TEST_F(TextureTest, DecodedFilesGetTheFormatsOfTheirLayout) {
    // A 24-bit BMP decodes with red in the top byte (BGR in memory), a PNG with alpha with red lowest.
    std::vector<unsigned char> rgb(kOddWidth * kOddHeight * 3, 128);
    ASSERT_TRUE(writeBmp24(scratch.path("plain.bmp"), kOddWidth, kOddHeight, rgb.data()));
    std::vector<unsigned char> rgba(4 * 4 * 4, 200);
    ASSERT_TRUE(writePngRgba(scratch.path("alpha.png"), 4, 4, rgba.data()));

    GLenum format = 0;
    GLint internal = 0;
    SDL_Surface* bmp = IMG_Load("plain.bmp");
    ASSERT_NE(nullptr, bmp);
    ASSERT_TRUE(imageFormats(bmp->format->BytesPerPixel, bmp->format->Rmask, &format, &internal));
    EXPECT_EQ((GLenum)GL_BGR, format);
    EXPECT_EQ(GL_RGB, internal);
    SDL_FreeSurface(bmp);
    SDL_Surface* png = IMG_Load("alpha.png");
    ASSERT_NE(nullptr, png);
    ASSERT_TRUE(imageFormats(png->format->BytesPerPixel, png->format->Rmask, &format, &internal));
    EXPECT_EQ((GLenum)GL_RGBA, format);
    EXPECT_EQ(GL_RGBA, internal);
    SDL_FreeSurface(png);
}

TEST_F(TextureTest, BmpOfOddWidthLoadsEveryTexelInPlaceWithoutAlpha) {
    std::vector<unsigned char> rgb(kOddWidth * kOddHeight * 3);
    for (int row = 0; row < kOddHeight; ++row) {
        for (int col = 0; col < kOddWidth; ++col) {
            oddPixel(col, row, &rgb[(row * kOddWidth + col) * 3]);
        }
    }
    ASSERT_TRUE(writeBmp24(scratch.path("odd.bmp"), kOddWidth, kOddHeight, rgb.data()));
    Texture texture = loadQuietly(".\\odd.bmp");
    EXPECT_EQ("", out);
    ASSERT_NE(0u, texture);
    GLint internal = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
    EXPECT_EQ(GL_RGB, internal);
    int width = 0;
    int height = 0;
    std::vector<unsigned char> texels = readLevel0(texture, &width, &height);
    ASSERT_EQ(kOddWidth, width);
    ASSERT_EQ(kOddHeight, height);
    // The file's top row is texture row 0; colours arrive in RGB order; no alpha means opaque.
    for (int row = 0; row < kOddHeight; ++row) {
        for (int col = 0; col < kOddWidth; ++col) {
            unsigned char expected[3];
            oddPixel(col, row, expected);
            const unsigned char* t = &texels[(row * kOddWidth + col) * 4];
            EXPECT_EQ(expected[0], t[0]) << "red at " << col << "," << row;
            EXPECT_EQ(expected[1], t[1]) << "green at " << col << "," << row;
            EXPECT_EQ(expected[2], t[2]) << "blue at " << col << "," << row;
            EXPECT_EQ(255, t[3]);
        }
    }
    glDeleteTextures(1, &texture);
}

TEST_F(TextureTest, PngWithAlphaKeepsColoursAlphaAndOrientation) {
    // Top-left red, top-right green, bottom-left blue half transparent, bottom-right white transparent.
    const unsigned char rgba[16] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 128, 255, 255, 255, 0};
    ASSERT_TRUE(writePngRgba(scratch.path("corners.png"), 2, 2, rgba));
    Texture texture = loadQuietly(".\\corners.png");
    EXPECT_EQ("", out);
    ASSERT_NE(0u, texture);
    GLint internal = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
    EXPECT_EQ(GL_RGBA, internal);
    int width = 0;
    int height = 0;
    std::vector<unsigned char> texels = readLevel0(texture, &width, &height);
    ASSERT_EQ(2, width);
    ASSERT_EQ(2, height);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(rgba[i], texels[i]) << "byte " << i;
    }
    glDeleteTextures(1, &texture);
}

TEST_F(TextureTest, LoadedTexturesAreTrilinearRepeatingAnisotropicAndMipmapped) {
    std::vector<unsigned char> rgba(8 * 4 * 4, 90);
    ASSERT_TRUE(writePngRgba(scratch.path("eight.png"), 8, 4, rgba.data()));
    Texture texture = loadQuietly(".\\eight.png");
    ASSERT_NE(0u, texture);
    EXPECT_EQ(GL_LINEAR_MIPMAP_LINEAR, parameter(texture, GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_LINEAR, parameter(texture, GL_TEXTURE_MAG_FILTER));
    EXPECT_EQ(GL_REPEAT, parameter(texture, GL_TEXTURE_WRAP_S));
    EXPECT_EQ(GL_REPEAT, parameter(texture, GL_TEXTURE_WRAP_T));
    if (GLEW_EXT_texture_filter_anisotropic) {
        GLfloat anisotropy = 0.0f;
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
        EXPECT_EQ(2.0f, anisotropy);
    }
    // The whole chain exists: 8x4, 4x2, 2x1, 1x1.
    GLint w = 0;
    GLint h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(1, w);
    EXPECT_EQ(1, h);
    glDeleteTextures(1, &texture);
}

TEST_F(TextureTest, PalettisedImageIsWarnedAboutAndStillDrawsItsColours) {
    const unsigned char palette[9] = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    const unsigned char indices[6] = {0, 1, 2, 2, 1, 0};
    ASSERT_TRUE(writeBmp8(scratch.path("palette.bmp"), 3, 2, indices, palette, 3));
    Texture texture = loadQuietly(".\\palette.bmp");
    EXPECT_EQ("Strange image format, will probably not work!\n", out);
    ASSERT_NE(0u, texture);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ((GLint)texture, bound) << "the texture is created and bound all the same";
    int width = 0;
    int height = 0;
    std::vector<unsigned char> texels = readLevel0(texture, &width, &height);
    ASSERT_EQ(3, width);
    ASSERT_EQ(2, height);
    for (int i = 0; i < 6; ++i) {
        const unsigned char* expected = &palette[indices[i] * 3];
        EXPECT_EQ(expected[0], texels[i * 4]) << "texel " << i;
        EXPECT_EQ(expected[1], texels[i * 4 + 1]) << "texel " << i;
        EXPECT_EQ(expected[2], texels[i * 4 + 2]) << "texel " << i;
        EXPECT_EQ(255, texels[i * 4 + 3]) << "texel " << i;
    }
    glDeleteTextures(1, &texture);
}

TEST_F(TextureTest, MissingOrUndecodableFileReportsOneLineAndGivesZero) {
    Texture texture = loadQuietly(".\\textures\\nowhere\\missing.png");
    EXPECT_EQ(0u, texture);
    ASSERT_EQ(0u, out.find("Error: Couldn't open .\\textures\\nowhere\\missing.png: ")) << out;
    EXPECT_EQ(out.size() - 1, out.find('\n')) << "exactly one line: " << out;

    std::FILE* junk = std::fopen(scratch.path("junk.png").c_str(), "w");
    ASSERT_NE(nullptr, junk);
    std::fputs("this is not an image", junk);
    std::fclose(junk);
    texture = loadQuietly(".\\junk.png");
    EXPECT_EQ(0u, texture);
    EXPECT_EQ(0u, out.find("Error: Couldn't open .\\junk.png: ")) << out;
}

TEST_F(TextureTest, BlankTextureIsZeroedLinearAndWithoutMipmaps) {
    Texture texture = createBlankTexture(64);
    ASSERT_NE(0u, texture);
    int width = 0;
    int height = 0;
    std::vector<unsigned char> texels = readLevel0(texture, &width, &height);
    EXPECT_EQ(64, width);
    EXPECT_EQ(64, height);
    size_t nonZero = 0;
    for (unsigned char byte : texels) {
        nonZero += byte != 0;
    }
    EXPECT_EQ(0u, nonZero);
    EXPECT_EQ(GL_LINEAR, parameter(texture, GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_LINEAR, parameter(texture, GL_TEXTURE_MAG_FILTER));
    EXPECT_EQ(GL_REPEAT, parameter(texture, GL_TEXTURE_WRAP_S));
    GLint internal = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
    EXPECT_EQ(GL_RGBA, internal);
    glDeleteTextures(1, &texture);
}

TEST_F(TextureTest, FilteringTableAppliesToTheWholeGroupOnUnitZero) {
    Texture group[3] = {createBlankTexture(4), createBlankTexture(4), createBlankTexture(4)};
    struct Row {
        bool linear;
        bool mipmaps;
        GLint mag;
        GLint min;
    };
    const Row table[] = {
        {false, false, GL_NEAREST, GL_NEAREST},
        {false, true, GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR},
        {true, false, GL_LINEAR, GL_LINEAR},
        {true, true, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR},
    };
    glActiveTexture(GL_TEXTURE3);
    for (const Row& row : table) {
        setFiltering(group, 3, row.linear, row.mipmaps);
        GLint active = 0;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
        EXPECT_EQ(GL_TEXTURE0, active);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ((GLint)group[2], bound) << "the last texture of the group stays bound";
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(row.mag, parameter(group[i], GL_TEXTURE_MAG_FILTER)) << row.linear << row.mipmaps << i;
            EXPECT_EQ(row.min, parameter(group[i], GL_TEXTURE_MIN_FILTER)) << row.linear << row.mipmaps << i;
        }
    }
    glDeleteTextures(3, group);
}

TEST_F(TextureTest, AnisotropyIsSetOnEveryTextureOfTheGroup) {
    if (!GLEW_EXT_texture_filter_anisotropic) {
        GTEST_SKIP() << "driver without anisotropic filtering";
    }
    ASSERT_GE(maxAnisotropy(), 4.0f);
    Texture group[2] = {createBlankTexture(4), createBlankTexture(4)};
    setAnisotropy(group, 2, 4.0f);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ((GLint)group[1], bound);
    for (int i = 0; i < 2; ++i) {
        GLfloat value = 0.0f;
        glBindTexture(GL_TEXTURE_2D, group[i]);
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &value);
        EXPECT_EQ(4.0f, value) << i;
    }
    glDeleteTextures(2, group);
}
