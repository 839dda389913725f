#include <cstdio>
#include <string>
#include <vector>

#include "render/texture.h"
#include "render_fixture.h"

namespace {

typedef Render2DTest TextureTest;

// Level 0 of a texture as RGBA bytes, texture row t = 0 first.
std::vector<unsigned char> level0(Texture texture, int width, int height) {
    std::vector<unsigned char> texels((size_t)width * height * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return texels;
}

GLint levelParameter(Texture texture, int level, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

// A texture parameter as a float (filter and wrap names are exact in it).
GLfloat parameter(Texture texture, GLenum name) {
    GLfloat value = 0.0f;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameterfv(GL_TEXTURE_2D, name, &value);
    return value;
}

// Texture unit 0 is active with this texture bound to it.
bool unitZeroHolds(Texture texture) {
    GLint active = 0;
    GLint bound = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return active == GL_TEXTURE0 && bound == (GLint)texture;
}

Texture loadCapturing(const char* path, std::string* out) {
    testing::internal::CaptureStdout();
    Texture texture = loadTexture(path);
    *out = testing::internal::GetCapturedStdout();
    return texture;
}

}  // namespace

// Each decoded layout reaches GL with its colours in place, the file's top row as t = 0, and alpha only
// where the file has it; every texture gets the same sampling set-up and mipmaps.
TEST_F(TextureTest, LoadedImagesKeepTheirTexelsWhateverTheirLayout) {
    // A 24-bit BMP 5 wide (15-byte rows, which SDL pads), decoded as BGR.
    const unsigned char bmp[30] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150,
                                   160, 170, 180, 190, 200, 210, 220, 230, 240, 250, 1, 2, 3, 4, 5};
    ASSERT_TRUE(writeBmp("odd.bmp", 5, 2, bmp));
    // A PNG with alpha, decoded with red in the lowest byte; rows given bottom first.
    ASSERT_TRUE(writePngBottomUp("corners.png", 2, 2, {0, 0, 255, 128, 255, 255, 255, 0, 255, 0, 0, 255, 0, 255, 0, 255}));
    // A palettised BMP: warned about, then converted to its palette colours.
    const unsigned char palette[9] = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    const unsigned char indices[6] = {0, 1, 2, 2, 1, 0};
    ASSERT_TRUE(writeBmp("palette.bmp", 3, 2, indices, palette, 3));
    struct Case {
        const char* path;
        int width, height;
        GLint internal;
        const char* out;
        unsigned char rgba[40];
    };
    const Case cases[] = {
        {".\\odd.bmp", 5, 2, GL_RGB, "",
         {10, 20, 30, 255, 40, 50, 60, 255, 70, 80, 90, 255, 100, 110, 120, 255, 130, 140, 150, 255,
          160, 170, 180, 255, 190, 200, 210, 255, 220, 230, 240, 255, 250, 1, 2, 255, 3, 4, 5, 255}},
        {".\\corners.png", 2, 2, GL_RGBA, "", {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 128, 255, 255, 255, 0}},
        {".\\palette.bmp", 3, 2, GL_RGBA, "Strange image format, will probably not work!\n",
         {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255}},
    };
    for (const Case& c : cases) {
        std::string out;
        Texture texture = loadCapturing(c.path, &out);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_TRUE(texture != 0 && bound == (GLint)texture) << c.path;
        EXPECT_EQ(c.out, out) << c.path;
        EXPECT_EQ(c.width, levelParameter(texture, 0, GL_TEXTURE_WIDTH)) << c.path;
        EXPECT_EQ(c.height, levelParameter(texture, 0, GL_TEXTURE_HEIGHT)) << c.path;
        EXPECT_EQ(c.internal, levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT)) << c.path;
        std::vector<unsigned char> texels = level0(texture, c.width, c.height);
        EXPECT_EQ(std::vector<unsigned char>(c.rgba, c.rgba + texels.size()), texels) << c.path;
        EXPECT_EQ(GL_LINEAR_MIPMAP_LINEAR, parameter(texture, GL_TEXTURE_MIN_FILTER)) << c.path;
        EXPECT_EQ(GL_LINEAR, parameter(texture, GL_TEXTURE_MAG_FILTER)) << c.path;
        EXPECT_TRUE(parameter(texture, GL_TEXTURE_WRAP_S) == GL_REPEAT && parameter(texture, GL_TEXTURE_WRAP_T) == GL_REPEAT);
        EXPECT_EQ(2.0f, parameter(texture, GL_TEXTURE_MAX_ANISOTROPY_EXT)) << c.path;
        EXPECT_EQ(c.width / 2, levelParameter(texture, 1, GL_TEXTURE_WIDTH)) << c.path << ": no mipmaps";
        glDeleteTextures(1, &texture);
    }
}

