#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/run_program.h"

#ifndef GELMARCH_SOURCE_DIR
#define GELMARCH_SOURCE_DIR "."
#endif

namespace {

std::string findValidator() {
    const char* candidates[] = {"/usr/bin/glslangValidator", "/usr/local/bin/glslangValidator"};
    for (const char* path : candidates) {
        if (access(path, X_OK) == 0) {
            return path;
        }
    }
    return "";
}

}  // namespace

// Every shader in the repository, whoever wrote it, must be valid GLSL for the reference compiler.
TEST(GlslFiles, EveryShaderInTheRepositoryPassesTheReferenceCompiler) {
    std::string validator = findValidator();
    ASSERT_NE("", validator) << "glslangValidator is missing (package glslang-tools)";
    std::string dir = std::string(GELMARCH_SOURCE_DIR) + "/shader";
    std::set<std::string> checked;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::string ext = entry.path().extension().string();
        if (ext != ".vert" && ext != ".frag") {
            continue;
        }
        ProgramResult result = runProgram(validator, {entry.path().string()}, {}, dir);
        EXPECT_EQ(0, result.status) << entry.path().string() << "\n" << result.out << result.err;
        checked.insert(entry.path().filename().string());
    }
    // The 2D programs must be among them, so an empty or misplaced directory cannot pass.
    const char* required[] = {"plain.vert", "plain.frag", "tex.vert", "tex.frag", "font.vert", "font.frag"};
    for (const char* name : required) {
        EXPECT_EQ(1u, checked.count(name)) << name << " was not found in " << dir;
    }
}

TEST(GlslFiles, TheReferenceCompilerRejectsBrokenGlsl) {
    // Guards the check above against a validator that accepts anything.
    std::string validator = findValidator();
    ASSERT_NE("", validator);
    char pattern[] = "/tmp/gelmarch_glsl_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    std::string path = std::string(pattern) + "/broken.frag";
    FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(nullptr, file);
    std::fputs("#version 150\nvoid main() { undeclared = 1.0; }\n", file);
    std::fclose(file);
    ProgramResult result = runProgram(validator, {path}, {}, pattern);
    EXPECT_NE(0, result.status);
    std::filesystem::remove_all(pattern);
}
