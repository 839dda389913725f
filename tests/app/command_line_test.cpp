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
    return runProgram("/bin/sh", {"-c", command + " 2>/dev/null"}, {}, "", 10000).out;
}

// The game started by a test and played through its window as a player would: XTEST key presses on the
// window that the game's own process has mapped. A game still running at the end is killed by its pid.
class GameSession {
public:
    GameSession(const std::string& workDir, const std::vector<std::string>& args)
        : program(startProgram(kGame, args, {"SDL_AUDIODRIVER=dummy"}, workDir)) {}
    ~GameSession() {
        finishProgram(program, 0);
    }
    // The game's window once mapped, looked up afresh each time: SDL may replace it while it starts.
    std::string window(int timeoutMs = 15000) {
        return program.pid > 0 ? findWindow(program.pid, "Gelmarch", timeoutMs) : "";
    }
    // Presses a key on the game's window; false when it has none.
    bool press(const std::string& key) {
        std::string id = window(2000);
        return !id.empty() && runProgram("/usr/bin/xdotool", {"windowfocus", "--sync", id, "key", key}, {}, "",
                                         5000).status == 0;
    }
    // Mean and maximum grey (0..255) of what the X server shows in the game's window; false without one.
    bool brightness(float& mean, float& maximum) {
        std::string id = window(2000);
        return !id.empty() && std::sscanf(shell("import -window " + id + " png:- | convert png:- -colorspace Gray "
                                                "-format '%[fx:mean*255] %[fx:maxima*255]' info:").c_str(),
                                          "%f %f", &mean, &maximum) == 2;
    }
    // Waits up to `timeoutMs` until the window's picture passes `shown`; false if the game ends first.
    bool waitForPicture(bool (*shown)(float mean, float maximum), int timeoutMs) {
        for (int waited = 0; waited < timeoutMs && !waitForExit(program, 0); waited += 250) {
            float mean = -1.0f, maximum = -1.0f;
            if (brightness(mean, maximum) && shown(mean, maximum)) {
                return true;
            }
            usleep(250000);
        }
        return false;
    }
    // Presses Escape until the game ends (bounded), then collects what it wrote.
    ProgramResult escapeUntilExit() {
        for (int i = 0; i < 40 && !waitForExit(program, 0); ++i) {
            press("Escape");
            waitForExit(program, 250);
        }
        return finishProgram(program, 5000);
    }
    bool exited(int timeoutMs) {
        return waitForExit(program, timeoutMs);
    }

private:
    RunningProgram program;
};

// The menu's bright title on dark green; the lit ground of a match, brighter on average (the menu is ~28).
bool menuShown(float mean, float maximum) {
    return maximum > 150.0f && mean < 40.0f;
}
bool matchShown(float mean, float) {
    return mean > 45.0f;
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

// Starts the game in `workDir`, checks its window size once mapped, and presses Escape until it ends.
// Returns the game's result (status 255 when no window appeared).
ProgramResult playUntilEscape(const std::string& workDir, const std::string& expectedSize,
                              const std::vector<std::string>& args = {"-r", "640", "480"}) {
    GameSession game(workDir, args);
    std::string window = game.window();
    if (window.empty()) {
        ProgramResult r = game.escapeUntilExit();
        ADD_FAILURE() << "no window titled Gelmarch appeared; status " << r.status << "\n" << r.out << r.err;
        r.status = 255;
        return r;
    }
    std::string geometry = shell("xdotool getwindowgeometry " + window);
    EXPECT_NE(std::string::npos, geometry.find(expectedSize)) << geometry;
    return game.escapeUntilExit();
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

// The menu comes up in a window of the asked size; Return starts a match, Escape in the match comes back to
// the menu and Escape in the menu ends the program cleanly.
TEST(StartUpTest, MenuStartsAMatchAndEscapeComesBackThenEnds) {
    GameSession game(kBinDir, {"-r", "640", "480"});
    std::string window = game.window();
    ASSERT_FALSE(window.empty()) << "no window titled Gelmarch appeared";
    std::string geometry = shell("xdotool getwindowgeometry " + window);
    EXPECT_NE(std::string::npos, geometry.find("640x480")) << geometry;
    EXPECT_TRUE(game.waitForPicture(menuShown, 10000)) << "the menu is not on screen";
    EXPECT_TRUE(game.press("Return"));
    EXPECT_TRUE(game.waitForPicture(matchShown, 30000)) << "the match is not on screen";
    EXPECT_TRUE(game.press("Escape"));
    EXPECT_TRUE(game.waitForPicture(menuShown, 10000)) << "Escape in a match goes back to the menu";
    EXPECT_FALSE(game.exited(0));
    ProgramResult r = game.escapeUntilExit();
    EXPECT_EQ(0, r.status) << r.out << r.err;
    EXPECT_EQ("", r.err);
}
