// The built game end to end: its command line, its start-up failures, and a player's keys on its window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/run_program.h"

const std::string kGame = GELMARCH_EXE;
const std::string kBinDir = GELMARCH_SOURCE_DIR "/bin";
const std::string kVersion = "Gelmarch 0.0.gx4.3\n";
const std::string kFailure = "Failed to create desired OpenGL window - exitting...\n";

static std::string shell(const std::string& command) {
    return runProgram("/bin/sh", {"-c", command + " 2>/dev/null"}, {}, "", 10000).out;
}

// The game started by a test and played through its window as a player would: XTEST key presses on the
// window that the game's own process has mapped, looked up afresh each time (SDL may replace it while it
// starts). A game still running at the end is killed by its pid.
class GameSession {
public:
    GameSession(const std::string& workDir, const std::vector<std::string>& args)
        : program(startProgram(kGame, args, {"SDL_AUDIODRIVER=dummy"}, workDir)) {}
    ~GameSession() { finishProgram(program, 0); }
    // The viewable window titled Gelmarch that the game's process owns; --sync searches until there is one.
    std::string window(int timeoutMs = 15000) {
        std::string ids = runProgram("/usr/bin/xdotool", {"search", "--all", "--sync", "--onlyvisible", "--pid",
                                                          std::to_string(program.pid), "--name", "^Gelmarch$"},
                                     {}, "", timeoutMs).out;
        return ids.substr(0, ids.find('\n'));
    }
    bool press(const std::string& key) {
        std::string id = window(2000);
        return !id.empty() && shell("xdotool windowfocus --sync " + id + " key " + key + " && echo ok") == "ok\n";
    }
    // Waits up to `timeoutMs` until the window's mean and maximum grey (0..255) pass `shown`.
    bool waitForPicture(bool (*shown)(float mean, float maximum), int timeoutMs) {
        for (int waited = 0; waited < timeoutMs && !waitForExit(program, 0); waited += 250) {
            float mean = -1.0f, maximum = -1.0f;
            std::string id = window(2000);
            if (!id.empty() && std::sscanf(shell("import -window " + id + " png:- | convert png:- -colorspace Gray "
                                                 "-format '%[fx:mean*255] %[fx:maxima*255]' info:").c_str(),
                                           "%f %f", &mean, &maximum) == 2 && shown(mean, maximum)) {
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

    RunningProgram program;
};

// The menu's bright title on dark green; the lit ground of a match, brighter on average (the menu is ~28).
static bool menuShown(float mean, float maximum) { return maximum > 150.0f && mean < 40.0f; }
static bool matchShown(float mean, float) { return mean > 45.0f; }

// The output must start with `out`, and be exactly it when the game ends well (status 0).
TEST(StartUpTest, OptionsAreReadLeftToRightAndFailuresAreReportedCleanlyAndAreFatal) {
    const struct {
        std::vector<std::string> args;
        std::string env;
        int status;
        std::string out, err;
    } cases[] = {
        {{"-v"}, "", 0, kVersion, ""},
        {{"-x", "-v"}, "", 0, "You might have mistyped something, dude! The command -x doesn't exist!\n" + kVersion, ""},
        {{"-v", "-r", "800", "600", "-nonsense"}, "", 0, kVersion, ""},  // nothing after -v is looked at
        // With fewer than two values left, -r is dropped whole and start-up goes on with the size it had.
        {{"-r", "640"}, "DISPLAY", 1, "The command -r needs a width and a height, dude! Keeping 1024x768.\n"
                                      "Couldn't initialize SDL: ", kFailure},
        {{"-r", "100000", "100000", "-f"}, "", 1, "Couldn't set video mode 100000x100000x32 : ", kFailure},
        // Mesa pretends to be an OpenGL 3.1 driver: the 3.2 context request must fail cleanly.
        {{}, "MESA_GL_VERSION_OVERRIDE=3.1", 1, "", "ERROR: could not create rendering context\n" + kFailure},
    };
    for (const auto& c : cases) {
        ProgramResult r = runProgram(kGame, c.args, {"SDL_AUDIODRIVER=dummy", c.env}, kBinDir);
        EXPECT_TRUE(r.status == c.status && r.out.find(c.out) == 0 && (c.status || r.out == c.out) && r.err == c.err)
            << r.out << r.err;
    }
    ProgramResult motd = runProgram(kGame, {"-d", "-v"}, {}, kBinDir);  // one line of the day, then out
    EXPECT_TRUE(motd.status == 0 && motd.out.size() > 10 && motd.out.find('\n') == motd.out.size() - 1 &&
                motd.out != kVersion) << motd.out;
}

// The menu comes up in a window of the asked size; Return starts a match, Escape in the match comes back to
// the menu and Escape in the menu ends the program cleanly.
TEST(StartUpTest, MenuStartsAMatchAndEscapeComesBackThenEnds) {
    GameSession game(kBinDir, {"-r", "640", "480"});
    std::string window = game.window();
    ASSERT_FALSE(window.empty()) << "no window titled Gelmarch appeared";
    EXPECT_NE(std::string::npos, shell("xdotool getwindowgeometry " + window).find("640x480"));
    EXPECT_TRUE(game.waitForPicture(menuShown, 10000)) << "the menu is not on screen";
    EXPECT_TRUE(game.press("Return"));
    EXPECT_TRUE(game.waitForPicture(matchShown, 30000)) << "the match is not on screen";
    EXPECT_TRUE(game.press("Escape"));
    EXPECT_TRUE(game.waitForPicture(menuShown, 10000)) << "Escape in a match goes back to the menu";
    ProgramResult r = game.escapeUntilExit();
    EXPECT_TRUE(r.status == 0 && r.err == "") << r.out << r.err;
}

TEST(StartUpTest, ZeroSizeGetsTheWholeScreenAndMissingAssetsDoNotStopPlay) {
    // atoi makes 0 of both; SDL then opens a window the size of the (1280 x 1024) screen. A working
    // directory with no shaders, images or sounds: each failure is reported, then play goes on.
    char dir[] = "/tmp/gelmarch_empty_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir));
    GameSession game(dir, {"-r", "zero", "0"});
    std::string window = game.window();
    EXPECT_NE(std::string::npos, shell("xdotool getwindowgeometry " + window).find("1280x1024")) << window;
    ProgramResult r = game.escapeUntilExit();
    rmdir(dir);
    EXPECT_TRUE(r.status == 0 && r.err.find("does not exist") != std::string::npos) << r.out << r.err;
}