TEST_F(TextureTest, MissingOrUndecodableFileReportsOneLineAndGivesZero) {
    std::FILE* junk = std::fopen("junk.png", "w");
    std::fputs("this is not an image", junk);
    std::fclose(junk);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    for (const char* path : {".\\textures\\nowhere\\missing.png", ".\\junk.png"}) {
        std::string out;
        EXPECT_EQ(0u, loadCapturing(path, &out));
        EXPECT_EQ(0u, out.find(std::string("Error: Couldn't open ") + path + ": ")) << out;
        EXPECT_EQ(out.size() - 1, out.find('\n')) << "exactly one line: " << out;
    }
    EXPECT_TRUE(unitZeroHolds(0)) << "no texture may be made for a file that did not load";
}

TEST_F(TextureTest, BlankTextureIsZeroedRgbaWithLinearFilteringAndNoMipmaps) {
    Texture texture = createBlankTexture(64);
    EXPECT_TRUE(levelParameter(texture, 0, GL_TEXTURE_WIDTH) == 64 && levelParameter(texture, 0, GL_TEXTURE_HEIGHT) == 64);
    EXPECT_EQ(GL_RGBA, levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT));
    EXPECT_EQ(std::vector<unsigned char>(64 * 64 * 4, 0), level0(texture, 64, 64));
    EXPECT_EQ(GL_LINEAR, parameter(texture, GL_TEXTURE_MIN_FILTER));
    glDeleteTextures(1, &texture);
}

TEST_F(TextureTest, FilteringAndAnisotropyApplyToTheWholeGroupOnUnitZero) {
    Texture group[2] = {createBlankTexture(4), createBlankTexture(4)};
    // linear, mipmaps -> magnification, minification
    const GLint table[4][4] = {{0, 0, GL_NEAREST, GL_NEAREST},
                               {0, 1, GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR},
                               {1, 0, GL_LINEAR, GL_LINEAR},
                               {1, 1, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR}};
    for (const auto& row : table) {
        glActiveTexture(GL_TEXTURE3);
        setFiltering(group, 2, row[0] != 0, row[1] != 0);
        EXPECT_TRUE(unitZeroHolds(group[1]));
        for (Texture texture : group) {
            EXPECT_EQ(row[2], parameter(texture, GL_TEXTURE_MAG_FILTER)) << row[0] << row[1];
            EXPECT_EQ(row[3], parameter(texture, GL_TEXTURE_MIN_FILTER)) << row[0] << row[1];
        }
    }
    ASSERT_GE(maxAnisotropy(), 4.0f);
    glActiveTexture(GL_TEXTURE3);
    setAnisotropy(group, 2, 4.0f);
    EXPECT_TRUE(unitZeroHolds(group[1]));
    EXPECT_TRUE(parameter(group[0], GL_TEXTURE_MAX_ANISOTROPY_EXT) == 4.0f && parameter(group[1], GL_TEXTURE_MAX_ANISOTROPY_EXT) == 4.0f);
    glDeleteTextures(2, group);
}
