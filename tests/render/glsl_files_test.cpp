#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/run_program.h"

// Every shader in the repository, whoever wrote it, must be valid GLSL for the reference compiler
// (package glslang-tools), and the 2D programs must be among them.
TEST(GlslFiles, EveryShaderInTheRepositoryPassesTheReferenceCompiler) {
    std::string dir = GELMARCH_SOURCE_DIR "/shader";
    std::set<std::string> checked;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::string ext = entry.path().extension().string();
        if (ext == ".vert" || ext == ".frag") {
            ProgramResult result = runProgram("/usr/bin/glslangValidator", {entry.path().string()}, {}, dir);
            EXPECT_EQ(0, result.status) << entry.path().string() << "\n" << result.out << result.err;
            checked.insert(entry.path().filename().string());
        }
    }
    for (const char* name : {"plain.vert", "plain.frag", "tex.vert", "tex.frag", "font.vert", "font.frag"}) {
        EXPECT_EQ(1u, checked.count(name)) << name << " is missing from " << dir;
    }
}
