// The command line is checked end to end on the built game: its streams, exit statuses and windows.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "support/run_program.h"

namespace {

const std::string kGame = GELMARCH_EXE;
const std::string kBinDir = GELMARCH_SOURCE_DIR "/bin";
const std::string kVersion = "Gelmarch 0.0.gx4.3\n";
const std::string kFailure = "Failed to create desired OpenGL window - exitting...\n";

ProgramResult runGame(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                      int timeoutMs = 20000) {
    std::vector<std::string> fullEnv = {"SDL_AUDIODRIVER=dummy"};
    fullEnv.insert(fullEnv.end(), env.begin(), env.end());
    return runProgram(kGame, args, fullEnv, kBinDir, timeoutMs);
}

std::string shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return out;
    }
    char buffer[256];
    while (fgets(buffer, sizeof(buffer), pipe)) {
        out += buffer;
    }
    pclose(pipe);
    return out;
}

}  // namespace

TEST(CommandLineTest, VersionPrintsOneLineAndExits) {
    ProgramResult r = runGame({"-v"});
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(kVersion, r.out);
    EXPECT_EQ("", r.err);
}

TEST(CommandLineTest, OptionsAreReadLeftToRightUntilVersionOrMessage) {
    ProgramResult mistyped = runGame({"-x", "-v"});
    EXPECT_EQ(0, mistyped.status);
    EXPECT_EQ("You might have mistyped something, dude! The command -x doesn't exist!\n" + kVersion, mistyped.out);

    // Nothing after -v is looked at, not even a bad size.
    ProgramResult ignored = runGame({"-v", "-r", "800", "600", "-nonsense"});
    EXPECT_EQ(0, ignored.status);
    EXPECT_EQ(kVersion, ignored.out);

    ProgramResult sizedThenVersion = runGame({"-r", "800", "600", "-f", "-v"});
    EXPECT_EQ(0, sizedThenVersion.status);
    EXPECT_EQ(kVersion, sizedThenVersion.out);
}

TEST(CommandLineTest, MessageOfTheDayIsOneOfTheTen) {
    const char* messages[10] = {
        "The quick brown fox jumps over the lazy dog\n",
        "ddate is not installed. Please contact your system administrator!\n",
        "42 is the answer\n",
        "There are 10 types of people: Those who understand binary and those who don't!\n",
        "I don't like Blobby Volley. These slimy guys are disgusting!\n",
        "Knock knock! Who's there? Me!\n",
        "You must finish your homework before you are allowed to play this game!\n",
        "I'm not Mr Lebowsky. You are Mr Lebowsky. I am the DUDE!\n",
        "My life for Aiur!\n",
        "We must construct additional Pylons!\n",
    };
    ProgramResult r = runGame({"-d", "-v"});
    EXPECT_EQ(0, r.status);
    bool known = false;
    for (const char* m : messages) {
        known = known || r.out == m;
    }
    EXPECT_TRUE(known) << r.out;
}

TEST(CommandLineTest, SizeWithoutBothNumbersIsReportedAndIgnored) {
    // With fewer than two values left, -r is dropped whole and start-up goes on with the size it had.
    ProgramResult r = runGame({"-r", "640"}, {"DISPLAY"});
    EXPECT_NE(std::string::npos, r.out.find("The command -r needs a width and a height, dude! Keeping 1024x768."))
        << r.out;
    EXPECT_EQ(1, r.status);  // no display in this run: proves start-up went on after the report
}

TEST(StartUpTest, WithoutDisplayTheFailureIsCleanAndFatal) {
    ProgramResult r = runGame({}, {"DISPLAY"});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(0u, r.out.find("Couldn't initialize SDL: ")) << r.out;
    EXPECT_EQ(1, std::count(r.out.begin(), r.out.end(), '\n')) << "nothing but the one line: " << r.out;
    EXPECT_EQ(kFailure, r.err);
}

