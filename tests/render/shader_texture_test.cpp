#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "render/shader.h"
#include "render/texture.h"
#include "render_fixture.h"

namespace {

const char* kVertex =
    "#version 150\nin vec2 vertex;\nuniform mat4 projection;\n"
    "void main() { gl_Position = projection * vec4(vertex, 0.0, 1.0); }\n";
// Written with Windows line ends, which must arrive as plain ones.
const char* kFragment = "#version 150\r\nuniform vec4 tint;\r\nout vec4 colour;\r\nvoid main() { colour = tint; }\r\n";
const char* kFragmentRead = "#version 150\nuniform vec4 tint;\nout vec4 colour;\nvoid main() { colour = tint; }\n";
const char* kBroken = "#version 150\nvoid main() { this is not glsl }\n";
// Compiles (main may live in another stage object) but cannot link.
const char* kNoMain = "#version 150\nout vec4 fragColor;\nvoid paint() { fragColor = vec4(1.0); }\n";

class ShaderTest : public Render2DTest {
protected:
    // Writes NAME.vert and NAME.frag (a null text writes no file), then loads NAME capturing both streams.
    Shader* load(const std::string& name, const char* vertex, const char* fragment) {
        if (vertex) std::ofstream(name + ".vert", std::ios::binary) << vertex;
        if (fragment) std::ofstream(name + ".frag", std::ios::binary) << fragment;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        Shader* shader = new Shader(name);
        out = testing::internal::GetCapturedStdout();
        err = testing::internal::GetCapturedStderr();
        return shader;
    }
    std::string out, err;
};

// Standard output reduced to its message lines, each run of log lines in between shown as one "log".
std::string outline(const std::string& text) {
    std::istringstream lines(text);
    std::string line, result, last;
    while (std::getline(lines, line)) {
        std::string word = line == "Shader compilation failed." ? "compile"
                           : line == "Shader linking failed."   ? "link"
                                                                 : "log";
        if (word != "log" || last != "log") result += (result.empty() ? "" : " ") + word;
        last = word;
    }
    return result;
}

typedef Render2DTest TextureTest;

// A parameter of the bound texture (filter and wrap names are exact as floats) or, given a level, of that level.
GLfloat parameter(GLenum name, int level = -1) {
    GLfloat value = 0.0f;
    level >= 0 ? glGetTexLevelParameterfv(GL_TEXTURE_2D, level, name, &value)
               : glGetTexParameterfv(GL_TEXTURE_2D, name, &value);
    return value;
}

// Texture unit 0 is active with this texture bound to it.
bool unitZeroHolds(Texture texture) {
    GLint active = 0, bound = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return active == GL_TEXTURE0 && bound == (GLint)texture;
}

}  // namespace

// A good pair links silently and looks names up as GL does; each failure is reported on its stream and leaves
// an invalid shader.
TEST_F(ShaderTest, GoodPairLinksAndEachFailureIsReportedAndLeavesAnInvalidShader) {
    const struct {
        const char *name, *vertex, *fragment, *err, *outline;
        bool stageObjects;
    } cases[] = {
        // A missing .vert never looks for the .frag: one message only.
        {"none", 0, 0, "Vertex shader file none.vert does not exist.\n", "", false},
        {"half", kVertex, 0, "Fragment shader file half.frag does not exist.\n", "", false},
        {"badvert", kBroken, kFragment, "", "compile log link log", true},
        {"badfrag", kVertex, kBroken, "", "compile log link log", true},
        {"nomain", kVertex, kNoMain, "", "link log", true},
    };
    Shader* good = load("good", kVertex, kFragment);
    EXPECT_TRUE(out + err == "" && good->vertexSource == kVertex && good->fragmentSource == kFragmentRead);
    ASSERT_TRUE(good->valid);
    EXPECT_EQ(0, good->attribute("vertex")) << "the only attribute gets location 0";
    EXPECT_TRUE(good->uniform("projection") >= 0 && good->uniform("tint") >= 0 && good->attribute("texcoord") == -1);
    EXPECT_NE(good->uniform("projection"), good->uniform("tint"));
    for (const auto& c : cases) {
        Shader* shader = load(c.name, c.vertex, c.fragment);
        EXPECT_EQ(c.err, err) << c.name;
        EXPECT_EQ(c.outline, outline(out)) << c.name << ":\n" << out;
        EXPECT_TRUE(!shader->valid && shader->program == 0 && (shader->vertexShader != 0) == c.stageObjects &&
                    (shader->fragmentShader != 0) == c.stageObjects) << c.name;
        // It binds program 0 and finds no names, all without a GL error.
        good->bind();
        shader->bind();
        EXPECT_TRUE(currentProgram() == 0 && shader->attribute("vertex") == -1 && shader->uniform("tint") == -1);
        GLuint stage = shader->vertexShader;
        delete shader;
        EXPECT_FALSE(stage != 0 && glIsShader(stage)) << c.name << ": the destructor keeps a stage object";
    }
    good->bind();
    Shader::unbind();
    EXPECT_EQ(0, currentProgram());
    GLuint program = good->program;
    delete good;
    EXPECT_FALSE(glIsProgram(program));
}

