// The generator as the build runs it: the same files every time, and clear failures.
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <thread>

// The generator sits beside this test program in the build tree: tests/test_assets, tools/assetgen/assetgen.
static std::string generatorPath() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string self(buf, n > 0 ? (size_t)n : 0);
    return self.substr(0, self.rfind('/')) + "/../tools/assetgen/assetgen";
}

// Two runs side by side, as two build directories may run it, write the same 49 whole files: 1 font, 4 other
// pictures, 16 terrain images, 12 height images, 12 sky faces, 4 sounds, none empty and no temporary left.
TEST(Generator, WritesTheSameFilesOnEveryRun) {
    std::string gen = generatorPath();
    char a[] = "/tmp/assetgen_a_XXXXXX", b[] = "/tmp/assetgen_b_XXXXXX";
    ASSERT_TRUE(mkdtemp(a) && mkdtemp(b));
    ProgramResult first, second;
    std::thread other([&] { second = runProgram(gen, {b}, {}, "/tmp", 60000); });
    first = runProgram(gen, {a}, {}, "/tmp", 60000);
    other.join();
    EXPECT_TRUE(first.status == 0 && second.status == 0) << first.err << second.err;
    std::string dirs = std::string(a) + " " + b;
    EXPECT_EQ("98\n", runProgram("/bin/sh", {"-c", "find " + dirs + " -type f | wc -l; find " + dirs +
                                  " -type f -empty -o -name '*.tmp*'; diff -r " + dirs}, {}, "/tmp").out);
    EXPECT_EQ(0, runProgram("/bin/rm", {"-r", a, b}, {}, "/tmp").status);
}

TEST(Generator, ExplainsHowToCallItAndFailsWhereItCannotWrite) {
    ProgramResult noArgs = runProgram(generatorPath(), {}, {}, "/tmp");
    EXPECT_TRUE(noArgs.status == 2 && noArgs.err.find("usage: assetgen BIN_DIR") != std::string::npos) << noArgs.err;
    // A path below a regular file can never become a directory.
    ProgramResult blocked = runProgram(generatorPath(), {"/proc/version/bin"}, {}, "/tmp", 60000);
    EXPECT_TRUE(blocked.status == 1 && blocked.err.find("assetgen: cannot write below /proc/version/bin") == 0)
        << blocked.err;
}
