#include <GL/glew.h>

#include <fstream>
#include <string>

#include "render/shader.h"
#include "render_fixture.h"

namespace {

const char* kGoodVertex =
    "#version 150\n"
    "in vec2 vertex;\n"
    "uniform mat4 projection;\n"
    "uniform float unused;\n"
    "void main() { gl_Position = projection * vec4(vertex, 0.0, 1.0); }\n";
const char* kGoodFragment =
    "#version 150\n"
    "uniform vec4 tint;\n"
    "out vec4 fragColor;\n"
    "void main() { fragColor = tint; }\n";
const char* kBrokenSource =
    "#version 150\n"
    "void main() { this is not glsl }\n";
// Compiles on its own (main may live in another fragment shader) but cannot link without one.
const char* kFragmentWithoutMain =
    "#version 150\n"
    "out vec4 fragColor;\n"
    "void paint() { fragColor = vec4(1.0); }\n";

void writeText(const std::string& path, const std::string& text) {
    std::ofstream file(path.c_str(), std::ios::binary);
    file << text;
}

class ShaderTest : public Render2DTest {
protected:
    // Writes NAME.vert / NAME.frag in the scratch directory (an empty text means "no file") and returns
    // the base name.
    std::string pair(const std::string& name, const char* vertex, const char* fragment) {
        std::string base = scratch.path(name);
        if (vertex) {
            writeText(base + ".vert", vertex);
        }
        if (fragment) {
            writeText(base + ".frag", fragment);
        }
        return base;
    }

    // Loads a shader while capturing both streams.
    Shader* load(const std::string& base) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        Shader* shader = new Shader(base);
        out = testing::internal::GetCapturedStdout();
        err = testing::internal::GetCapturedStderr();
        return shader;
    }

    std::string out;
    std::string err;
};

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

TEST_F(ShaderTest, MissingVertexFileIsReportedAloneOnStandardError) {
    // Neither file exists: only the vertex message may appear, the fragment file is never looked for.
    std::string base = pair("nothing", 0, 0);
    Shader* shader = load(base);
    EXPECT_EQ("Vertex shader file " + base + ".vert does not exist.\n", err);
    EXPECT_EQ("", out);
    EXPECT_FALSE(shader->valid);
    EXPECT_EQ(0u, shader->vertexShader);
    EXPECT_EQ(0u, shader->fragmentShader);
    EXPECT_EQ(0u, shader->program);
    delete shader;
}

TEST_F(ShaderTest, MissingFragmentFileKeepsTheVertexTextButMakesNoGlObjects) {
    std::string base = pair("halfpair", kGoodVertex, 0);
    Shader* shader = load(base);
    EXPECT_EQ("Fragment shader file " + base + ".frag does not exist.\n", err);
    EXPECT_EQ("", out);
    EXPECT_EQ(std::string(kGoodVertex), shader->vertexSource);
    EXPECT_FALSE(shader->valid);
    EXPECT_EQ(0u, shader->vertexShader);
    EXPECT_EQ(0u, shader->fragmentShader);
    EXPECT_EQ(0u, shader->program);
    delete shader;
}

TEST_F(ShaderTest, BrokenVertexShaderReportsCompileThenLinkFailureOnStandardOutput) {
    std::string base = pair("brokenvert", kBrokenSource, kGoodFragment);
    Shader* shader = load(base);
    const std::string compileLine = "Shader compilation failed.\n";
    const std::string linkLine = "Shader linking failed.\n";
    EXPECT_TRUE(startsWith(out, compileLine)) << out;
    size_t link = out.find(linkLine);
    ASSERT_NE(std::string::npos, link) << out;
    // Each failure line is followed by a non-empty log of its own.
    EXPECT_GT(link, compileLine.size()) << "no compile log printed";
    EXPECT_GT(out.size(), link + linkLine.size()) << "no link log printed";
    EXPECT_EQ("", err) << "no GL error may come from a failed compile";
    EXPECT_FALSE(shader->valid);
    EXPECT_EQ(0u, shader->program);
    // Both stage objects stay alive until the destructor.
    EXPECT_NE(0u, shader->vertexShader);
    EXPECT_NE(0u, shader->fragmentShader);
    EXPECT_EQ(GL_TRUE, glIsShader(shader->vertexShader));
    GLuint vertexObject = shader->vertexShader;
    delete shader;
    EXPECT_EQ(GL_FALSE, glIsShader(vertexObject)) << "the destructor must delete the stage objects";
}

TEST_F(ShaderTest, BrokenFragmentShaderIsReportedOnceAndLinkingFails) {
    std::string base = pair("brokenfrag", kGoodVertex, kBrokenSource);
    Shader* shader = load(base);
    EXPECT_TRUE(startsWith(out, "Shader compilation failed.\n")) << out;
    EXPECT_EQ(out.find("Shader compilation failed."), out.rfind("Shader compilation failed."))
        << "the good vertex shader must not be reported";
    EXPECT_NE(std::string::npos, out.find("Shader linking failed.\n")) << out;
    EXPECT_EQ("", err);
    EXPECT_FALSE(shader->valid);
    EXPECT_EQ(0u, shader->program);
    delete shader;
}