// Each layout reaches GL with its colours in place, the file's top row as t = 0, alpha only where the file
// has it, mipmaps, and the game's sampling; a file that does not load says so in one line and gives 0.
TEST_F(TextureTest, LoadedImagesKeepTheirTexelsWhateverTheirLayout) {
    // A BMP 3 wide (9-byte rows, which SDL pads), decoded as BGR; a PNG with alpha, rows given bottom first.
    const unsigned char bmp[18] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180};
    ASSERT_TRUE(writeBmp("odd.bmp", 3, 2, bmp));
    ASSERT_TRUE(writePngBottomUp("corners.png", 2, 2,
                                 {0, 0, 255, 128, 255, 255, 255, 0, 255, 0, 0, 255, 0, 255, 0, 255}));
    // An 8-bit palettised BMP is warned about and converted to RGBA, so it still draws.
    SDL_Surface* indexed = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, 8, 0, 0, 0, 0);
    SDL_Color colours[2] = {{10, 20, 30, 0}, {200, 100, 50, 0}};
    SDL_SetColors(indexed, colours, 0, 2);
    ((unsigned char*)indexed->pixels)[1] = 1;
    bool saved = SDL_SaveBMP(indexed, "indexed.bmp") == 0;
    SDL_FreeSurface(indexed);
    ASSERT_TRUE(saved);
    const struct {
        const char* path;
        int width, height;
        GLint internal;
        std::vector<unsigned char> rgba;
        bool warned = false;
    } cases[] = {
        {".\\odd.bmp", 3, 2, GL_RGB, {10, 20, 30, 255, 40, 50, 60, 255, 70, 80, 90, 255, 100, 110, 120, 255,
                                      130, 140, 150, 255, 160, 170, 180, 255}},
        {".\\corners.png", 2, 2, GL_RGBA, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 128, 255, 255, 255, 0}},
        {".\\textures\\nowhere\\missing.png", 0, 0, 0, {}},
        {".\\indexed.bmp", 2, 1, GL_RGBA, {10, 20, 30, 255, 200, 100, 50, 255}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, 0);
        testing::internal::CaptureStdout();
        Texture texture = loadTexture(c.path);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(unitZeroHolds(texture));
        if (c.width == 0) {
            EXPECT_TRUE(texture == 0 && out.find(std::string("Error: Couldn't open ") + c.path + ": ") == 0) << out;
            EXPECT_EQ(out.size() - 1, out.find('\n')) << "exactly one line: " << out;
            continue;
        }
        EXPECT_EQ(c.warned ? "Strange image format, will probably not work!\n" : "", out);
        EXPECT_TRUE(c.width == parameter(GL_TEXTURE_WIDTH, 0) && c.height == parameter(GL_TEXTURE_HEIGHT, 0));
        EXPECT_EQ(c.internal, parameter(GL_TEXTURE_INTERNAL_FORMAT, 0));
        std::vector<unsigned char> texels(c.rgba.size());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_EQ(c.rgba, texels);
        EXPECT_EQ(c.width / 2, parameter(GL_TEXTURE_WIDTH, 1)) << "no mipmaps";
        EXPECT_EQ(GL_LINEAR_MIPMAP_LINEAR, parameter(GL_TEXTURE_MIN_FILTER));
        EXPECT_TRUE(parameter(GL_TEXTURE_MAG_FILTER) == GL_LINEAR && parameter(GL_TEXTURE_MAX_ANISOTROPY_EXT) == 2.0f);
        EXPECT_TRUE(parameter(GL_TEXTURE_WRAP_S) == GL_REPEAT && parameter(GL_TEXTURE_WRAP_T) == GL_REPEAT);
        glDeleteTextures(1, &texture);
    }
}

// Blank textures start zeroed; the settings reach every texture of a group and leave the last one bound
// on unit 0, whichever unit was active.
TEST_F(TextureTest, FilteringAndAnisotropyApplyToTheWholeGroupOnUnitZero) {
    Texture group[2] = {createBlankTexture(4), createBlankTexture(64)};
    std::vector<unsigned char> texels(64 * 64 * 4, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(std::vector<unsigned char>(64 * 64 * 4, 0), texels) << "64 x 64, zeroed";
    EXPECT_EQ(GL_LINEAR, parameter(GL_TEXTURE_MIN_FILTER)) << "a blank texture has no mipmaps";
    // linear, mipmaps -> magnification, minification
    const GLint table[4][4] = {{0, 0, GL_NEAREST, GL_NEAREST}, {0, 1, GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR},
                               {1, 0, GL_LINEAR, GL_LINEAR}, {1, 1, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR}};
    for (const auto& r : table) {
        glActiveTexture(GL_TEXTURE3);
        setFiltering(group, 2, r[0] != 0, r[1] != 0);
        EXPECT_TRUE(unitZeroHolds(group[1]));
        for (Texture texture : group) {
            glBindTexture(GL_TEXTURE_2D, texture);
            EXPECT_TRUE(r[2] == parameter(GL_TEXTURE_MAG_FILTER) && r[3] == parameter(GL_TEXTURE_MIN_FILTER)) << r[1];
        }
    }
    ASSERT_GE(maxAnisotropy(), 4.0f);
    glActiveTexture(GL_TEXTURE3);
    setAnisotropy(group, 2, 4.0f);
    EXPECT_TRUE(unitZeroHolds(group[1]));
    glBindTexture(GL_TEXTURE_2D, group[0]);
    EXPECT_EQ(4.0f, parameter(GL_TEXTURE_MAX_ANISOTROPY_EXT));
    glDeleteTextures(2, group);
}