TEST(StartUpTest, ImpossibleVideoModeIsReportedWithTheRequestedSize) {
    ProgramResult r = runGame({"-r", "100000", "100000", "-f"});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(0u, r.out.find("Couldn't set video mode 100000x100000x32 : ")) << r.out;
    EXPECT_EQ(kFailure, r.err);
}

TEST(StartUpTest, DriverWithoutOpenGL32CannotStart) {
    // Mesa pretends to be an OpenGL 3.1 driver: the 3.2 context request must fail cleanly.
    ProgramResult r = runGame({}, {"MESA_GL_VERSION_OVERRIDE=3.1"});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("ERROR: could not create rendering context\n" + kFailure, r.err);
}

// The game's window: titled Gelmarch like this test program's own GL window, so told apart by its process.
std::string gameWindow() {
    std::string self = std::to_string(getpid());
    std::string ids = shell("xdotool search --name '^Gelmarch$' 2>/dev/null");
    size_t start = 0;
    while (start < ids.size()) {
        size_t end = ids.find('\n', start);
        std::string id = ids.substr(start, end - start);
        start = end == std::string::npos ? ids.size() : end + 1;
        std::string pid = shell("xdotool getwindowpid " + id + " 2>/dev/null");
        if (!id.empty() && pid.substr(0, pid.find('\n')) != self) {
            return id + "\n";
        }
    }
    return "";
}

// Starts the game in `workDir`, waits for its window, checks the window size and presses Escape until the
// game ends. Returns the game's result (status 255 when no window appeared).
ProgramResult playUntilEscape(const std::string& workDir, const std::string& expectedSize,
                              const std::vector<std::string>& args = {"-r", "640", "480"}) {
    std::atomic<bool> done(false);
    ProgramResult r;
    std::thread game([&] {
        r = runProgram(kGame, args, {"SDL_AUDIODRIVER=dummy"}, workDir, 30000);
        done = true;
    });
    std::string window;
    for (int i = 0; i < 100 && window.empty() && !done; ++i) {
        usleep(100000);
        window = gameWindow();
    }
    if (window.empty()) {
        shell("pkill -f '^" + kGame + "' 2>/dev/null");
        game.join();
        ADD_FAILURE() << "no window titled Gelmarch appeared; status " << r.status << "\n" << r.out << r.err;
        r.status = 255;
        return r;
    }
    window.erase(window.find_last_not_of("\n") + 1);
    std::string geometry = shell("xdotool getwindowgeometry " + window);
    EXPECT_NE(std::string::npos, geometry.find(expectedSize)) << geometry;
    for (int i = 0; i < 50 && !done; ++i) {
        // A real key press (XTEST) on the focused window, as a player would make it.
        shell("xdotool windowfocus " + window + " key Escape 2>/dev/null");
        usleep(100000);
    }
    game.join();
    return r;
}

TEST(StartUpTest, OpensTheWindowAndEscapeEndsTheGame) {
    ProgramResult r = playUntilEscape(kBinDir, "640x480");
    EXPECT_EQ(0, r.status) << r.out << r.err;
    EXPECT_EQ("", r.err);
}

TEST(StartUpTest, ZeroSizeGetsTheWholeScreen) {
    // atoi makes 0 of both; SDL then opens a window the size of the (1280 x 1024) screen.
    ProgramResult r = playUntilEscape(kBinDir, "1280x1024", {"-r", "zero", "0"});
    EXPECT_EQ(0, r.status) << r.out << r.err;
}

TEST(StartUpTest, MissingAssetsAreReportedAndTheGameStillRuns) {
    // A working directory with no shaders, images or sounds: each failure is one line, then play goes on.
    char dir[] = "/tmp/gelmarch_empty_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir));
    ProgramResult r = playUntilEscape(dir, "640x480");
    rmdir(dir);
    EXPECT_EQ(0, r.status) << r.out << r.err;
    EXPECT_NE(std::string::npos, r.err.find("Vertex shader file ..\\shader\\font.vert does not exist.\n")) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("Error: Couldn't open .\\textures\\font\\font.bmp: ")) << r.out;
}
