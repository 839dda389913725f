// The generator as the build runs it: the same files every time, and clear failures.
#include "asset_files.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

// The generator sits beside this test program in the build tree: tests/test_assets, tools/assetgen/assetgen.
std::string generatorPath() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "";
    std::string self(buf, static_cast<size_t>(n));
    return self.substr(0, self.rfind('/')) + "/../tools/assetgen/assetgen";
}

// Every regular file below dir, as paths relative to it.
void listFiles(const std::string& dir, const std::string& rel, std::vector<std::string>* out) {
    DIR* d = opendir((dir + "/" + rel).c_str());
    if (!d) return;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        std::string path = rel.empty() ? name : rel + "/" + name;
        struct stat st;
        if (stat((dir + "/" + path).c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) listFiles(dir, path, out);
        else out->push_back(path);
    }
    closedir(d);
}

void removeTree(const std::string& dir) {
    std::vector<std::string> files;
    listFiles(dir, "", &files);
    for (const std::string& f : files) std::remove((dir + "/" + f).c_str());
    // Directories are few and shallow: remove the deepest first.
    for (const char* sub : {"textures/font", "textures/other", "textures/terrain", "textures/skybox", "textures", "sounds", ""})
        rmdir((dir + "/" + sub).c_str());
}

TEST(Generator, WritesTheSameFilesOnEveryRun) {
    std::string gen = generatorPath();
    ASSERT_EQ(0, access(gen.c_str(), X_OK)) << gen;
    char a[] = "/tmp/assetgen_a_XXXXXX", b[] = "/tmp/assetgen_b_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(a));
    ASSERT_NE(nullptr, mkdtemp(b));
    // Two runs side by side, as two build directories may run it.
    ProgramResult first, second;
    std::thread other([&] { second = runProgram(gen, {b}, {}, "/tmp", 60000); });
    first = runProgram(gen, {a}, {}, "/tmp", 60000);
    other.join();
    EXPECT_EQ(0, first.status) << first.err;
    EXPECT_EQ(0, second.status) << second.err;
    std::vector<std::string> files, again;
    listFiles(a, "", &files);
    listFiles(b, "", &again);
    // 1 font, 4 other pictures, 16 terrain images, 12 height images, 12 sky faces, 4 sounds.
    EXPECT_EQ(49u, files.size());
    EXPECT_EQ(files.size(), again.size());
    for (const std::string& f : files) {
        std::vector<unsigned char> x = readFileBytes(std::string(a) + "/" + f), y = readFileBytes(std::string(b) + "/" + f);
        EXPECT_FALSE(x.empty()) << f;
        EXPECT_TRUE(x == y) << f << " differs between two runs";
        // Files appear whole through a rename: no temporary is left behind.
        EXPECT_EQ(std::string::npos, f.find(".tmp")) << f;
    }
    removeTree(a);
    removeTree(b);
}

TEST(Generator, ExplainsHowToCallItAndFailsWhereItCannotWrite) {
    std::string gen = generatorPath();
    ProgramResult noArgs = runProgram(gen, {}, {}, "/tmp");
    EXPECT_EQ(2, noArgs.status);
    EXPECT_NE(std::string::npos, noArgs.err.find("usage: assetgen BIN_DIR")) << noArgs.err;
    // A path below a regular file can never become a directory.
    ProgramResult blocked = runProgram(gen, {"/proc/version/bin"}, {}, "/tmp", 60000);
    EXPECT_EQ(1, blocked.status);
    EXPECT_NE(std::string::npos, blocked.err.find("assetgen: cannot write below /proc/version/bin")) << blocked.err;
}

}  // namespace