TEST_F(ShaderTest, LinkFailureAloneReportsOnlyTheLinkLineAndLog) {
    std::string base = pair("unlinked", kGoodVertex, kFragmentWithoutMain);
    Shader* shader = load(base);
    EXPECT_TRUE(startsWith(out, "Shader linking failed.\n")) << out;
    EXPECT_GT(out.size(), std::string("Shader linking failed.\n").size()) << "the link log is missing";
    EXPECT_EQ(std::string::npos, out.find("compilation")) << out;
    EXPECT_EQ("", err);
    EXPECT_FALSE(shader->valid);
    EXPECT_EQ(0u, shader->program);
    EXPECT_NE(0u, shader->vertexShader);
    EXPECT_NE(0u, shader->fragmentShader);
    delete shader;
}

TEST_F(ShaderTest, GoodPairLinksSilentlyAndLooksNamesUpEveryTime) {
    std::string base = pair("good", kGoodVertex, kGoodFragment);
    Shader* shader = load(base);
    EXPECT_EQ("", out);
    EXPECT_EQ("", err);
    ASSERT_TRUE(shader->valid);
    EXPECT_NE(0u, shader->program);
    EXPECT_EQ(0, shader->attribute("vertex")) << "the only attribute gets location 0";
    EXPECT_GE(shader->uniform("projection"), 0);
    EXPECT_GE(shader->uniform("tint"), 0);
    EXPECT_NE(shader->uniform("projection"), shader->uniform("tint"));
    EXPECT_EQ(-1, shader->attribute("texcoord"));
    EXPECT_EQ(-1, shader->uniform("noSuchUniform"));
    // Declared but never used: the optimiser drops it, and the lookup says so without a message.
    testing::internal::CaptureStdout();
    GLint unused = shader->uniform("unused");
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_EQ(-1, unused);
    // Handing -1 to glUniform is silently ignored.
    shader->bind();
    glUniform1f(unused, 1.0f);
    EXPECT_EQ(GL_NO_ERROR, glGetError());

    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ((GLint)shader->program, current);
    Shader::unbind();
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(0, current);
    GLuint program = shader->program;
    delete shader;
    EXPECT_EQ(GL_FALSE, glIsProgram(program));
}

TEST_F(ShaderTest, InvalidShaderBindsNothingAndAnswersMinusOneWithoutGlErrors) {
    std::string base = pair("absent", 0, 0);
    Shader* shader = load(base);
    Shader* good = load(pair("good2", kGoodVertex, kGoodFragment));
    good->bind();
    shader->bind();
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(0, current) << "binding a failed shader binds program 0";
    EXPECT_EQ(-1, shader->attribute("vertex"));
    EXPECT_EQ(-1, shader->uniform("tint"));
    EXPECT_EQ(GL_NO_ERROR, glGetError());
    delete shader;
    delete good;
    EXPECT_EQ(GL_NO_ERROR, glGetError()) << "deleting a shader without GL objects";
}

TEST_F(ShaderTest, WindowsLineEndsArriveAsPlainLineEnds) {
    std::string crlfVertex =
        "#version 150\r\nin vec2 vertex;\r\nuniform mat4 projection;\r\n"
        "void main() { gl_Position = projection * vec4(vertex, 0.0, 1.0); }\r\n";
    std::string base = pair("crlf", crlfVertex.c_str(), kGoodFragment);
    Shader* shader = load(base);
    EXPECT_TRUE(shader->valid);
    EXPECT_EQ(
        "#version 150\nin vec2 vertex;\nuniform mat4 projection;\n"
        "void main() { gl_Position = projection * vec4(vertex, 0.0, 1.0); }\n",
        shader->vertexSource);
    delete shader;
}

// The game's own 2D programs, loaded the way the game names them, declare what the drawing code looks up.
TEST_F(ShaderTest, GameProgramsDeclareTheirAttributesAndUniforms) {
    struct Expected {
        const char* name;
        const char* attributes[2];
        const char* uniforms[4];
    };
    const Expected programs[] = {
        {"..\\shader\\plain", {"vertex", 0}, {"projection", "tint", 0, 0}},
        {"..\\shader\\tex", {"vertex", "texcoord"}, {"projection", "texture", 0, 0}},
        {"..\\shader\\font", {"vertex", "texcoord"}, {"projection", "modelview", "tint", "font"}},
    };
    for (const Expected& expected : programs) {
        Shader* shader = load(expected.name);
        EXPECT_EQ("", out) << expected.name;
        EXPECT_EQ("", err) << expected.name;
        EXPECT_TRUE(shader->valid) << expected.name;
        for (const char* name : expected.attributes) {
            if (name) {
                EXPECT_GE(shader->attribute(name), 0) << expected.name << " " << name;
            }
        }
        for (const char* name : expected.uniforms) {
            if (name) {
                EXPECT_GE(shader->uniform(name), 0) << expected.name << " " << name;
            }
        }
        delete shader;
    }
}
