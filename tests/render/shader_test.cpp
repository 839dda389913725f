#include <fstream>
#include <sstream>
#include <string>

#include "render/shader.h"
#include "render_fixture.h"

namespace {

// Written with Windows line ends, which must arrive as plain ones.
const char* kVertex =
    "#version 150\r\nin vec2 vertex;\r\nuniform mat4 projection;\r\nuniform float unused;\r\n"
    "void main() { gl_Position = projection * vec4(vertex, 0.0, 1.0); }\r\n";
const char* kVertexRead =
    "#version 150\nin vec2 vertex;\nuniform mat4 projection;\nuniform float unused;\n"
    "void main() { gl_Position = projection * vec4(vertex, 0.0, 1.0); }\n";
const char* kFragment = "#version 150\nuniform vec4 tint;\nout vec4 fragColor;\nvoid main() { fragColor = tint; }\n";
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
    EXPECT_TRUE(out + err == "" && good->vertexSource == kVertexRead && good->fragmentSource == kFragment);
    ASSERT_TRUE(good->valid);
    EXPECT_EQ(0, good->attribute("vertex")) << "the only attribute gets location 0";
    EXPECT_TRUE(good->uniform("projection") >= 0 && good->uniform("tint") >= 0 && good->attribute("texcoord") == -1);
    EXPECT_NE(good->uniform("projection"), good->uniform("tint"));
    EXPECT_EQ(-1, good->uniform("unused")) << "declared but optimised away";
    for (const auto& c : cases) {
        Shader* shader = load(c.name, c.vertex, c.fragment);
        EXPECT_EQ(c.err, err) << c.name;
        EXPECT_EQ(c.outline, outline(out)) << c.name << ":\n" << out;
        EXPECT_TRUE(!shader->valid && shader->program == 0 && (shader->vertexShader != 0) == c.stageObjects &&
                    (shader->fragmentShader != 0) == c.stageObjects) << c.name;
        // It binds program 0 and finds no names, all without a GL error.
        good->bind();
        EXPECT_EQ((GLint)good->program, currentProgram());
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
